// The colour shift window: one slider that turns the colour table of the
// current keyframe of the movie it is filled with (ColShift, 0 ... colz - 1).
// Every move is written into the keyframe's colour lists and the main
// picture is repainted without recomputing.
#pragma once

#include <memory>

#include "model/movie.h"
#include "shell/shell_state.h"

namespace ork {

class TWindowColShift : public TToolWindow {
 public:
  // Creates the window along the top of `parent` (a window).
  static std::unique_ptr<TWindowColShift> Open(THandle parent);
  // Shows the old colour shift and sets the slider's range and position.
  void Fill(TParameterAnim* movie);

  THandle Handle() const override { return Window; }
  void OnEvent(const TEvent& event) override;
  // Fills the window again when the colour shift changed behind it (another
  // window, a history step, a movie that took the place of its own).
  void Sync() override;
  void Close() override;

  THandle Window = 0;
  TMovieRef UsedAnim;  // the movie edited, looked up on every use
  THandle Label = 0;
  THandle Slider = 0;
};

}  // namespace ork
