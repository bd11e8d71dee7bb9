// The program settings window as the user meets it: command 5 opens it,
// changes are saved into INI\Settings.ini (keys keep their places), Cancel
// changes nothing, and the toolbar and start choice apply afterwards.
#include <gtest/gtest.h>

#include "settings_window_test_util.h"
#include "model/latin1.h"
#include "shell/settings.h"
#include "windows/settings_window.h"

namespace ork::test {
namespace {

class SettingsWindowTest : public TModalWindowTest {};

constexpr const char* kTitle = "Program Settings";

TEST_F(SettingsWindowTest, SavesChangedSettingsInPlace) {
  gui_.ResizeWindow(Window(), 1000, 700);
  ASSERT_TRUE(RunPending());
  std::string expected = ReadFile("INI/Settings.ini");
  Replace(expected, "StartVorschau=0", "StartVorschau=1");
  Replace(expected, "Language=EN", "Language=de");
  Replace(expected, "PositionY=9999", "PositionY=9999");
  Replace(expected, "FPS=25", "FPS=12");
  Replace(expected, "Width=70", "Width=abc\r\nMP4=1");  // the key appears once switched on
  Replace(expected, "BMP=1", "BMP=0");
  Replace(expected, "Toolbar=1", "Toolbar=0");

  bool labelsOk = false;
  OnWindow(kTitle, [&](THandle w) {
    // The ranges of the position labels follow the main window's client size.
    labelsOk = Label(w, "Point X  Pixel (0..669)") && Label(w, "Point Y  Pixel (0..330)");
    auto* sw = static_cast<TWindowProgramm*>(SlotWindow(TSlot::Settings));
    EXPECT_EQ(gui_.GetText(sw->Input1), "Mid");
    EXPECT_EQ(gui_.GetText(sw->PAN_PREV.Panel), "Preview");
    EXPECT_EQ(gui_.GetState(sw->CK_StartRun), 1);
    EXPECT_EQ(gui_.GetState(sw->CK_StartVorschau), 0);
    gui_.TypeText(sw->Input1, "150");
    gui_.TypeText(sw->Input2, "Mid");  // one "Mid" centres both directions
    gui_.Click(sw->CK_StartVorschau);
    gui_.TypeText(sw->TXT_Language, "de");
    gui_.TypeText(sw->PAN.Fps, "12");
    gui_.TypeText(sw->PAN_PREV.Width, "abc");  // stored as typed
    gui_.Click(sw->PAN_PREV.Mp4);
    gui_.Click(sw->CK_IMGBMP);
    gui_.Click(sw->CK_Toolbar);
    gui_.Click(sw->Cmd_OK);
  });
  Choose(5);
  ASSERT_TRUE(Opened());
  EXPECT_TRUE(labelsOk);
  EXPECT_EQ(ReadFile("INI/Settings.ini"), expected);
  EXPECT_EQ(Settings().PicturePosX, kPictureCentred);
  EXPECT_EQ(Settings().PicturePosY, kPictureCentred);
  // "de" is no exact "DE": the English note.
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(),
            "If you can not immediately see the change, please restart the program.");
  EXPECT_TRUE(Shell().StartPreviewSetting);
  EXPECT_TRUE(Shell().StartPreviewPending);
  EXPECT_FALSE(Shell().ToolbarSetting);
  EXPECT_FALSE(gui_.Gadget(MainWindow().Toolbar)->visible);
  // The window is gone; its object stays in the slot without gadgets.
  EXPECT_EQ(gui_.FindWindow(kTitle), 0);
}

TEST_F(SettingsWindowTest, StartChoiceIsExclusiveAndCancelKeepsEverything) {
  const std::string before = ReadFile("INI/Settings.ini");
  std::vector<std::pair<int, int>> states;
  TWindowProgramm* sw = nullptr;
  const auto note = [&](THandle) {
    sw = static_cast<TWindowProgramm*>(SlotWindow(TSlot::Settings));
    states.emplace_back(gui_.GetState(sw->CK_StartVorschau), gui_.GetState(sw->CK_StartRun));
  };
  OnWindowSteps(kTitle, {
      [&](THandle w) { note(w); gui_.Click(sw->CK_StartRun); },
      [&](THandle w) { note(w); gui_.Click(sw->CK_StartVorschau); },
      [&](THandle w) { note(w); gui_.Click(sw->CK_StartVorschau); },
      [&](THandle w) {
        note(w);
        gui_.TypeText(sw->Input1, "3");
        gui_.TypeText(sw->TXT_Language, "DE");
        gui_.Click(sw->Cmd_Abbruch);
      },
  });
  Choose(5);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(ReadFile("INI/Settings.ini"), before);
  EXPECT_EQ(Settings().PicturePosX, kPictureCentred);
  EXPECT_TRUE(gui_.Messages().empty());
  EXPECT_FALSE(Shell().StartPreviewSetting);
  // Exactly one of the two boxes is ticked after every click.
  const std::vector<std::pair<int, int>> want{{0, 1}, {1, 0}, {0, 1}, {1, 0}};
  EXPECT_EQ(states, want);
}

TEST_F(SettingsWindowTest, GermanNoteAndNonNumericPosition) {
  OnWindow(kTitle, [&](THandle) {
    auto* sw = static_cast<TWindowProgramm*>(SlotWindow(TSlot::Settings));
    gui_.TypeText(sw->Input1, "left");
    gui_.TypeText(sw->Input2, "40");
    gui_.TypeText(sw->TXT_Language, "DE");
    gui_.Click(sw->Cmd_OK);
  });
  Choose(5);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(Settings().PicturePosX, 0);
  EXPECT_EQ(Settings().PicturePosY, 40);
  const std::string file = ReadFile("INI/Settings.ini");
  EXPECT_NE(file.find("PositionX=0\r\nPositionY=40\r\n"), std::string::npos);
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(),
            Latin1("Wenn Sie die Änderung nicht sofort sehen können, bitte das Programm neu "
                   "starten."));
}

}  // namespace
}  // namespace ork::test
