// What one computing thread does with one picture row: iterate its pixels
// into a scratch row, and record for every segment of the row the cycle
// history it started from and the one it left, so that the thread that
// commits rows in order can check that the start was the true one.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/iteration.h"
#include "engine/view.h"
#include "model/parameter.h"

namespace ork {

// Pixels iterated before a segment to fill its guessed history: what they
// push usually covers the cycle tests in use.
inline constexpr int kWarmUpPixels = 2;

// A run of pixels of one row computed from one start history.
struct TSegmentRecord {
  int begin = 0, end = 0;  // columns
  bool exact = false;      // started from the true history: nothing to check
  std::vector<double> assumed;  // the history the first pixel was given
  std::vector<double> leaving;  // the history after the last pixel
};

// One row's results before they are committed to the render object.
struct TRowScratch {
  std::vector<double> x1, y1, x2, y2, zval;
  std::vector<int32_t> count, period, it;
  std::vector<TSegmentRecord> segments;  // in column order, the first `used`
  int used = 0;

  void Resize(int width, int historyDoubles);
  // The next segment record, its histories sized.
  TSegmentRecord& AddSegment(int begin, int end, bool exact);
  TRowBuffers Buffers() {
    return TRowBuffers{x1.data(),    y1.data(),     x2.data(), y2.data(),
                       zval.data(), count.data(), period.data(), it.data()};
  }

 private:
  int history_doubles_ = 0;
};

// The picture's constants that every kernel shares.
struct TPictureJob {
  const TParameter* keyframe = nullptr;  // read only while the picture computes
  const TViewMapping* view = nullptr;
  int width = 0, height = 0;
  int cycle_test = 1;  // raised to at least 1
  // History values pushed per pixel in the rows computed so far (0: none
  // known yet); how far back a warm-up must reach to refill a history.
  double pushes_per_pixel = 0;
};

class TRowKernel {
 public:
  virtual ~TRowKernel() = default;
  // Computes `row` into scratch. trueHistory is the history the row's first
  // pixel really inherits, or null when it is not known yet; then every
  // segment starts from a guess: `guessFrom` (the latest true history the
  // caller knows; null: the history a new context has), warmed up on the
  // pixels before the segment. Pixels that push little into the history
  // leave it as it was long before, so the latest true history is then the
  // better guess. Returns early (the row incomplete) once `stop` is set.
  virtual void ComputeRow(int row, const double* trueHistory, TRowScratch& scratch,
                          const std::atomic<bool>& stop, const double* guessFrom = nullptr) = 0;
};

// The kernel on single pixels through the fast iteration: every formula,
// one segment per row.
std::unique_ptr<TRowKernel> MakeScalarRowKernel(const TPictureJob& job);

// The pixel just before linear index g = row * width + column, as (row,
// column); false before the first pixel.
inline bool PreviousPixel(int width, int& row, int& column) {
  if (column > 0) {
    --column;
    return true;
  }
  if (row == 0) return false;
  --row;
  column = width - 1;
  return true;
}

}  // namespace ork
