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
#include <functional>
#include <vector>

#include "engine/deep/deep_lag.h"
#include "engine/deep/deep_numbers.h"
#include "engine/deep/deep_reference.h"
#include "engine/iteration.h"
#include "engine/lane_kernels.h"

namespace ork::deep {

class TApproximationTable;
struct TLeanLane;

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
  // Uncoupled pixels with CycleTest up to 64 take their ordinary
  // iterations in the lean steps (off only to compare with the plain loop).
  bool lean_steps = true;
  // The vector lanes they take (below AVX2 several pixels side by side in
  // scalar code).
  TSimd lean_simd = TSimd::kScalar;

  // The pixel's offset from the centre.
  void Offset(int column, int row, TFloatExp& ox, TFloatExp& oy) const;
};

// What the orbit recording of a picked pixel receives (it, x1, y1).
struct TDeepRecorder {
  virtual ~TDeepRecorder() = default;
  virtual void Record(int it, double x1, double y1) = 0;
};

// One pixel's iteration in progress, so that several pixels can be
// iterated side by side.
struct TDeepPixel {
  int column = 0;
  TDeepState s;
  TDeepState first;  // where the cycle history (re)started
  TFloatExp dcx, dcy;  // the constant's difference (0 in Julia mode)
  double dcxd = 0, dcyd = 0;
  int64_t dcTop = 0;  // the larger exponent of dcx and dcy
  int it = 0, head = 0, filled = 0, period = 0;
  bool over = false, escaped = false, sampled = false;
  bool approximated = false;  // the lean steps ended on a run of the table
  double zval = 0;
  std::vector<TDeepState> ring;      // the last CycleTest + 1 states
  std::vector<TLagDifference> lags;  // slot i at lags[i - 1]
  // The ring's z0, z1 and scale twice over (place p at p and p + ring
  // size), so that the slots from the head back lie one after the other.
  std::vector<double> ring_z0, ring_z1, ring_scale;
  // Puts s at the ring's place `at` (with its copy).
  void Remember(int at, const TDeepState& s) {
    ring[at] = s;
    Mirror(at, s.z[0], s.z[1], s.scale);
  }
  void Mirror(int at, double z0, double z1, double scale) {
    const size_t rs = ring.size();
    ring_z0[at] = ring_z0[at + rs] = z0;
    ring_z1[at] = ring_z1[at + rs] = z1;
    ring_scale[at] = ring_scale[at + rs] = scale;
  }
};

// Per-thread scratch of the pixel iteration (the cycle histories).
class TDeepPixelRunner {
 public:
  explicit TDeepPixelRunner(const TDeepPicture& picture);
  // Iterates pixel (column, row). `sampled` tells whether zval was taken
  // (else the picture loop hands the previous pixel's on).
  TPixelResult Run(int column, int row, bool& sampled, TDeepRecorder* recorder = nullptr);
  // Every pixel of `row` (columns 0 ... width - 1), several side by side
  // where the lean steps apply; emit(column, result, sampled) for each, in
  // no particular column order. The results are those of Run.
  using TEmit = std::function<void(int column, const TPixelResult& result, bool sampled)>;
  void RunRow(int row, int width, const TEmit& emit);
  // Iterations skipped by the approximation table over all pixels run.
  long long skipped = 0;

  // For the row kernels that step pixels in vector lanes.
  const TDeepPicture& Picture() const { return pic_; }
  void Begin(TDeepPixel& x, int column, int row);
  // One iteration of the plain loop; true when the pixel is done.
  bool Step(TDeepPixel& x, TDeepRecorder* recorder);
  TPixelResult End(const TDeepPixel& x) const;
  // Whether a new pixel (no step yet, CycleTest 1) may go to the lean
  // steps from its start.
  bool LeanFresh(const TDeepPixel& x) const {
    return lean_ && !x.s.ext && x.it == 0 && x.filled == 0 && x.lags.size() == 1;
  }
  // Whether the lean steps take the pixel's next iterations.
  bool Lean(const TDeepPixel& x) const {
    if (!lean_ || x.s.ext || x.filled != static_cast<int>(x.lags.size())) return false;
    for (const TLagDifference& w : x.lags) {
      if (w.tracked) return false;
    }
    return true;
  }
  // Pixel slots for side-by-side iteration (as many as asked, kept).
  TDeepPixel& Slot(int i);

 private:
  // Takes as many steps at once as the approximation table allows.
  void Approximate(TDeepPixel& x);
  // The same for a difference in the extended type.
  void ApproximateTiny(TDeepPixel& x, const TApproximationTable& table);
  // Visits the values the cycle test looks back to; false (and stops)
  // where one is not on this reference one step apart from the next.
  template <class TVisit>
  bool History(const TDeepPixel& x, const TVisit& visit) const;
  // The runs find(node) offers (their steps; 0 for none), one after the
  // other, apply(node) moving the difference; returns the steps taken.
  template <class TFind, class TApply>
  int64_t TakeRuns(TDeepPixel& x, const TFind& find, const TApply& apply);
  // After `done` steps of runs: the pixel's full value, and the cycle
  // history starts again.
  void Approximated(TDeepPixel& x, int64_t done);
  template <int F>
  void RunRowLean(int row, int width, const TEmit& emit);
  // The lean step for the picture's cycle test (deep_lean.h).
  template <int F>
  int LeanAny(TDeepPixel& x, TLeanLane& l);

  const TDeepPicture& pic_;
  bool lean_ = false;  // uncoupled with CycleTest 1 ... kLeanCycleTest (64)
  TDeepPixel one_;
  std::vector<TDeepPixel> lanes_;
};

}  // namespace ork::deep
