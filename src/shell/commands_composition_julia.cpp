// Command 91: the constant picked in Movie 1 (K tool) shown as the Julia
// set of Movie 2 in the next Julia window, while the main picture goes back
// to the single picture of Movie 1.
#include "shell/commands_composition.h"

#include <string>

#include "model/movie.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "shell/composition_texts.h"
#include "shell/main_window.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

namespace ork {

namespace {

namespace ct = composition_texts;

TJuliaPreviewOpener& Opener() {
  static TJuliaPreviewOpener opener;
  return opener;
}

constexpr TSlot kJuliaSlots[] = {TSlot::Julia1, TSlot::Julia2, TSlot::Julia3, TSlot::Julia4};

}  // namespace

void SetJuliaPreviewOpener(TJuliaPreviewOpener opener) { Opener() = std::move(opener); }

void NewCJuliaPreview() {
  TShellState& s = Shell();
  TCompositionState& c = Composition();
  TShellHost& host = ShellHost();
  if (!s.Movie1) {
    host.Information(Tr(ct::kLoadMovie1));
    return;
  }
  if (c.ShownImage > 1) {
    host.Information(Tr(ct::kLeftAsSingle));
    c.ShownImage = 1;
    c.CompositionMode = 1;
    if (s.CurrentKeyM1 && s.RenderM1) {
      ShowCalculated(s.CurrentKeyM1, s.RenderM1.get(), host);
      RequestRepaint();
    }
  }
  c.ShownImage = 1;
  c.CompositionMode = 3;
  if (!s.Movie2 || s.Movie2->Count < s.Movie1->Count) {
    host.Information(Tr(ct::kMovie2TooShortOverridden));
    CopyMovie1IntoMovie2();
    FocusPictureArea();
  }
  TParameterAnim& m2 = *s.Movie2;
  m2.Actual = s.Movie1->Actual;
  ShownKeys().LastKeyM2 = m2.Actual;
  if (TParameter* k2 = MovieKeyAt(&m2, m2.Actual)) k2->julia = 1;
  const int last1 = ShownKeys().LastKeyM1;
  TParameter* k1 = MovieKeyAt(s.Movie1.get(), last1);
  TParameter* k2 = MovieKeyAt(&m2, last1);
  if (k1 && k2) {
    k2->CCx = k1->CCx;
    k2->CCy = k1->CCy;
  }

  s.JuliaNext += 1;
  if (s.JuliaNext >= 5) s.JuliaNext = 1;
  const int height = s.JuliaPreviewHeight;
  // The preview keeps Movie 2's aspect ratio at the preview height.
  const int width = m2.OutputHeight > 0 && height > 0
                        ? static_cast<int>(m2.OutputWidth / (m2.OutputHeight / double(height)))
                        : height;
  if (Opener())
    Opener()(1, s.JuliaNext, width, height, m2, std::to_string(s.JuliaNext) + ct::kJuliaTitleM2);
  else
    host.Diagnostic("Julia preview: no Julia window");
  for (TSlot slot : kJuliaSlots)
    if (TToolWindow* w = SlotWindow(slot)) w->Maxi();
  // The Julia window's computation takes every pending event, a queued
  // repaint included; the picture area still shows the double picture or
  // the K tool's cross-hair until it is painted again.
  RequestRepaint();
}

}  // namespace ork
