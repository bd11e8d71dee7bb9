#include "windows/colour_factor_window.h"

#include <cmath>

#include "color/real_int.h"
#include "gui/gui.h"
#include "model/list_syntax.h"
#include "model/number_format.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/shell_host.h"
#include "windows/colour_window_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

constexpr int kHeight = 76;
// Lower bounds of F3 and F4 and the value written instead.
constexpr double kF3Least = 0.19999000430107117;
constexpr double kF3Corrected = static_cast<double>(0.2f);

double FactorValue(const TParameter& key, int number) {
  switch (number) {
    case 2: return key.fact2;
    case 3: return key.fact3;
    case 4: return key.fact4;
    default: return key.fact1;
  }
}

std::array<std::string, TParameter::kVariants>& FactorTexts(TParameter& key, int number) {
  switch (number) {
    case 2: return key.Cfact2;
    case 3: return key.Cfact3;
    case 4: return key.Cfact4;
    default: return key.Cfact1;
  }
}

}  // namespace

std::unique_ptr<TWindowColFact> TWindowColFact::Open(THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowColFact>();
  const TRect at = gui.Geometry(parent);
  w->Window = gui.CreateWindow("", at.x, BelowMenuBar(35, parent), at.width, kHeight,
                               kWinTitleBar | kWinClientSize, parent);
  w->Row = CreateRangeRow(w->Window, at.width);
  return w;
}

void TWindowColFact::Fill(int number, TParameterAnim* movie) {
  TGui& gui = Gui();
  TShellState& s = Shell();
  if (number < 1 || number > 4) number = 1;
  if (number != FactNr) s.ColourRangeLow = s.ColourRangeHigh = kNoColourRange;
  FactNr = number;
  UsedAnim = TMovieRef::Of(movie);
  Target = s.ColourTarget;
  gui.SetText(Window, Tr(colour_texts::kFactorTitleHead) + std::to_string(number) +
                          Tr(colour_texts::kFactorTitleTail));
  TParameter* key = EditedKeyframe(movie);
  if (!key) return;
  double v = FactorValue(*key, number);
  double& from = s.ColourRangeLow;
  double& to = s.ColourRangeHigh;
  if (from == kNoColourRange) from = 0;
  if (to == kNoColourRange) to = 2 * v;
  if (std::fabs(from) > std::fabs(v)) v = from;
  if (v == 0) to = 100;
  if (number == 4) {
    from = 255;
    if (v == 0) {
      v = 2048;
      to = 2048;
    } else if (v < 255) {
      v = 255;
      to = 2048;
    } else if (v > 4095) {
      v = 4095;
      to = 4095;
    } else if (v > 2048) {
      to = 4095;
    }
  }
  if (std::fabs(to) < std::fabs(v)) v = to;
  gui.SetText(Row.Label, colour_texts::kOldColFact + std::to_string(number) +
                             colour_texts::kEquals + FactorText(v));
  const TSliderScale scale = ScaleSlider(from, to, v);
  Maxfakt = scale.Maxfakt;
  ShowRange(Row, scale);
}

void TWindowColFact::PostRefresh() const {
  static constexpr int kM1[5] = {0, 24, 25, 26, 27};
  static constexpr int kM2[5] = {0, 32, 33, 36, 37};
  if (Target == 1) {
    PostShellCommand(kM2[FactNr]);
    Shell().ColourTarget = 0;
  } else {
    PostShellCommand(kM1[FactNr]);
  }
}

void TWindowColFact::SliderMoved(int position) {
  TParameter* key = EditedKeyframe(UsedAnim.Get());
  if (!key) return;
  const int e = EditedColourEntry();
  double w = position / Maxfakt;
  std::string text;
  if (FactNr == 3 && w < kF3Least) {
    ShellHost().Information(Tr(colour_texts::kF3Message));
    w = kF3Corrected;
  }
  if (FactNr == 4) {
    int c = TruncInt(w);
    if (c > 0 && c <= 254) {
      ShellHost().Information(Tr(colour_texts::kF4Message));
      c = 255;
    }
    if (c > 4095) c = 4095;
    text = c == 2048 ? "0" : std::to_string(c);
  } else {
    text = RealText17(w);
  }
  FactorTexts(*key, FactNr)[static_cast<size_t>(e)] = text;
  RebuildColorLists(*key);
  PostColourRepaint();
  SelectColorVariant(key, e);
  const std::string status =
      FactNr <= 2 ? colour_texts::kColFactF1 + key->Cfact1[e] + colour_texts::kColFactF2 +
                        key->Cfact2[e]
                  : colour_texts::kColFactF3 + key->Cfact3[e] + colour_texts::kColFactF4 +
                        key->Cfact4[e];
  SetStatus(status + Tr(colour_texts::kCloseHint));
}

void TWindowColFact::OnEvent(const TEvent& event) {
  if (event.window != Window || Window == 0) return;
  if (event.kind == TEventKind::Gadget && event.source == Row.Slider) {
    SliderMoved(event.data);
  } else if (event.kind == TEventKind::Gadget && event.source == Row.Cmd_actual) {
    ReadRangeFields(Row);
    PostRefresh();
  } else {
    StoreRangeField(Row, event);
  }
}

void TWindowColFact::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

}  // namespace ork
