#include "picture/overlay_line.h"

#include <gtest/gtest.h>

#include "model/process_state.h"

namespace ork {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFFFF0000u;

int CountColour(const TPixmap& p, uint32_t colour) {
  int n = 0;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) n += p.Get(x, y) == colour;
  return n;
}

class OverlayLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }
};

TEST_F(OverlayLineTest, ClipsAtRightAndBottomEdgesExclusively) {
  TPixmap p(10, 6, kBlack);
  DrawOverlayLine(p, p, 0, 0, 9, 6, -5, 2, 20, 2, kWhite, 1);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(p.Get(x, 2), kWhite) << x;
  EXPECT_EQ(p.Get(9, 2), kBlack);
  EXPECT_EQ(CountColour(p, kWhite), 9);

  TPixmap q(10, 6, kBlack);
  DrawOverlayLine(q, q, 2, 1, 9, 5, 4, -3, 4, 30, kWhite, 1);
  for (int y = 1; y < 5; ++y) EXPECT_EQ(q.Get(4, y), kWhite) << y;
  EXPECT_EQ(q.Get(4, 0), kBlack);
  EXPECT_EQ(q.Get(4, 5), kBlack);
  EXPECT_EQ(CountColour(q, kWhite), 4);

  // Lines entirely outside, and lines whose ends coincide, draw nothing;
  // ends far away or invalid cost nothing and still draw their visible part.
  TPixmap r(10, 6, kBlack);
  DrawOverlayLine(r, r, 0, 0, 9, 6, -8, 1, -1, 4, kWhite, 3);
  DrawOverlayLine(r, r, 0, 0, 9, 6, 3.2, 3.9, 3.7, 3.1, kWhite, 3);
  DrawOverlayLine(r, r, 0, 0, 9, 6, 3, 10, 8, 12, kWhite, 1);
  EXPECT_EQ(CountColour(r, kWhite), 0);
  DrawOverlayLine(r, r, 0, 0, 9, 6, -2e9, 0, 2e9, 0, kWhite, 1);
  DrawOverlayLine(r, r, 0, 0, 9, 6, -2e9, -1e9, 2e9, 1e9 + 2, kRed, 1);
  EXPECT_EQ(CountColour(r, kRed), 9);  // y = Int(0.5 x + 1.5) in view
  EXPECT_EQ(r.Get(0, 1), kRed);
  EXPECT_EQ(r.Get(8, 5), kRed);
  EXPECT_EQ(CountColour(r, kWhite), 9);
}

TEST_F(OverlayLineTest, SlopedLinesRoundToNearestPixel) {
  TPixmap p(8, 8, kBlack);
  DrawOverlayLine(p, p, 0, 0, 8, 8, 0, 0, 4, 2, kWhite, 1);  // shallow
  const int ys[] = {0, 1, 1, 2, 2};
  for (int x = 0; x <= 4; ++x) EXPECT_EQ(p.Get(x, ys[x]), kWhite) << x;
  EXPECT_EQ(CountColour(p, kWhite), 5);

  TPixmap q(8, 8, kBlack);
  DrawOverlayLine(q, q, 0, 0, 8, 8, 0.9, 0.9, 2.99, 4.5, kWhite, 1);  // steep, ends cut to (0,0)-(2,4)
  const int xs[] = {0, 1, 1, 2, 2};
  for (int y = 0; y <= 4; ++y) EXPECT_EQ(q.Get(xs[y], y), kWhite) << y;
  EXPECT_EQ(CountColour(q, kWhite), 5);
}

TEST_F(OverlayLineTest, InverseForAlphaZeroBlendForPartialAlpha) {
  // Alpha 0: inverse of the background, then opaque.
  TPixmap p(6, 4, kWhite);
  for (int x = 3; x < 6; ++x)
    for (int y = 0; y < 4; ++y) p.Set(x, y, kBlack);
  for (int x = 0; x < 6; ++x) p.Set(x, 3, 0x80123456u);
  const TPixmap background = p;
  DrawOverlayLine(background, p, 0, 0, 6, 4, 0, 1, 5, 1, 0x00808080u, 1);
  DrawOverlayLine(background, p, 0, 0, 6, 4, 0, 3, 5, 3, 0x00808080u, 1);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(p.Get(x, 1), kBlack) << x;
  for (int x = 3; x < 6; ++x) EXPECT_EQ(p.Get(x, 1), kWhite) << x;
  EXPECT_EQ(p.Get(0, 3), 0xFFEDCBA9u);

  // Alpha 128 red over black: channels cut separately, alpha saturates.
  // With thickness 2 the pixels are written several times, yet each one is
  // blended with the untouched background only once.
  TPixmap q(7, 5, kBlack);
  const TPixmap qb = q;
  DrawOverlayLine(qb, q, 0, 0, 7, 5, 0, 2, 6, 2, 0x80FF0000u, 2);
  for (int x = 0; x < 7; ++x) EXPECT_EQ(q.Get(x, 2), 0xFF800000u) << x;
  for (int x = 1; x < 6; ++x) {
    EXPECT_EQ(q.Get(x, 1), 0xFF800000u) << x;
    EXPECT_EQ(q.Get(x, 3), 0xFF800000u) << x;
  }
  EXPECT_EQ(q.Get(3, 0), kBlack);
  // A half-transparent black over an opaque white pixel.
  TPixmap w(3, 3, kWhite);
  const TPixmap wb = w;
  DrawOverlayLine(wb, w, 0, 0, 3, 3, 0, 1, 2, 1, 0x80000000u, 1);
  EXPECT_EQ(w.Get(1, 1), 0xFF7F7F7Fu);
}

