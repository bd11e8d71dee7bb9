#include "film/film_video_output.h"

#include "film/video_writer.h"

namespace ork {

TFilmVideos::TFilmVideos(const TFilmSettings& settings) : fps_(settings.Fps) {
  if (settings.Mp4) videos_.push_back(TVideo{});
  for (const std::string& path : settings.VideoFiles) videos_.push_back(TVideo{path, nullptr});
  for (TVideo& v : videos_) v.writer = std::make_unique<TVideoWriter>();
}

TFilmVideos::~TFilmVideos() = default;

bool TFilmVideos::Write(const TPixmap& picture, const std::string& frameBase, THost& host) {
  bool ok = true;
  for (TVideo& v : videos_) {
    if (v.dead) continue;
    std::string error;
    if (!v.started) {
      v.started = true;
      if (v.path.empty()) v.path = frameBase + ".mp4";
      if (!v.writer->Open(v.path, picture.Width(), picture.Height(), fps_, error)) {
        host.Diagnostic("Film: could not write " + v.path + ": " + error);
        v.dead = true;
        ok = false;
        continue;
      }
    }
    if (!v.writer->Write(picture, error)) {
      host.Diagnostic("Film: could not write " + v.path + ": " + error);
      v.writer->Close(error);  // removes the unfinished file
      v.dead = true;
      ok = false;
    }
  }
  return ok;
}

bool TFilmVideos::Close(THost& host) {
  bool ok = true;
  for (TVideo& v : videos_) {
    if (v.dead || !v.started) continue;
    std::string error;
    if (v.writer->Close(error)) {
      files_.push_back(v.path);
    } else {
      host.Diagnostic("Film: could not write " + v.path + ": " + error);
      ok = false;
    }
    v.dead = true;
  }
  return ok;
}

}  // namespace ork
