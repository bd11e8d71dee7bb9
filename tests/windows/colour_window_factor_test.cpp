#include <gtest/gtest.h>

#include <algorithm>

#include "model/process_state.h"
#include "shell/main_window.h"
#include "windows/colour_factor_window.h"
#include "colour_window_test_util.h"

namespace ork::test {
namespace {

TEST_F(TColourWindowTest, ColourWindowFactorF4F3F1) {
  // F4 = 0 (2048 colours): the slider stands at 2048 in 255 ... 2048.
  Choose(27);
  const THandle win = Find("Color factor F4 change");
  ASSERT_NE(win, 0);
  const TRect main = gui_.Geometry(Window());
  EXPECT_EQ(gui_.Gadget(win)->rect.x, main.x);
  EXPECT_EQ(gui_.Gadget(win)->rect.y, std::max(35, main.y));  // never above the picture area
  EXPECT_EQ(gui_.Gadget(win)->rect.width, main.width);
  EXPECT_EQ(gui_.Gadget(win)->rect.height, 76);
  EXPECT_EQ(gui_.GetText(gui_.FindGadgets(win, TGadgetKind::Label)[0]), "  Old ColFact F4= 2048.0");
  EXPECT_EQ(gui_.GetText(Fields(win)[0]), "255.000");
  EXPECT_EQ(gui_.GetText(Fields(win)[1]), "2048.0");
  const THandle slider = Slider(win);
  // Maxfakt = 500 / 10^(log10(1793) + 0.5) = 0.0881...
  EXPECT_EQ(gui_.Gadget(slider)->minimum, 22);
  EXPECT_EQ(gui_.Gadget(slider)->maximum, 180);
  EXPECT_EQ(gui_.GetState(slider), 180);

  // The lowest position stands for 249 colours: message, 255 stored.
  const TComputedState before = TComputedState::Of(Shell().RenderM1.get());
  const auto image = PixelsOf(Shell().RenderM1->Image);
  ASSERT_TRUE(gui_.MoveSlider(slider, 22));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Messages().back(), "F4 shall not be less than 255. F4=0 stands for 2048 colors");
  EXPECT_EQ(Key1()->factL, "(12.000,0.0,1.000,255)");
  EXPECT_EQ(Status(), " ColFact F3= 1.000  //   F4= 255    Please close, when done.");
  EXPECT_NE(PixelsOf(Shell().RenderM1->Image), image);
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);

  // With a scale of 1, positions 100 and 2048 stand for those values:
  // 100 is corrected to 255, 2048 is written as "0".
  auto* window = static_cast<TWindowColFact*>(SlotWindow(TSlot::ColourFactor));
  ASSERT_NE(window, nullptr);
  const size_t shown = gui_.Messages().size();
  window->Maxfakt = 1.0;
  TEvent moved;
  moved.kind = TEventKind::Gadget;
  moved.window = win;
  moved.source = slider;
  moved.data = 2048;
  gui_.PostEvent(moved);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->factL, "12.000");
  EXPECT_EQ(gui_.Messages().size(), shown);
  moved.data = 100;
  gui_.PostEvent(moved);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Messages().size(), shown + 1);
  EXPECT_EQ(Key1()->factL, "(12.000,0.0,1.000,255)");

  // F3 in the same window: a range of its own (0 ... 2 * F3), and values
  // below 0.2 corrected.
  Choose(26);
  EXPECT_EQ(Find("Color factor F3 change"), win);
  EXPECT_EQ(gui_.GetText(Fields(win)[0]), "0.0");
  EXPECT_EQ(gui_.GetText(Fields(win)[1]), "2.000");
  EXPECT_EQ(gui_.GetState(slider), 79);
  ASSERT_TRUE(gui_.MoveSlider(slider, 0));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Messages().back(), "F3 shall not be less than 0.2");
  EXPECT_EQ(Key1()->factL, "(12.000,0.0,0.20000,255)");

  // F1: the main status names F1 and F2.
  Choose(24);
  EXPECT_EQ(gui_.GetText(Fields(win)[1]), "24.000");
  ASSERT_TRUE(gui_.MoveSlider(slider, 100));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->factL, "(15.178,0.0,0.20000,255)");
  EXPECT_EQ(Status(), " ColFact F1= 15.178  //   F2= 0.0    Please close, when done.");
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);

  // Closing: the single-picture status line, the range unset.
  gui_.CloseBox(win);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::ColourFactor), nullptr);
  EXPECT_EQ(Status(), CurrentSingleStatus());
  EXPECT_EQ(Shell().ColourRangeHigh, static_cast<double>(0.1234567f));
}

TEST_F(TColourWindowTest, ColourWindowShiftMovesTheColours) {
  Choose(23);
  const THandle win = Find("Colors move in a circle");
  ASSERT_NE(win, 0);
  EXPECT_EQ(gui_.Gadget(win)->rect.y, std::max(50, gui_.Geometry(Window()).y));
  EXPECT_EQ(gui_.Gadget(win)->rect.height, 67);
  EXPECT_EQ(gui_.GetText(gui_.FindGadgets(win, TGadgetKind::Label)[0]), "  Old Color Shift =1200");
  const THandle slider = Slider(win);
  EXPECT_EQ(gui_.Gadget(slider)->maximum, 2047);
  EXPECT_EQ(gui_.GetState(slider), 1200);
  const TComputedState before = TComputedState::Of(Shell().RenderM1.get());
  const auto image = PixelsOf(Shell().RenderM1->Image);
  ASSERT_TRUE(gui_.MoveSlider(slider, 300));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->ColShiftL, "300");
  EXPECT_EQ(Shell().Movie1->FensterCol, 1);
  EXPECT_NE(PixelsOf(Shell().RenderM1->Image), image);
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);
  gui_.CloseBox(win);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::ColourShift), nullptr);
  EXPECT_EQ(Status(), CurrentSingleStatus());
}

}  // namespace
}  // namespace ork::test
