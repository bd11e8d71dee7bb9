#include "picture/grid.h"

#include <gtest/gtest.h>

#include <string>

#include "model/language.h"
#include "model/latin1.h"
#include "model/list_syntax.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "overlay_test_support.h"
#include "picture/bmp_font_registry.h"
#include "picture/grid_state.h"
#include "picture/overlay.h"

namespace ork {
namespace {

using namespace overlay_test;

constexpr uint32_t kInverseGrey = 0xFF7F7F7Fu;

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    Composition().CompositionMode = 1;
    Composition().ShownImage = 1;
    SetUiLanguage(TLanguage::English);
  }
  void TearDown() override {
    ReleaseBMPFonts();
    ResetProcessState();
  }

  // Draws "G" of a keyframe W x H pixels, plane height bry around (0, 0).
  TRender Draw(int W, int H, double bry, const std::string& gridSizes, TRecordingHost& host,
               double vsx = 0) {
    TParameter key = Keyframe(W, H, bry);
    key.GridSizes = gridSizes;
    key.vsx = vsx;
    TRender render = Render(W, H);
    DrawOverlay("G", &key, &render, host);
    return render;
  }
};

TEST_F(GridTest, RoundStepAndPointAlongLine) {
  TGridStep s = GridRoundStep(4, 3);  // T = 0.95 * 3.5
  EXPECT_EQ(s.q, 1);
  EXPECT_EQ(s.p, 1);
  s = GridRoundStep(30, 20);
  EXPECT_EQ(s.q, 10);
  EXPECT_EQ(s.p, 0);
  s = GridRoundStep(0.004, 0.003);
  EXPECT_EQ(s.q, 1e-3);
  EXPECT_EQ(s.p, 4);
  s = GridRoundStep(1.05, 1.05);  // T just below 1
  EXPECT_EQ(s.q, 0.1);
  EXPECT_EQ(GridRoundStep(1e-20, 1e-20).e, -16);
  EXPECT_EQ(GridRoundStep(1e17, 1e17).e, 16);
  EXPECT_EQ(GridRoundStep(1e18, 1e18).e, 0);

  TPointD q = PointAlongLine({10.2, 0}, {10.7, 100}, 50);  // same column: along y
  EXPECT_DOUBLE_EQ(q.x, 10.2);
  EXPECT_DOUBLE_EQ(q.y, 50);
  q = PointAlongLine({0, 0}, {100, 50}, 20);
  EXPECT_DOUBLE_EQ(q.x, 20);
  EXPECT_DOUBLE_EQ(q.y, 10);
}

TEST_F(GridTest, EmptySettingsAdaptToTheRoundStep) {
  TRecordingHost host;
  TRender render = Draw(400, 300, 3, "", host);  // brx 4, bry 3
  EXPECT_EQ(GridDialogText(), "1.0,1.0,1,1,2,1,1,50.00,50.00,1");
  ASSERT_EQ(host.status.size(), 1u);
  EXPECT_EQ(host.status[0],
            "Note: Grid sizes were changed! DX =1.0 DY=1.0-> Insert menu - new grid sizes ..");
  // Lines at every integer: 99.67 pixels per unit around (199.5, 149.5).
  const TPixmap& p = *render.Image;
  for (int x : {0, 99, 199, 299, 398}) EXPECT_EQ(p.Get(x, 10), kInverseGrey) << x;
  for (int y : {49, 149, 249}) EXPECT_EQ(p.Get(10, y), kInverseGrey) << y;
  EXPECT_EQ(p.Get(150, 10), kGrey);
  EXPECT_EQ(p.Get(399, 10), kGrey);  // right clip edge

  // The German status text.
  SetUiLanguage(TLanguage::German);
  TRecordingHost german;
  Draw(400, 300, 3, "", german);
  ASSERT_EQ(german.status.size(), 1u);
  EXPECT_EQ(german.status[0], Latin1("Hinweis: Gittergrössen wurden geändert ! dX=1.0 DY=1.0"
                                     "--> Menü Einfügen - Gittergrössen neu.."));
}

