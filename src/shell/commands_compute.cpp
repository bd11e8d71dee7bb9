// Computing and showing the pictures: 83, 84 compute Movie 1 / Movie 2,
// 105, 106 show them, 1 redisplays the current composition, 29, 30 the
// double and fourfold picture of Movie 1, 107, 108, 109 the double,
// fourfold and new-C pictures of both movies, 80 shows C as the dynamics
// point.
#include "shell/commands.h"

#include "engine/orbit_picture.h"
#include "engine/render.h"
#include "gui/gui.h"
#include "model/movie.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "shell/deep_view.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"
#include "shell/mouse_tools.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

namespace ork {

namespace {

void ComputeMovie(int movieNo) {
  TShellState& s = Shell();
  TShellHost& host = ShellHost();
  const bool dynamics = Dynamics().DynamicsMode != 0;
  // Dynamics run (both movies): the composition stays, so that command 81
  // shows the orbit of the movie the point was picked in.
  if (!dynamics) Composition().CompositionMode = 1;
  EnableMenuGroup(TMenuGroup::All, false);
  ClearPictureArea();
  std::unique_ptr<TParameterAnim>& movie = movieNo == 1 ? s.Movie1 : s.Movie2;
  TParameter*& key = movieNo == 1 ? s.CurrentKeyM1 : s.CurrentKeyM2;
  std::unique_ptr<TRender>& render = movieNo == 1 ? s.RenderM1 : s.RenderM2;
  if (!movie) {
    SetStatus(MovieMissingText(movieNo));
    // The menus stay usable so that a movie can be loaded.
    EnableMenuGroup(TMenuGroup::All, true);
  } else {
    if (!dynamics) {
      SetStatus(menu_texts::kStatusInit);
      // The same render object, so that a picture too large to be had
      // leaves the last one and its keyframe in place, and one of the same
      // size reuses the buffers.
      TParameter* next = TakeCurrentKey(movie.get());
      if (!render) render = std::make_unique<TRender>();
      if (next) render->Init(*next);
      key = next;
      SetStatus(Tr(menu_texts::kStatusCalculating));
      FocusPictureArea();
    } else {
      NewDynamicsPixmap();  // the orbit picture of this dynamics run
    }
    if (key && render) {
      TParameter* k = key;
      TRender* r = render.get();
      // Q during the computation shows what is computed so far.
      Calculate(*k, &host, *r, [k, r, &host] {
        ShowCalculated(k, r, host);
        PaintPictureArea();
      });
    }
    if (movieNo == 1) s.BeginnerName.clear();
    int& last = movieNo == 1 ? ShownKeys().LastKeyM1 : ShownKeys().LastKeyM2;
    last = movie->Actual;
    SetStatus(SingleStatusText(movieNo, last, key ? key->julia : 0, movie->FileName) +
              (key ? DeepStatusText(*key) : std::string()));
    if (!dynamics) PostShellCommand(movieNo == 1 ? 105 : 106);
    SaveHistoryFile(*movie);
    EnableMenuGroup(TMenuGroup::All, true);
  }
  if (Dynamics().DynamicsMode >= 1) PostShellCommand(81);
}

void ShowMovie(TParameter* key, TRender* render) {
  if (!key || !render) return;
  ShowCalculated(key, render, ShellHost());
  RequestRepaint();
}

void ShowVariants(int command) {
  TShellState& s = Shell();
  if (!s.CurrentKeyM1 || !s.RenderM1) return;
  if (command == 29)
    ShowDoubleM1(s.CurrentKeyM1, s.RenderM1.get(), ShellHost());
  else
    ShowFourfoldM1(s.CurrentKeyM1, s.RenderM1.get(), ShellHost());
  Gui().SetFocus(MainWindow().Window);
  if (s.Movie1) SaveHistoryFile(*s.Movie1);
  RequestRepaint();
}

// Repaints a picture of both movies from the buffers already computed (the
// colour windows post these after every change).
void ShowBothMovies(int command) {
  TShellState& s = Shell();
  if (!s.CurrentKeyM1 || !s.RenderM1 || !s.CurrentKeyM2 || !s.RenderM2) return;
  TParameter* k1 = s.CurrentKeyM1;
  TParameter* k2 = s.CurrentKeyM2;
  TRender* r1 = s.RenderM1.get();
  TRender* r2 = s.RenderM2.get();
  // A new-C picture stays one while its left picture is kept: the plain
  // double picture would end the kept state behind the user's back.
  if (command == 109 || (command == 107 && Composition().KeepLeftPicture)) {
    ShowDoubleNewC(k1, r1, k2, r2, s.Movie1.get(), s.Movie2.get(), ShellHost());
  } else if (command == 107) {
    ShowDoubleM1M2(k1, r1, k2, r2, s.Movie1.get(), s.Movie2.get(), ShellHost());
  } else {
    ShowFourfoldM1M2(k1, r1, k2, r2, ShellHost());
    Gui().SetFocus(MainWindow().Window);
    if (s.Movie1) SaveHistoryFile(*s.Movie1);
  }
  RequestRepaint();
}

void RedisplayCommand() {
  TShellState& s = Shell();
  if (Composition().CompositionMode == -1000 || !s.CurrentKeyM1) return;
  Redisplay(s.CurrentKeyM1, s.RenderM1.get(), s.CurrentKeyM2, s.RenderM2.get(), s.Movie1.get(),
            s.Movie2.get(), ShellHost());
  RequestRepaint();
}

}  // namespace

void SaveHistoryFile(TParameterAnim& movie) {
  TShellState& s = Shell();
  s.TempCounter += 1;
  const std::string path = movie.Path, file = movie.File;
  movie.Save("TEMP\\", "temp" + std::to_string(s.TempCounter) + ".ini", ShellHost());
  movie.Path = path;
  movie.File = file;
}

bool RunComputeCommand(int command) {
  TShellState& s = Shell();
  switch (command) {
    case 83: ComputeMovie(1); return true;
    case 84: ComputeMovie(2); return true;
    case 105: ShowMovie(s.CurrentKeyM1, s.RenderM1.get()); return true;
    case 106: ShowMovie(s.CurrentKeyM2, s.RenderM2.get()); return true;
    case 107:
    case 108:
    case 109: ShowBothMovies(command); return true;
    case 1: RedisplayCommand(); return true;
    case 29:
    case 30: ShowVariants(command); return true;
    case 80: ShowCAsDynamicsPoint(); return true;
    case 42:
      // Until the preview windows are built in, the start preview is the
      // main picture, so that the program starts with a picture.
      PostShellCommand(83);
      return true;
    default: return false;
  }
}

}  // namespace ork
