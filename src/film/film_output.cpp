#include "film/film_output.h"

#include "model/paths.h"
#include "picture/picture_files.h"

namespace ork {

TFilmFrameWriter::TFilmFrameWriter(const TFilmSettings& settings, int plannedFrames, THost& host,
                                   uint64_t aviFileLimit)
    : settings_(settings), planned_(plannedFrames), host_(host), aviLimit_(aviFileLimit),
      avi_(host), videos_(settings) {}

bool TFilmFrameWriter::Write(const TPixmap& picture, const std::string& frameName) {
  const std::string name = NativePath("Output\\" + frameName);
  bool ok = true;
  auto check = [&](bool written, const std::string& path) {
    if (!written) {
      host_.Diagnostic("Film: could not write " + path);
      ok = false;
    }
  };
  if (settings_.Jpg) check(SaveJpeg(picture, name + ".jpg", 90), name + ".jpg");
  if (settings_.Png) check(SavePng(picture, name + ".png", 5), name + ".png");
  if (settings_.Bmp) check(SaveBmp24(picture, name + ".bmp"), name + ".bmp");
  if (settings_.Avi) {
    if (!aviTried_) {
      aviTried_ = true;
      if (avi_.Create(name + ".avi", aviLimit_))
        check(WriteAviHeader(avi_, picture.Width(), picture.Height(), planned_, settings_.Fps),
              name + ".avi");
      else
        check(false, name + ".avi");
    }
    if (avi_.IsOpen()) check(WriteAviFrame(avi_, picture), avi_.Files().back());
  }
  std::string error;
  if (!videos_.Write(picture, name, error)) {
    host_.Diagnostic("Film: could not write " + error);
    ok = false;
  }
  return ok;
}

bool TFilmFrameWriter::Close() {
  std::string error;
  const bool videos = videos_.Close(error);
  if (!videos) host_.Diagnostic("Film: could not write " + error);
  return avi_.Close() && videos;
}

}  // namespace ork