TEST_F(GridTest, SpacingAdaptsToTooManyOrTooFewLines) {
  TRecordingHost host;
  Draw(800, 600, 3, "0.001,0.001", host);  // 4000 lines on 800 pixels
  EXPECT_EQ(GridSettings().dX, 1);
  EXPECT_EQ(GridSettings().dY, 1);
  EXPECT_EQ(GridDialogText(), "1.0,1.0,1,1,2,1,1,50.00,50.00,1");

  GridDialogText().clear();
  Draw(800, 600, 30, "50,1,3,4,3,0,1,30,70", host);  // only x is adapted
  EXPECT_EQ(GridSettings().dX, 10);
  EXPECT_EQ(GridSettings().dY, 1);
  EXPECT_EQ(GridDialogText(), "10.,1.0000,0,4,3,0,1,30.00,70.00,1");
  // 60 lines of constant y on 600 pixels are one per 10 pixels: too many.
  GridDialogText().clear();
  Draw(800, 600, 30, "10,0.5,0,4", host);
  EXPECT_EQ(GridSettings().dY, 10);
  EXPECT_EQ(GridDialogText(), "10.,10.,0,0,2,1,1,50.00,50.00,1");

  // A fitting spacing stays and leaves no text.
  GridDialogText().clear();
  TRecordingHost quiet;
  Draw(800, 600, 3, "0.5,0.5,1,1", quiet);
  EXPECT_EQ(GridSettings().dX, 0.5);
  EXPECT_TRUE(GridDialogText().empty());
  EXPECT_TRUE(quiet.status.empty());
}

TEST_F(GridTest, FixedSpacingAndFilmModes) {
  // GridAutoMode 1 fixes the spacing: no adaptation, no text.
  GridState().GridAutoMode = 1;
  TRecordingHost host;
  TRender fixed = Draw(800, 600, 3, "2,2,0,0", host);
  EXPECT_TRUE(GridState().GridSizesFixed);
  EXPECT_EQ(GridSettings().dX, 2);
  EXPECT_TRUE(GridDialogText().empty());
  for (int x : {0, 399, 798}) EXPECT_EQ(fixed.Image->Get(x, 20), kInverseGrey) << x;
  EXPECT_EQ(fixed.Image->Get(598, 20), kGrey);
  // A fixed spacing denser than one line per pixel draws no lines at all.
  TRender dense = Draw(800, 600, 3, "0.0001,0.0001,0,0,2,0,0", host);
  EXPECT_EQ(Changed(*dense.Image), 0);

  // GridAutoMode 0 unlocks it again.
  GridState().GridAutoMode = 0;
  Draw(800, 600, 3, "2,2,0,0", host);
  EXPECT_FALSE(GridState().GridSizesFixed);
  EXPECT_EQ(GridSettings().dX, 1);

  // Automatic spacing for films (dX -2): drawn only while the picture
  // height spans 7 to 10 steps of its power of ten; no text is left.
  GridState().GridAutoMode = 2;
  GridDialogText().clear();
  TRender three = Draw(400, 300, 3, "-2", host);
  EXPECT_EQ(Changed(*three.Image), 0);
  TRender eight = Draw(400, 300, 8, "-2", host);
  EXPECT_GT(Changed(*eight.Image), 0);
  EXPECT_EQ(GridSettings().dY, -1);
  EXPECT_EQ(GridSettings().decX, 1);
  EXPECT_TRUE(GridDialogText().empty());
}

TEST_F(GridTest, TurnedGridsReachTheCornersEitherWay) {
  // A wide picture turned either way: the lines of constant x reach the
  // top-left and bottom-right corners (the lines of constant y are kept
  // away by a fixed spacing far beyond the picture).
  GridState().GridAutoMode = 1;
  for (double degree : {30.0, -30.0}) {
    TParameter key = Keyframe(400, 100, 1);
    key.GridSizes = "0.2,100,1,1,2,0,0";
    key.Degree = degree;
    TRender render = Render(400, 100);
    TRecordingHost host;
    DrawOverlay("G", &key, &render, host);
    int topLeft = 0, bottomRight = 0;
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 60; ++x) {
        topLeft += render.Image->Get(x, y) == kInverseGrey;
        bottomRight += render.Image->Get(398 - x, 99 - y) == kInverseGrey;
      }
    EXPECT_GT(topLeft, 20) << degree;
    EXPECT_GT(bottomRight, 20) << degree;
  }
}

