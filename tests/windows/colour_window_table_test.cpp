#include <gtest/gtest.h>

#include <tuple>

#include "model/list_syntax.h"
#include "model/process_state.h"
#include "windows/colour_table_window.h"
#include "colour_window_test_util.h"

namespace ork::test {
namespace {

TEST_F(TColourWindowTest, ColourWindowTablePickShiftAndRecolourWithoutComputing) {
  Choose(22);
  const THandle win = Find("Color Table Picture and Color Shift");
  ASSERT_NE(win, 0);
  EXPECT_EQ(gui_.Gadget(win)->rect.width, 1124);
  EXPECT_EQ(gui_.Gadget(win)->rect.height, 346);
  EXPECT_EQ(Shell().ColourTarget, 0);
  // The samples' progress text gives way when they are done.
  EXPECT_EQ(gui_.Gadget(win)->statusText, " ColTabNo = 14  //  ColShift = 1200");
  const auto panels = Panels(win);
  ASSERT_EQ(panels.size(), 26u);
  // Eleven samples a row, 102 pixels apart, three rows.
  EXPECT_EQ(gui_.Gadget(panels[0])->rect.x, 2);
  EXPECT_EQ(gui_.Gadget(panels[10])->rect.x, 1022);
  EXPECT_EQ(gui_.Gadget(panels[11])->rect.x, 2);
  EXPECT_EQ(gui_.Gadget(panels[11])->rect.y, 142);
  EXPECT_EQ(gui_.Gadget(panels[25])->rect.y, 244);
  EXPECT_EQ(gui_.Gadget(panels[6])->text, "7");
  // Every sample holds a picture, and different tables look different.
  EXPECT_EQ(PanelPixels(panels[0]).size(), 100u * 100u);
  EXPECT_NE(PanelPixels(panels[0]), PanelPixels(panels[13]));
  EXPECT_EQ(gui_.GetText(Fields(win)[0]), "1.000");
  EXPECT_EQ(gui_.GetText(Fields(win)[1]), "0");
  EXPECT_EQ(gui_.GetText(gui_.FindGadgets(win, TGadgetKind::Label)[0]),
            "  Old Color Shift =1200");

  // Pick table 3: the keyframe's list changes, the picture is recoloured
  // from the stored buffers.
  const TComputedState before = TComputedState::Of(Shell().RenderM1.get());
  const auto image = PixelsOf(Shell().RenderM1->Image);
  ClickPanel(panels[2]);
  EXPECT_EQ(Key1()->farbtabL, "3");
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);
  const auto picked = PixelsOf(Shell().RenderM1->Image);
  EXPECT_NE(picked, image);
  EXPECT_EQ(gui_.Gadget(win)->statusText, " ColTabNo = 3  //  ColShift = 1200");

  // The shift slider: list, recoloured picture, samples recoloured from the
  // kept sample render object (no new sample computation).
  const TRender* samples = Shell().RenderColour.get();
  const auto sample1 = PanelPixels(panels[0]);
  const THandle slider = Slider(win);
  EXPECT_EQ(gui_.Gadget(slider)->maximum, 2047);
  ASSERT_TRUE(gui_.MoveSlider(slider, 100));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->ColShiftL, "100");
  EXPECT_EQ(Shell().Movie1->FensterCol, 1);
  EXPECT_EQ(Shell().RenderColour.get(), samples);
  EXPECT_NE(PanelPixels(panels[0]), sample1);
  EXPECT_NE(PixelsOf(Shell().RenderM1->Image), picked);
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);

  // The close box: FensterCol back to 0, ranges unset.
  Shell().ColourRangeLow = 3;
  gui_.CloseBox(win);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Find("Color Table Picture and Color Shift"), 0);
  EXPECT_EQ(SlotWindow(TSlot::ColourTables), nullptr);
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
  EXPECT_EQ(Shell().ColourRangeLow, static_cast<double>(0.1234567f));
}

