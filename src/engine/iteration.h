// The iteration of one pixel: start values, formula steps, escape and cycle
// tests. A context lives for one computation and carries state from pixel
// to pixel (the cycle history and zval), so pixels must be iterated in row
// order through one context; that carry-over is part of every result.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/cycle_stream.h"
#include "engine/formulas.h"
#include "engine/view.h"
#include "model/parameter.h"

namespace ork {

// What every history slot holds when a computation starts (x1, y1, x2, y2:
// single-precision 1.1 and 0.9 widened).
inline constexpr double kHistoryStart[4] = {static_cast<double>(1.1f), 10097.0, 2.0,
                                            static_cast<double>(0.9f)};

// What one pixel hands to the render buffers.
struct TPixelResult {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // final orbit values
  int it = 0;              // iterations run (at most Max_Iterat + 1)
  bool escaped = false;    // |x1|+|y1|+|x2|+|y2| passed Max_(X+Y)
  bool guard = false;      // a division met a nearly zero divisor
  int period = 0;          // cycle length found in the last iteration, 0 none
  double zval = 0;         // squared step length sampled at Max_Iterat / 10
  int32_t count = 0;       // it + colz (+ colzh when escaped) (+ colzv on guard)
};

// Where the selected pixel's orbit is recorded while DynamicsMode != 0:
// x[it], y[it] = x1, y1 at the start of iteration it (it = 1 ... n), only as
// far as `size` reaches; n and the largest |x|, |y| are kept. When `it`
// finds no room, grow (if set) may move x and y and raise size; a record
// that does not grow stops there.
struct TOrbitRecording {
  double* x = nullptr;
  double* y = nullptr;
  size_t size = 0;
  int n = 0;
  double maxX = 0, maxY = 0;
  void (*grow)(TOrbitRecording& recording, size_t it) = nullptr;

  void Record(int it, double x1, double y1) {
    if (static_cast<size_t>(it) >= size && grow) grow(*this, it);
    if (static_cast<size_t>(it) >= size) return;  // a too short record stops growing
    x[it] = x1;
    y[it] = y1;
    n = it;
    if (std::fabs(x1) > maxX) maxX = std::fabs(x1);
    if (std::fabs(y1) > maxY) maxY = std::fabs(y1);
  }
};

// Destinations of one picture row (each points at the row's first pixel).
// `it` receives the iterations each pixel ran (how far its orbit got, which
// the parallel picture loop needs); it may be null.
struct TRowBuffers {
  double* x1;
  double* y1;
  double* x2;
  double* y2;
  double* zval;
  int32_t* count;
  int32_t* period;
  int32_t* it = nullptr;

  void Put(int col, const TPixelResult& r) const {
    x1[col] = r.x1;
    y1[col] = r.y1;
    x2[col] = r.x2;
    y2[col] = r.y2;
    zval[col] = r.zval;
    count[col] = r.count;
    period[col] = r.period;
    if (it != nullptr) it[col] = r.it;
  }
};

// A cycle test of this many slots or more keeps its history as the stream
// of orbit values the computation has produced (see TIterationContext);
// tests lower it to compare both ways of keeping the history.
inline constexpr int kLongCycleHistory = 4096;
void SetLongCycleHistoryFrom(int cycleTest);  // 0: back to kLongCycleHistory

class TIterationContext {
 public:
  // Reads GameNo, julia, CCx/CCy, par, Accurate (0: bry / OutputHeight /
  // 1000), ianzmax, maxabs, zyctest (values below 1 count as 1), colz,
  // colzh, colzv and FileNameKey ("Stop!..." is a stop frame). The keyframe
  // itself is not changed.
  explicit TIterationContext(const TParameter& keyframe);

  // Orbit-recording mode: every pixel ends after its first history update
  // except those for which SelectOrbitPixel(true) was called last, whose
  // orbit goes into `recording` (kept by the caller, must outlive the use).
  void StartOrbitRecording(TOrbitRecording* recording) { recording_ = recording; }
  void SelectOrbitPixel(bool selected) { orbit_selected_ = selected; }
  bool Recording() const { return recording_ != nullptr; }

  // Start values of a pixel by the formula's start rule; in Mandelbrot mode
  // the constants are set from the pixel as well (see Env()).
  TOrbit StartValues(double sx1, double sy1, double sx2, double sy2);
  // Whether formula 1000, 1001 or 1002 is in Mandelbrot mode: every pixel
  // starts at 0, its start points are its constants.
  bool StartsFromZero() const;
  // Constants, coupling and tolerance as they stand now.
  const TStepEnv& Env() const { return env_; }

