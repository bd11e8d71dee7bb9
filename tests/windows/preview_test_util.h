// Fixture of the preview, Julia and dynamics window tests: the shell's GUI
// fixture with these windows' commands registered and a start movie of a
// chosen size.
#pragma once

#include <string>

#include "engine/orbit_picture.h"
#include "model/movie.h"
#include "shell/commands_composition.h"
#include "shell/commands_movie.h"
#include "shell/main_window_test_util.h"
#include "windows/preview_commands.h"

namespace ork::test {

class TPreviewTest : public TShellTest {
 protected:
  void SetUp() override {
    TShellTest::SetUp();
    SetOrbitPictureHook(nullptr);
    RegisterPreviewAndDynamicsWindows();
  }
  void TearDown() override {
    TShellTest::TearDown();
    SetOrbitPictureHook(nullptr);
    SetJuliaPreviewOpener({});
    SetPreviewOpener({});
  }

  // INI\Small.ini, a width x height copy of the start movie, as the start
  // movie; with startPreview the program starts with preview 1 (42).
  void UseStartMovie(int width, int height, bool startPreview, bool maximize = false) {
    auto movie = TParameterAnim::Load("INI\\", "Default.ini", QuietHost());
    movie->OutputWidth = width;
    movie->OutputHeight = height;
    ASSERT_EQ(movie->Save("INI\\", "Small.ini", QuietHost()), 1);
    std::string text = DefaultSettingsText();
    Replace(text, "Start-ini=Default.ini", "Start-ini=Small.ini");
    if (!startPreview) Replace(text, "StartVorschau=1", "StartVorschau=0");
    if (!maximize) Replace(text, "Maximize=1", "Maximize=0");
    WriteAll(dir_ / "INI" / "Settings.ini", text);
  }

  // The first open window whose title begins with `prefix`, or 0.
  THandle WindowTitled(const std::string& prefix) const {
    for (THandle w : gui_.Windows())
      if (gui_.Gadget(w)->text.rfind(prefix, 0) == 0) return w;
    return 0;
  }
  // The panel of a window (its only panel).
  const TScriptedGadget* PanelOf(THandle window) const {
    const std::vector<THandle> panels = gui_.FindGadgets(window, TGadgetKind::Panel);
    return panels.size() == 1 ? gui_.Gadget(panels[0]) : nullptr;
  }
};

}  // namespace ork::test
