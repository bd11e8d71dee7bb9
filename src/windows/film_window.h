// The film from the GUI: the film settings dialog as a modal window, the
// picture area as the film's view (frames, a grey progress bar across the
// top, the same text in the status line), and the runner that command 121
// calls.
#pragma once

#include <string>

#include "film/animate_run.h"
#include "film/film_command.h"
#include "gui/gui.h"
#include "windows/film_panels.h"

namespace ork {

// "Film Einstellungen" / "Movie settings", 246 x 345 pixels at the main
// window's position. Run fills it from the store, waits for the user and
// returns true for "Start" (the values stored in memory), false for
// "Abbruch" or the close box. The window is destroyed before Run returns;
// events of other windows are consumed without effect meanwhile.
class TFilmSettingsWindow final : public TFilmSettingsDialog {
 public:
  bool Run(TINI& settings) override;

  // The gadgets while Run waits (tests look at them through the back end).
  THandle Window = 0;
  THandle CK_PREV = 0;
  TFilmPanel PAN, PAN_PREV;
  THandle Cmd_Start = 0, Cmd_Abbruch = 0;
};

// The picture area of the main window as the film's drawing target.
class TGuiFilmView final : public TFilmView {
 public:
  void Begin(const std::string& progressText) override;
  void ShowFrame(TRender& render) override;
  void Progress(const std::string& text) override;
  void End() override;

 private:
  void DrawBar();
  std::string text_;
};

// Command 121's film production on the GUI: the dialog, the film movies of
// Movie 1 (and Movie 2 for two-movie compositions), every frame shown in
// the picture area; holding Escape stops it.
void RunGuiFilm();
// Installs RunGuiFilm as the shell's film runner.
void RegisterFilmWindow();

}  // namespace ork
