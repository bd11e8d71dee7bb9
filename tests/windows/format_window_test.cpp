// The picture format window opened by commands 13, 14 and 15: sizes typed or
// picked from the quick menu, and both movies changed together by 15.
#include "windows/format_window.h"

#include <gtest/gtest.h>

#include "model/latin1.h"
#include "shell/main_window_test_util.h"
#include "windows/data_window.h"
#include "windows/data_window_commands.h"

namespace ork::test {
namespace {

class FormatWindowTest : public TShellTest {
 protected:
  void SetUp() override {
    TShellTest::SetUp();
    UseSmallStartMovie(80, 60);
    Start();
    RegisterDataWindows();
    ASSERT_TRUE(RunPending());
  }
  TWindowOutputParameter* Open(int command) {
    EXPECT_TRUE(gui_.ChooseMenu(Window(), command));
    EXPECT_TRUE(RunPending());
    return static_cast<TWindowOutputParameter*>(SlotWindow(TSlot::PictureFormat));
  }
  void Choose(TWindowOutputParameter* w, const char* item) {
    for (int i = 0; i < kQuickSizeCount; ++i) {
      if (std::string(kQuickSizes[i].text) != item) continue;
      ASSERT_TRUE(gui_.ChooseMenu(w->Window, kQuickSizeCommand + i));
      ASSERT_TRUE(RunPending());
      return;
    }
    FAIL() << item;
  }
};

TEST_F(FormatWindowTest, EditsOneMovie) {
  TWindowOutputParameter* w = Open(13);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(gui_.Gadget(w->Window)->text, "M1: Format of image, name, etc. (MainScreen)");
  EXPECT_EQ(gui_.GetText(w->TextBoxWidth), "80");
  EXPECT_EQ(gui_.GetText(w->TextBoxHeight), "60");
  EXPECT_EQ(gui_.GetText(w->LabWeb), Shell().Movie1->Web);
  const THandle menu = gui_.TopMenus(w->Window).at(0);
  EXPECT_EQ(gui_.MenuText(menu), Latin1("Hier Click für Schnellauswahl"));
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(w->Window, kQuickSizeCommand + 1)),
            Latin1("Youtube halbe Größe / 240 x 180"));

  Choose(w, "Full HD / 1920 x 1080");
  EXPECT_EQ(gui_.GetText(w->TextBoxWidth), "1920");
  EXPECT_EQ(gui_.GetText(w->TextBoxHeight), "1080");
  EXPECT_EQ(Shell().Movie1->OutputWidth, 1920);
  EXPECT_EQ(Shell().Movie1->OutputHeight, 1080);
  EXPECT_EQ(Shell().Movie2->OutputWidth, 80);

  gui_.TypeText(w->TextBoxWidth, "800x600");
  gui_.LeaveField(w->TextBoxWidth);
  gui_.TypeText(w->TextBoxHeight, "0");
  gui_.LeaveField(w->TextBoxHeight);
  gui_.TypeText(w->TextBoxFileName, "Clip");
  gui_.LeaveField(w->TextBoxFileName);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie1->OutputWidth, 800);
  EXPECT_EQ(Shell().Movie1->OutputHeight, 8);  // kept to the loader's minimum
  EXPECT_EQ(gui_.GetText(w->TextBoxHeight), "8");
  EXPECT_EQ(Shell().Movie1->FileName, "Clip");
  EXPECT_NE(Shell().Movie2->FileName, "Clip");

  TWindowOutputParameter* m2 = Open(14);
  ASSERT_NE(m2, nullptr);
  EXPECT_EQ(gui_.Gadget(m2->Window)->text, "M2: Format of image, name, etc.");
  Choose(m2, "PAL / 768 x 576");
  EXPECT_EQ(Shell().Movie2->OutputWidth, 768);
  EXPECT_EQ(Shell().Movie1->OutputWidth, 800);

  ASSERT_TRUE(gui_.Click(m2->Cmd_Exit));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::PictureFormat), nullptr);
}

TEST_F(FormatWindowTest, Command15ChangesBothMovies) {
  TWindowOutputParameter* w = Open(15);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(gui_.Gadget(w->Window)->text, "Both M1 and M2 Format of image ");
  Choose(w, "HD / 1280 x 720");
  EXPECT_EQ(Shell().Movie1->OutputWidth, 1280);
  EXPECT_EQ(Shell().Movie2->OutputWidth, 1280);
  EXPECT_EQ(Shell().Movie2->OutputHeight, 720);
  // A second change in the same window reaches Movie 2 as well.
  gui_.TypeText(w->TextBoxFileName, "Both");
  gui_.LeaveField(w->TextBoxFileName);
  Choose(w, "VGA / 640 x 480");
  EXPECT_EQ(Shell().Movie2->OutputWidth, 640);
  EXPECT_EQ(Shell().Movie2->FileName, "Both");

  // Opened for Movie 1 alone, Movie 2 stays as it is.
  w = Open(13);
  Choose(w, "Pocket PC / 320 x 240");
  EXPECT_EQ(Shell().Movie1->OutputWidth, 320);
  EXPECT_EQ(Shell().Movie2->OutputWidth, 640);

  // The data window's "Bildformat" button opens the window for its movie.
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 17));
  ASSERT_TRUE(RunPending());
  auto* data = static_cast<TDataWindow*>(SlotWindow(TSlot::DataM2));
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(gui_.Click(data->Cmd_Format));
  ASSERT_TRUE(RunPending());
  w = static_cast<TWindowOutputParameter*>(SlotWindow(TSlot::PictureFormat));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(gui_.Gadget(w->Window)->text, "M2: Format of image, name, etc.");
}

}  // namespace
}  // namespace ork::test
