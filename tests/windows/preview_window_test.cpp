#include <gtest/gtest.h>

#include "model/process_state.h"
#include "windows/preview_window.h"
#include "preview_test_util.h"

namespace ork::test {
namespace {

TWindowPreview* Preview(TSlot slot) { return dynamic_cast<TWindowPreview*>(SlotWindow(slot)); }

TEST_F(TPreviewTest, PreviewWindowStartPreviewSizesAndClosingAll) {
  UseStartMovie(768, 576, true);
  Start();
  ASSERT_TRUE(RunPending());
  TShellState& s = Shell();
  // The start preview (42): 50 pixels wide; the main picture stays empty.
  TWindowPreview* p1 = Preview(TSlot::PreviewM1_1);
  ASSERT_NE(p1, nullptr);
  EXPECT_EQ(gui_.ClientSize(p1->Window).width, 50);
  EXPECT_EQ(gui_.ClientSize(p1->Window).height, 37);
  EXPECT_EQ(gui_.Gadget(p1->Window)->text, "1 Preview M1    50 Pixel");
  // The status line shows what fits, the picture's tooltip the whole line.
  EXPECT_EQ(gui_.Gadget(p1->Window)->statusText, "[1]");
  EXPECT_EQ(PanelOf(p1->Window)->tooltip, "1[KEY 1]  JuliaSet=0 " + s.Movie1->FileName);
  EXPECT_FALSE(s.StartPreviewPending);
  EXPECT_EQ(s.PreviewWidth, 200);
  EXPECT_EQ(Composition().CompositionMode, -1000);
  EXPECT_FALSE(s.RenderM1->Image);

  // Preview 1 again at 200: 768 x 576 / 3.84 = 200 x 150; the keyframe
  // keeps the movie's size.
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 42));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Preview(TSlot::PreviewM1_1), p1);  // the same window, filled again
  EXPECT_EQ(gui_.ClientSize(p1->Window).width, 200);
  EXPECT_EQ(gui_.ClientSize(p1->Window).height, 150);
  EXPECT_EQ(gui_.Gadget(p1->Window)->text, "1 Preview M1    200 Pixel");
  EXPECT_EQ(Key1()->OutputWidth, 768);
  EXPECT_EQ(Key1()->OutputHeight, 576);
  const TScriptedGadget* w1 = gui_.Gadget(p1->Window);
  EXPECT_EQ(w1->statusText, "1[KEY 1]  JuliaSet=0");
  const TScriptedGadget* panel = PanelOf(p1->Window);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->text, "Vorschau");
  ASSERT_EQ(panel->picture.width, 200);
  ASSERT_EQ(panel->picture.height, 150);
  const std::vector<uint32_t> plain = panel->picture.pixels;
  // Placement: desktop width / 2 - 300 + 50 per number, parent's y + 50.
  const int desktop = gui_.DesktopSize().width;
  EXPECT_EQ(w1->rect.x, std::max(desktop / 2 - 250, 10));
  EXPECT_EQ(w1->rect.y, gui_.Geometry(Window()).y + 50);

  // Overlays and printed texts never reach a preview.
  Key1()->Grid = "M,A";
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 42));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(PanelOf(p1->Window)->picture.pixels, plain);

  // Preview 2 of a portrait movie at size 100 (52): 75 x 100.
  s.Movie1->OutputWidth = 480;
  s.Movie1->OutputHeight = 640;
  ExecuteCommand(52);
  EXPECT_EQ(s.PreviewWidth, 100);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 43));
  ASSERT_TRUE(RunPending());
  TWindowPreview* p2 = Preview(TSlot::PreviewM1_2);
  ASSERT_NE(p2, nullptr);
  EXPECT_EQ(gui_.ClientSize(p2->Window).width, 75);
  EXPECT_EQ(gui_.ClientSize(p2->Window).height, 100);
  EXPECT_EQ(gui_.Gadget(p2->Window)->text, "2 Preview M1    100 Pixel");
  EXPECT_EQ(Key1()->OutputWidth, 480);
  // 54 sets 200 again; 50 picks the window by the key (key 1: window 1).
  ExecuteCommand(54);
  EXPECT_EQ(s.PreviewWidth, 200);
  ExecuteCommand(50);
  TEvent e = gui_.WaitEvent();
  EXPECT_EQ(e.data, 42);
  // A Movie 2 preview (46) lies 20 pixels lower.
  ExecuteCommand(46);
  TWindowPreview* m2 = Preview(TSlot::PreviewM2_1);
  ASSERT_NE(m2, nullptr);
  EXPECT_EQ(m2->Bildfolge, 2);
  EXPECT_EQ(gui_.Gadget(m2->Window)->rect.y, gui_.Geometry(Window()).y + 70);
  EXPECT_EQ(gui_.Gadget(m2->Window)->statusText.rfind("2[KEY 1]", 0), 0u);
  ASSERT_TRUE(RunPending());

  // 40 closes every preview window and resets JuliaNext.
  ExecuteCommand(64);
  EXPECT_EQ(s.JuliaNext, 1);
  const THandle h1 = p1->Window;
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 40));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::PreviewM1_1), nullptr);
  EXPECT_EQ(SlotWindow(TSlot::PreviewM1_2), nullptr);
  EXPECT_EQ(SlotWindow(TSlot::PreviewM2_1), nullptr);
  EXPECT_EQ(SlotWindow(TSlot::Julia1), nullptr);
  EXPECT_EQ(gui_.Gadget(h1), nullptr);
  EXPECT_EQ(s.JuliaNext, 0);
}

