// The grid-size dialog through command 70: new spacings reach the target
// keyframe's "GridSizes" (one key, all keys, both movies), the delete
// button removes the grid from the line list, "Calculate / Standard" lets
// the grid choose its spacing again.
#include <gtest/gtest.h>

#include "model/list_syntax.h"
#include "picture/grid_state.h"
#include "settings_window_test_util.h"

namespace ork::test {
namespace {

class GridSizeTest : public TModalWindowTest {
 protected:
  static constexpr const char* kTitle = "For Movie 1- Setting Grid sizes";
  // Fields in creation order: dX, decX, shiftX, dY, decY, shiftY, size.
  void TypeSizes(THandle w) {
    gui_.TypeText(Field(w, 0), "0.25");
    gui_.TypeText(Field(w, 1), "2");
    gui_.TypeText(Field(w, 2), "30");
    gui_.TypeText(Field(w, 3), "0.5");
    gui_.TypeText(Field(w, 4), "1");
    gui_.TypeText(Field(w, 5), "70");
    gui_.TypeText(Field(w, 6), "3");
  }
};

TEST_F(GridSizeTest, OkForOneKeyThenAllKeysThenBothMovies) {
  TParameter* key = Shell().CurrentKeyM1;
  std::string heightLabel;
  OnWindowSteps(kTitle, {
      [&](THandle w) {
        heightLabel = gui_.GetText(gui_.FindGadgets(w, TGadgetKind::Label).front());
        gui_.Click(gui_.FindGadgets(w, TGadgetKind::CheckBox)[1]);  // labelsY off at once
      },
      [&](THandle w) {
        TypeSizes(w);
        gui_.Click(Button(w, "OK"));
      },
  });
  Choose(70);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(heightLabel.rfind("Total image HeightY = ", 0), 0u);
  EXPECT_EQ(key->GridSizes, "0.25,0.5,2,1,3,1,0,30.00,70.00,1");
  EXPECT_EQ(Shell().Movie1->Parameter[2].GridSizes, "");
  EXPECT_TRUE(GridState().GridSizesFixed);
  EXPECT_EQ(GridDialogText(), "");

  OnWindow(kTitle, [&](THandle w) {
    // The dialog shows the key's own settings.
    EXPECT_EQ(gui_.GetText(Field(w, 6)), "3");
    gui_.Click(Button(w, "OK for all KEY"));
  });
  Choose(70);
  for (int i = 1; i <= Shell().Movie1->Count; ++i)
    EXPECT_EQ(Shell().Movie1->Parameter[i].GridSizes, "0.25,0.5,2,1,3,1,0,30.00,70.00,2") << i;

  OnWindow(kTitle, [&](THandle w) { gui_.Click(Button(w, "OK for Movie 1+2")); });
  Choose(70);
  EXPECT_EQ(Shell().Movie2->Parameter[1].GridSizes.back(), '3');
  EXPECT_EQ(Shell().Movie2->Parameter[1].GridSizes.rfind("0.25000000000000000,0.50000", 0), 0u);
  EXPECT_EQ(Shell().Movie1->Parameter[3].GridSizes, Shell().Movie2->Parameter[1].GridSizes);
}

TEST_F(GridSizeTest, DeleteRemovesGridAndStandardResets) {
  TParameter* key = Shell().CurrentKeyM1;
  Choose(68);  // Insert - grid
  EXPECT_EQ(key->Grid, "G");
  OnWindow(kTitle, [&](THandle w) { gui_.Click(Button(w, "G Delete")); });
  Choose(70);
  EXPECT_EQ(key->Grid, "");
  EXPECT_FALSE(GridState().GridSizesFixed);

  OnWindow(kTitle, [&](THandle w) { gui_.Click(Button(w, "Calculate / Standard")); });
  Choose(70);
  EXPECT_EQ(key->GridSizes, "1.0,1.0,-1,-1,2,1,1,50.0,50.0,1");
  EXPECT_EQ(GridSettings().dX, 0);
}

}  // namespace
}  // namespace ork::test
