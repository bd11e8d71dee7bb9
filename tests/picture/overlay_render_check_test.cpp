// A whole single picture with printed texts and the overlays G, M, A, C,
// computed, composed and written as a PNG next to the build for a look.
#include <gtest/gtest.h>

#include <string>

#include "engine/render.h"
#include "model/list_syntax.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "overlay_test_support.h"
#include "picture/bmp_font_registry.h"
#include "picture/composition.h"
#include "picture/picture_files.h"

namespace ork {
namespace {

TEST(OverlayRenderCheck, TextsAndOverlaysOnAComputedPicture) {
  ResetProcessState();
  Composition().CompositionMode = 1;
  const std::string oldDir = WorkDir();
  SetWorkDir(std::string(ORK_SOURCE_DIR) + "/data");
  ASSERT_EQ(LoadBMPFonts(), 3);
  SetWorkDir(oldDir);

  TParameter key;
  key.OutputWidth = 768;
  key.OutputHeight = 576;
  key.GameNo = 1000;
  key.bry = 2.5;
  key.brx = key.bry * 768 / 576;
  key.vsx = -0.75;
  key.vsy = 0;
  key.CCx = -0.5;
  key.CCy = 0.5;
  key.ianzmax = 250;
  key.maxabs = 1.0e9;
  key.zyctest = 10;
  key.Accurate = static_cast<double>(1e-4f);
  key.SelectPictureL = "4";
  key.farbtabL = "14";
  key.ColShiftL = "0";
  key.factL = "12";
  key.TextOutputList = "MidPointX:MidPointY";
  key.Grid = "G,M,A,C";
  ResetLineStyles(key);

  TRender render;
  render.Init(key);
  ASSERT_TRUE(Calculate(key, nullptr, render));
  overlay_test::TRecordingHost host;
  ASSERT_EQ(ShowCalculated(&key, &render, host), 1);
  ASSERT_NE(render.Image, nullptr);
  const TPixmap& p = *render.Image;
  EXPECT_TRUE(SavePng(p, std::string(ORK_BINARY_DIR) + "/overlay_check_768x576.png"));

  // The grid adapted its spacing (1 on a 3.33 x 2.5 plane) and left the
  // text for the keyframe.
  EXPECT_EQ(key.GridSizes, "1.0,1.0,1,1,2,1,1,50.00,50.00,1");
  // The first printed line starts at (8, 4) in the large font: white glyph
  // pixels within its first 40 columns.
  int white = 0;
  for (int y = 4; y < 40; ++y)
    for (int x = 8; x < 48; ++x) white += p.Get(x, y) == 0xFFFFFFFFu;
  EXPECT_GT(white, 20);
  ReleaseBMPFonts();
  ResetProcessState();
}

}  // namespace
}  // namespace ork