TEST_F(TColourWindowTest, ColourWindowTableGradientAndFactorFields) {
  Choose(22);
  THandle win = Find("Color Table Picture and Color Shift");
  ASSERT_NE(win, 0);
  // Gradient mode: no fractal computation, each sample a horizontal ramp.
  ASSERT_TRUE(gui_.Click(Button(win, "Gradient On / Off")));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.GetText(win), "Color Table Gradient and Color Shift");
  EXPECT_EQ(Shell().ColourTableMode, 2);
  const TRender& samples = *Shell().RenderColour;
  for (int32_t n : samples.ibild) ASSERT_EQ(n, 0);
  const TScriptedGadget* p = gui_.Gadget(Panels(win)[0]);
  EXPECT_EQ(p->picture.Get(60, 40), p->picture.Get(60, 90));
  EXPECT_NE(p->picture.Get(40, 90), p->picture.Get(95, 90));
  // The mode is kept when the window is opened again.
  gui_.CloseBox(win);
  ASSERT_TRUE(RunPending());
  Choose(22);
  win = Find("Color Table Gradient and Color Shift");
  ASSERT_NE(win, 0);

  // F3 below 0.2 and F4 below 255 are corrected with a message each.
  const auto fields = Fields(win);
  ASSERT_TRUE(gui_.TypeText(fields[0], "0.1"));
  ASSERT_TRUE(gui_.TypeText(fields[1], "100"));
  const TComputedState before = TComputedState::Of(Shell().RenderM1.get());
  ASSERT_TRUE(gui_.Click(Button(win, "actual")));
  ASSERT_TRUE(RunPending());
  const auto messages = gui_.Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], "F3 shall not be less than 0.2");
  EXPECT_EQ(messages.back(), "F4 shall not be less than 255. F4=0 stands for 2048 colors");
  EXPECT_EQ(Key1()->factL, "(12.000,0.0,0.20000,255)");
  EXPECT_TRUE(TComputedState::Of(Shell().RenderM1.get()) == before);
  // F4 above 4095 is cut to 4095 without a message.
  ASSERT_TRUE(gui_.TypeText(Fields(win)[1], "5000"));
  ASSERT_TRUE(gui_.Click(Button(win, "actual")));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->factL, "(12.000,0.0,0.20000,4095)");
  // The field shows the corrected F3, so no message this time.
  EXPECT_EQ(gui_.Messages().size(), messages.size());
  // A negative F4 is below 255 as well; 0 stands for 2048 colours.
  for (const auto& [typed, stored, message] :
       {std::tuple{"-5", "255", true}, std::tuple{"0", "0", false}}) {
    const size_t count = gui_.Messages().size();
    ASSERT_TRUE(gui_.TypeText(Fields(win)[1], typed));
    ASSERT_TRUE(gui_.Click(Button(win, "actual")));
    ASSERT_TRUE(RunPending());
    EXPECT_EQ(Key1()->factL, std::string("(12.000,0.0,0.20000,") + stored + ")") << typed;
    EXPECT_EQ(gui_.Messages().size(), count + (message ? 1 : 0)) << typed;
  }
}

TEST_F(TColourWindowTest, ColourWindowTableFourfoldEditsTheFourthVariant) {
  Post(30);
  ASSERT_EQ(Composition().CompositionMode, 4);
  Choose(22);
  const THandle win = Find("Color Table Picture and Color Shift");
  ASSERT_NE(win, 0);
  const auto image = PixelsOf(Shell().RenderM1->ImageV);
  const int counter = Shell().TempCounter;
  ClickPanel(Panels(win)[6]);
  EXPECT_EQ(Key1()->farbtabL, "14:14:14:7");
  // Repainted by the fourfold show command (which also writes history).
  EXPECT_EQ(Shell().TempCounter, counter + 1);
  const auto after = PixelsOf(Shell().RenderM1->ImageV);
  ASSERT_EQ(after.size(), image.size());
  EXPECT_NE(after, image);
  // The upper-left quadrant (variant 0) is unchanged.
  const int w = 2 * Shell().RenderM1->Width;
  EXPECT_EQ(after[5 * w + 5], image[5 * w + 5]);
}

}  // namespace
}  // namespace ork::test
