#include <gtest/gtest.h>

#include "model/number_format.h"
#include "model/process_state.h"
#include "windows/preview_window.h"
#include "preview_test_util.h"

namespace ork::test {
namespace {

TWindowJulia* JuliaIn(THandle window) {
  for (TSlot slot : {TSlot::Julia1, TSlot::Julia2, TSlot::Julia3, TSlot::Julia4})
    if (auto* j = dynamic_cast<TWindowJulia*>(SlotWindow(slot)); j && j->Window == window)
      return j;
  return nullptr;
}

TEST_F(TPreviewTest, JuliaWindowFromAPickedConstant) {
  UseStartMovie(80, 60, false);
  Start();
  ASSERT_TRUE(RunPending());
  TShellState& s = Shell();
  const TRender& r = *s.RenderM1;
  // K + click picks C at the picture's pixel (60, 15).
  gui_.KeyDown('K', Area());
  gui_.MouseMove(Area(), r.PaintOffsetX + 60, r.PaintOffsetY + 15);
  gui_.KeyUp('K', Area());
  ASSERT_TRUE(RunPending());
  TParameter& key = *Key1();
  const double u = key.bry / 60;
  EXPECT_DOUBLE_EQ(key.CCx, key.vsx + 20 * u);
  EXPECT_DOUBLE_EQ(key.CCy, key.vsy + 15 * u);
  // The K tool's new-C picture shows the constant as Movie 2's Julia set.
  const THandle m2 = WindowTitled("1 M2 JuliaSet=1    200 Pixel");
  ASSERT_NE(m2, 0);
  ASSERT_NE(JuliaIn(m2), nullptr);
  EXPECT_EQ(JuliaIn(m2)->Bildfolge, 2);
  EXPECT_EQ(gui_.GetText(JuliaIn(m2)->TextBoxCx), RealText17(key.CCx));
  CloseAllSlots();
  s.JuliaNext = 0;

  // "Preview M1 as JuliaSet": 200 rows at the movie's aspect, 266 x 200.
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 64));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(s.JuliaNext, 1);
  const THandle w = WindowTitled("1 M1 JuliaSet=1    200 Pixel");
  ASSERT_NE(w, 0);
  TWindowJulia* julia = JuliaIn(w);
  ASSERT_NE(julia, nullptr);
  EXPECT_EQ(SlotWindow(TSlot::Julia1), julia);
  EXPECT_EQ(gui_.ClientSize(w).width, 266);
  EXPECT_EQ(gui_.ClientSize(w).height, 260);
  EXPECT_EQ(gui_.GetText(julia->TextBoxCx), RealText17(key.CCx));
  EXPECT_EQ(gui_.GetText(julia->TextBoxCy), RealText17(key.CCy));
  EXPECT_NE(gui_.FindGadget(w, TGadgetKind::Label, "Cx="), 0);
  EXPECT_EQ(gui_.Geometry(julia->TextBoxCx).x, 23);
  EXPECT_EQ(gui_.Gadget(julia->Cmd_Nimm)->text, "Accept");
  const TScriptedGadget* panel = gui_.Gadget(julia->JuliaPanel);
  EXPECT_EQ(panel->rect.y, 60);
  EXPECT_EQ(panel->text, "Julia-Menge");
  EXPECT_EQ(panel->picture.width, 266);
  // The keyframe is no Julia keyframe again, the status says it was one.
  EXPECT_EQ(key.julia, 0);
  EXPECT_EQ(key.OutputWidth, 80);
  EXPECT_EQ(gui_.Gadget(w)->statusText, "1[KEY1]  JuliaSet=1 " + s.Movie1->FileName);
  // It is the Julia set of C: the same keyframe computed with julia = 1.
  TParameter copy = key;
  copy.julia = 1;
  copy.OutputWidth = 266;
  copy.OutputHeight = 200;
  TRender expected;
  expected.Init(copy);
  Calculate(copy, nullptr, expected);
  EXPECT_EQ(julia->Render()->ibild, expected.ibild);

  // A 100-row Julia window (59) in the next slot: fields without labels.
  ExecuteCommand(59);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 64));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(s.JuliaNext, 2);
  TWindowJulia* small = dynamic_cast<TWindowJulia*>(SlotWindow(TSlot::Julia2));
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(gui_.FindGadget(small->Window, TGadgetKind::Label, "Cx="), 0);
  EXPECT_EQ(gui_.Geometry(small->TextBoxCx).x, 0);
  EXPECT_EQ(gui_.Geometry(small->TextBoxCx).width, 133);
  EXPECT_EQ(gui_.ClientSize(small->Window).height, 160);

  // Accept with an edited C: stored, asked, Cancel posts nothing.
  ASSERT_TRUE(gui_.TypeText(julia->TextBoxCx, "0.25"));
  ASSERT_TRUE(gui_.TypeText(julia->TextBoxCy, "-0.5"));
  gui_.AnswerQuestion(false);
  ASSERT_TRUE(gui_.Click(julia->Cmd_Nimm));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(key.CCx, 0.25);
  EXPECT_EQ(key.CCy, -0.5);
  ASSERT_FALSE(gui_.Dialogs().empty());
  EXPECT_EQ(gui_.Dialogs().back().text,
            "In Movie2 now in KEY" + std::to_string(key.KeyNr) + " the value (Cx=" +
                RealText17(0.25) + ", Cy=" + RealText17(-0.5) +
                ") entered copying. Even the value copy to Movie1 ?");
  // OK posts 10 (take the constant back into Movie 1).
  gui_.AnswerQuestion(true);
  ASSERT_TRUE(gui_.Click(julia->Cmd_Nimm));
  ASSERT_TRUE(HandleEvent(gui_.WaitEvent()));
  const TEvent e = gui_.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::MenuCommand);
  EXPECT_EQ(e.data, 10);

  // Closing Julia window 1 by its close box makes it the next one used.
  gui_.CloseBox(julia->Window);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::Julia1), nullptr);
  EXPECT_EQ(s.JuliaNext, 0);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 64));
  ASSERT_TRUE(RunPending());
  EXPECT_NE(SlotWindow(TSlot::Julia1), nullptr);
}

}  // namespace
}  // namespace ork::test