TEST_F(TPreviewTest, StartPreviewLeavesTheMainAreaShowingThatItHasNoPicture) {
  // Maximised at start, the picture area is made anew before the start
  // preview computes, and the preview's polls take the pending events.
  UseStartMovie(768, 576, true, true);
  Start();
  ASSERT_TRUE(RunPending());
  ASSERT_NE(Preview(TSlot::PreviewM1_1), nullptr);
  bool noImage = false;
  for (const TDrawOp& op : gui_.Gadget(Area())->presentedOps) noImage |= op.text == "Kein Image";
  EXPECT_TRUE(noImage);
  EXPECT_FALSE(gui_.MenuEnabled(gui_.TopMenus(Window())[1]));  // the Back menu
}

TEST_F(TPreviewTest, PreviewWindowCancelAndMissingMovie) {
  UseStartMovie(80, 60, false);
  Start();
  ASSERT_TRUE(RunPending());
  TShellState& s = Shell();
  // Escape held while the preview computes: "Cancelled", the keyframe
  // keeps its size and the main picture's composition state stays.
  Composition().ShownImage = 2;
  gui_.KeyDown(kKeyEscape, Window());
  ExecuteCommand(43);
  TWindowPreview* p = Preview(TSlot::PreviewM1_2);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(gui_.Gadget(p->Window)->statusText, "Cancelled");
  EXPECT_EQ(Key1()->OutputWidth, 80);
  EXPECT_EQ(Composition().ShownImage, 2);
  EXPECT_EQ(Composition().CompositionMode, 1);
  Composition().ShownImage = 1;
  ASSERT_TRUE(RunPending());

  // Without Movie 1, 42 tells the user and opens nothing.
  CloseAllSlots();
  s.Movie1.reset();
  s.CurrentKeyM1 = nullptr;
  ExecuteCommand(42);
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(), "File is missing!");
  EXPECT_EQ(SlotWindow(TSlot::PreviewM1_1), nullptr);
  ASSERT_TRUE(RunPending());
}

TEST_F(TPreviewTest, HistoryPreviewOpensInThePreviewWindow) {
  UseStartMovie(80, 60, false);
  Start();
  ASSERT_TRUE(RunPending());
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 83));
  ASSERT_TRUE(RunPending());
  // "1 picture back as a preview" shows the history movie in preview 1.
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 100));
  ASSERT_TRUE(RunPending());
  TWindowPreview* p = Preview(TSlot::PreviewM1_1);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->Render(), nullptr);
  EXPECT_GT(gui_.ClientSize(p->Window).width, 0);
}

}  // namespace
}  // namespace ork::test
