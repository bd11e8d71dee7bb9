#include "windows/colour_window_common.h"

#include <cmath>

#include "color/real_int.h"
#include "model/list_syntax.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/bmp_font_registry.h"
#include "shell/event_loop.h"
#include "shell/gui_host.h"
#include "shell/shell_state.h"
#include "windows/colour_window_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

// Progress on the sample window's status line. The sample is small, so
// the computation does not poll: an event taken by a poll would be lost.
class TSampleHost : public TGuiHost {
 public:
  using TGuiHost::TGuiHost;
  int PollCancel() override { return 0; }
};

}  // namespace

int EditedColourEntry() { return Composition().CompositionMode == 4 ? 3 : 0; }

TParameter* EditedKeyframe(TParameterAnim* movie) {
  if (!movie) return nullptr;
  TParameter* key = movie->GetActualParameter();
  if (key) SelectColorVariant(key, EditedColourEntry());
  return key;
}

int RepaintCommand(int compositionMode) {
  switch (compositionMode) {
    case 0:
    case 1:
    case 21:
    case -1:
    case -12: return 105;
    case 2: return 29;
    case 4: return 30;
    case 3: return 109;
    case 22:
    case 222: return 107;
    case 44: return 108;
    default: return 0;
  }
}

void PostColourRepaint() {
  const int command = RepaintCommand(Composition().CompositionMode);
  if (command != 0) PostShellCommand(command);
}

TSliderScale ScaleSlider(double from, double to, double value) {
  TSliderScale scale;
  double width = std::fabs(to - from);
  if (!(width > 0) || !std::isfinite(width)) width = 1.0;
  scale.Maxfakt = 500.0 / std::pow(10.0, std::log10(width) + 0.5);
  if (value < 0) scale.Maxfakt = -scale.Maxfakt;
  const int a = TruncInt(from * scale.Maxfakt);
  const int b = TruncInt(to * scale.Maxfakt);
  scale.minimum = a < b ? a : b;
  scale.maximum = a < b ? b : a;
  scale.position = TruncInt(value * scale.Maxfakt);
  return scale;
}

std::string FactorText(double value) {
  const int decimals = value > 1000 ? 1 : (value >= 1 ? 3 : 5);
  return FormatNumber(value, decimals);
}

TRect SamplePanelRect(int index, int x0, int y0, int step, int clientWidth) {
  int x = x0, y = y0;
  for (int i = 0; i < index; ++i) {
    x += step;
    if (x + kSampleSide > clientWidth) {
      x = x0;
      y += step;
    }
  }
  return {x, y, kSampleSide, kSampleSide};
}

THandle CreateSampleWindow(THandle parent, const std::string& title, int width, int height) {
  const TRect at = Gui().Geometry(parent);
  return Gui().CreateWindow(title, at.x + 32, BelowMenuBar(at.y + 32, parent), width, height,
                            kWinTitleBar | kWinStatusLine | kWinClientSize, parent);
}

void CreateSamplePanels(THandle window, THandle* panels, int count, int x0, int y0, int step,
                        int clientWidth) {
  for (int i = 1; i <= count; ++i) {
    const TRect r = SamplePanelRect(i - 1, x0, y0, step, clientWidth);
    panels[i] = Gui().CreatePanel(window, r.x, r.y, r.width, r.height, std::to_string(i), false);
  }
}

int SamplePanelNumber(const THandle* panels, int count, THandle gadget) {
  if (gadget == 0) return 0;
  for (int i = 1; i <= count; ++i)
    if (panels[i] == gadget) return i;
  return 0;
}

void ShiftChanged(TParameterAnim& movie) {
  if (movie.FensterCol <= 0)
    movie.FensterCol = 1;
  else if (movie.FensterCol == 3)
    movie.FensterCol = 0;
}

void DrawSampleNumber(TPixmap& sample, int number) {
  TBMPFont& font = BMPFont(FontIndexForHeight(5 * sample.Height()));
  font.SetOutputPixmap(&sample);
  font.Draw(0, 0, std::to_string(number));
  font.SetOutputPixmap(nullptr);
}

TParameter SampleKeyframe(const TParameter& key) {
  TParameter sample = key.Copy();
  sample.OutputWidth = kSampleSide;
  sample.OutputHeight = kSampleSide;
  return sample;
}

void ComputeSample(TParameter& sample, TRender& render, THandle window) {
  TSampleHost host(window);
  render.Init(sample);
  Calculate(sample, &host, render);
}

TRangeRow CreateRangeRow(THandle window, int clientWidth) {
  TGui& gui = Gui();
  TRangeRow row;
  row.Label = gui.CreateLabel(window, 0, 0, 200, 19, "");
  row.LabVon = gui.CreateLabel(window, 231, 0, 30, 19, Tr(colour_texts::kFrom));
  row.TextBoxVon = gui.CreateTextField(window, 262, 0, 100, 19);
  row.LabBis = gui.CreateLabel(window, 383, 0, 30, 19, Tr(colour_texts::kTo));
  row.TextBoxBis = gui.CreateTextField(window, 414, 0, 100, 19);
  row.Cmd_actual = gui.CreateButton(window, 525, 0, 40, 19, colour_texts::kActual);
  row.Slider = gui.CreateSlider(window, 0, 19, clientWidth, 19, 0, 0);
  return row;
}

bool StoreRangeField(const TRangeRow& row, const TEvent& event) {
  if (event.kind != TEventKind::FocusLost && event.kind != TEventKind::TextEnter) return false;
  TShellState& s = Shell();
  if (event.source == row.TextBoxVon) {
    s.ColourRangeLow = TextToReal(event.text);
    return true;
  }
  if (event.source == row.TextBoxBis) {
    s.ColourRangeHigh = TextToReal(event.text);
    return true;
  }
  return false;
}

void ReadRangeFields(const TRangeRow& row) {
  TShellState& s = Shell();
  s.ColourRangeLow = TextToReal(Gui().GetText(row.TextBoxVon));
  s.ColourRangeHigh = TextToReal(Gui().GetText(row.TextBoxBis));
}

void ShowRange(const TRangeRow& row, const TSliderScale& scale) {
  TGui& gui = Gui();
  const TShellState& s = Shell();
  gui.SetText(row.TextBoxVon, FactorText(s.ColourRangeLow));
  gui.SetText(row.TextBoxBis, FactorText(s.ColourRangeHigh));
  gui.SetRange(row.Slider, scale.minimum, scale.maximum);
  gui.SetState(row.Slider, scale.position);
}

}  // namespace ork
