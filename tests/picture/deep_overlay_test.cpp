#include "picture/deep_overlay.h"

#include <gtest/gtest.h>

#include "engine/deep/deep_coordinates.h"
#include "model/process_state.h"
#include "overlay_test_support.h"
#include "picture/overlay.h"

namespace ork {
namespace {

using namespace overlay_test;

class DeepOverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    Composition().CompositionMode = 1;
    Composition().ShownImage = 1;
  }
  void TearDown() override { ResetProcessState(); }
};

// A deep keyframe of 200 x 100 pixels, 1e-60 high, centred on a point no
// double holds.
TParameter DeepKey() {
  TParameter key = Keyframe(200, 100);
  key.Deep = 1;
  deep::TBigFloat x;
  EXPECT_TRUE(deep::TBigFloat::Parse(
      "-1.25000000000000000000000000000000000000000000000000000000000000000001", 0, x));
  deep::SetLong(key.vsxLong, key.vsx, x);
  deep::SetLong(key.bryLong, key.bry, deep::TBigFloat(1e-60), true);
  key.brx = key.bry * 2;
  // C 20 pixels right of and 10 pixels above the centre.
  deep::SetLong(key.CCxLong, key.CCx, x + deep::TBigFloat(2e-61, 300));
  deep::SetLong(key.CCyLong, key.CCy, deep::TBigFloat(1e-61));
  return key;
}

TEST(OffsetLabel, CentreLineAndSignedMultiples) {
  EXPECT_EQ(OffsetLabel(0, -61), "0");
  EXPECT_EQ(OffsetLabel(3, -61), "+3E-61");
  EXPECT_EQ(OffsetLabel(-12, -1000), "-12E-1000");
}

TEST_F(DeepOverlayTest, GridAndCPointAsOffsetsFromTheCentre) {
  TParameter shallow = Keyframe(200, 100);
  EXPECT_FALSE(OffsetOverlays(shallow));
  shallow.Deep = 1;
  EXPECT_FALSE(OffsetOverlays(shallow)) << "a shallow deep picture keeps the plane's grid";
  TParameter key = DeepKey();
  ASSERT_TRUE(OffsetOverlays(key));

  double dx = 0, dy = 0;
  LongPixelOffset(key, key.CCxLong, key.CCx, key.CCyLong, key.CCy, dx, dy);
  EXPECT_NEAR(dx, 20, 1e-9);
  EXPECT_NEAR(dy, 10, 1e-9);

  // The C point's cross centred 20 pixels right and 10 up.
  key.CLinesColor[5] = static_cast<int>(kBlack);
  TRender render = Render(200, 100);
  DrawOverlay("C", &key, &render);
  EXPECT_EQ(render.Image->Get(120, 40), kBlack);
  EXPECT_EQ(render.Image->Get(130, 40), kBlack);
  EXPECT_EQ(render.Image->Get(120, 55), kGrey);
  EXPECT_EQ(render.Image->Get(100, 50), kGrey);

  // Grid lines through the centre (offset 0) and 1e-60 (99 pixels) from
  // it, where the double's plane values would give none.
  GridSettings().labelsX = GridSettings().labelsY = 0;
  key.CLinesColor[0] = static_cast<int>(kBlack);
  TRender grid = Render(200, 100);
  DrawOverlay("G", &key, &grid);
  int centreColumns = 0, rows = 0;
  for (int x = 97; x <= 102; ++x) centreColumns += grid.Image->Get(x, 10) == kBlack;
  for (int y = 47; y <= 52; ++y) rows += grid.Image->Get(10, y) == kBlack;
  EXPECT_GE(centreColumns, 1);
  EXPECT_GE(rows, 1);
  EXPECT_EQ(grid.Image->Get(60, 10), kGrey);
}

}  // namespace
}  // namespace ork
