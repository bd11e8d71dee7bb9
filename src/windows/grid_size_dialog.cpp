#include "windows/grid_size_dialog.h"

#include "gui/gui.h"
#include "model/list_syntax.h"
#include "model/number_format.h"
#include "picture/grid.h"
#include "picture/grid_state.h"
#include "shell/main_window.h"
#include "windows/grid_size_texts.h"

namespace ork {

namespace {

namespace t = grid_size_texts;

struct TAxisFields {
  THandle spacing, labels, decimals, shift;
};

TAxisFields BuildAxis(THandle window, int y, const char* axis, double spacing, int labels,
                      int decimals, double shift) {
  TGui& gui = Gui();
  TAxisFields f;
  gui.CreateLabel(window, 15, y, 91, 19, Tr(t::kSpacing) + " " + axis + ":");
  f.spacing = gui.CreateTextField(window, 105, y, 150, 19, RealText17(spacing));
  // Wide enough to show its ".." beside the box.
  f.labels = gui.CreateCheckBox(window, 260, y - 2, 30, 19, "..", labels == 1);
  gui.CreateLabel(window, 15, y + 19, 180, 19, Tr(t::kDecimals));
  f.decimals = gui.CreateTextField(window, 210, y + 19, 45, 19, std::to_string(decimals));
  gui.CreateLabel(window, 15, y + 38, 180, 19, Tr(t::kShift));
  f.shift = gui.CreateTextField(window, 210, y + 38, 45, 19, FormatNumber(shift, 2));
  return f;
}

void ReadAxis(const TAxisFields& f, double& spacing, int& decimals, double& shift) {
  TGui& gui = Gui();
  spacing = TextToReal(gui.GetText(f.spacing));
  decimals = TextToInt(gui.GetText(f.decimals));
  shift = TextToReal(gui.GetText(f.shift));
}

// The Movie 1+2 text: spacings and shifts in full precision.
std::string FullPrecisionText(const TGridSettings& g) {
  return RealText17(g.dX) + "," + RealText17(g.dY) + "," + std::to_string(g.decX) + "," +
         std::to_string(g.decY) + "," + std::to_string(g.size) + "," +
         std::to_string(g.labelsX) + "," + std::to_string(g.labelsY) + "," +
         RealText17(g.shiftX) + "," + RealText17(g.shiftY) + ",3";
}

}  // namespace

void GridSizeDialog(double height, const std::string& name) {
  TGui& gui = Gui();
  TGridSettings& g = GridSettings();
  const int x = gui.DesktopSize().width / 2 - 150;
  const THandle window =
      gui.CreateWindow(Tr(t::kTitle1) + name + Tr(t::kTitle2), x, 32, 305, 255,
                       kWinTitleBar | kWinClientSize, MainWindow().Window);
  gui.CreateLabel(window, 15, 10, 284, 19, Tr(t::kHeight) + RealText17(height));
  gui.CreateLabel(window, 15, 29, 270, 19, Tr(t::kAuto));
  const TAxisFields ax = BuildAxis(window, 53, "dX", g.dX, g.labelsX, g.decX, g.shiftX);
  const TAxisFields ay = BuildAxis(window, 113, "dY", g.dY, g.labelsY, g.decY, g.shiftY);
  gui.CreateLabel(window, 15, 173, 180, 19, Tr(t::kSize));
  const THandle size = gui.CreateTextField(window, 210, 173, 45, 19, std::to_string(g.size));
  const THandle okAll = gui.CreateButton(window, 10, 202, 95, 19, Tr(t::kOkAll));
  const THandle ok = gui.CreateButton(window, 107, 202, 80, 19, "OK", TButtonKind::DefaultOk);
  const THandle okBoth =
      gui.CreateButton(window, 189, 202, 100, 19, "OK " + Tr(t::kFor) + " Movie 1+2");
  const THandle standard = gui.CreateButton(window, 10, 224, 140, 19, Tr(t::kStandard));
  const THandle remove = gui.CreateButton(window, 152, 224, 137, 19, "G" + Tr(t::kDelete));
  gui.SetFocus(window);

  // Escape changes nothing, not even the label boxes ticked meanwhile.
  const TGridSettings before = g;
  constexpr int kCancelled = -2;
  int scope = 0;  // 1 OK / close, 2 all keys, 3 both movies; 0 reset, -1 delete
  for (;;) {
    const TEvent e = gui.WaitEvent();
    if (e.kind == TEventKind::WindowClose && e.source == window) {
      scope = 1;
      break;
    }
    if (e.kind == TEventKind::KeyDown && e.key == kKeyEscape && e.window == window) {
      scope = kCancelled;
      break;
    }
    if (e.kind != TEventKind::Gadget) continue;
    if (e.source == ax.labels) {
      g.labelsX = gui.GetState(ax.labels);
    } else if (e.source == ay.labels) {
      g.labelsY = gui.GetState(ay.labels);
    } else if (e.source == ok || e.source == okAll || e.source == okBoth) {
      scope = e.source == ok ? 1 : e.source == okAll ? 2 : 3;
      break;
    } else if (e.source == standard || e.source == remove) {
      scope = e.source == standard ? 0 : -1;
      break;
    }
  }
  TGridState& state = GridState();
  if (scope == kCancelled) {
    g = before;
    state.GridDialogText.clear();
  } else if (scope > 0) {
    ReadAxis(ax, g.dX, g.decX, g.shiftX);
    ReadAxis(ay, g.dY, g.decY, g.shiftY);
    g.size = TextToInt(gui.GetText(size));
    state.GridDialogText = scope == 3 ? FullPrecisionText(g) : GridSizesText(g, scope);
    state.GridSizesFixed = true;
  } else {
    g.dX = g.dY = 0;
    g.decX = -1;
    state.GridDialogText = scope == 0 ? "1.0,1.0,-1,-1,2,1,1,50.0,50.0,1" : "0,0,0";
    state.GridSizesFixed = false;
  }
  gui.Destroy(window);
  RequestRepaint();
}

}  // namespace ork
