// The film settings of the settings store: [AnimMode] "Preview", and per
// kind of film ([Anim] for normal films, [AnimPreview] for preview films)
// the frames per second, the output flags and the preview width.
#pragma once

namespace ork {

class TINI;

struct TFilmSettings {
  bool Preview = false;  // [AnimMode] "Preview" non-zero
  int Fps = 1;           // frames per second; a setting below 1 counts as 1
  bool Jpg = false, Png = false, Bmp = false, Avi = false;
  int PreviewWidth = 8;  // [AnimPreview] "Width", raised to 8 when smaller
};

// Reads the settings of the film kind [AnimMode] selects. Missing sections
// and keys read as 0 (a missing FPS therefore as 1).
TFilmSettings ReadFilmSettings(const TINI& settings);

}  // namespace ork
