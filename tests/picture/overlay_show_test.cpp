#include <gtest/gtest.h>

#include <algorithm>

#include "model/movie.h"
#include "model/process_state.h"
#include "overlay_test_support.h"
#include "picture/grid_state.h"
#include "picture/overlay.h"
#include "picture/overlay_calls.h"

namespace ork {
namespace {

using namespace overlay_test;

class OverlayShowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    Composition().CompositionMode = 1;
    Composition().ShownImage = 1;
  }
  void TearDown() override { ResetProcessState(); }

  // A movie of keyframes 200 x 100 with the given KeyNr, each with its own
  // centre and C point.
  static TParameterAnim Movie(std::initializer_list<int> keyNrs) {
    TParameterAnim movie;
    int j = 0;
    for (int nr : keyNrs) {
      TParameter key = Keyframe(200, 100);
      ++j;
      key.KeyNr = nr;
      key.vsx = 0.125 * j;
      key.bry = 2.0 / j;
      key.brx = 2 * key.bry;
      key.CCx = -1.5 + 0.5 * j;  // columns 25, 50, 75, ...
      key.CCy = 0;
      movie.AddParameter(key);
    }
    movie.Actual = 1;
    return movie;
  }
};

TEST_F(OverlayShowTest, NextKeyFrameSearchAndState) {
  TParameterAnim movie = Movie({1, 2, 3});
  TRecordingHost host;
  TParameter key = movie.Parameter[1];
  key.Grid = "N";
  TRender render = Render(200, 100);
  int state = 0;
  ShowLines(state, &key, &render, &movie, host);
  EXPECT_EQ(state, 2);
  EXPECT_EQ(key.bryfollow, movie.Parameter[2].bry);
  EXPECT_EQ(key.vsxfollow, movie.Parameter[2].vsx);
  EXPECT_GT(Changed(*render.Image), 0);
  EXPECT_NE(std::find(host.diagnostics.begin(), host.diagnostics.end(), "ShowLines()"),
            host.diagnostics.end());

  // The one before the last and the last keyframe draw no frame.
  for (int actual : {2, 3}) {
    movie.Actual = actual;
    TParameter k = movie.Parameter[actual];
    k.Grid = "N";
    TRender r = Render(200, 100);
    int s = 0;
    ShowLines(s, &k, &r, &movie, host);
    EXPECT_EQ(k.brxfollow, 0) << actual;
    EXPECT_EQ(Changed(*r.Image), 0) << actual;
  }

  // A film movie: frames of one interval share the start key's KeyNr; the
  // state keeps the interval's last frame until the film reaches it.
  TParameterAnim film = Movie({1, 1, 1, 2, 2, 2});
  int filmState = 0;
  for (int frame = 1; frame <= 3; ++frame) {
    film.Actual = frame;
    TParameter k = film.Parameter[frame];
    k.Grid = "N";
    TRender r = Render(200, 100);
    ShowLines(filmState, &k, &r, &film, host);
    EXPECT_EQ(k.bryfollow, film.Parameter[3].bry) << frame;
    EXPECT_EQ(filmState, frame < 3 ? 3 : 0) << frame;
  }
}

TEST_F(OverlayShowTest, CPointsOfEarlierAndLaterKeyframes) {
  TParameterAnim movie = Movie({1, 2, 3});
  movie.Actual = 2;
  TRecordingHost host;
  // Keyframe 2 maps 100 pixels to 1 unit around (0.25, 0): the C points of
  // keys 1, 2, 3 lie at columns -25, 25, 75 of row 50.
  TParameter key = movie.Parameter[2];
  key.Grid = "CA";
  TRender to = Render(200, 100);
  int state = 0;
  ShowLines(state, &key, &to, &movie, host);
  EXPECT_EQ(to.Image->Get(25, 50), kWhite);
  EXPECT_EQ(to.Image->Get(75, 50), kGrey);
  EXPECT_EQ(key.pox, movie.Parameter[2].CCx);
  EXPECT_EQ(Changed(*to.Image), 7 + 7 - 1);  // key 1's cross lies outside

  key = movie.Parameter[2];
  key.Grid = "CB";
  TRender from = Render(200, 100);
  state = 0;
  ShowLines(state, &key, &from, &movie, host);
  EXPECT_EQ(from.Image->Get(25, 50), kBlack);
  EXPECT_EQ(from.Image->Get(75, 50), kBlack);
  EXPECT_EQ(Changed(*from.Image), 2 * 13);
  EXPECT_EQ(key.pox, movie.Parameter[3].CCx);
}

TEST_F(OverlayShowTest, GridTextIsStoredAndZeroThicknessRemovesAKind) {
  TParameterAnim movie = Movie({1});
  TRecordingHost host;
  TParameter key = Keyframe(400, 300, 3);
  key.Grid = "G,M";
  key.LinesThick = "1,0";  // "M" is switched off
  TRender render = Render(400, 300);
  int state = 0;
  ShowLines(state, &key, &render, &movie, host);
  EXPECT_EQ(key.GridSizes, "1.0,1.0,1,1,2,1,1,50.00,50.00,1");
  EXPECT_TRUE(GridDialogText().empty());
  EXPECT_EQ(key.Grid, "G");
  EXPECT_EQ(render.Image->Get(200, 1), render.Image->Get(200, 298));
  EXPECT_NE(render.Image->Get(200, 1), kBlack);
}

TEST_F(OverlayShowTest, DrawAllGridsRequestsMovieBoundKinds) {
  TRecordingHost host;
  TParameter key = Keyframe(400, 300, 3);
  key.Grid = "GV, CA, M ,CB,N,,NA";
  key.CLinesThick[1] = 0;  // drawn with thickness 1
  TRender render = Render(400, 300);
  DrawAllGrids(&key, &render, host);
  EXPECT_EQ(host.commands, (std::vector<int>{kCommandCPointsToKey, kCommandCPointsFromKey,
                                             kCommandNextKeyFrame, kCommandAllNextKeyFrames}));
  EXPECT_EQ(host.commands, (std::vector<int>{75, 77, 65, 66}));
  EXPECT_EQ(render.Image->Get(200, 150), kBlack);  // the cross, over the grid
  EXPECT_EQ(render.Image->Get(200, 100), kBlack);
  EXPECT_EQ(render.Image->Get(201, 100), kGrey);
  EXPECT_EQ(render.Image->Get(201, 149), 0xFF7F7F7Fu);  // grid line: inverse of grey
  EXPECT_EQ(key.CLinesThick[1], 1);
  EXPECT_EQ(key.GridSizes, "1.0,1.0,1,1,2,1,1,50.00,50.00,1");  // "GV" drew the grid
  EXPECT_EQ(host.diagnostics.front(), "drin in DrawAllGrids()");

  for (int mode : {2, 22, -1000}) {
    Composition().CompositionMode = mode;
    TRecordingHost quiet;
    TRender untouched = Render(400, 300);
    DrawAllGrids(&key, &untouched, quiet);
    EXPECT_TRUE(quiet.commands.empty()) << mode;
    EXPECT_EQ(Changed(*untouched.Image), 0) << mode;
  }

  // A pending grid change is dropped before Movie 2's half is drawn.
  GridDialogText() = "1,1,1";
  DropPendingGridChange();
  EXPECT_TRUE(GridDialogText().empty());
}

}  // namespace
}  // namespace ork
