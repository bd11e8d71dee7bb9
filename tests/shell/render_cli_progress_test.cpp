#include "shell/render_cli_progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace ork {
namespace {

TFilmProgress At(int frame, double elapsed, double remaining) {
  TFilmProgress p;
  p.Frame = frame;
  p.First = 1;
  p.Last = 447;
  p.ElapsedSeconds = elapsed;
  p.RemainingSeconds = remaining;
  return p;
}

TEST(FilmProgressLine, SaysFramePercentRateElapsedAndRemaining) {
  EXPECT_EQ(FilmProgressLine(At(123, 51.2, 134.4)),
            "frame 123/447 (27%), 2.40 fps, elapsed 0:00:51, remaining 0:02:14");
  EXPECT_EQ(FilmProgressLine(At(1, 0, -1)),
            "frame 1/447 (0%), 0.00 fps, elapsed 0:00:00, remaining --:--:--");
  EXPECT_EQ(ClockText(3 * 3600 + 62), "3:01:02");
  // A range job counts its own frames.
  TFilmProgress range = At(150, 10, 40);
  range.First = 101;
  range.Last = 300;
  EXPECT_EQ(FilmProgressLine(range), "frame 150/300 (25%), 5.00 fps, elapsed 0:00:10, remaining 0:00:40");
}

TEST(FilmProgressLine, PacerShowsTheFirstFrameThenOneLinePerPeriodAndTheLast) {
  TProgressPacer pacer(5);
  std::vector<int> shown;
  for (int frame = 1; frame <= 447; ++frame)
    if (pacer.Due(At(frame, frame * 0.5, 1))) shown.push_back(frame);
  ASSERT_EQ(shown.size(), 46u);
  EXPECT_EQ(shown[0], 1);
  EXPECT_EQ(shown[1], 11);
  EXPECT_EQ(shown.back(), 447);
}

}  // namespace
}  // namespace ork
