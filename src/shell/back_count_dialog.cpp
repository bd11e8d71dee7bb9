#include "shell/back_count_dialog.h"

#include <string>

#include "gui/gui.h"
#include "model/number_format.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"
#include "shell/movie_texts.h"

namespace ork {

int AskBackCount(int& count) {
  namespace t = movie_texts;
  TGui& gui = Gui();
  const THandle main = MainWindow().Window;
  const TRect at = gui.Geometry(main);
  const THandle window =
      gui.CreateWindow(Tr(t::kBackTitle), at.x, at.y, 266, 136, kWinTitleBar, main);
  gui.CreateLabel(window, 10, 10, 260, 19, Tr(t::kBackLine1));
  gui.CreateLabel(window, 10, 29, 280, 19, Tr(t::kBackLine2));
  gui.CreateLabel(window, 10, 58, 168, 19, Tr(t::kBackHowMany));
  const THandle field = gui.CreateTextField(window, 180, 58, 40, 19, std::to_string(count));
  const THandle calculate = gui.CreateButton(window, 10, 87, 150, 19, Tr(t::kBackCalculate),
                                             TButtonKind::DefaultOk);
  const THandle cancel = gui.CreateButton(window, 200, 87, 50, 19,
                                          Tr(menu_texts::kCancelButton), TButtonKind::Cancel);
  gui.SetFocus(window);
  gui.SetFocus(field);
  int result = 0;
  for (;;) {
    const TEvent e = gui.WaitEvent();
    if (e.kind == TEventKind::Gadget && e.source == calculate) {
      count = TextToInt(gui.GetText(field));
      result = count;
      break;
    }
    if ((e.kind == TEventKind::Gadget && e.source == cancel) ||
        (e.kind == TEventKind::WindowClose && e.source == window))
      break;
  }
  gui.Destroy(window);
  // A repaint of the picture area may have been consumed meanwhile.
  RequestRepaint();
  return result;
}

}  // namespace ork
