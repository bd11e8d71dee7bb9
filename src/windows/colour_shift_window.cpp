#include "windows/colour_shift_window.h"

#include "gui/gui.h"
#include "model/list_syntax.h"
#include "windows/colour_window_common.h"
#include "windows/colour_window_texts.h"
#include "windows/window_placement.h"

namespace ork {

std::unique_ptr<TWindowColShift> TWindowColShift::Open(THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowColShift>();
  const TRect at = gui.Geometry(parent);
  w->Window = gui.CreateWindow(Tr(colour_texts::kShiftTitle), at.x, BelowMenuBar(50, parent),
                               at.width, 67,
                               kWinTitleBar | kWinClientSize, parent);
  w->Label = gui.CreateLabel(w->Window, 0, 0, 120, 19, "");
  w->Slider = gui.CreateSlider(w->Window, 0, 19, at.width, 19, 0, 0);
  return w;
}

void TWindowColShift::Fill(TParameterAnim* movie) {
  TGui& gui = Gui();
  UsedAnim = TMovieRef::Of(movie);
  TParameter* key = EditedKeyframe(movie);
  if (!key) return;
  gui.SetText(Label, Tr(colour_texts::kOldColShift) + std::to_string(key->ColShift));
  gui.SetRange(Slider, 0, key->colz - 1);
  gui.SetState(Slider, key->ColShift);
}

void TWindowColShift::OnEvent(const TEvent& event) {
  if (Window == 0 || event.window != Window || event.kind != TEventKind::Gadget ||
      event.source != Slider)
    return;
  TParameter* key = EditedKeyframe(UsedAnim.Get());
  if (!key) return;
  key->CColShift[EditedColourEntry()] = event.data;
  RebuildColorLists(*key);
  ShiftChanged(*UsedAnim.Get());
  PostColourRepaint();
}

void TWindowColShift::Sync() {
  TParameter* key = EditedKeyframe(UsedAnim.Get());
  if (Window != 0 && key && Gui().GetState(Slider) != key->ColShift) Fill(UsedAnim.Get());
}

void TWindowColShift::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

}  // namespace ork
