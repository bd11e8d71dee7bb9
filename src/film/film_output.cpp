#include "film/film_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

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

bool TFilmFrameWriter::CheckOutputs(const std::string& firstFrame) {
  if (Failed()) return false;
  const std::string name = NativePath("Output\\" + firstFrame);
  std::vector<std::string> paths;
  if (settings_.Jpg) paths.push_back(name + ".jpg");
  if (settings_.Png) paths.push_back(name + ".png");
  if (settings_.Bmp) paths.push_back(name + ".bmp");
  if (settings_.Avi) paths.push_back(name + ".avi");
  if (settings_.Mp4) paths.push_back(name + ".mp4");
  paths.insert(paths.end(), settings_.VideoFiles.begin(), settings_.VideoFiles.end());
  for (const std::string& path : paths) {
    std::string temp;
    const int fd = CreateTempBeside(path, temp);
    if (fd < 0) return Fail(path + ": " + SystemErrorText(errno));
    std::remove(temp.c_str());
    ::close(fd);
  }
  return true;
}

bool TFilmFrameWriter::Write(const TPixmap& picture, const std::string& frameName) {
  if (Failed()) return false;
  const std::string name = NativePath("Output\\" + frameName);
  // The picture files wait under their temporary names until the frame's
  // AVI chunk and video frames are written too.
  TPendingFiles pictures;
  TWriteContext context;
  context.leftovers = &leftovers_;
  context.pending = &pictures;
  if (settings_.Jpg && !Check(SaveJpeg(picture, name + ".jpg", 90, &context), name + ".jpg",
                              context.reason))
    return false;
  if (settings_.Png && !Check(SavePng(picture, name + ".png", 5, &context), name + ".png",
                              context.reason))
    return false;
  if (settings_.Bmp &&
      !Check(SaveBmp24(picture, name + ".bmp", &context), name + ".bmp", context.reason))
    return false;
  bool aviFrame = false;
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
    aviFrame = true;
  }
  std::string error;
  if (!videos_.Write(picture, name, error) || !pictures.Publish(error)) {
    if (aviFrame) avi_.DropLastFrame();
    return Fail(error);
  }
  ++written_;
  lastWritten_ = frameName;
  return true;
}

bool TFilmFrameWriter::Close(bool discardOnFailure) {
  if (closed_) return !Failed();
  closed_ = true;
  // Every film file is completed before any takes its name, so that all of
  // them replace their older films or none does.
  if (std::string error; !videos_.Finish(error)) Fail(error);
  if (!avi_.Finish() && avi_.Failed()) Fail(avi_.Error());
  const TKeepFile keep = !Failed()          ? TKeepFile::Replace
                         : discardOnFailure ? TKeepFile::Discard
                                            : TKeepFile::WhereNone;
  if (std::string error; !videos_.Publish(keep, error)) Fail(error);
  if (!avi_.Publish(keep)) Fail(avi_.Error());
  return !Failed();
}

}  // namespace ork
