// The line-style dialog through command 118: a new line colour and
// thickness reach the keyframe's texts and the drawn centre cross;
// "Standard" empties the texts; "For all [KEY]" copies them to every key;
// the close box changes nothing.
#include <gtest/gtest.h>

#include "picture/argb.h"
#include "settings_window_test_util.h"

namespace ork::test {
namespace {

class LineStyleTest : public TModalWindowTest {
 protected:
  static constexpr const char* kTitle = "For Movie 1- setting line colors";
  // Row `kind`'s five fields: thickness, alpha, red, green, blue.
  THandle RowField(THandle w, int kind, int column) { return Field(w, kind * 5 + column); }
};

TEST_F(LineStyleTest, RedCentreCrossReachesTextsAndPicture) {
  bool layoutOk = false;
  OnWindow(kTitle, [&](THandle w) {
    layoutOk = Label(w, "M = Center cross") && Label(w, "N = Next Frame KEY") &&
               gui_.GetText(RowField(w, 1, 0)) == "1" && gui_.GetText(RowField(w, 1, 1)) == "255" &&
               gui_.GetText(RowField(w, 0, 1)) == "0" && gui_.GetText(RowField(w, 0, 2)) == "128";
    gui_.TypeText(RowField(w, 1, 0), "7");  // limited to 3
    gui_.TypeText(RowField(w, 1, 2), "255");
    gui_.TypeText(RowField(w, 1, 3), "0");
    gui_.TypeText(RowField(w, 1, 4), "0");
    gui_.Click(Button(w, "Update display"));
  });
  Choose(118);
  ASSERT_TRUE(Opened());
  EXPECT_TRUE(layoutOk);
  TParameter* key = Shell().CurrentKeyM1;
  EXPECT_EQ(key->LinesColor,
            "$00808080,$FFFF0000,$FFFFFFFF,$FFFFFFFF,$FF000000,$FFFFFFFF,$FF000000");
  EXPECT_EQ(key->LinesThick, "1,3,2,1,1,2,3");
  // Other keys keep their texts.
  EXPECT_EQ(Shell().Movie1->Parameter[2].LinesColor, "");

  Choose(71);  // Insert - centre cross
  const TRender& r = *Shell().RenderM1;
  const int w = r.Image->Width(), h = r.Image->Height();
  EXPECT_EQ(r.Image->Get(w / 4, h / 2), 0xFFFF0000u);
  EXPECT_EQ(r.Image->Get(w / 4, h / 2 + 1), 0xFFFF0000u);  // thickness 3
  EXPECT_EQ(r.Image->Get(w / 2, h / 4), 0xFFFF0000u);
}

TEST_F(LineStyleTest, StandardForAllAndCloseBox) {
  TParameter* key = Shell().CurrentKeyM1;
  Choose(71);
  Choose(67);
  ASSERT_EQ(key->Grid, "M,A");
  OnWindow(kTitle, [&](THandle w) {
    // Thickness 0 takes the axes out of the line list.
    gui_.TypeText(RowField(w, 2, 0), "0");
    gui_.Click(Button(w, "For all [KEY]"));
  });
  Choose(118);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(key->Grid, "M");
  EXPECT_EQ(key->LinesThick, "1,1,1,1,1,2,3");
  for (int i = 1; i <= Shell().Movie1->Count; ++i) {
    EXPECT_EQ(Shell().Movie1->Parameter[i].LinesThick, key->LinesThick) << i;
    EXPECT_EQ(Shell().Movie1->Parameter[i].Grid, "M") << i;
  }

  const std::string colours = key->LinesColor;
  OnWindow(kTitle, [&](THandle w) {
    gui_.TypeText(RowField(w, 0, 0), "3");
    gui_.CloseBox(w);
  });
  Choose(118);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(key->LinesThick, "1,1,1,1,1,2,3");
  EXPECT_EQ(key->LinesColor, colours);
  EXPECT_EQ(gui_.FindWindow(kTitle), 0);

  OnWindow(kTitle, [&](THandle w) { gui_.Click(Button(w, "Standard = empty")); });
  Choose(118);
  EXPECT_EQ(key->LinesThick, "");
  EXPECT_EQ(key->LinesColor, "");

  OnWindow(kTitle, [&](THandle w) { gui_.Click(Button(w, "Insert all lines")); });
  Choose(118);
  EXPECT_EQ(key->Grid, "G,M,A,CA,CB,C,N");
}

}  // namespace
}  // namespace ork::test
