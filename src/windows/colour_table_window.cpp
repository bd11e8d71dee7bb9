#include "windows/colour_table_window.h"

#include <algorithm>

#include "color/color_table.h"
#include "color/real_int.h"
#include "gui/gui.h"
#include "model/list_syntax.h"
#include "model/number_format.h"
#include "picture/argb.h"
#include "picture/variant_paint.h"
#include "shell/event_loop.h"
#include "shell/shell_host.h"
#include "windows/colour_window_texts.h"

namespace ork {

namespace {

constexpr int kWidth = 1124, kHeight = 346;
constexpr double kF3Least = 0.19999000430107117;
constexpr double kF3Corrected = static_cast<double>(0.2f);

// Column x of the gradient shows table entry trunc(c * x / 100) with
// c = min(4096, trunc(F4)), F4 = 0 counting as 2048.
void PaintGradient(const TParameter& key, const TRender& render, TPixmap& picture) {
  const TPalette palette(render);
  if (palette.Empty()) return;
  int c = TruncInt(key.fact4);
  if (c == 0) c = 2048;
  c = std::min(c, 4096);
  for (int x = 0; x < picture.Width(); ++x) {
    int entry = TruncInt(static_cast<double>(c) * x / kSampleSide);
    entry = std::clamp(entry, 0, palette.Size() - 1);
    for (int y = 0; y < picture.Height(); ++y) picture.Set(x, y, palette[entry]);
  }
}

}  // namespace

std::unique_ptr<TWindowFarbtabellen> TWindowFarbtabellen::Open(THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowFarbtabellen>();
  w->Window = CreateSampleWindow(parent, Tr(colour_texts::kTableTitleSamples), kWidth, kHeight);
  const THandle win = w->Window;
  w->Label = gui.CreateLabel(win, 0, 0, 120, 19, "");
  w->Cmd_Keil = gui.CreateButton(win, 205, 0, 100, 19, Tr(colour_texts::kGradientButton));
  gui.CreateLabel(win, 395, 0, 20, 19, colour_texts::kF3Label);
  w->TextBoxF3 = gui.CreateTextField(win, 420, 0, 100, 19);
  gui.CreateLabel(win, 525, 0, 20, 19, colour_texts::kF4Label);
  w->TextBoxF4 = gui.CreateTextField(win, 550, 0, 100, 19);
  w->Cmd_actual = gui.CreateButton(win, 655, 0, 40, 19, colour_texts::kActual);
  gui.CreateLabel(win, 710, 0, 120, 19, colour_texts::kStandard);
  w->Slider = gui.CreateSlider(win, 0, 19, kWidth, 19, 0, 0);
  CreateSamplePanels(win, w->Panel.data(), kAnzahl, 2, 40, 102, kWidth);
  return w;
}

void TWindowFarbtabellen::Fill(TParameterAnim* movie, std::unique_ptr<TRender>& render,
                               int& mode) {
  TGui& gui = Gui();
  UsedAnim = TMovieRef::Of(movie);
  Target = Shell().ColourTarget;
  TParameter* key = EditedKeyframe(movie);
  if (!key) return;
  if (movie->FensterCol == -1) {
    movie->FensterCol = 0;
    mode = mode == kGradientMode ? kSamplesMode : kGradientMode;
  }
  const bool gradient = mode == kGradientMode;
  gui.SetText(Window, Tr(gradient ? colour_texts::kTableTitleGradient
                                  : colour_texts::kTableTitleSamples));
  TParameter sample = SampleKeyframe(*key);
  if (movie->FensterCol == 0) {
    const int e = EditedColourEntry();
    gui.SetText(Label, Tr(colour_texts::kOldColShift) + std::to_string(key->ColShift));
    gui.SetText(TextBoxF3, key->Cfact3[e]);
    gui.SetText(TextBoxF4, key->Cfact4[e]);
    gui.SetRange(Slider, 0, key->colz - 1);
    gui.SetState(Slider, key->ColShift);
    render = std::make_unique<TRender>();
    render->Init(sample);
  }
  if (!render) return;
  if (!gradient && movie->FensterCol != 1) ComputeSample(sample, *render, Window);
  TPixmap picture(kSampleSide, kSampleSide);
  for (int i = 1; i <= Anzahl; ++i) {
    sample.farbtab = i;
    BuildColorTable(sample, *render);
    picture.Fill(0xFF000000u);
    if (gradient)
      PaintGradient(sample, *render, picture);
    else
      PaintCoded(sample, *render, picture, 0, 0, kSampleSide, kSampleSide);
    DrawSampleNumber(picture, i);
    gui.SetPanelPixmap(Panel[i], picture.Data(), kSampleSide, kSampleSide);
  }
  // The progress text of the sample computation gives way at once.
  ShowStatus(*key);
}

void TWindowFarbtabellen::ShowStatus(const TParameter& key) const {
  Gui().SetStatusText(Window, colour_texts::kColTabNo + std::to_string(key.farbtab) +
                                  colour_texts::kColShiftPart + std::to_string(key.ColShift));
}

void TWindowFarbtabellen::PostRefresh() const {
  if (Target == 1) {
    PostShellCommand(34);
    Shell().ColourTarget = 0;
  } else {
    PostShellCommand(22);
  }
}

void TWindowFarbtabellen::TakeFields(TParameter& key) {
  TGui& gui = Gui();
  const size_t e = static_cast<size_t>(EditedColourEntry());
  double f3 = TextToReal(gui.GetText(TextBoxF3));
  if (f3 < kF3Least) {
    ShellHost().Information(Tr(colour_texts::kF3Message));
    f3 = kF3Corrected;
  }
  int f4 = TextToInt(gui.GetText(TextBoxF4));
  if (f4 != 0 && f4 < 255) {  // 0 stands for 2048 colours
    ShellHost().Information(Tr(colour_texts::kF4Message));
    f4 = 255;
  }
  if (f4 >= 4096) f4 = 4095;
  key.Cfact3[e] = RealText17(f3);
  key.Cfact4[e] = std::to_string(f4);
}

void TWindowFarbtabellen::OnEvent(const TEvent& event) {
  if (event.window != Window || Window == 0) return;
  TParameter* key = EditedKeyframe(UsedAnim.Get());
  if (!key) return;
  const int e = EditedColourEntry();
  const int panel = SamplePanelNumber(Panel.data(), Anzahl, event.source);
  if (event.kind == TEventKind::MouseUp && panel > 0) {
    key->Cfarbtab[e] = panel;
    RebuildColorLists(*key);
    PostColourRepaint();
  } else if (event.kind == TEventKind::Gadget && event.source == Slider) {
    key->CColShift[e] = event.data;
    RebuildColorLists(*key);
    ShiftChanged(*UsedAnim.Get());
    PostColourRepaint();
    PostRefresh();
  } else if (event.kind == TEventKind::Gadget && event.source == Cmd_Keil) {
    UsedAnim->FensterCol = -1;
    PostRefresh();
  } else if (event.kind == TEventKind::Gadget && event.source == Cmd_actual) {
    TakeFields(*key);
    RebuildColorLists(*key);
    PostColourRepaint();
    UsedAnim->FensterCol = 0;
    PostRefresh();
  }
  SelectColorVariant(key, e);
  ShowStatus(*key);
}

void TWindowFarbtabellen::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

}  // namespace ork
