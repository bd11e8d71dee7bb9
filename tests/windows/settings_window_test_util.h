// Fixture of the settings, film, line-style, grid-size and overlay tests:
// the shell started on a small start movie with the main picture computed
// and the tool windows registered, and a helper that acts as the user in a
// modal window once it has opened.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/main_window_test_util.h"
#include "windows/tool_windows.h"

namespace ork::test {

class TModalWindowTest : public TShellTest {
 protected:
  void SetUp() override {
    TShellTest::SetUp();
    UseSmallStartMovie(80, 60);
    Start();
    ASSERT_TRUE(RunPending());
    RegisterToolWindows();
  }

  // When the loop next waits with nothing queued and a window titled
  // `title` is open, `act` runs once with it (it must queue what ends the
  // window). `opened` tells afterwards whether that happened.
  void OnWindow(const std::string& title, std::function<void(THandle)> act) {
    auto state = std::make_shared<bool>(false);
    opened_ = state;
    gui_.SetIdleHook([title, act, state](TScriptedGui& gui) {
      const THandle window = gui.FindWindow(title);
      if (!window || *state) return;
      *state = true;
      act(window);
    });
  }
  bool Opened() const { return opened_ && *opened_; }

  // As OnWindow with several acts, one per wait of the window's loop (each
  // must queue at least one event; the last one ends the window).
  void OnWindowSteps(const std::string& title, std::vector<std::function<void(THandle)>> acts) {
    auto next = std::make_shared<size_t>(0);
    auto state = std::make_shared<bool>(false);
    opened_ = state;
    gui_.SetIdleHook([title, acts, next, state](TScriptedGui& gui) {
      const THandle window = gui.FindWindow(title);
      if (!window || *next >= acts.size()) return;
      *state = true;
      acts[(*next)++](window);
    });
  }

  void Choose(int command) {
    ASSERT_TRUE(gui_.ChooseMenu(Window(), command)) << command;
    ASSERT_TRUE(RunPending());
  }
  THandle Check(THandle window, const std::string& text) const {
    return gui_.FindGadget(window, TGadgetKind::CheckBox, text);
  }
  THandle Button(THandle window, const std::string& text) const {
    return gui_.FindGadget(window, TGadgetKind::Button, text);
  }
  THandle Label(THandle window, const std::string& text) const {
    return gui_.FindGadget(window, TGadgetKind::Label, text);
  }
  THandle Field(THandle window, int index) const {
    const auto fields = gui_.FindGadgets(window, TGadgetKind::TextField);
    return index < static_cast<int>(fields.size()) ? fields[index] : 0;
  }
  std::string ReadFile(const std::string& relative) const {
    return ReadAll(dir_ / relative);
  }

  std::shared_ptr<bool> opened_;
};

}  // namespace ork::test
