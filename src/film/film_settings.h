// The film settings of the settings store: [AnimMode] "Preview", and per
// kind of film ([Anim] for normal films, [AnimPreview] for preview films)
// the frames per second, the output flags and the preview width.
#pragma once

#include <string>
#include <vector>

namespace ork {

class TINI;

struct TFilmSettings {
  bool Preview = false;  // [AnimMode] "Preview" non-zero
  int Fps = 1;           // frames per second; a setting below 1 counts as 1
  bool Jpg = false, Png = false, Bmp = false, Avi = false;
  bool Mp4 = false;  // "MP4": an H.264 video beside the AVI; a missing key reads 0
  // Further video files (native paths, .mp4 or .webm) the caller asks for;
  // not a setting of the store.
  std::vector<std::string> VideoFiles;

  bool AnyOutput() const { return Jpg || Png || Bmp || Avi || Mp4 || !VideoFiles.empty(); }
  int PreviewWidth = 8;  // [AnimPreview] "Width", raised to 8 when smaller
};

// Reads the settings of the film kind [AnimMode] selects. Missing sections
// and keys read as 0 (a missing FPS therefore as 1).
TFilmSettings ReadFilmSettings(const TINI& settings);

}  // namespace ork
