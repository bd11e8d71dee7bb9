#include <gtest/gtest.h>

#include <utility>

#include "model/process_state.h"
#include "overlay_test_support.h"
#include "picture/overlay.h"

namespace ork {
namespace {

using namespace overlay_test;

class OverlayKindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    Composition().CompositionMode = 1;
    Composition().ShownImage = 1;
  }
  void TearDown() override { ResetProcessState(); }
};

TEST_F(OverlayKindsTest, CentreCrossExcludesRightAndBottomEdges) {
  TParameter key = Keyframe(200, 100);
  TRender render = Render(200, 100);
  DrawOverlay("M", &key, &render);
  const TPixmap& p = *render.Image;
  for (int x = 1; x <= 198; ++x) EXPECT_EQ(p.Get(x, 50), kBlack) << x;
  for (int y = 1; y <= 99; ++y) EXPECT_EQ(p.Get(100, y), kBlack) << y;
  EXPECT_EQ(p.Get(0, 50), kGrey);
  EXPECT_EQ(p.Get(199, 50), kGrey);
  EXPECT_EQ(p.Get(100, 0), kGrey);
  EXPECT_EQ(Changed(p), 198 + 99 - 1);

  // The fourfold picture, a missing keyframe or render object, unknown
  // tokens: nothing.
  TRender other = Render(200, 100);
  Composition().ShownImage = 4;
  DrawOverlay("M", &key, &other);
  Composition().ShownImage = 1;
  DrawOverlay("M", nullptr, &other);
  DrawOverlay("M", &key, nullptr);
  DrawOverlay("X", &key, &other);
  DrawOverlay("NA", &key, &other);
  EXPECT_EQ(Changed(*other.Image), 0);
  EXPECT_EQ(Changed(*other.ImageV), 0);
}

TEST_F(OverlayKindsTest, AxesCrossWhereTheCoordinatesAreZero) {
  TParameter key = Keyframe(200, 100);
  key.CLinesThick[2] = 1;
  TRender render = Render(200, 100);
  DrawOverlay("A", &key, &render);
  EXPECT_EQ(Changed(*render.Image), 199 + 100 - 1);  // through the centre, clipped
  EXPECT_EQ(render.Image->Get(100, 50), kWhite);
  EXPECT_EQ(render.Image->Get(0, 50), kWhite);
  EXPECT_EQ(render.Image->Get(100, 99), kWhite);

  // Centre (0.5, 0.5) at 50 pixels per unit: axes at x = 75 and y = 75.
  key.vsx = key.vsy = 0.5;
  TRender moved = Render(200, 100);
  DrawOverlay("A", &key, &moved);
  for (int y = 0; y < 100; ++y) EXPECT_EQ(moved.Image->Get(75, y), kWhite) << y;
  for (int x = 0; x < 199; ++x) EXPECT_EQ(moved.Image->Get(x, 75), kWhite) << x;
  EXPECT_EQ(Changed(*moved.Image), 298);

  // Default thickness 2 widens the axes inside the picture.
  key.CLinesThick[2] = 2;
  TRender thick = Render(200, 100);
  DrawOverlay("A", &key, &thick);
  EXPECT_EQ(thick.Image->Get(30, 74), kWhite);
  EXPECT_EQ(thick.Image->Get(30, 76), kWhite);
  EXPECT_EQ(thick.Image->Get(76, 30), kWhite);
}

TEST_F(OverlayKindsTest, CPointCrossAtTheLeftEdgeDropsOutsideThickening) {
  TParameter key = Keyframe(200, 100);
  key.CCx = -2;  // pixel column 0
  key.CCy = 0;   // row 50
  TRender render = Render(200, 100);
  DrawOverlay("C", &key, &render);
  const TPixmap& p = *render.Image;
  for (int x = 0; x <= 11; ++x) EXPECT_EQ(p.Get(x, 50), kWhite) << x;
  for (int x = 1; x <= 10; ++x) {
    EXPECT_EQ(p.Get(x, 49), kWhite) << x;
    EXPECT_EQ(p.Get(x, 51), kWhite) << x;
  }
  for (int y = 40; y <= 60; ++y) EXPECT_EQ(p.Get(0, y), kWhite) << y;
  EXPECT_EQ(p.Get(1, 45), kGrey);  // the vertical stroke has no neighbours
  EXPECT_EQ(Changed(p), 12 + 11 + 11 + 18);

  // "CA"/"CB" take the point in pox/poy, half size 3, thickness 1.
  key.pox = 0;
  key.poy = 0;
  TRender small = Render(200, 100);
  DrawOverlay("CA", &key, &small);
  EXPECT_EQ(Changed(*small.Image), 7 + 7 - 1);
  EXPECT_EQ(small.Image->Get(97, 50), kWhite);
  EXPECT_EQ(small.Image->Get(100, 53), kWhite);
  TRender from = Render(200, 100);
  DrawOverlay("CB", &key, &from);
  EXPECT_EQ(from.Image->Get(103, 50), kBlack);

  // Points beyond the bottom or right edge leave no dot on the edge.
  for (auto [x, y] : {std::pair{0.0, -1.5}, std::pair{2.5, 0.0}, std::pair{3.0, -2.0}}) {
    key.pox = x;
    key.poy = y;
    TRender outside = Render(200, 100);
    DrawOverlay("CA", &key, &outside);
    EXPECT_EQ(Changed(*outside.Image), 0) << x << "," << y;
  }
}

