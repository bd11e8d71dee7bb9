// The colour-window tests: the shell started with a small start movie, the
// main picture computed, the tool windows registered; helpers that find the
// colour windows and their gadgets and take fingerprints of what a
// recomputation would change.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render.h"
#include "shell/main_window_test_util.h"
#include "windows/tool_windows.h"

namespace ork::test {

class TColourWindowTest : public TShellTest {
 protected:
  void SetUp() override {
    TShellTest::SetUp();
    UseSmallStartMovie(80, 60);
    Start();
    ASSERT_TRUE(RunPending());
    RegisterToolWindows();
  }

  // Chooses a menu item of the main window and lets the loop run.
  void Choose(int command) {
    ASSERT_TRUE(gui_.ChooseMenu(Window(), command)) << command;
    ASSERT_TRUE(RunPending());
  }
  // A command posted as a tool window or the toolbar would post it.
  void Post(int command) {
    PostShellCommand(command);
    ASSERT_TRUE(RunPending());
  }
  // Presses the toolbar button bound to `command`.
  void Press(int command) {
    const THandle toolbar = MainWindow().Toolbar;
    for (int i = 0; i < gui_.ToolbarButtonCount(toolbar); ++i)
      if (gui_.ToolbarCommand(toolbar, i) == command) {
        ASSERT_TRUE(gui_.PressToolbar(toolbar, i));
        ASSERT_TRUE(RunPending());
        return;
      }
    FAIL() << "no toolbar button for " << command;
  }
  THandle Find(const std::string& title) const { return gui_.FindWindow(title); }
  std::vector<THandle> Panels(THandle window) const {
    return gui_.FindGadgets(window, TGadgetKind::Panel);
  }
  THandle Slider(THandle window) const {
    const auto sliders = gui_.FindGadgets(window, TGadgetKind::Slider);
    return sliders.empty() ? 0 : sliders.front();
  }
  std::vector<THandle> Fields(THandle window) const {
    return gui_.FindGadgets(window, TGadgetKind::TextField);
  }
  THandle Button(THandle window, const std::string& text) const {
    return gui_.FindGadget(window, TGadgetKind::Button, text);
  }
  std::vector<std::uint32_t> PanelPixels(THandle panel) const {
    return gui_.Gadget(panel)->picture.pixels;
  }
  // Clicks a sample panel as the user does: press and release over it.
  void ClickPanel(THandle panel) {
    gui_.MouseDown(panel, 50, 50);
    gui_.MouseUp(panel, 50, 50);
    ASSERT_TRUE(RunPending());
  }
};

// What a new computation of the main picture would replace: the render
// object itself, its iteration counts and the history counter.
struct TComputedState {
  const TRender* render = nullptr;
  TBigVector<int32_t> ibild;
  TBigVector<double> bildX;
  int tempCounter = 0;

  static TComputedState Of(const TRender* r) {
    TComputedState c;
    c.render = r;
    if (r) {
      c.ibild = r->ibild;
      c.bildX = r->bildX;
    }
    c.tempCounter = Shell().TempCounter;
    return c;
  }
  bool operator==(const TComputedState& o) const {
    return render == o.render && ibild == o.ibild && bildX == o.bildX &&
           tempCounter == o.tempCounter;
  }
};

inline std::vector<std::uint32_t> PixelsOf(const TPixmapPtr& p) {
  return p ? std::vector<std::uint32_t>(p->Data(), p->Data() + p->Width() * p->Height())
           : std::vector<std::uint32_t>{};
}

}  // namespace ork::test
