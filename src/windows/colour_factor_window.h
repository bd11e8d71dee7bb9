// The colour factor window: one slider for one of the factors F1 ... F4 of
// the current keyframe of the movie it is filled with, over a range the
// user can type (shared with the coding window). Every move is written
// into the keyframe's colour lists and the main picture is repainted
// without recomputing.
#pragma once

#include <memory>

#include "model/movie.h"
#include "shell/shell_state.h"
#include "windows/colour_window_common.h"

namespace ork {

class TWindowColFact : public TToolWindow {
 public:
  // Creates the window along the top of `parent` (a window).
  static std::unique_ptr<TWindowColFact> Open(THandle parent);

  // Shows factor `number` (1 ... 4, others count as 1) of the movie's
  // current keyframe: title, old value, range fields and slider. Switching
  // to another factor drops the range typed for the previous one.
  void Fill(int number, TParameterAnim* movie);

  THandle Handle() const override { return Window; }
  void OnEvent(const TEvent& event) override;
  void Close() override;

  THandle Window = 0;
  TMovieRef UsedAnim;  // the movie edited, looked up on every use
  TRangeRow Row;
  double Maxfakt = 1.0;
  int FactNr = 1;
  int Target = 0;  // the ColourTarget this window was filled for

 private:
  void SliderMoved(int position);
  void PostRefresh() const;
};

}  // namespace ork
