#include "windows/film_window.h"

#include <algorithm>

#include "model/process_state.h"
#include "picture/draw_placement.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "windows/film_panel_texts.h"

namespace ork {

namespace {

namespace t = film_panel_texts;

constexpr int kBarHeight = 16;
constexpr std::uint32_t kBarGrey = 0xFF505050u;  // 80, 80, 80
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

}  // namespace

bool TFilmSettingsWindow::Run(TINI& settings) {
  TGui& gui = Gui();
  const THandle main = MainWindow().Window;
  const TRect at = gui.Geometry(main);
  Window = gui.CreateWindow(Tr(t::kDialogTitle), at.x, at.y, 246, 345,
                            kWinTitleBar | kWinClientSize, main);
  CK_PREV = gui.CreateCheckBox(Window, 10, 0, 160, 19, Tr(t::kPreviewBox));
  PAN = BuildFilmPanel(Window, 19, false, 32);
  PAN_PREV = BuildFilmPanel(Window, 138, true, 32);
  Cmd_Start = gui.CreateButton(Window, 10, 292, 100, 19, Tr(t::kStart), TButtonKind::DefaultOk);
  Cmd_Abbruch =
      gui.CreateButton(Window, 129, 292, 100, 19, Tr(t::kCancel), TButtonKind::Cancel);

  const TFilmDialogValues values = ReadFilmDialogValues(settings);
  gui.SetState(CK_PREV, values.Preview);
  FillFilmPanel(PAN, values.Normal);
  FillFilmPanel(PAN_PREV, values.PreviewKind, values.Width);
  gui.SetFocus(Window);

  bool start = false;
  for (;;) {
    const TEvent e = gui.WaitEvent();
    if (e.kind == TEventKind::Gadget && e.source == Cmd_Start) {
      TFilmDialogValues typed;
      typed.Preview = gui.GetState(CK_PREV) != 0;
      typed.Normal = ReadFilmPanel(PAN);
      typed.PreviewKind = ReadFilmPanel(PAN_PREV);
      typed.Width = gui.GetText(PAN_PREV.Width);
      StoreFilmDialogValues(typed, settings);
      start = true;
      break;
    }
    if ((e.kind == TEventKind::Gadget && e.source == Cmd_Abbruch) ||
        (e.kind == TEventKind::WindowClose && e.source == Window))
      break;
  }
  gui.Destroy(Window);
  Window = 0;
  RequestRepaint();
  return start;
}

void TGuiFilmView::Begin(const std::string& progressText) {
  text_ = progressText;
  TGui& gui = Gui();
  const THandle canvas = MainWindow().Canvas;
  gui.CanvasClear(canvas, 0xFF000000u);
  DrawBar();
  gui.CanvasPresent(canvas);
  SetStatus(text_);
}

void TGuiFilmView::ShowFrame(TRender& render) {
  TGui& gui = Gui();
  const THandle canvas = MainWindow().Canvas;
  const TRect area = gui.Geometry(canvas);
  gui.CanvasClear(canvas, 0xFF000000u);
  TPixmapPtr picture = PlaceShownPicture(render, Composition().ShownImage, area.width,
                                         area.height, Settings().PicturePosX,
                                         Settings().PicturePosY);
  if (picture)
    gui.CanvasPixmap(canvas, render.PaintOffsetX, render.PaintOffsetY, picture->Data(),
                     picture->Width(), picture->Height());
  DrawBar();
  gui.CanvasPresent(canvas);
}

void TGuiFilmView::Progress(const std::string& text) {
  text_ = text;
  DrawBar();
  Gui().CanvasPresent(MainWindow().Canvas);
  SetStatus(text_);
}

void TGuiFilmView::End() {
  text_.clear();
  SetStatus("");
  RequestRepaint();
}

void TGuiFilmView::DrawBar() {
  TGui& gui = Gui();
  const THandle canvas = MainWindow().Canvas;
  const int width = gui.Geometry(canvas).width;
  for (int y = 0; y < kBarHeight; ++y) gui.CanvasLine(canvas, 0, y, width - 1, y, kBarGrey);
  // Centred by an estimate of the default font's advance.
  const int textWidth = static_cast<int>(text_.size()) * 6;
  gui.CanvasText(canvas, std::max(0, (width - textWidth) / 2), 1, text_, kWhite);
}

void RunGuiFilm() {
  TShellState& s = Shell();
  if (!s.Movie1) return;
  TFilmRequest request;
  request.Movie1 = s.Movie1.get();
  request.Movie2 = s.Movie2.get();
  request.Settings = &SettingsIni();
  TFilmSettingsWindow dialog;
  TGuiFilmView view;
  FocusPictureArea();
  RunFilmCommand(request, ShellHost(), dialog, view);
  RequestRepaint();
}

void RegisterFilmWindow() { SetFilmRunner(RunGuiFilm); }

}  // namespace ork
