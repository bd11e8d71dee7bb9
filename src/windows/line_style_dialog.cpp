#include "windows/line_style_dialog.h"

#include <algorithm>
#include <string>

#include "gui/gui.h"
#include "model/list_syntax.h"
#include "model/number_format.h"
#include "picture/argb.h"
#include "shell/main_window.h"
#include "windows/line_style_texts.h"

namespace ork {

namespace {

namespace t = line_style_texts;

constexpr int kRowsShown = 7;

struct TRowFields {
  THandle thick, alpha, red, green, blue;
};

void Defaults(TLineArray& colours, TLineArray& thicknesses) {
  TParameter key;
  ResetLineStyles(key);
  for (int i = 0; i < kRowsShown; ++i) {
    colours[i] = key.CLinesColor[i];
    thicknesses[i] = key.CLinesThick[i];
  }
}

// Reads the fields; true when every value equals its default.
bool ReadFields(const TRowFields (&rows)[kRowsShown], TLineArray& colours,
                TLineArray& thicknesses) {
  TGui& gui = Gui();
  TLineArray defColours{}, defThick{};
  Defaults(defColours, defThick);
  bool allDefault = true;
  for (int i = 0; i < kRowsShown; ++i) {
    const auto value = [&](THandle field) { return TextToInt(gui.GetText(field)); };
    colours[i] = static_cast<int>(ComposeArgb(value(rows[i].alpha), value(rows[i].red),
                                              value(rows[i].green), value(rows[i].blue)));
    thicknesses[i] = std::clamp(value(rows[i].thick), 0, 3);
    allDefault = allDefault && colours[i] == defColours[i] && thicknesses[i] == defThick[i];
  }
  return allDefault;
}

}  // namespace

void LineStyleDialog(int movieNo, TLineArray& colours, TLineArray& thicknesses,
                     const TLineArray& flags) {
  TGui& gui = Gui();
  const THandle window =
      gui.CreateWindow(Tr(t::kTitle1) + std::to_string(movieNo) + Tr(t::kTitle2), 32, 32, 370,
                       345, kWinTitleBar | kWinClientSize, MainWindow().Window);
  gui.CreateLabel(window, 95, 10, 275, 19, t::kHeader1);
  gui.CreateLabel(window, 95, 29, 275, 19, t::kHeader2);
  TRowFields rows[kRowsShown];
  for (int i = 0; i < kRowsShown; ++i) {
    const int y = 48 + 19 * i;
    const uint32_t c = static_cast<uint32_t>(colours[i]);
    gui.CreateLabel(window, 20, y, 110, 19, Tr(t::kRows[i]));
    rows[i].thick = gui.CreateTextField(window, 132, y, 20, 19, std::to_string(thicknesses[i]));
    rows[i].alpha = gui.CreateTextField(window, 170, y, 40, 19, std::to_string(AlphaOf(c)));
    rows[i].red = gui.CreateTextField(window, 220, y, 40, 19, std::to_string(RedOf(c)));
    rows[i].green = gui.CreateTextField(window, 262, y, 40, 19, std::to_string(GreenOf(c)));
    rows[i].blue = gui.CreateTextField(window, 304, y, 40, 19, std::to_string(BlueOf(c)));
    if (flags[i]) gui.CreateLabel(window, 349, y, 5, 19, "*");
  }
  const THandle update =
      gui.CreateButton(window, 132, 200, 100, 19, Tr(t::kUpdate), TButtonKind::DefaultOk);
  const THandle forAll = gui.CreateButton(window, 243, 200, 100, 19, Tr(t::kForAll));
  const THandle standard = gui.CreateButton(window, 132, 229, 211, 19, Tr(t::kStandard));
  const THandle insertAll = gui.CreateButton(window, 132, 258, 211, 19, Tr(t::kInsertAll));
  gui.CreateLabel(window, 10, 287, 350, 19, Tr(t::kNote1));
  gui.CreateLabel(window, 10, 306, 350, 19, Tr(t::kNote2));
  gui.SetFocus(window);

  for (;;) {
    const TEvent e = gui.WaitEvent();
    // Escape leaves the dialog as its close box does: nothing changes.
    if ((e.kind == TEventKind::WindowClose && e.source == window) ||
        (e.kind == TEventKind::KeyDown && e.key == kKeyEscape && e.window == window)) {
      colours[9] = kLineCodeClosed;
      break;
    }
    if (e.kind != TEventKind::Gadget) continue;
    if (e.source == update || e.source == forAll) {
      const int code = ReadFields(rows, colours, thicknesses) ? kLineCodeDefaults : kLineCodeUpdate;
      colours[9] = code;
      thicknesses[9] = code + (e.source == forAll ? 1 : 0);
      break;
    }
    if (e.source == standard) {
      Defaults(colours, thicknesses);
      colours[9] = thicknesses[9] = kLineCodeDefaults;
      break;
    }
    if (e.source == insertAll) {
      colours[9] = thicknesses[9] = kLineCodeInsertAll;
      break;
    }
  }
  gui.Destroy(window);
  RequestRepaint();
}

}  // namespace ork