TEST_F(GridTest, SmallPicturesWithNegativeSpacingUseTheSmallFont) {
  TRecordingHost host;
  Draw(200, 150, 3, "-1", host);
  EXPECT_EQ(GridSettings().size, 1);
  Draw(200, 152, 3, "-1", host);
  EXPECT_EQ(GridSettings().size, 2);
  Draw(200, 150, 3, "1", host);
  EXPECT_EQ(GridSettings().size, 2);
}

TEST_F(GridTest, LabelsStandBesideTheirLines) {
  const std::string oldDir = WorkDir();
  SetWorkDir(std::string(ORK_SOURCE_DIR) + "/data");
  ASSERT_EQ(LoadBMPFonts(), 3);
  SetWorkDir(oldDir);

  // With the default 50 % the number of the line x = 1 (column 299) stands
  // at (299 - 13, 149 - 13) in the medium font.
  auto labelPixels = [](const TPixmap& p) {
    int n = 0;
    for (int y = 136; y < 136 + 20; ++y)
      for (int x = 286; x < 286 + 30; ++x) {
        const uint32_t c = p.Get(x, y);
        n += c != kGrey && c != kInverseGrey;
      }
    return n;
  };
  TRecordingHost host;
  TRender both = Draw(400, 300, 3, "1,1,1,1,2,1,1", host);
  EXPECT_GT(labelPixels(*both.Image), 20);
  TRender noX = Draw(400, 300, 3, "1,1,1,1,2,0,1", host);
  EXPECT_EQ(labelPixels(*noX.Image), 0);
  TRender none = Draw(400, 300, 3, "1,1,1,1,2,0,0", host);
  EXPECT_LT(Changed(*none.Image), Changed(*noX.Image));
  EXPECT_LT(Changed(*noX.Image), Changed(*both.Image));
}

TEST_F(GridTest, MovieTwoHalfAndHugeCentres) {
  // Movie 2's grid in the right half of a double picture shifts by
  // OutputWidth - 2; Movie 1's half stays untouched.
  Composition().CompositionMode = 222;
  Composition().ShownImage = 2;
  TRecordingHost host;
  TRender render = Draw(400, 300, 3, "1,1,1,1,2,0,0", host);
  const TPixmap& d = *render.ImageD;
  EXPECT_EQ(d.Get(199 + 398, 10), kInverseGrey);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 399; ++x) ASSERT_EQ(d.Get(x, y), kGrey) << x << "," << y;

  // Movie 2 inserted at (50, 40): lines shifted and clipped to the insert.
  Composition().CompositionMode = -111;
  Composition().ShownImage = 1;
  Composition().InsertPosX = 50;
  Composition().InsertPosY = 40;
  TParameter key = Keyframe(200, 150, 3);
  key.GridSizes = "1,1,1,1,2,0,0";
  TRender big = Render(400, 300);
  DrawOverlay("G", &key, &big, host);
  const TPixmap& p = *big.Image;
  EXPECT_EQ(p.Get(99 + 50, 60), kInverseGrey);  // x = 0 at column 99 of Movie 2
  EXPECT_EQ(p.Get(60, 74 + 40), kInverseGrey);  // y = 0 at row 74
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      if (x >= 50 && x < 249 && y >= 40 && y < 189) continue;
      ASSERT_EQ(p.Get(x, y), kGrey) << x << "," << y;
    }

  // A centre beyond the precision of the line index: the reduction keeps
  // the drawing finite and the status line says so.
  Composition().CompositionMode = 1;
  Composition().ShownImage = 1;
  TRecordingHost wait;
  Draw(400, 300, 3, "0.5,0.5,1,1", wait, 1e30);
  ASSERT_FALSE(wait.status.empty());
  EXPECT_EQ(wait.status.front(), "Please wait ...");
}

}  // namespace
}  // namespace ork
