#include "windows/colour_coding_window.h"

#include <cmath>

#include "color/color_table.h"
#include "gui/gui.h"
#include "model/list_syntax.h"
#include "model/number_format.h"
#include "picture/variant_paint.h"
#include "shell/event_loop.h"
#include "windows/colour_window_texts.h"

namespace ork {

namespace {
constexpr int kWidth = 1055, kHeight = 253;
}  // namespace

std::unique_ptr<TWindowCodierung> TWindowCodierung::Open(THandle parent) {
  auto w = std::make_unique<TWindowCodierung>();
  w->Window = CreateSampleWindow(parent, Tr(colour_texts::kCodingTitle), kWidth, kHeight);
  w->Row = CreateRangeRow(w->Window, kWidth);
  CreateSamplePanels(w->Window, w->Panel.data(), kAnzahl, 5, 43, 105, kWidth);
  return w;
}

void TWindowCodierung::Fill(TParameterAnim* movie, std::unique_ptr<TRender>& render) {
  TGui& gui = Gui();
  TShellState& s = Shell();
  UsedAnim = TMovieRef::Of(movie);
  Target = s.ColourTarget;
  TParameter* key = EditedKeyframe(movie);
  if (!key) return;
  if (movie->FensterCol < 3) {
    if (s.ColourRangeLow == kNoColourRange) s.ColourRangeLow = 0;
    if (s.ColourRangeHigh == kNoColourRange) s.ColourRangeHigh = 2 * key->fact1;
    double f1 = key->fact1;
    if (std::fabs(s.ColourRangeLow) > std::fabs(f1)) f1 = s.ColourRangeLow;
    if (std::fabs(s.ColourRangeHigh) < std::fabs(f1)) f1 = s.ColourRangeHigh;
    gui.SetText(Row.Label, Tr(colour_texts::kOldF1) + FactorText(f1));
    const TSliderScale scale = ScaleSlider(s.ColourRangeLow, s.ColourRangeHigh, f1);
    Maxfakt = scale.Maxfakt;
    ShowRange(Row, scale);
    TParameter computed = SampleKeyframe(*key);
    render = std::make_unique<TRender>();
    ComputeSample(computed, *render, Window);
  }
  if (!render) return;
  TParameter sample = SampleKeyframe(*key);
  TPixmap picture(kSampleSide, kSampleSide);
  for (int i = 1; i <= Anzahl; ++i) {
    sample.SelectPicture = i;
    BuildColorTable(sample, *render);
    picture.Fill(0xFF000000u);
    PaintCoded(sample, *render, picture, 0, 0, kSampleSide, kSampleSide);
    DrawSampleNumber(picture, i);
    gui.SetPanelPixmap(Panel[i], picture.Data(), kSampleSide, kSampleSide);
  }
  UCoding = render->Coding;
  ShowStatus(*key);
}

void TWindowCodierung::PostRefresh() const { PostShellCommand(Target == 1 ? 31 : 28); }

void TWindowCodierung::ShowStatus(TParameter& key) const {
  const int e = EditedColourEntry();
  Gui().SetStatusText(Window, colour_texts::kSelectPict + std::to_string(key.CSelectPicture[e]) +
                                  colour_texts::kF1Part + key.Cfact1[e] + colour_texts::kF2Part +
                                  key.Cfact2[e]);
}

void TWindowCodierung::OnEvent(const TEvent& event) {
  if (event.window != Window || Window == 0) return;
  TGui& gui = Gui();
  TParameter* key = EditedKeyframe(UsedAnim.Get());
  if (!key) return;
  const int e = EditedColourEntry();
  const int panel = SamplePanelNumber(Panel.data(), Anzahl, event.source);
  if (event.kind == TEventKind::MouseMove && panel > 0) {
    gui.SetStatusText(Window, UCoding[static_cast<size_t>(panel)]);
    return;
  }
  if (event.kind == TEventKind::MouseUp && panel > 0) {
    key->CSelectPicture[e] = panel;
    RebuildColorLists(*key);
    PostColourRepaint();
  } else if (event.kind == TEventKind::Gadget && event.source == Row.Slider) {
    key->Cfact1[e] = RealText17(event.data / Maxfakt);
    RebuildColorLists(*key);
    if (UsedAnim->FensterCol <= 0)
      UsedAnim->FensterCol = 3;
    else if (UsedAnim->FensterCol == 1)
      UsedAnim->FensterCol = 0;
    PostColourRepaint();
    PostRefresh();
  } else if (event.kind == TEventKind::Gadget && event.source == Row.Cmd_actual) {
    ReadRangeFields(Row);
    UsedAnim->FensterCol = 0;
    PostRefresh();
  } else {
    StoreRangeField(Row, event);
  }
  SelectColorVariant(key, e);
  ShowStatus(*key);
}

void TWindowCodierung::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

}  // namespace ork
