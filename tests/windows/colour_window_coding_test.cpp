#include <gtest/gtest.h>

#include "color/coding.h"
#include "model/process_state.h"
#include "colour_window_test_util.h"

namespace ork::test {
namespace {

TEST_F(TColourWindowTest, ColourWindowCodingPickDescribeAndSetF1) {
  Choose(28);
  const THandle win = Find("Encoding type and F1");
  ASSERT_NE(win, 0);
  EXPECT_EQ(gui_.Gadget(win)->rect.width, 1055);
  const auto panels = Panels(win);
  ASSERT_EQ(panels.size(), 17u);
  EXPECT_EQ(gui_.Gadget(panels[10])->rect.x, 5);
  EXPECT_EQ(gui_.Gadget(panels[10])->rect.y, 148);
  // Unset range: 0 ... 2 * F1, the old F1 in the label.
  const auto fields = Fields(win);
  EXPECT_EQ(gui_.GetText(fields[0]), "0.0");
  EXPECT_EQ(gui_.GetText(fields[1]), "24.000");
  EXPECT_EQ(Shell().ColourRangeHigh, 24.0);
  EXPECT_EQ(gui_.GetText(gui_.FindGadgets(win, TGadgetKind::Label)[0]), "  Old F1 =12.000");
  // Maxfakt = 500 / 10^(log10(24) + 0.5) = 6.588...: the slider covers
  // 0 ... 158 and stands at trunc(12 * Maxfakt).
  const THandle slider = Slider(win);
  EXPECT_EQ(gui_.Gadget(slider)->minimum, 0);
  EXPECT_EQ(gui_.Gadget(slider)->maximum, 158);
  EXPECT_EQ(gui_.GetState(slider), 79);
  EXPECT_NE(PanelPixels(panels[0]), PanelPixels(panels[1]));

  // The pointer over a sample names its coding.
  gui_.MouseMove(panels[1], 10, 10);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Gadget(win)->statusText, CodingText(2, 2048));

  // A click picks the coding; the picture is recoloured, not recomputed.
  const TComputedState before = TComputedState::Of(Shell().RenderM1.get());
  const auto image = PixelsOf(Shell().RenderM1->Image);
  ClickPanel(panels[4]);
  EXPECT_EQ(Key1()->SelectPictureL, "5");
  EXPECT_NE(PixelsOf(Shell().RenderM1->Image), image);
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);
  EXPECT_EQ(gui_.Gadget(win)->statusText, " SelectPict = 5  //  F1 = 12.000  //  F2 = 0.0");

  // The slider sets F1 = position / Maxfakt; the samples are recoloured
  // from the kept sample buffers.
  const TRender* samples = Shell().RenderColour.get();
  const auto sample5 = PanelPixels(panels[4]);
  const auto picked = PixelsOf(Shell().RenderM1->Image);
  ASSERT_TRUE(gui_.MoveSlider(slider, 100));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->factL, "15.178");  // 100 / 6.588..., cut to 3 decimals
  EXPECT_EQ(Shell().Movie1->FensterCol, 3);
  EXPECT_EQ(Shell().RenderColour.get(), samples);
  EXPECT_NE(PanelPixels(panels[4]), sample5);
  EXPECT_NE(PixelsOf(Shell().RenderM1->Image), picked);
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);
  // The range label keeps the old value while FensterCol says "recolour".
  EXPECT_EQ(gui_.GetText(gui_.FindGadgets(win, TGadgetKind::Label)[0]), "  Old F1 =12.000");

  // A typed range and "actual": new scale, samples computed again.
  ASSERT_TRUE(gui_.TypeText(fields[0], "2"));
  ASSERT_TRUE(gui_.LeaveField(fields[0]));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().ColourRangeLow, 2.0);
  ASSERT_TRUE(gui_.TypeText(fields[1], "200"));
  ASSERT_TRUE(gui_.Click(Button(win, "actual")));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().ColourRangeHigh, 200.0);
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
  EXPECT_NE(Shell().RenderColour.get(), samples);
  EXPECT_EQ(gui_.Gadget(slider)->minimum, 1);  // trunc(2 * 0.798...)
  EXPECT_EQ(gui_.Gadget(slider)->maximum, 159);

  // Closing resets FensterCol and the shared range.
  Shell().Movie1->FensterCol = 3;
  gui_.CloseBox(win);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::Coding), nullptr);
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
  EXPECT_EQ(Shell().ColourRangeLow, static_cast<double>(0.1234567f));
  EXPECT_EQ(Shell().ColourRangeHigh, static_cast<double>(0.1234567f));
}

}  // namespace
}  // namespace ork::test