TEST_F(OverlayLineTest, ThicknessNeedsAllNeighboursInside) {
  // Vertical line at the left clip edge: no neighbour pixels.
  TPixmap p(6, 6, kBlack);
  DrawOverlayLine(p, p, 0, 0, 5, 6, 0, 0, 0, 5, kRed, 2);
  EXPECT_EQ(CountColour(p, kRed), 6);
  // One column further in: rows 1..4 get their neighbours, rows 0 and 5 not.
  TPixmap q(6, 6, kBlack);
  DrawOverlayLine(q, q, 0, 0, 5, 6, 1, 0, 1, 5, kRed, 2);
  for (int y = 1; y <= 4; ++y) {
    EXPECT_EQ(q.Get(0, y), kRed) << y;
    EXPECT_EQ(q.Get(2, y), kRed) << y;
  }
  EXPECT_EQ(q.Get(0, 0), kBlack);
  EXPECT_EQ(q.Get(2, 5), kBlack);

  // Thickness 3 (and anything above) adds black down-right, white up-left.
  for (int thickness : {3, 7}) {
    TPixmap r(7, 7, kBlack);
    r.Fill(0xFF0000FFu);
    DrawOverlayLine(r, r, 0, 0, 7, 7, 3, 3, 4, 3, kRed, thickness);
    EXPECT_EQ(r.Get(3, 3), kRed);
    EXPECT_EQ(r.Get(3, 2), kWhite);  // up-left corner of the second pixel
    EXPECT_EQ(r.Get(3, 4), kRed);
    EXPECT_EQ(r.Get(4, 4), kRed);    // the first pixel's corner, covered again
    EXPECT_EQ(r.Get(2, 3), kRed);
    EXPECT_EQ(r.Get(5, 3), kRed);
    EXPECT_EQ(r.Get(5, 4), kBlack);
    EXPECT_EQ(r.Get(2, 2), kWhite);
    EXPECT_EQ(r.Get(5, 2), 0xFF0000FFu);
  }
}

TEST_F(OverlayLineTest, InsertAShiftsEveryPixelAndClipRectangles) {
  Composition().CompositionMode = -111;
  Composition().InsertPosX = 3;
  Composition().InsertPosY = 2;
  TPixmap p(10, 6, kBlack);
  DrawOverlayLine(p, p, 3, 2, 7, 6, 0, 0, 9, 0, kWhite, 1);
  for (int x = 3; x < 7; ++x) EXPECT_EQ(p.Get(x, 2), kWhite) << x;
  EXPECT_EQ(CountColour(p, kWhite), 4);

  Composition().InsertPosX = 40;
  Composition().InsertPosY = 30;
  TClipRect a = OverlayClipRect(100, 60, 200, 100);
  EXPECT_EQ(a.L, 40);
  EXPECT_EQ(a.T, 30);
  EXPECT_EQ(a.R, 139);
  EXPECT_EQ(a.B, 89);
  a = OverlayClipRect(300, 200, 200, 100);
  EXPECT_EQ(a.R, 199);
  EXPECT_EQ(a.B, 99);
  Composition().CompositionMode = 101;
  a = OverlayClipRect(300, 200, 200, 100);
  EXPECT_EQ(a.L, 40);
  EXPECT_EQ(a.R, 199);
  EXPECT_EQ(a.B, 99);
  Composition().CompositionMode = 222;
  a = OverlayClipRect(100, 80, 100, 80);
  EXPECT_EQ(a.L, 99);
  EXPECT_EQ(a.R, 198);
  EXPECT_EQ(a.B, 80);
  // A narrower Movie 2 stays in its own half.
  a = OverlayClipRect(60, 80, 100, 80);
  EXPECT_EQ(a.L, 99);
  EXPECT_EQ(a.R, 158);
  Composition().CompositionMode = 1;
  a = OverlayClipRect(200, 100, 300, 300);
  EXPECT_EQ(a.L, 0);
  EXPECT_EQ(a.T, 0);
  EXPECT_EQ(a.R, 199);
  EXPECT_EQ(a.B, 100);
}

}  // namespace
}  // namespace ork
