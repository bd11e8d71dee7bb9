// The files of a film: each frame as "Output\" + its name + ".jpg" (quality
// 90), ".png" (level 5) and ".bmp" as the film settings ask, and one AVI
// stream named after the first written frame, its header planned for the
// film's frame count and completed on Close; the same for the videos
// (TFilmVideos).
#pragma once

#include <cstdint>
#include <string>

#include "engine/pixmap.h"
#include "film/avi_writer.h"
#include "film/film_settings.h"
#include "film/film_video_output.h"
#include "model/host.h"

namespace ork {

class TFilmFrameWriter {
 public:
  // plannedFrames: the film's frame count N; fps from the settings.
  TFilmFrameWriter(const TFilmSettings& settings, int plannedFrames, THost& host,
                   uint64_t aviFileLimit = kAviFileLimit);
  ~TFilmFrameWriter() { Close(); }
  TFilmFrameWriter(const TFilmFrameWriter&) = delete;
  TFilmFrameWriter& operator=(const TFilmFrameWriter&) = delete;

  // Writes picture as the frame named frameName (its FileNameKey). A file
  // that cannot be written is skipped (a diagnostic line names it) and the
  // result is false. An AVI file that cannot be created is not tried again
  // for the rest of the film.
  bool Write(const TPixmap& picture, const std::string& frameName);
  // Closes the AVI stream and completes the videos; false when an AVI or
  // video write had failed.
  bool Close();

  const TAviStream& Avi() const { return avi_; }
  const TFilmVideos& Videos() const { return videos_; }

 private:
  TFilmSettings settings_;
  int planned_;
  THost& host_;
  uint64_t aviLimit_;
  TAviStream avi_;
  bool aviTried_ = false;
  TFilmVideos videos_;
};

}  // namespace ork