  double Acc() const { return env_.acc; }
  int MaxIterations() const { return max_iter_; }  // Max_Iterat, at most INT_MAX - 1
  int ZvalAt() const { return zval_at_; }  // the iteration that samples zval
  double MaxAbs() const { return max_abs_; }
  int32_t Count(int it, bool escaped, bool guard) const;
  int CycleTest() const { return cycle_test_; }
  // The history is the stream of values produced so far (long cycle tests):
  // one loop for every formula, no vector lanes.
  bool LongHistory() const { return long_history_; }
  bool StopFrame() const { return stop_; }
  double Zval() const { return zval_; }

  // The fast iteration (one loop instantiated per formula, history in a
  // ring) and the plain one (the steps exactly as written, history arrays
  // moved slot by slot). They give the same results bit for bit; one
  // context must be used with one of them only.
  friend TPixelResult IteratePixel(TIterationContext& ctx, double sx1, double sy1,
                                   double sx2, double sy2);
  friend TPixelResult IteratePixelPlain(TIterationContext& ctx, double sx1, double sy1,
                                        double sx2, double sy2);

  // The pixels begin ... end - 1 of one row, mapped by `view`, iterated with
  // IteratePixel's results and stored into `out` (indexed by column);
  // returns the iterations run. Not for recording mode.
  friend long long IterateSegment(TIterationContext& ctx, const TViewMapping& view, int row,
                                  int begin, int end, const TRowBuffers& out);

  // The cycle history a pixel inherits from the pixels before it: slots 2 ...
  // CycleTest, four doubles (x1, y1, x2, y2) each, in slot order (slot 1 is
  // written before it is read, so it never carries over). Fast iteration
  // only (the ring or the long history). Two contexts whose histories and
  // zval agree give the next pixel the same result.
  int HistoryDoubles() const { return 4 * (cycle_test_ - 1); }
  void SaveHistory(double* out) const;
  void LoadHistory(const double* in);
  // The history as a new context has it.
  void ResetHistory();

  using TPixelFn = TPixelResult (*)(TIterationContext&, const TOrbit&);
  using TRowFn = long long (*)(TIterationContext&, const TViewMapping&, int, int, int,
                               const TRowBuffers&);

 private:
  template <int F, bool kOneSlot>
  friend TPixelResult RunPixel(TIterationContext&, const TOrbit&);
  template <bool kOneSlot>
  friend TPixelResult RunPixel1000Uncoupled(TIterationContext&, const TOrbit&);
  template <int F, bool kOneSlot>
  friend long long RunRow(TIterationContext&, const TViewMapping&, int, int, int,
                          const TRowBuffers&);
  friend TPixelResult RunPixelPlain(TIterationContext&, TOrbit);
  friend TPixelResult RunPixelLong(TIterationContext&, TOrbit);
  friend long long RunRowLong(TIterationContext&, const TViewMapping&, int, int, int,
                              const TRowBuffers&);

  // A pixel's result from the orbit and outcome its iteration ended with.
  TPixelResult Result(const TOrbit& z, int it, bool escaped, bool guard, int period,
                      double zval) const;

  int game_no_;
  TFormulaKind kind_;
  int julia_;
  TStepEnv env_;          // constants, coupling and tolerance
  int max_iter_;
  int zval_at_;           // trunc(Max_Iterat / 10)
  double max_abs_;
  int cycle_test_;
  int colz_, colzh_, colzv_;
  bool stop_;
  bool fast_1000_;        // formula 1000 uncoupled may drop the p*z2 terms
  double zval_ = 0;
  TPixelFn fast_ = nullptr;
  TRowFn fast_row_ = nullptr;

  // Plain history: slots 1..CycleTest of hx1, hy1, hx2, hy2, hdist.
  std::vector<double> hx1_, hy1_, hx2_, hy2_, hdist_;
  // Ring history of the fast path: slot i lives at ring position
  // head_ + i - 1 as four doubles (x1, y1, x2, y2), every slot written twice
  // (at q and q + CycleTest) so the slots always lie contiguous; two spare
  // positions for paired loads.
  std::vector<double> ring_;
  int head_ = 0;
  bool nonfinite_history_ = false;  // a start value was infinite or not a number

  // Long history: slots 2 ... CycleTest as the stream of values pushed.
  bool long_history_ = false;
  TCycleStream long_;

  TOrbitRecording* recording_ = nullptr;
  bool orbit_selected_ = false;
};

TPixelResult IteratePixel(TIterationContext& ctx, double sx1, double sy1, double sx2,
                          double sy2);
TPixelResult IteratePixelPlain(TIterationContext& ctx, double sx1, double sy1, double sx2,
                               double sy2);
long long IterateSegment(TIterationContext& ctx, const TViewMapping& view, int row, int begin,
                         int end, const TRowBuffers& out);
// The whole row: IterateSegment from column 0 to width.
inline long long IterateRow(TIterationContext& ctx, const TViewMapping& view, int row,
                            int width, const TRowBuffers& out) {
  return IterateSegment(ctx, view, row, 0, width, out);
}

}  // namespace ork
