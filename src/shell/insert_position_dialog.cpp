// The insert-position dialog of the insert compositions (declared with the
// composition commands): its own wait-for-event loop until OK or the close
// box, the event loop of the main window does not run meanwhile.
#include "shell/commands_composition.h"

#include <string>

#include "gui/gui.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "shell/composition_texts.h"

namespace ork {

bool AskInsertPosition(const std::string& title, int& x, int& y) {
  namespace ct = composition_texts;
  TGui& gui = Gui();
  const THandle window = gui.CreateWindow(title, 32, 32, 240, 150, kWinTitleBar | kWinClientSize);
  const std::string point = Tr(ct::kPoint);
  gui.CreateLabel(window, 20, 20, 90, 19, point + ct::kXPix);
  const THandle fieldX = gui.CreateTextField(window, 170, 20, 50, 19, std::to_string(x));
  gui.CreateLabel(window, 20, 39, 90, 19, point + ct::kYPix);
  const THandle fieldY = gui.CreateTextField(window, 170, 39, 50, 19, std::to_string(y));
  gui.CreateLabel(window, 20, 68, 145, 19, Tr(ct::kOpacity));
  int& opacity = Composition().InsertOpacity;
  const THandle fieldOpacity =
      gui.CreateTextField(window, 170, 68, 50, 19, std::to_string(opacity));
  const THandle ok = gui.CreateButton(window, 100, 106, 100, 19, ct::kOk, TButtonKind::DefaultOk);
  gui.SetFocus(window);
  gui.SetFocus(fieldX);
  bool accepted = false;
  for (;;) {
    const TEvent e = gui.WaitEvent();
    if (e.kind == TEventKind::Gadget && e.source == ok) {
      x = TextToInt(gui.GetText(fieldX));
      y = TextToInt(gui.GetText(fieldY));
      opacity = TextToInt(gui.GetText(fieldOpacity));
      accepted = true;
      break;
    }
    if (e.kind == TEventKind::WindowClose && e.source == window) break;
  }
  gui.Destroy(window);
  return accepted;
}

}  // namespace ork
