// Tool windows whose movie is replaced or changed behind them (a keyframe
// duplicated, the movies exchanged, a zoom in the picture): an edit goes to
// the movie the window names, and what the window shows is what the
// keyframe holds.
#include <gtest/gtest.h>

#include "model/number_format.h"
#include "windows/data_window.h"
#include "colour_window_test_util.h"

namespace ork::test {
namespace {

class ReplacedMovieTest : public TColourWindowTest {
 protected:
  TDataWindow* Data(TSlot slot) const { return static_cast<TDataWindow*>(SlotWindow(slot)); }
  void Click(THandle gadget) {
    ASSERT_TRUE(gui_.Click(gadget));
    ASSERT_TRUE(RunPending());
  }
  void Type(THandle field, const std::string& text) {
    ASSERT_TRUE(gui_.TypeText(field, text));
    ASSERT_TRUE(gui_.LeaveField(field));
    ASSERT_TRUE(RunPending());
  }
  TParameter* Key2() { return Shell().Movie2->GetActualParameter(); }
};

// Every colour window edits the movie that now has its place, never the
// released one (which AddressSanitizer reports as a use after free).
TEST_F(ReplacedMovieTest, ColourWindowsEditTheMovieThatReplacedTheirs) {
  Choose(22);  // colour tables, Movie 1
  Choose(23);  // colour shift, Movie 1
  Choose(16);
  const THandle table = Find("Color Table Picture and Color Shift");
  ASSERT_NE(table, 0);
  Click(Data(TSlot::DataM1)->Cmd_Insert);  // "KEY Duplicate" reloads Movie 1
  ASSERT_EQ(Shell().Movie1->Count, 5);
  ClickPanel(Panels(table)[6]);
  EXPECT_EQ(Key1()->farbtabL, "7");
  ASSERT_TRUE(gui_.MoveSlider(Slider(Find("Colors move in a circle")), 33));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->ColShiftL, "33");

  // Movie 2's window, then Movie 2 replaced by the exchange.
  Post(29);
  Press(34);
  ASSERT_EQ(Shell().ColourTarget, 1);
  Choose(17);
  Click(Data(TSlot::DataM2)->Cmd_Tausch);
  ClickPanel(Panels(table)[2]);
  EXPECT_EQ(Key2()->farbtabL.substr(0, 2), "3:");
}

// A zoom changes the keyframe under an open data window: the window shows
// the new values at once, and clicking through the fields without typing
// stores nothing, so the next computation keeps the zoom.
TEST_F(ReplacedMovieTest, ZoomShownInTheDataWindowAndKeptByFieldsLeftAlone) {
  Choose(16);
  TDataWindow* w = Data(TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  const TRender& r = *Shell().RenderM1;
  const int ox = r.PaintOffsetX, oy = r.PaintOffsetY;
  gui_.KeyDown('C', Area());
  gui_.MouseMove(Area(), ox + 60, oy + 10);
  gui_.KeyUp('C', Area());
  ASSERT_TRUE(RunPending());
  gui_.KeyDown('Z', Area());
  gui_.MouseMove(Area(), ox + 20, oy + 15);
  gui_.MouseDown(Area(), ox + 20, oy + 15);
  gui_.MouseMove(Area(), ox + 35, oy + 30);
  gui_.MouseDown(Area(), ox + 35, oy + 30);
  gui_.KeyUp('Z', Area());
  ASSERT_TRUE(RunPending());
  const double vsx = Key1()->vsx, vsy = Key1()->vsy, bry = Key1()->bry;
  EXPECT_EQ(gui_.GetText(w->TextBox[5]), RealText17(vsx));
  EXPECT_EQ(gui_.GetText(w->TextBox[6]), RealText17(vsy));
  EXPECT_EQ(gui_.GetText(w->TextBox[4]), RealText17(bry));

  for (int row : {5, 6, 4}) ASSERT_TRUE(gui_.LeaveField(w->TextBox[row]));
  Click(w->Cmd_Berechnen);
  EXPECT_EQ(Key1()->vsx, vsx);
  EXPECT_EQ(Key1()->vsy, vsy);
  EXPECT_EQ(Key1()->bry, bry);
}

// After "Exchange M2-M1" the Movie 2 window shows the movie now in place 2,
// and an edit there is what a save of Movie 2 writes.
TEST_F(ReplacedMovieTest, Movie2WindowEditsTheExchangedMovie) {
  Choose(16);
  Choose(17);
  TDataWindow* w1 = Data(TSlot::DataM1);
  TDataWindow* w2 = Data(TSlot::DataM2);
  ASSERT_NE(w2, nullptr);
  Type(w1->TextBox[7], "45");  // Movie 1 now differs from Movie 2
  Click(w2->Cmd_Tausch);
  EXPECT_EQ(Key2()->Degree, 45);
  EXPECT_EQ(gui_.GetText(w2->TextBox[7]), RealText17(45));
  EXPECT_EQ(gui_.GetText(w1->TextBox[7]), RealText17(Key1()->Degree));
  EXPECT_NE(Key1()->Degree, 45);
  Type(w2->TextBox[11], "0.123");
  EXPECT_EQ(Key2()->Param1, 0.123);
  EXPECT_NE(Key1()->Param1, 0.123);
}

}  // namespace
}  // namespace ork::test
