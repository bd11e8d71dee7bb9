#include "film/film_time_estimate.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/iteration.h"
#include "engine/view.h"

namespace ork {

namespace {

// Colouring, composing and writing one pixel, in iterations of the
// computation (measured on films of the shipped start movie).
constexpr double kPixelOverheadIterations = 25;

}  // namespace

double ProbeIterationsPerPixel(const TParameter& frame, int samples) {
  const int width = std::max(frame.OutputWidth, 1), height = std::max(frame.OutputHeight, 1);
  const double step = std::sqrt(static_cast<double>(width) * height / std::max(samples, 1));
  const int columns = std::clamp(static_cast<int>(width / step), 1, width);
  const int rows = std::clamp(static_cast<int>(height / step), 1, height);
  TParameter probe = frame;
  // The same plane rectangle on a coarser grid; the cycle tolerance stays
  // the full picture's (it follows the picture height otherwise).
  if (probe.Accurate == 0) probe.Accurate = frame.bry / height / 1000;
  probe.OutputWidth = columns;
  probe.OutputHeight = rows;
  TIterationContext context(probe);
  const TViewMapping view(probe);
  double iterations = 0;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      double sx1, sy1, sx2, sy2;
      view.Map(column, row, sx1, sy1, sx2, sy2);
      iterations += IteratePixel(context, sx1, sy1, sx2, sy2).it;
    }
  }
  return iterations / (static_cast<double>(columns) * rows);
}

TFilmTimeEstimate::TFilmTimeEstimate(std::vector<double> frameCosts)
    : costs_(std::move(frameCosts)), costBefore_(costs_.size() + 1, 0.0) {
  for (size_t i = 0; i < costs_.size(); ++i) costBefore_[i + 1] = costBefore_[i] + costs_[i];
}

double TFilmTimeEstimate::FrameCost(double pixels, double iterationsPerPixel) {
  return pixels * (kPixelOverheadIterations + iterationsPerPixel);
}

void TFilmTimeEstimate::FrameDone(int index, double elapsedSeconds) {
  done_ = std::clamp(index + 1, 0, static_cast<int>(costs_.size()));
  elapsed_ = elapsedSeconds;
}

double TFilmTimeEstimate::RemainingSeconds() const {
  if (done_ == 0) return -1;
  const double doneCost = costBefore_[done_];
  const double restCost = costBefore_.back() - doneCost;
  if (doneCost <= 0) return elapsed_ / done_ * (costs_.size() - done_);
  return elapsed_ * restCost / doneCost;
}

}  // namespace ork
