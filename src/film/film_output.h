// The files of a film: each frame as "Output\" + its name + ".jpg" (quality
// 90), ".png" (level 5) and ".bmp" as the film settings ask, and one AVI
// stream named after the first written frame, its header planned for the
// film's frame count and completed on Close; the same for the videos
// (TFilmVideos).
//
// The first file that cannot be written ends the film's output: Write
// returns false, Error names the file and the reason, and every later
// frame is refused. A frame counts as written when all its files are, and
// its picture files take their names only then: a frame that fails leaves
// the older files of its name as they were. The AVI and the videos of a
// film that failed never replace older films of their names.
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

  // Checks, before the first frame, that every file of the film can be
  // created: the picture files of the frame named firstFrame, the AVI and
  // videos named after it and the further videos. False (see Error) when
  // one cannot; nothing is left behind either way.
  bool CheckOutputs(const std::string& firstFrame);
  // Writes picture as the frame named frameName (its FileNameKey). False
  // when a file could not be written now or before (see Error); a
  // diagnostic line names the file then.
  bool Write(const TPixmap& picture, const std::string& frameName);
  // Completes the AVI stream and the videos and gives them their names:
  // over older films when every write worked; after a failure only where
  // no film of the name exists, or not at all with discardOnFailure. False
  // when any write failed. Closing twice is harmless.
  bool Close(bool discardOnFailure = false);

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
  bool closed_ = false;
};

}  // namespace ork
