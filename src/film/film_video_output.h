// The compressed video files of a film: the MP4 the film settings ask for,
// "Output\" + the first written frame's name + ".mp4", and any further
// files named by the caller (".mp4" or ".webm", e.g. orkelund-render
// --video). Each is started at the first frame, receives every frame and
// is completed by Finish and Publish, also when the film stopped early.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "film/film_settings.h"
#include "model/file_io.h"

namespace ork {

class TVideoWriter;

class TFilmVideos {
 public:
  explicit TFilmVideos(const TFilmSettings& settings);
  ~TFilmVideos();
  TFilmVideos(const TFilmVideos&) = delete;
  TFilmVideos& operator=(const TFilmVideos&) = delete;

  // Encodes picture into every video; frameBase is the frame's native path
  // without extension. False with error "<path>: <reason>" at the first
  // video that cannot be started or written; that video is abandoned for
  // the rest of the film (its temporary file removed), the others go on.
  bool Write(const TPixmap& picture, const std::string& frameBase, std::string& error);
  // Completes the videos in two steps, for a film that ends several files
  // together: Finish completes every video under its temporary name,
  // Publish names them as `keep` says. False with the first error as Write
  // gives it.
  bool Finish(std::string& error);
  bool Publish(TKeepFile keep, std::string& error);

  // The videos completed and given their names by Publish, native paths.
  const std::vector<std::string>& Files() const { return files_; }

 private:
  struct TVideo {
    std::string path;  // empty until the first frame for the settings' MP4
    std::unique_ptr<TVideoWriter> writer;
    bool started = false, dead = false;
  };
  std::vector<TVideo> videos_;
  int fps_;
  std::vector<std::string> files_;
};

}  // namespace ork
