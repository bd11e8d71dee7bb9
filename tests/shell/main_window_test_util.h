// The shell's GUI tests: a fresh working directory seeded with the shipped
// files, the scripted back end installed, and helpers that act as the user
// and let the event loop run until nothing is pending.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gui/scripted.h"
#include "model/movie.h"
#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/workdir.h"
#include "settings_test_util.h"

namespace ork::test {

class TShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = FreshWorkDir("gui_" + name);
    ASSERT_TRUE(PrepareWorkDir(dir_.string(), ShippedDataDir()).Ok());
    previous_ = SetGui(&gui_);
    ResetShellState();
    ResetMainWindow();
    ClearCommandHandlers();
    SetFilmRunner({});
  }
  void TearDown() override {
    ResetShellState();
    ResetMainWindow();
    SetGui(previous_);
  }

  // A small copy of the start movie as INI\Small.ini and a Settings.ini
  // that starts with it by computing the main picture.
  void UseSmallStartMovie(int width = 80, int height = 60, const std::string& language = "EN") {
    auto movie = TParameterAnim::Load("INI\\", "Default.ini", QuietHost());
    movie->OutputWidth = width;
    movie->OutputHeight = height;
    ASSERT_EQ(movie->Save("INI\\", "Small.ini", QuietHost()), 1);
    std::string text = DefaultSettingsText();
    Replace(text, "Start-ini=Default.ini", "Start-ini=Small.ini");
    Replace(text, "StartVorschau=1", "StartVorschau=0");
    Replace(text, "Language=EN", "Language=" + language);
    Replace(text, "Maximize=1", "Maximize=0");
    WriteAll(dir_ / "INI" / "Settings.ini", text);
  }
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  // The program's entry up to the event loop.
  void Start() {
    CreateMainWindow();
    StartSequence();
  }
  // Lets the loop take every queued event; false once the program ended.
  bool RunPending() {
    while (gui_.PendingEvents() > 0)
      if (!HandleEvent(gui_.WaitEvent())) return false;
    return true;
  }
  THandle Window() const { return MainWindow().Window; }
  THandle Area() const { return MainWindow().Canvas; }
  TParameter* Key1() { return Shell().Movie1->GetActualParameter(); }
  std::string Status() const { return gui_.Gadget(Window())->statusText; }

  TScriptedGui gui_;
  TGui* previous_ = nullptr;
  std::filesystem::path dir_;
};

}  // namespace ork::test
