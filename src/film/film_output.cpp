#include "film/film_output.h"

#include "model/paths.h"
#include "picture/picture_files.h"

namespace ork {

TFilmFrameWriter::TFilmFrameWriter(const TFilmSettings& settings, int plannedFrames, THost& host,
                                   uint64_t aviFileLimit)
    : settings_(settings), planned_(plannedFrames), host_(host), aviLimit_(aviFileLimit),
      avi_(host), videos_(settings) {}

bool TFilmFrameWriter::Fail(const std::string& error) {
  if (error_.empty()) {
    error_ = error;
    host_.Diagnostic("Film: could not write " + error_);
  }
  return false;
}

bool TFilmFrameWriter::Check(bool written, const std::string& path, const std::string& reason) {
  return written || Fail(path + ": " + reason);
}

bool TFilmFrameWriter::Write(const TPixmap& picture, const std::string& frameName) {
  if (Failed()) return false;
  const std::string name = NativePath("Output\\" + frameName);
  TWriteContext context;
  context.leftovers = &leftovers_;
  if (settings_.Jpg && !Check(SaveJpeg(picture, name + ".jpg", 90, &context), name + ".jpg",
                              context.reason))
    return false;
  if (settings_.Png && !Check(SavePng(picture, name + ".png", 5, &context), name + ".png",
                              context.reason))
    return false;
  if (settings_.Bmp &&
      !Check(SaveBmp24(picture, name + ".bmp", &context), name + ".bmp", context.reason))
    return false;
  if (settings_.Avi) {
    if (!avi_.IsOpen() && !avi_.Failed()) {
      if (!avi_.Create(name + ".avi", aviLimit_) ||
          !WriteAviHeader(avi_, picture.Width(), picture.Height(), planned_, settings_.Fps))
        return Fail(avi_.Failed() ? avi_.Error()
                                  : name + ".avi: the frames are too large for an AVI file");
    }
    if (!WriteAviFrame(avi_, picture))
      return Fail(avi_.Failed() ? avi_.Error()
                                : avi_.Path() + ": a frame of another size than the film's");
  }
  if (std::string error; !videos_.Write(picture, name, error)) return Fail(error);
  ++written_;
  lastWritten_ = frameName;
  return true;
}

bool TFilmFrameWriter::Close() {
  if (std::string error; !videos_.Close(error)) Fail(error);
  if (!avi_.Close()) Fail(avi_.Error());
  return !Failed();
}

}  // namespace ork
