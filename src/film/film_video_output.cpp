#include "film/film_video_output.h"

#include "film/video_writer.h"

namespace ork {

TFilmVideos::TFilmVideos(const TFilmSettings& settings) : fps_(settings.Fps) {
  if (settings.Mp4) videos_.push_back(TVideo{});
  for (const std::string& path : settings.VideoFiles) videos_.push_back(TVideo{path, nullptr});
  for (TVideo& v : videos_) v.writer = std::make_unique<TVideoWriter>();
}

TFilmVideos::~TFilmVideos() = default;

bool TFilmVideos::Write(const TPixmap& picture, const std::string& frameBase, std::string& error) {
  bool ok = true;
  auto fail = [&](TVideo& v, const std::string& reason) {
    if (ok) error = v.path + ": " + reason;
    v.dead = true;
    ok = false;
  };
  for (TVideo& v : videos_) {
    if (v.dead) continue;
    std::string reason;
    if (!v.started) {
      v.started = true;
      if (v.path.empty()) v.path = frameBase + ".mp4";
      if (!v.writer->Open(v.path, picture.Width(), picture.Height(), fps_, reason)) {
        fail(v, reason);
        continue;
      }
    }
    if (!v.writer->Write(picture, reason)) {
      std::string ignored;
      v.writer->Close(ignored);  // removes the unfinished file
      fail(v, reason);
    }
  }
  return ok;
}

bool TFilmVideos::Finish(std::string& error) {
  bool ok = true;
  for (TVideo& v : videos_) {
    if (v.dead || !v.started) continue;
    std::string reason;
    if (!v.writer->Finish(reason)) {
      if (ok) error = v.path + ": " + reason;
      ok = false;
      v.dead = true;
      v.writer->Publish(TKeepFile::Discard, reason);
    }
  }
  return ok;
}

bool TFilmVideos::Publish(TKeepFile keep, std::string& error) {
  bool ok = true;
  for (TVideo& v : videos_) {
    if (v.dead || !v.started) continue;
    std::string reason;
    if (!v.writer->Publish(keep, reason)) {
      if (ok) error = v.path + ": " + reason;
      ok = false;
    } else if (v.writer->Kept()) {
      files_.push_back(v.path);
    }
    v.dead = true;
  }
  return ok;
}

}  // namespace ork
