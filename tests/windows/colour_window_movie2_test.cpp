#include <gtest/gtest.h>

#include "model/process_state.h"
#include "colour_window_test_util.h"

namespace ork::test {
namespace {

TParameter* Key2() { return Shell().Movie2->GetActualParameter(); }

TEST_F(TColourWindowTest, ColourWindowMovie2EditsMovie2WithColourTarget) {
  // Movie 2's colour commands need the double picture. In the double
  // picture the colour menus are disabled; the toolbar buttons stay.
  Choose(34);
  EXPECT_EQ(SlotWindow(TSlot::ColourTables), nullptr);
  Post(29);
  ASSERT_EQ(Composition().ShownImage, 2);

  Press(34);
  EXPECT_EQ(Shell().ColourTarget, 1);
  const THandle table = Find("Color Table Picture and Color Shift");
  ASSERT_NE(table, 0);
  const auto image = PixelsOf(Shell().RenderM1->ImageD);
  const int counter = Shell().TempCounter;
  // In the double picture the lists keep their four variants apart.
  ClickPanel(Panels(table)[4]);
  EXPECT_EQ(Key2()->farbtabL, "5:14:14:14");
  EXPECT_EQ(Key1()->farbtabL, "14");
  // Repainted with the double-picture command of CompositionMode 2.
  EXPECT_EQ(Shell().TempCounter, counter + 1);
  EXPECT_EQ(PixelsOf(Shell().RenderM1->ImageD).size(), image.size());
  // The slider refreshes the window for Movie 2 again.
  ASSERT_TRUE(gui_.MoveSlider(Slider(table), 50));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key2()->ColShiftL, "50:1200:1200:1200");
  EXPECT_EQ(Key1()->ColShiftL, "1200");
  EXPECT_EQ(Shell().Movie2->FensterCol, 1);
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
  EXPECT_EQ(Shell().ColourTarget, 1);

  // Coding for Movie 2, then the same window for Movie 1.
  Press(31);
  const THandle coding = Find("Encoding type and F1");
  ASSERT_NE(coding, 0);
  ClickPanel(Panels(coding)[2]);
  EXPECT_EQ(Key2()->SelectPictureL, "3:1:1:1");
  EXPECT_EQ(Key1()->SelectPictureL, "1");
  Press(28);
  EXPECT_EQ(Shell().ColourTarget, 0);
  EXPECT_EQ(Find("Encoding type and F1"), coding);
  ClickPanel(Panels(coding)[1]);
  EXPECT_EQ(Key1()->SelectPictureL, "2:1:1:1");
  EXPECT_EQ(Key2()->SelectPictureL, "3:1:1:1");

  // Factor F1 and the colour shift for Movie 2.
  Post(32);
  const THandle factor = Find("Color factor F1 change");
  ASSERT_NE(factor, 0);
  ASSERT_TRUE(gui_.MoveSlider(Slider(factor), 100));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key2()->factL, "15.178:100.000:100.000:100.000");
  EXPECT_EQ(Key1()->factL, "12.000:100.000:100.000:100.000");
  Press(35);
  const THandle shift = Find("Colors move in a circle");
  ASSERT_NE(shift, 0);
  ASSERT_TRUE(gui_.MoveSlider(Slider(shift), 7));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key2()->ColShiftL, "7:1200:1200:1200");

  // Closing the coding and table windows resets Movie 1's FensterCol.
  Shell().Movie1->FensterCol = 3;
  gui_.CloseBox(coding);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
  Shell().Movie1->FensterCol = 1;
  gui_.CloseBox(table);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
}

TEST_F(TColourWindowTest, ColourEditsRepaintThePicturesOfBothMovies) {
  struct TCase {
    int composition, colourWindow, mode;
    bool newC;
  };
  int panel = 2;
  for (const TCase& c : {TCase{89, 34, 222, false}, TCase{94, 22, 44, false},
                         TCase{90, 34, 222, true}}) {
    SCOPED_TRACE(c.composition);
    Post(c.composition);
    ASSERT_EQ(Composition().CompositionMode, c.mode);
    const TPixmapPtr& picture = c.mode == 44 ? Shell().RenderM1->ImageV : Shell().RenderM1->ImageD;
    const auto before = PixelsOf(picture);
    Post(c.colourWindow);
    ClickPanel(Panels(Find("Color Table Picture and Color Shift"))[panel++]);
    EXPECT_NE(PixelsOf(picture), before);
    EXPECT_EQ(Composition().CompositionMode, c.mode);
    EXPECT_EQ(Composition().KeepLeftPicture, c.newC);
  }

  // Deleting Movie 2's decorations in the double picture shows at once.
  Post(89);
  const auto plain = PixelsOf(Shell().RenderM1->ImageD);
  Shell().CurrentKeyM2->Grid = "M";
  Post(1);
  ASSERT_NE(PixelsOf(Shell().RenderM1->ImageD), plain);
  gui_.AnswerQuestion(true);
  Post(119);
  EXPECT_EQ(PixelsOf(Shell().RenderM1->ImageD), plain);
}

}  // namespace
}  // namespace ork::test
