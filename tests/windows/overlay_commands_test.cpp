// The Insert menu's overlay and filter commands on the computed main
// picture: centre cross and axes appear in the picture and in the line
// list, next-key frames and C points are drawn, "delete lines, text,
// filter" asks first, blur step 2 and "no filter" change the keyframe's
// filter.
#include <gtest/gtest.h>

#include <vector>

#include "model/process_state.h"
#include "settings_window_test_util.h"

namespace ork::test {
namespace {

class OverlayCommandsTest : public TModalWindowTest {
 protected:
  const TPixmap& Picture() const { return *Shell().RenderM1->Image; }
  std::vector<uint32_t> Pixels() const {
    const TPixmap& p = Picture();
    return std::vector<uint32_t>(p.Data(), p.Data() + p.Width() * p.Height());
  }
  // The presented canvas pixel over picture pixel (x, y).
  uint32_t Shown(int x, int y) const {
    const TRender& r = *Shell().RenderM1;
    return gui_.ShownPixel(Area(), r.PaintOffsetX + x, r.PaintOffsetY + y);
  }
};

TEST_F(OverlayCommandsTest, CentreCrossAndAxesFromTheInsertMenu) {
  TParameter* key = Shell().CurrentKeyM1;
  const int w = Picture().Width(), h = Picture().Height();
  Choose(71);
  EXPECT_EQ(key->Grid, "M");
  EXPECT_EQ(key->CGrid[1], 1);
  for (int x = 1; x <= w - 2; ++x) ASSERT_EQ(Picture().Get(x, h / 2), 0xFF000000u) << x;
  for (int y = 1; y <= h - 1; ++y) ASSERT_EQ(Picture().Get(w / 2, y), 0xFF000000u) << y;
  EXPECT_EQ(Shown(3, h / 2), 0xFF000000u);

  // Axes through 0: white, two pixels thick, where the plane's 0 lies.
  Choose(67);
  EXPECT_EQ(key->Grid, "M,A");
  const double s = h / key->bry;
  const int u = static_cast<int>(w / 2.0 - key->vsx * s);
  if (key->Degree == 0 && u > 1 && u < w - 2) {
    EXPECT_EQ(Picture().Get(u, 2), 0xFFFFFFFFu);
    EXPECT_EQ(Shown(u, 2), 0xFFFFFFFFu);
  }
  // The cross stays in the list once; a redisplay keeps both.
  Choose(71);
  EXPECT_EQ(key->Grid, "M,A");
  Choose(1);
  EXPECT_EQ(Picture().Get(w / 2, 2), 0xFF000000u);
}

TEST_F(OverlayCommandsTest, FramesCPointsAndDeleteQuestion) {
  TParameter* key = Shell().CurrentKeyM1;
  std::vector<uint32_t> before = Pixels();
  Choose(65);  // next key's frame: key 2 lies inside key 1's picture
  EXPECT_EQ(key->Grid, "N");
  EXPECT_EQ(key->brxfollow, Shell().Movie1->Parameter[2].brx);
  EXPECT_NE(Pixels(), before);

  before = Pixels();
  Choose(72);  // the key's own C point
  EXPECT_EQ(key->Grid, "N,C");
  Choose(77);  // C points of the later keys
  EXPECT_EQ(key->Grid, "N,C,CB");
  EXPECT_EQ(key->pox, Shell().Movie1->Parameter[Shell().Movie1->Count].CCx);

  // Cancel keeps everything; OK clears the six texts.
  gui_.AnswerQuestion(false);
  Choose(119);
  EXPECT_EQ(key->Grid, "N,C,CB");
  key->Filter = "3";
  key->TextOutputList = "KeyNo";
  gui_.AnswerQuestion(true);
  Choose(119);
  EXPECT_EQ(key->Grid, "");
  EXPECT_EQ(key->Filter, "");
  EXPECT_EQ(key->TextOutputList, "");
  ASSERT_FALSE(gui_.Dialogs().empty());
  EXPECT_EQ(gui_.Dialogs().back().text.rfind("M1: Attention ! All settings", 0), 0u);
}

TEST_F(OverlayCommandsTest, BlurStepTwoAndNoFilter) {
  TParameter* key = Shell().CurrentKeyM1;
  const std::vector<uint32_t> plain = Pixels();
  Choose(112);
  EXPECT_EQ(key->Filter, "2");
  EXPECT_NE(Pixels(), plain);
  Composition().InsertOpacity = 100;
  Choose(116);
  EXPECT_EQ(key->Filter, "");
  EXPECT_EQ(Composition().InsertOpacity, 255);
  EXPECT_EQ(Status(), "filter deleted");
  EXPECT_EQ(Pixels(), plain);  // redisplayed without filter
}

TEST_F(OverlayCommandsTest, GridNeedsAPicture) {
  Composition().CompositionMode = -1000;
  gui_.AnswerQuestion(false);
  Choose(68);
  ASSERT_FALSE(gui_.Dialogs().empty());
  EXPECT_EQ(gui_.Dialogs().back().text, "First calculate a picture, please.");
  EXPECT_EQ(Shell().CurrentKeyM1->Grid, "");
  // Without a picture the other overlays do nothing.
  Choose(71);
  EXPECT_EQ(Shell().CurrentKeyM1->Grid, "");
}

}  // namespace
}  // namespace ork::test
