// The files of a film: each frame as "Output\" + its name + ".jpg" (quality
// 90), ".png" (level 5) and ".bmp" as the film settings ask, and one AVI
// stream named after the first written frame, its header planned for the
// film's frame count and completed on Close; the same for the videos
// (TFilmVideos).
//
// The first file that cannot be written ends the film's output: Write
// returns false, Error names the file and the reason, and every later
// frame is refused. A frame counts as written when all its files are.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pixmap.h"
#include "film/avi_writer.h"
#include "film/film_settings.h"
#include "film/film_video_output.h"
#include "model/host.h"
#include "picture/picture_files_atomic.h"

namespace ork {

class TFilmFrameWriter {
 public:
  // plannedFrames: the film's frame count N; fps from the settings.
  TFilmFrameWriter(const TFilmSettings& settings, int plannedFrames, THost& host,
                   uint64_t aviFileLimit = kAviFileLimit);
  ~TFilmFrameWriter() { Close(); }
  TFilmFrameWriter(const TFilmFrameWriter&) = delete;
  TFilmFrameWriter& operator=(const TFilmFrameWriter&) = delete;

  // Writes picture as the frame named frameName (its FileNameKey). False
  // when a file could not be written now or before (see Error); a
  // diagnostic line names the file then.
  bool Write(const TPixmap& picture, const std::string& frameName);
  // Closes the AVI stream (it is renamed into place) and completes the
  // videos; false when any write failed.
  bool Close();

  bool Failed() const { return !error_.empty(); }
  // The first failure: "<path>: <reason>", e.g.
  // "Output/F.png: No space left on device". Empty while none.
  const std::string& Error() const { return error_; }
  int FramesWritten() const { return written_; }
  // The name of the last frame written completely; empty before the first.
  const std::string& LastWritten() const { return lastWritten_; }
  const TAviStream& Avi() const { return avi_; }
  const TFilmVideos& Videos() const { return videos_; }

 private:
  bool Fail(const std::string& error);  // keeps the first error; false
  bool Check(bool written, const std::string& path, const std::string& reason);

  TFilmSettings settings_;
  int planned_;
  THost& host_;
  uint64_t aviLimit_;
  TAviStream avi_;
  TLeftoverTemps leftovers_;  // the Output folder is listed once per film
  std::string error_;
  int written_ = 0;
  std::string lastWritten_;
  TFilmVideos videos_;
};

}  // namespace ork
