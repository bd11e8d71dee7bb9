// One pixel of a deep picture: its orbit iterated as the difference from a
// reference orbit, in double where the difference fits a double and in the
// extended-exponent type below that, with rebasing (the difference starts
// again from the reference's start whenever the pixel's orbit comes closer
// to it than the difference is large) and, where the reference lets it,
// many iterations skipped at once by the bilinear approximation table. The
// escape test, cycle test and zval are those of the double iteration, the
// cycle distances taken from differences so that they keep their meaning
// at tolerances far below a double's resolution.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/deep/deep_numbers.h"
#include "engine/deep/deep_reference.h"
#include "engine/iteration.h"

namespace ork::deep {

class TApproximationTable;

// The constants of one deep picture, shared by every pixel.
struct TDeepPicture {
  TDeepFormula formula;
  const TReferenceOrbit* start = nullptr;   // the orbit pixels begin on
  const TReferenceOrbit* rebase = nullptr;  // the orbit from the critical point
  const TApproximationTable* table = nullptr;  // on `start` and `rebase`, or null
  const TApproximationTable* rebase_table = nullptr;
  bool julia = false;
  int max_iter = 0;
  int zval_at = 0;
  int cycle_test = 1;
  int colz = 0, colzh = 0, colzv = 0;
  double max_abs = 0;
  TFloatExp acc;    // cycle tolerance
  double acc_d = 0; // the same as a double (0 below the double range)
  // Pixel (column, row) lies at the centre plus (column * dx - half_w,
  // half_h - row * dy), turned by the angle when `turned`.
  TFloatExp dx, dy, half_w, half_h;
  bool turned = false;
  double cos_a = 1, sin_a = 0;

  // The pixel's offset from the centre.
  void Offset(int column, int row, TFloatExp& ox, TFloatExp& oy) const;
};

// One entry of a pixel's cycle history: where its orbit was.
struct TDeepState {
  const TReferenceOrbit* ref = nullptr;
  int64_t r = 0;
  bool ext = false;   // the difference is held in f, else in d
  double d[4] = {0, 0, 0, 0};
  TFloatExp f[4];
  double z[4] = {0, 0, 0, 0};  // the full value rounded to double
  double scale = 0;            // |Z| + |difference|, for the rounding bound
};

// What the orbit recording of a picked pixel receives (it, x1, y1).
struct TDeepRecorder {
  virtual ~TDeepRecorder() = default;
  virtual void Record(int it, double x1, double y1) = 0;
};

// z(n) - z(n - lag) of one cycle-test slot as a scaled double: value =
// m * 2^s. It advances by a product with the orbit (no subtraction of
// nearby values), so it keeps its relative precision however small it gets.
// Only while the difference is small against the orbit (`tracked`): a
// large one is read off the orbit's doubles directly.
struct TLagDifference {
  double m[4] = {0, 0, 0, 0};
  int64_t s = 0;
  bool tracked = false;
};

// Per-thread scratch of the pixel iteration (the cycle history).
class TDeepPixelRunner {
 public:
  explicit TDeepPixelRunner(const TDeepPicture& picture);
  // Iterates pixel (column, row). `sampled` tells whether zval was taken
  // (else the picture loop hands the previous pixel's on).
  TPixelResult Run(int column, int row, bool& sampled, TDeepRecorder* recorder = nullptr);
  // Iterations skipped by the approximation table over all pixels run.
  long long skipped = 0;

 private:
  // Takes as many steps at once as the approximation table allows.
  void Approximate(TDeepState& s, int& it, TDeepState& first, int& filled, double dcx,
                   double dcy);

  const TDeepPicture& pic_;
  std::vector<TDeepState> ring_;     // the last CycleTest + 1 states
  std::vector<TLagDifference> lags_;  // slot i at lags_[i - 1]
  int ringHead_ = 0;
};

}  // namespace ork::deep