TEST_F(OverlayKindsTest, InverseAndHalfTransparentColours) {
  TParameter key = Keyframe(20, 10);
  key.CLinesColor[1] = 0x00808080;
  TRender white = Render(20, 10, kWhite);
  DrawOverlay("M", &key, &white);
  EXPECT_EQ(white.Image->Get(5, 5), kBlack);
  TRender black = Render(20, 10, kBlack);
  DrawOverlay("M", &key, &black);
  EXPECT_EQ(black.Image->Get(5, 5), kWhite);

  // Alpha 128 blends with the picture as it was before the kind, so the
  // crossing and the thickened pixels are blended once only.
  key.CLinesColor[1] = static_cast<int>(0x80FFFFFFu);
  key.CLinesThick[1] = 2;
  TRender half = Render(20, 10, kBlack);
  DrawOverlay("M", &key, &half);
  int blended = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const uint32_t c = half.Image->Get(x, y);
      EXPECT_TRUE(c == kBlack || c == 0xFF808080u) << x << "," << y;
      blended += c == 0xFF808080u;
    }
  EXPECT_GT(blended, 30);
  EXPECT_EQ(half.Image->Get(10, 5), 0xFF808080u);

  // Each call blends over the picture as the call found it: a second
  // half-transparent cross over the first one is lighter.
  TParameter cross = Keyframe(200, 100);
  cross.CLinesColor[3] = static_cast<int>(0x80FFFFFFu);
  TRender twice = Render(200, 100, kBlack);
  for (double y : {0.5, 0.0, 0.0}) {
    cross.poy = y;  // row 25, then row 50 twice
    DrawOverlay("CA", &cross, &twice);
  }
  EXPECT_EQ(twice.Image->Get(100, 25), 0xFF808080u);
  EXPECT_EQ(twice.Image->Get(98, 50), 0xFFBFBFBFu);  // 128 + 127 * 128 / 255
}

TEST_F(OverlayKindsTest, NextKeyFrame) {
  TParameter key = Keyframe(200, 100);
  key.CLinesThick[6] = 1;
  TRender none = Render(200, 100);
  DrawOverlay("N", &key, &none);  // brxfollow 0: no next keyframe
  EXPECT_EQ(Changed(*none.Image), 0);

  key.brxfollow = 2;  // half the area around the same centre
  key.bryfollow = 1;
  TRender render = Render(200, 100);
  DrawOverlay("N", &key, &render);
  const TPixmap& p = *render.Image;
  for (int x = 50; x <= 150; ++x) {
    EXPECT_EQ(p.Get(x, 25), kBlack) << x;
    EXPECT_EQ(p.Get(x, 75), kBlack) << x;
  }
  for (int y = 25; y <= 75; ++y) {
    EXPECT_EQ(p.Get(50, y), kBlack) << y;
    EXPECT_EQ(p.Get(150, y), kBlack) << y;
  }
  EXPECT_EQ(Changed(p), 2 * 101 + 2 * 51 - 4);

  // Turned by 90 degrees the frame stands upright: 1 wide and 2 high.
  key.Degreefollow = 90;
  TRender turned = Render(200, 100);
  DrawOverlay("N", &key, &turned);
  EXPECT_EQ(turned.Image->Get(75, 50), kBlack);
  EXPECT_EQ(turned.Image->Get(125, 50), kBlack);
  EXPECT_EQ(turned.Image->Get(50, 50), kGrey);
}

TEST_F(OverlayKindsTest, MovieTwoOverlaysInDoubleAndInsertedPictures) {
  // Movie 2's half of a double picture: its centre cross stays right.
  TParameter key = Keyframe(100, 50);
  TRender render = Render(100, 50);
  Composition().CompositionMode = 222;
  Composition().ShownImage = 2;
  DrawOverlay("M", &key, &render);
  const TPixmap& d = *render.ImageD;
  for (int x = 100; x <= 197; ++x) EXPECT_EQ(d.Get(x, 25), kBlack) << x;
  for (int y = 1; y <= 49; ++y) EXPECT_EQ(d.Get(149, y), kBlack) << y;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 99; ++x) ASSERT_EQ(d.Get(x, y), kGrey) << x << "," << y;
  EXPECT_EQ(Changed(d), 98 + 49 - 1);
  EXPECT_EQ(Changed(*render.Image), 0);

  // Insert A: Movie 2's cross at its centre shifted by the insert position.
  TParameter inserted = Keyframe(100, 60);
  TRender big = Render(200, 100);
  Composition().CompositionMode = -111;
  Composition().ShownImage = 1;
  Composition().InsertPosX = 40;
  Composition().InsertPosY = 30;
  DrawOverlay("M", &inserted, &big);
  const TPixmap& p = *big.Image;
  for (int x = 41; x <= 138; ++x) EXPECT_EQ(p.Get(x, 60), kBlack) << x;
  for (int y = 31; y <= 88; ++y) EXPECT_EQ(p.Get(90, y), kBlack) << y;
  EXPECT_EQ(Changed(p), 98 + 58 - 1);
}

}  // namespace
}  // namespace ork
