// The coding window: one 100 x 100 sample per colour coding of the current
// keyframe of the movie it is filled with, a click on a sample sets that
// coding (SelectPict), the slider sets F1. Changes go into the keyframe's
// colour lists and the main picture is repainted without recomputing.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/render.h"
#include "model/movie.h"
#include "shell/shell_state.h"
#include "windows/colour_window_common.h"

namespace ork {

class TWindowCodierung : public TToolWindow {
 public:
  static constexpr int kAnzahl = 17;

  // Creates the window near `parent` (a window; its position counts).
  static std::unique_ptr<TWindowCodierung> Open(THandle parent);

  // Shows the movie's current keyframe. While the movie's FensterCol is
  // below 3 the range and slider are set anew and the keyframe is computed
  // as a sample into a new `render`; otherwise the samples are only
  // recoloured from `render`. The movie and render object stay the
  // caller's; the window keeps pointers to them until the next Fill.
  void Fill(TParameterAnim* movie, std::unique_ptr<TRender>& render);

  THandle Handle() const override { return Window; }
  void OnEvent(const TEvent& event) override;
  void Close() override;

  THandle Window = 0;
  std::array<THandle, kAnzahl + 1> Panel{};  // numbered from 1
  TMovieRef UsedAnim;  // the movie edited, looked up on every use
  std::array<std::string, TRender::kCodings> UCoding;
  TRangeRow Row;
  int Anzahl = kAnzahl;
  double Maxfakt = 1.0;
  int Target = 0;  // the ColourTarget this window was filled for

 private:
  void PostRefresh() const;
  void ShowStatus(TParameter& key) const;
};

}  // namespace ork
