// The picture format window opened by commands 13, 14 and 15: sizes typed or
// picked from the quick menu, and both movies changed together by 15.
#include "windows/format_window.h"

#include <gtest/gtest.h>

#include "engine/allocation.h"
#include "engine/render.h"
#include "model/ini_store.h"
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

// A movie whose size changed behind the window (here: the movies
// exchanged) is shown, and a field left without a change stores nothing,
// so it cannot put the old size back.
TEST_F(FormatWindowTest, ShowsTheMovieThatTookItsPlaceAndStoresOnlyChanges) {
  Shell().Movie2->OutputWidth = 320;
  Shell().Movie2->OutputHeight = 240;
  TWindowOutputParameter* w = Open(13);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 17));  // the Movie 2 data window
  ASSERT_TRUE(RunPending());
  ASSERT_TRUE(gui_.Click(static_cast<TDataWindow*>(SlotWindow(TSlot::DataM2))->Cmd_Tausch));
  ASSERT_TRUE(RunPending());
  ASSERT_EQ(Shell().Movie1->OutputWidth, 320);
  EXPECT_EQ(gui_.GetText(w->TextBoxWidth), "320");
  EXPECT_EQ(gui_.GetText(w->TextBoxHeight), "240");
  for (THandle field : {w->TextBoxWidth, w->TextBoxHeight, w->TextBoxFileName})
    ASSERT_TRUE(gui_.LeaveField(field));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie1->OutputWidth, 320);
  EXPECT_EQ(Shell().Movie1->OutputHeight, 240);
}

// A picture too large for the machine (a lowered limit stands for a small
// one): computing it gives the message naming the size, and the command is
// abandoned before anything changed: the last picture, both movies, their
// files and the history stay as they were.
TEST_F(FormatWindowTest, PictureTooLargeForTheMachineLosesNothing) {
  TWindowOutputParameter* w = Open(13);
  for (THandle field : {w->TextBoxWidth, w->TextBoxHeight}) {
    gui_.TypeText(field, "16384");
    gui_.LeaveField(field);
  }
  ASSERT_TRUE(RunPending());
  ASSERT_EQ(Shell().Movie1->OutputHeight, 16384);
  auto bytes = [](const TParameterAnim& m) { return m.ToIni(QuietHost())->ToBytes(); };
  const std::string movie1 = bytes(*Shell().Movie1), movie2 = bytes(*Shell().Movie2);
  const std::string file = ReadAll(dir_ / "INI" / "Small.ini");
  const TRender* render = Shell().RenderM1.get();
  const TPixmapPtr picture = render->Image;
  const int history = Shell().TempCounter;

  SetAllocationLimit(4e9);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 83));
  ASSERT_TRUE(RunPending());
  SetAllocationLimit(0);
  const std::string message = "Not enough memory: " + ByteSizeText(RenderBytes(16384, 16384)) +
                              " for the picture buffers 16384 x 16384 could not be allocated. "
                              "The command was abandoned.";
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(), message);
  EXPECT_EQ(Status(), message);
  for (THandle m : gui_.TopMenus(Window())) EXPECT_TRUE(gui_.MenuEnabled(m));
  EXPECT_EQ(Shell().RenderM1.get(), render);
  EXPECT_EQ(render->Width, 80);
  EXPECT_EQ(render->Image, picture);
  EXPECT_EQ(Shell().TempCounter, history);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "TEMP" / ("temp" + std::to_string(history + 1) +
                                                         ".ini")));
  EXPECT_EQ(bytes(*Shell().Movie1), movie1);
  EXPECT_EQ(bytes(*Shell().Movie2), movie2);
  EXPECT_EQ(ReadAll(dir_ / "INI" / "Small.ini"), file);
  // The program goes on: a smaller picture computes.
  Choose(w, "Pocket PC / 320 x 240");
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 83));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().RenderM1->Width, 320);
}

}  // namespace
}  // namespace ork::test
