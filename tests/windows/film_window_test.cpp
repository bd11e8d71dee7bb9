// A film produced from the GUI: command 121 shows the film settings dialog,
// its values go into the settings store, every frame is shown in the
// picture area with the progress bar and status line, and the frames and
// the AVI file land in Output. Escape stops the film; Cancel produces
// nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings_window_test_util.h"
#include "shell/settings.h"
#include "windows/film_window.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

class FilmWindowTest : public TModalWindowTest {
 protected:
  int Count(const std::string& ending) const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "Output")) {
      const std::string name = e.path().filename().string();
      if (name.size() >= ending.size() &&
          name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
        ++n;
    }
    return n;
  }
  // The dialog's preview film: 1 frame per second, 20 pixels wide, JPEG
  // frames and the AVI file.
  void TypeSmallPreviewFilm(THandle window, bool pressStart = true, bool mp4 = false) {
    const THandle preview = Check(window, "Preview");
    ASSERT_NE(preview, 0);
    if (!gui_.GetState(preview)) gui_.Click(preview);
    // Fields in creation order: normal FPS, preview FPS, preview width.
    gui_.TypeText(Field(window, 1), "1");
    gui_.TypeText(Field(window, 2), "20");
    const auto boxes = gui_.FindGadgets(window, TGadgetKind::CheckBox);
    ASSERT_EQ(boxes.size(), 11u);
    // Preview panel: JPG, PNG, BMP, AVI, MP4 are boxes 6..10.
    if (!gui_.GetState(boxes[6])) gui_.Click(boxes[6]);
    if (gui_.GetState(boxes[7])) gui_.Click(boxes[7]);
    if (gui_.GetState(boxes[8])) gui_.Click(boxes[8]);
    if (!gui_.GetState(boxes[9])) gui_.Click(boxes[9]);
    if (mp4 != (gui_.GetState(boxes[10]) != 0)) gui_.Click(boxes[10]);
    if (pressStart) gui_.Click(Button(window, "Start"));
  }
};

TEST_F(FilmWindowTest, ProducesFramesAndAviThroughTheDialog) {
  bool layoutOk = false;
  OnWindow("Movie settings", [&](THandle w) {
    const TRect r = gui_.Geometry(w);
    layoutOk = r.width == 246 && r.height == 345 &&
               gui_.FindGadget(w, TGadgetKind::Panel, "Normal") &&
               gui_.FindGadget(w, TGadgetKind::Panel, "Vorschau") &&
               Label(w, "Images per second (1-25)") && Label(w, "Image width") &&
               Button(w, "Cancel");
    TypeSmallPreviewFilm(w);
  });
  Choose(122);
  ASSERT_TRUE(Opened());
  EXPECT_TRUE(layoutOk);
  // "Start" stored the values in memory only.
  EXPECT_EQ(*SettingsValue("AnimPreview", "Width"), "20");
  EXPECT_EQ(*SettingsValue("AnimPreview", "FPS"), "1");
  EXPECT_EQ(*SettingsValue("AnimPreview", "JPG"), "1");
  EXPECT_EQ(*SettingsValue("AnimMode", "Preview"), "1");
  EXPECT_NE(ReadFile("INI/Settings.ini").find("Width=70"), std::string::npos);

  const int frames = Count(".jpg");
  EXPECT_GT(frames, 5);
  EXPECT_EQ(Count(".avi"), 1);
  EXPECT_EQ(Count("-Animation.ini"), 1);
  // The status line is cleared at the end.
  EXPECT_EQ(Status(), "");
  // The menus are usable again.
  EXPECT_TRUE(gui_.MenuChoosable(gui_.FindMenuItem(Window(), 122)));
}

// "MP4" beside AVI: a Settings.ini without the key shows it unticked and
// gains the key only in the section where the user switched it on; the
// film then also lands in Output as an H.264 video.
TEST_F(FilmWindowTest, Mp4ChoiceWritesAVideoAndItsKeyOnlyWhenSwitchedOn) {
  ASSERT_EQ(SettingsValue("Anim", "MP4"), nullptr);
  bool unticked = false;
  OnWindow("Movie settings", [&](THandle w) {
    const auto boxes = gui_.FindGadgets(w, TGadgetKind::CheckBox);
    unticked = boxes.size() == 11u && !gui_.GetState(boxes[5]) && !gui_.GetState(boxes[10]);
    TypeSmallPreviewFilm(w, true, true);
  });
  Choose(122);
  ASSERT_TRUE(Opened());
  EXPECT_TRUE(unticked);
  ASSERT_NE(SettingsValue("AnimPreview", "MP4"), nullptr);
  EXPECT_EQ(*SettingsValue("AnimPreview", "MP4"), "1");
  EXPECT_EQ(SettingsValue("Anim", "MP4"), nullptr);
  EXPECT_EQ(Count(".mp4"), 1);
  EXPECT_EQ(Count(".avi"), 1);
}

TEST_F(FilmWindowTest, EscapeStopsAndCancelProducesNothing) {
  OnWindow("Movie settings", [&](THandle w) { gui_.Click(Button(w, "Cancel")); });
  Choose(122);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(Count(".jpg"), 0);
  EXPECT_EQ(Count("-Animation.ini"), 0);

  OnWindow("Movie settings", [&](THandle w) {
    TypeSmallPreviewFilm(w);
    // Held Escape: seen by the first poll of the film.
    gui_.KeyDown(kKeyEscape, Area());
    gui_.KeyDown(kKeyEscape, Area(), true);
    gui_.KeyDown(kKeyEscape, Area(), true);
  });
  Choose(122);
  ASSERT_TRUE(Opened());
  EXPECT_LE(Count(".jpg"), 1);
  EXPECT_EQ(Status(), "");
}

// A film that cannot write its files stops at the first one and says which
// file and why in a message.
TEST_F(FilmWindowTest, FailedWriteStopsTheFilmWithAMessage) {
  fs::remove_all(dir_ / "Output");
  WriteAll(dir_ / "Output", "a file where the folder should be");
  gui_.AnswerQuestion(false);  // not to make the Output folder for the film movie
  OnWindow("Movie settings", [&](THandle w) { TypeSmallPreviewFilm(w); });
  Choose(122);
  ASSERT_TRUE(Opened());
  ASSERT_FALSE(gui_.Messages().empty());
  const std::string message = gui_.Messages().back();
  EXPECT_EQ(message.rfind("The movie was stopped, a file could not be written:\n", 0), 0u) << message;
  EXPECT_NE(message.find(".jpg: Not a directory"), std::string::npos) << message;
  EXPECT_EQ(Status(), "");
}

}  // namespace
}  // namespace ork::test
