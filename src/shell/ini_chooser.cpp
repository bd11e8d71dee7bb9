#include "shell/ini_chooser.h"

#include <filesystem>
#include <system_error>

#include "gui/gui.h"
#include "model/paths.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"

namespace ork {

namespace {

std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return name;
  if (name.find('/', dot) != std::string::npos) return name;
  return name.substr(0, dot);
}

std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

bool RequestIniFile(const std::string& title, std::string& name) {
  TGui& gui = Gui();
  const THandle main = MainWindow().Window;
  gui.EnableGadget(main, false);
  const THandle window = gui.CreateWindow(title, 32, 32, 320, 280,
                                          kWinTitleBar | kWinClientSize, main);
  const THandle field = gui.CreateTextField(window, 10, 10, 300, 20, WithoutExtension(name));
  const THandle list = gui.CreateListBox(window, 10, 40, 300, 200);
  const THandle ok = gui.CreateButton(window, 10, 250, 100, 20, "OK", TButtonKind::DefaultOk);
  gui.SetTextColor(ok, 0xFF00FF00u);
  const THandle cancel = gui.CreateButton(window, 210, 250, 100, 20,
                                          Tr(menu_texts::kCancelButton), TButtonKind::Cancel);
  std::error_code ec;
  for (std::filesystem::directory_iterator it(NativePath("INI\\"), ec), end; !ec && it != end;
       it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string file = it->path().filename().string();
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || UpperCase(file.substr(dot + 1)) != "INI") continue;
    gui.AddItem(list, file.substr(0, dot), file.substr(0, dot));
  }
  gui.SetFocus(window);
  gui.SetFocus(field);
  bool chosen = false;
  for (;;) {
    const TEvent e = gui.WaitEvent();
    if (e.kind == TEventKind::Gadget && e.source == list) {
      gui.SetText(field, e.text);
    } else if (e.kind == TEventKind::Gadget && e.source == ok) {
      name = gui.GetText(field) + ".ini";
      chosen = true;
      break;
    } else if ((e.kind == TEventKind::Gadget && e.source == cancel) ||
               (e.kind == TEventKind::WindowClose && e.source == window)) {
      break;
    }
  }
  gui.Destroy(window);
  gui.EnableGadget(main, true);
  return chosen;
}

}  // namespace ork
