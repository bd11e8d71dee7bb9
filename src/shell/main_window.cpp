#include "shell/main_window.h"

#include "model/paths.h"
#include "model/process_state.h"
#include "picture/draw_placement.h"
#include "shell/deep_view.h"
#include "shell/menu_texts.h"
#include "shell/mouse_tools.h"
#include "shell/settings.h"
#include "shell/settings_startup.h"
#include "shell/shell_state.h"
#include "shell/texts.h"

namespace ork {

namespace {

namespace mt = menu_texts;

TMainWindow& Instance() {
  static TMainWindow window;
  return window;
}

// Indices of the top-level menus in TopMenus.
enum : int { kFile, kBack, kData, kPreview, kCalculate, kColourM1, kColourM2, kInsert,
             kJulia, kWindowMenu, kHelp, kTopMenuCount };

template <size_t N>
void AddRows(const mt::TMenuEntry (&rows)[N], std::vector<THandle>& tops) {
  TGui& gui = Gui();
  const THandle window = Instance().Window;
  THandle menu = tops.empty() ? 0 : tops.back();
  THandle target = menu;
  for (const mt::TMenuEntry& e : rows) {
    switch (e.row) {
      case mt::TMenuRow::TopMenu:
        menu = target = gui.CreateMenu(window, Tr(e.text), e.command);
        tops.push_back(menu);
        break;
      case mt::TMenuRow::Item:
        gui.AddMenuItem(target, Tr(e.text), e.command);
        break;
      case mt::TMenuRow::Separator:
        gui.AddMenuItem(target, "", 0);
        break;
      case mt::TMenuRow::SubMenu:
        target = gui.CreateSubMenu(menu, Tr(e.text), e.command);
        break;
      case mt::TMenuRow::EndSubMenu:
        target = menu;
        break;
    }
  }
}

void AddColourMenu(const TText2& title, const char* prefix, bool movie2,
                   std::vector<THandle>& tops) {
  TGui& gui = Gui();
  const THandle menu = gui.CreateMenu(Instance().Window, Tr(title));
  tops.push_back(menu);
  for (const mt::TColourItem& item : mt::kColourItems) {
    const int command = movie2 ? item.commandM2 : item.commandM1;
    if (command == 0)
      gui.AddMenuItem(menu, "", 0);
    else
      gui.AddMenuItem(menu, prefix + Tr(item.suffix), command);
  }
}

}  // namespace

TMainWindow& MainWindow() { return Instance(); }
void ResetMainWindow() { Instance() = TMainWindow{}; }

void FitWindowToDesktop(THandle window) {
  TGui& gui = Gui();
  TRect r = gui.Geometry(window);
  const TSize desk = gui.DesktopSize();
  if (ork::FitWindowToDesktop(r.x, r.y, r.width, r.height, desk.width, desk.height))
    gui.ResizeGadget(window, r.x, r.y, r.width, r.height);
}

THandle CreateMainWindow() {
  TGui& gui = Gui();
  const TSize desk = gui.DesktopSize();
  const THandle window = gui.CreateWindow(
      shell_texts::kAppTitle, desk.width / 2 - 200, desk.height / 2 - 200, 400, 400,
      kWinTitleBar | kWinResizable | kWinMenuBar | kWinStatusLine | kWinAcceptDrop);
  Instance().Window = window;
  gui.SetMinimumSize(window, 320, 240);
  FitWindowToDesktop(window);
  return window;
}

void BuildMenus() {
  TMainWindow& w = Instance();
  w.TopMenus.clear();
  AddRows(mt::kMenuTree, w.TopMenus);
  AddColourMenu(mt::kColourMenuM1, mt::kPrefixM1, false, w.TopMenus);
  AddColourMenu(mt::kColourMenuM2, mt::kPrefixM2, true, w.TopMenus);
  AddRows(mt::kMenuTreeTail, w.TopMenus);
  TGui& gui = Gui();
  const std::vector<THandle>& m = w.TopMenus;
  if (m.size() != kTopMenuCount) return;
  w.Groups[static_cast<int>(TMenuGroup::All)] = gui.CreateMenuGroup(m);
  w.Groups[static_cast<int>(TMenuGroup::Picture)] =
      gui.CreateMenuGroup({m[kBack], m[kColourM1], m[kColourM2], m[kInsert], m[kJulia]});
  w.Groups[static_cast<int>(TMenuGroup::Single)] =
      gui.CreateMenuGroup({m[kBack], m[kInsert], m[kJulia]});
  w.Groups[static_cast<int>(TMenuGroup::Colour)] =
      gui.CreateMenuGroup({m[kColourM1], m[kColourM2]});
}

void BuildToolbar() {
  TGui& gui = Gui();
  TMainWindow& w = Instance();
  w.Toolbar = gui.CreateToolbarFromFile(w.Window, NativePath("toolbar20.png"));
  int index = 0;
  for (const mt::TToolbarEntry& e : mt::kToolbar)
    gui.SetToolbarButton(w.Toolbar, index++, Tr(e.tooltip), e.command);
}

void CreatePictureArea() {
  TGui& gui = Gui();
  TMainWindow& w = Instance();
  if (w.Canvas) gui.Destroy(w.Canvas);
  const TSize client = gui.ClientSize(w.Window);
  w.Canvas = gui.CreateCanvas(w.Window, 0, 0, client.width, client.height);
  gui.SetFocus(w.Canvas);
  // Painted at once, not by a request: a computation that starts next (the
  // start preview) takes pending events in its polls, and the area and the
  // picture menus must follow the picture state from the first moment.
  PaintPictureArea();
}

void FocusPictureArea() { Gui().SetFocus(Instance().Canvas); }

void RequestRepaint() { Gui().RequestPaint(Instance().Canvas); }

void ClearPictureArea() {
  TGui& gui = Gui();
  gui.CanvasClear(Instance().Canvas, 0xFF000000u);
  gui.CanvasPresent(Instance().Canvas);
}

void EnableMenuGroup(TMenuGroup group, bool enabled) {
  TMainWindow& w = Instance();
  if (group == TMenuGroup::All) {
    w.MenusHeld = !enabled;
    // The toolbar's buttons post commands as the menus do.
    if (w.Toolbar) Gui().EnableGadget(w.Toolbar, enabled);
  } else if (enabled && w.MenusHeld) {
    return;
  }
  Gui().EnableMenuGroup(w.Groups[static_cast<int>(group)], enabled);
}

void PaintPictureArea() {
  TGui& gui = Gui();
  const THandle canvas = Instance().Canvas;
  if (!canvas) return;
  const TRect area = gui.Geometry(canvas);
  gui.CanvasClear(canvas, 0xFF000000u);
  TRender* render = Shell().RenderM1.get();
  TPixmapPtr picture;
  if (render)
    picture = PlaceShownPicture(*render, Composition().ShownImage, area.width, area.height,
                                Settings().PicturePosX, Settings().PicturePosY);
  if (!picture) {
    gui.CanvasText(canvas, 0, 0, menu_texts::kNoImage, 0xFFFFFFFFu);
    EnableMenuGroup(TMenuGroup::Picture, false);
  } else {
    EnableMenuGroup(TMenuGroup::Picture, true);
    gui.CanvasPixmap(canvas, render->PaintOffsetX, render->PaintOffsetY, picture->Data(),
                     picture->Width(), picture->Height());
    switch (Composition().CompositionMode) {
      case 2:
      case 22:
      case 44:
        EnableMenuGroup(TMenuGroup::Picture, false);
        break;
      case 4:
        EnableMenuGroup(TMenuGroup::Single, false);
        break;
      case 21:
        EnableMenuGroup(TMenuGroup::Colour, false);
        break;
      case 1:
        EnableMenuGroup(TMenuGroup::Picture, true);
        EnableMenuGroup(TMenuGroup::Single, true);
        EnableMenuGroup(TMenuGroup::Colour, true);
        // A picture shown while the computation goes on (Q) leaves the
        // menus to the end of the computation.
        if (!Instance().MenusHeld) EnableMenuGroup(TMenuGroup::All, true);
        break;
      default:
        break;
    }
  }
  DrawToolMarks(canvas, area.width, area.height);
  gui.CanvasPresent(canvas);
}

void DestroyMainWindow() {
  TGui& gui = Gui();
  TMainWindow& w = Instance();
  for (THandle menu : w.TopMenus) gui.Destroy(menu);
  if (w.Canvas) gui.Destroy(w.Canvas);
  if (w.Window) gui.Destroy(w.Window);
  ResetMainWindow();
}

void SetStatus(const std::string& text) { Gui().SetStatusText(Instance().Window, text); }

std::string SingleStatusText(int movieNo, int key, int julia, const std::string& fileName) {
  const std::string n = std::to_string(movieNo);
  return n + "[KEY " + std::to_string(key) + "]  JuliaSet=" + std::to_string(julia) +
         " Name M" + n + ": " + fileName;
}

std::string DoubleStatusText() {
  const TShellState& s = Shell();
  const int key2 = s.Movie2 ? s.Movie2->Actual : 0;
  return Tr(menu_texts::kDoubleStatus) + " [KEY" + std::to_string(key2) + "]" +
         " Name M1: " + (s.Movie1 ? s.Movie1->FileName : "") +
         " Name M2: " + (s.Movie2 ? s.Movie2->FileName : "");
}

std::string MovieMissingText(int movieNo) {
  return Tr(menu_texts::kMovieMissing) + " " + std::to_string(movieNo);
}

std::string CurrentSingleStatus() {
  const TShellState& s = Shell();
  if (!s.Movie1) return MovieMissingText(1);
  return SingleStatusText(1, s.Movie1->Actual, s.CurrentKeyM1 ? s.CurrentKeyM1->julia : 0,
                          s.Movie1->FileName) +
         (s.CurrentKeyM1 ? DeepStatusText(*s.CurrentKeyM1) : std::string());
}

}  // namespace ork
