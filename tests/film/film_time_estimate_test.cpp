#include "film/film_time_estimate.h"

#include <gtest/gtest.h>

namespace ork {
namespace {

TEST(FilmTimeEstimate, ScalesTheTimeSoFarByTheCostStillToCome) {
  TFilmTimeEstimate estimate({1, 1, 2, 4});
  EXPECT_LT(estimate.RemainingSeconds(), 0);
  estimate.FrameDone(0, 3);
  EXPECT_DOUBLE_EQ(estimate.RemainingSeconds(), 3 * 7);
  estimate.FrameDone(2, 8);
  EXPECT_DOUBLE_EQ(estimate.RemainingSeconds(), 8 * 4 / 4.0);
  estimate.FrameDone(3, 20);
  EXPECT_DOUBLE_EQ(estimate.RemainingSeconds(), 0);
}

// The probe sees that a view on the set's border runs more iterations per
// pixel than the whole set seen from afar, and a frame that is not
// computed costs only its colouring and writing.
TEST(FilmTimeEstimate, ProbeFollowsTheIterationsOfTheView) {
  TParameter wide;
  wide.GameNo = 1000;
  wide.OutputWidth = 640;
  wide.OutputHeight = 480;
  wide.vsx = -0.75;
  wide.bry = 2.5;
  wide.ianzmax = 250;
  wide.zyctest = 10;
  wide.maxabs = 1e9;
  TParameter border = wide;
  border.vsx = -0.7445;
  border.vsy = 0.129;
  border.bry = 0.04;
  const double far = ProbeIterationsPerPixel(wide), near = ProbeIterationsPerPixel(border);
  EXPECT_GT(far, 1);
  EXPECT_GT(near, 2 * far);
  EXPECT_GT(TFilmTimeEstimate::FrameCost(100, near), TFilmTimeEstimate::FrameCost(100, far));
  EXPECT_GT(TFilmTimeEstimate::FrameCost(100, 0), 0);
}

}  // namespace
}  // namespace ork
