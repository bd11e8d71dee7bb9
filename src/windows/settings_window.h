// The program settings window: shows the settings store's picture position,
// language, start-after-load choice, the normal and preview film defaults,
// the picture saving formats and the toolbar switch, and writes them back
// to the store's own file ("INI\Settings.ini") on "Speichern".
//
// The window is modal: Fill runs its own wait for events until the user
// saves or cancels and destroys the window before it returns. Events of
// other windows are consumed without effect meanwhile.
#pragma once

#include <memory>

#include "gui/gui.h"
#include "shell/shell_state.h"
#include "windows/film_panels.h"

namespace ork {

class TINI;
class TINIGroup;

class TWindowProgramm : public TToolWindow {
 public:
  // The window as a child of `parent`, at its position + (32, 64), with a
  // 244 x 651 client area; boxes unticked and fields empty until Fill.
  static std::unique_ptr<TWindowProgramm> Open(THandle parent);
  static void Close(std::unique_ptr<TWindowProgramm>& window);

  THandle Handle() const override { return Window; }
  // All work happens inside Fill.
  void OnEvent(const TEvent&) override {}
  void Close() override;

  // Fills the gadgets from `store`, waits for the user and on "Speichern"
  // writes every value back and saves the store (atomically, through the
  // store's own save). Cancel and the close box change nothing. Returns 0.
  int Fill(TINI& store);

  THandle Window = 0;
  TINIGroup* GroupAnimMode = nullptr;
  TINIGroup* GroupAnim = nullptr;
  TINIGroup* GroupAnimPreview = nullptr;
  TFilmPanel PAN;
  TFilmPanel PAN_PREV;
  THandle PAN_VORSCHAU = 0, PAN_SPRACHE = 0, PAN_BILDPOS = 0, PAN_SAVEIMG = 0, PAN_TOOLB = 0;
  THandle CK_PREV = 0;
  THandle CK_IMGJPG = 0, CK_IMGBMP = 0, CK_IMGPNG = 0;
  THandle CK_StartVorschau = 0, CK_StartRun = 0, CK_Toolbar = 0;
  THandle Input1 = 0, Input2 = 0;
  THandle TXT_Language = 0;
  THandle Cmd_OK = 0, Cmd_Abbruch = 0;

 private:
  void Store(TINI& store);
};

// Command 5: (re)opens the settings window on SettingsIni and afterwards
// applies the toolbar and start-after-load settings.
void SettingsCommand();
void RegisterSettingsWindow();

}  // namespace ork
