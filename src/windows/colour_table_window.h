// The colour table window: one 100 x 100 sample per colour table of the
// current keyframe of the movie it is filled with, either the keyframe
// coloured with each table (samples mode) or each table as a gradient; a
// click sets the table (ColTabNo), the slider the colour shift, the fields
// F3 and F4. Changes go into the keyframe's colour lists and the main
// picture is repainted without recomputing.
#pragma once

#include <array>
#include <memory>

#include "engine/render.h"
#include "model/movie.h"
#include "shell/shell_state.h"
#include "windows/colour_window_common.h"

namespace ork {

class TWindowFarbtabellen : public TToolWindow {
 public:
  static constexpr int kAnzahl = 26;
  static constexpr int kSamplesMode = 1;
  static constexpr int kGradientMode = 2;

  static std::unique_ptr<TWindowFarbtabellen> Open(THandle parent);

  // Shows the movie's current keyframe. The movie's FensterCol steers it:
  // -1 toggles `mode` (kept by the caller between openings) and then
  // counts as 0; 0 sets label, fields and slider anew and takes a new
  // `render`; unless the mode is gradient or FensterCol is 1 the keyframe
  // is computed as a sample into `render`. Then all samples are painted.
  void Fill(TParameterAnim* movie, std::unique_ptr<TRender>& render, int& mode);

  THandle Handle() const override { return Window; }
  void OnEvent(const TEvent& event) override;
  void Close() override;

  THandle Window = 0;
  std::array<THandle, kAnzahl + 1> Panel{};  // numbered from 1
  TMovieRef UsedAnim;  // the movie edited, looked up on every use
  THandle Label = 0;
  THandle Slider = 0;
  THandle TextBoxF3 = 0;
  THandle TextBoxF4 = 0;
  THandle Cmd_Keil = 0;
  THandle Cmd_actual = 0;
  int Anzahl = kAnzahl;
  int Target = 0;  // the ColourTarget this window was filled for

 private:
  void PostRefresh() const;
  // " ColTabNo = " ... "  //  ColShift = " ... of the edited entry.
  void ShowStatus(const TParameter& key) const;
  // F3 and F4 from their fields, corrected, into the edited entry.
  void TakeFields(TParameter& key);
};

}  // namespace ork
