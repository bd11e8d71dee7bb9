// The lean lane kernel: formulas 1000, 1001 and 1002 without coupling
// (ParamA = 0) and a cycle test of one slot, the most common pictures, bit
// for bit what the scalar loop gives.
//
// What makes it lean, and why each part is exact:
// - Without coupling orbit 2 is orbit 1's copy after every step, so only
//   orbit 1 is stepped, and the tests add its two parts twice in the
//   written order; that needs both orbits to start equal. The coupling
//   terms p*x2, p*y2 of 1000 and 1001 are +-0 while orbit 2 is finite (a
//   continuing orbit is: a finite bound stops an infinite one, and a NaN
//   meets the cycle test), and adding +-0 changes nothing that is not -0:
//   x*x - y*y + cx and x*x + y*y + cx never are, 2*x*y + cy and cy are not
//   unless cy is -0. The scalar loop checks the same (Fast1000Allowed); a
//   row with any pixel outside these conditions takes the general lane
//   kernel.
// - No per-step iteration counter: the only events that depend on the
//   count (the zval sample and passing Max_Iterat) are scheduled. The lanes
//   run free until the earliest event of any lane, and that step alone is
//   checked against the counts.
// - The escape and cycle tests are screened, each with one bound N of a
//   pair of magnitudes, max(|p|, |q|) <= N <= fl(|p| + |q|) (AbsBound: the
//   larger one where an instruction gives it, else the sum). With
//   s = fl(|x| + |y|) the escape sum ((|x| + |y|) + |x|) + |y| is at most
//   fl(3s) < 4s, and s <= 2N, so N <= Max_(X+Y) / 8 rules an escape out.
//   While the orbit and its previous value are finite, the cycle distance
//   ((a + b) + a) + b with a = |x - x'|, b = |y - y'| is at least
//   t = fl(a + b) >= N (adding finite non-negative terms never lowers a
//   rounded sum). With t normal it is even at least 2t(1 - 4u) (three
//   roundings of relative error u = 2^-53, and t <= (a + b)(1 + u)), so a
//   tolerance of at least 1e-300 is ruled out from N >= tolerance / 2
//   (1 + 1e-10) on, a smaller one from N >= tolerance. Slowly converging
//   orbits, whose step shrinks through the tolerance while turning, thus
//   meet the exact test once or twice, not at every step in which one
//   component happens to be small.
//   A continuing orbit with a finite bound was finite before the step, and
//   from finite values a part turns NaN only as inf - inf of two
//   overflowing squares (1000, 1002), when the other part, 2xy + cy,
//   overflows as well: so any step leaving numbers behind fails the
//   size screen, whichever bound N takes (even one that ignores a single
//   NaN). Whenever a screen does not rule its test out, the exact test
//   decides that step.
//   One size screen can stand for several steps: where Max_(X+Y) leaves
//   room, a step whose size is within a smaller bound cannot reach
//   Max_(X+Y) / 8 in the next steps of its run (SizeBeforeStep), which then
//   take the cycle screen alone. A screen that fails where the exact test
//   finds no end is followed by a few exact steps, because an orbit that
//   closes in slowly on a fixed point fails the cycle screen at many
//   steps in a row before it meets the test.
// - Several independent groups of lanes step side by side, each group's
//   state in registers.
//
// Included by lane_kernel.h inside each instruction set's target region.
#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/formulas.h"
#include "engine/iteration.h"
#include "engine/row_kernel.h"

namespace ork {
namespace {

// Every pixel's start in the row being computed: the orbit's first value
// and its constant, found while the row is checked. Kept by the row
// kernel, so that the arrays are sized once per picture.
struct TLeanStarts {
  std::vector<double> x, y, cx, cy;
  double c_max = 0;  // the largest |cx|, |cy| of the row's pixels
};

template <class V, int G, int F>
class TLeanRow {
  using L = TLanes<V>;
  using M = typename L::Mask;
  static constexpr int kN = L::kWidth;
  static constexpr int kLanes = kN * G;
  // Exact steps after a screen failed without an end (see Run).
  static constexpr long long kExactBurst = 16;

 public:
  // Whether the picture allows the lean step at all: 1000, 1001 or 1002
  // uncoupled, a finite escape bound (at least 4, below which the escape
  // screen would fail at most steps; the idle lanes, whose values reach
  // magnitude 1, pass it from a bound of 8 on). This row kernel takes one
  // slot; the general one takes the step for more.
  static bool PictureFits(const TIterationContext& start, int formula) {
    return (formula == kF1000 || formula == kF1001 || formula == kF1002) &&
           !start.Env().coupled && std::isfinite(start.MaxAbs()) && start.MaxAbs() >= 4;
  }

  // The escape sum of both orbits, orbit 2 being orbit 1's copy.
  static V ExactSum(V x, V y) { return ((L::Abs(x) + L::Abs(y)) + L::Abs(x)) + L::Abs(y); }

  // The least bound of |x - x'| and |y - y'| (or of fl(|x - x'| + |y - y'|))
  // that rules a cycle out.
  static double CycleScreen(double acc) { return acc >= 1e-300 ? acc * (0.5 + 5e-11) : acc; }

  // 2 * x, exactly, as a product: the compiler would make it x + x, and the
  // adders are the step's busier units (a tenth faster on 8 lanes).
  ORK_STEP_INLINE static V Twice(V x) {
    V two = L::Splat(2.0);
    __asm__("" : "+v"(two));
    return x * two;
  }

  // One step of orbit 1, as the formula writes it without the coupling.
  ORK_STEP_INLINE static void Step(V x, V y, V cx, V cy, V& nx, V& ny) {
    if constexpr (F == kF1000) {
      nx = x * x - y * y + cx;
      ny = Twice(x) * y + cy;
    } else if constexpr (F == kF1001) {
      nx = x * x + y * y + cx;
      ny = cy;
    } else {
      static_assert(F == kF1002);
      nx = Twice(x) * y + cy;
      ny = x * x - y * y + cx;
    }
  }

  // Whether every pixel of the row starts as the lean step needs; their
  // starts go to `starts`.
  static bool RowFits(TIterationContext& start, const TViewMapping& view, int row, int width,
                      TLeanStarts& starts) {
    starts.x.resize(width);
    starts.y.resize(width);
    starts.cx.resize(width);
    starts.cy.resize(width);
    starts.c_max = 0;
    if (start.StartsFromZero() && !view.turned && width > 0) {
      // Every pixel starts at 0 with its point as the constant, and the
      // row's points share their y: only a y of -0 turns the row away.
      double sx1, sy1, sx2, sy2;
      view.Map(0, row, sx1, sy1, sx2, sy2);
      const bool fits = !(sy1 == 0 && std::signbit(sy1));
      for (int col = 0; fits && col < width; ++col) {
        view.Map(col, row, sx1, sy1, sx2, sy2);
        starts.x[col] = 0;
        starts.y[col] = 0;
        starts.cx[col] = sx1;
        starts.cy[col] = sy1;
        starts.c_max = std::max({starts.c_max, std::fabs(sx1), std::fabs(sy1)});
      }
      // The constants as the pixel-by-pixel loop leaves them: those of its
      // last pixel, or of the first that does not fit.
      start.StartValues(sx1, sy1, sx2, sy2);
      return fits;
    }
    for (int col = 0; col < width; ++col) {
      double sx1, sy1, sx2, sy2;
      view.Map(col, row, sx1, sy1, sx2, sy2);
      const TOrbit z = start.StartValues(sx1, sy1, sx2, sy2);
      const double c1y = start.Env().c1y;
      if (!(std::isfinite(z.x2) && std::isfinite(z.y2) && !(c1y == 0 && std::signbit(c1y)) &&
            z.x1 == z.x2 && z.y1 == z.y2)) {
        return false;
      }
      starts.x[col] = z.x1;
      starts.y[col] = z.y1;
      starts.cx[col] = start.Env().c1x;
      starts.cy[col] = c1y;
      starts.c_max = std::max({starts.c_max, std::fabs(starts.cx[col]), std::fabs(c1y)});
    }
    return true;
  }

  TLeanRow(const TIterationContext& start, const TPictureJob& job, const TLeanStarts& starts)
      : start_(start), job_(job), starts_(starts) {}

  __attribute__((flatten)) void Run(TRowScratch& scratch,
                                    const std::atomic<bool>& stop) {
    const int W = job_.width;
    scratch.used = 0;
    scratch.AddSegment(0, W, true);
    out_ = scratch.Buffers();
    next_col_ = 0;
    n_ = 0;
    max_iter_ = start_.MaxIterations();
    zval_at_ = start_.ZvalAt();
    next_event_ = std::numeric_limits<long long>::max();
    active_ = 0;

    TState st;
    for (int g = 0; g < G; ++g) {
      st.x[g] = st.y[g] = st.cx[g] = st.cy[g] = st.hx[g] = st.hy[g] = L::Splat(0);
      born_[g] = zv_[g] = L::Splat(0);
    }
    for (int lane = 0; lane < kLanes; ++lane) Load(lane, st);

    const V max_abs = L::Splat(start_.MaxAbs());
    const V acc = L::Splat(start_.Acc());
    const double size_bound = start_.MaxAbs() * 0.125;
    // The longest run of steps (up to 4) that one size screen covers, and
    // that screen's bound; the idle lanes' constants have magnitude 1.
    const double c_max = std::max(starts_.c_max, 1.0);
    int run = 1;
    double run_bound = size_bound;
    for (; run < 4; ++run) {
      const double b = SizeBeforeStep(run_bound, c_max);
      if (b == 0) break;
      run_bound = b;
    }
    // The groups' state in registers; `st` holds it while lanes change.
    TState l = st;
    while (active_ != 0) {
      // Free steps: no lane reaches an event in them.
      const long long free = next_event_ - n_ - 1;
      bool screened = false;
      if (free > 0) {
        switch (run) {
          case 4: n_ += RunFree<4>(l, free, run_bound, screened); break;
          case 3: n_ += RunFree<3>(l, free, run_bound, screened); break;
          case 2: n_ += RunFree<2>(l, free, run_bound, screened); break;
          default: n_ += RunFree<1>(l, free, run_bound, screened); break;
        }
      }
      int done = 0, escaped = 0, hits = 0;
      if (screened) {
        // The last step failed a screen: its exact tests (no event in it).
        done = ExactTests(l, max_abs, acc, escaped, hits);
        // A screen that failed without an end (mostly an orbit closing in
        // slowly on a fixed point, which fails the cycle screen for many
        // steps before it meets the test) is ridden out with a few exact
        // steps, cheaper than leaving the free steps at each.
        const long long burst = std::min(next_event_ - n_ - 1, kExactBurst);
        for (long long b = 0; b < burst && done == 0; ++b) {
          ++n_;
          StepExactly(l);
          done = ExactTests(l, max_abs, acc, escaped, hits);
        }
      } else {
        // The event step: every test exact, the counts compared.
        ++n_;
        const V now = L::Splat(static_cast<double>(n_));
        const V max_iter = L::Splat(max_iter_);
        const V zval_at = L::Splat(zval_at_);
        StepExactly(l);
        int over = 0;
        ForGroups([&](auto gc) {
          constexpr int g = decltype(gc)::value;
          const V it = now - born_[g];
          const int lanes = (active_ >> (g * kN)) & ((1 << kN) - 1);
          over |= (L::Bits(L::Gt(it, max_iter)) & lanes) << (g * kN);
          const M sample = L::Eq(it, zval_at);
          if (L::Bits(sample) != 0) {
            const V dx = l.hx[g] - l.x[g], dy = l.hy[g] - l.y[g];
            zv_[g] = L::Select(sample, dx * dx + dy * dy, zv_[g]);
          }
        });
        done = ExactTests(l, max_abs, acc, escaped, hits) | over;
      }
      if (done != 0) {
        if (stop.load(std::memory_order_relaxed)) return;
        st = l;
        Finish(done, escaped, hits, st);
        l = st;
      }
      if (!screened) NextEvent();
    }
  }

 private:
  static V ExactDistance(V hx, V hy, V x, V y) {
    const V a = L::Abs(hx - x), b = L::Abs(hy - y);
    return ((a + b) + a) + b;
  }


  // The orbit state of every group; hx, hy: the values before the last step.
  struct TState {
    V x[G], y[G], cx[G], cy[G], hx[G], hy[G];
  };

  // One step of every group without screens (the caller tests it exactly).
  ORK_STEP_INLINE static void StepExactly(TState& l) {
    ForGroups([&](auto gc) {
      constexpr int g = decltype(gc)::value;
      l.hx[g] = l.x[g];
      l.hy[g] = l.y[g];
      Step(l.hx[g], l.hy[g], l.cx[g], l.cy[g], l.x[g], l.y[g]);
    });
  }

  // The exact escape and cycle tests of every group's last step, for the
  // active lanes: the lanes that escaped or met the test, and which.
  ORK_STEP_INLINE int ExactTests(const TState& l, V max_abs, V acc, int& escaped,
                                 int& hits) const {
    int done = 0;
    ForGroups([&](auto gc) {
      constexpr int g = decltype(gc)::value;
      const int lanes = (active_ >> (g * kN)) & ((1 << kN) - 1);
      const int e = L::Bits(L::Gt(ExactSum(l.x[g], l.y[g]), max_abs)) & lanes;
      const int h =
          L::Bits(L::Not(L::Ge(ExactDistance(l.hx[g], l.hy[g], l.x[g], l.y[g]), acc))) & lanes;
      escaped |= e << (g * kN);
      hits |= h << (g * kN);
      done |= (e | h) << (g * kN);
    });
    return done;
  }

  template <class Fn>
  ORK_STEP_INLINE static void ForGroups(Fn&& fn) {
    [&]<int... I>(std::integer_sequence<int, I...>) {
      (fn(std::integral_constant<int, I>{}), ...);
    }(std::make_integer_sequence<int, G>{});
  }

  // The bound B on a step's size max(|x|, |y|) below which the next step's
  // size stays within `size_bound` whatever its constant (at most c_max in
  // magnitude), or 0 where that leaves too little room. For every formula
  // here a step from size a gives parts of magnitude at most
  // (2a^2(1 + u)^2 + c_max)(1 + u); the factors 0.999 cover that and the
  // roundings of this computation many times over. The bound is finite, so
  // a size within it leaves numbers behind, and the next step from them
  // does as well.
  static double SizeBeforeStep(double size_bound, double c_max) {
    const double room = size_bound * 0.999 - c_max;
    const double b = room > 0 ? std::sqrt(room * 0.5) * 0.999 : 0;
    return b >= 4 ? b : 0;
  }

  // One step of group g and its screens: the size screen against
  // `size_bound` where kSized, the cycle screen always. The lanes that pass.
  template <int g, bool kSized, bool kSubOnMul>
  ORK_STEP_INLINE static M ScreenedStep(TState& l, V size_bound, V step_bound) {
    l.hx[g] = l.x[g];
    l.hy[g] = l.y[g];
    V nx, ny;
    Step(l.x[g], l.y[g], l.cx[g], l.cy[g], nx, ny);
    const V dx = kSubOnMul ? L::DifferenceOnMultiplier(l.x[g], nx) : l.x[g] - nx;
    const V moved = L::AbsBound(dx, l.y[g] - ny);
    l.x[g] = nx;
    l.y[g] = ny;
    if constexpr (kSized) {
      return L::LeAndGe(L::AbsBound(nx, ny), size_bound, moved, step_bound);
    } else {
      return L::Ge(moved, step_bound);
    }
  }

  // One step of every group; whether every lane passed its screens.
  template <bool kSized, bool kSubOnMul = false>
  ORK_STEP_INLINE static bool StepAll(TState& l, V size_bound, V step_bound) {
    M pass{};
    ForGroups([&](auto gc) {
      constexpr int g = decltype(gc)::value;
      const M p = ScreenedStep<g, kSized, kSubOnMul>(l, size_bound, step_bound);
      if constexpr (g == 0) {
        pass = p;
      } else {
        pass = L::And(pass, p);
      }
    });
    return L::Bits(L::Not(pass)) == 0;
  }

  // Steps K + 1 to kRun - 1 of a run (see RunFree), with the cycle screen
  // alone; false where the free steps ended or a screen failed.
  template <int K, int kRun>
  ORK_STEP_INLINE static bool RunRest(TState& l, long long& s, long long free, V size,
                                      V step_bound, bool& screened) {
    if constexpr (K >= kRun) {
      return true;
    } else {
      if (s == free) return false;
      ++s;
      // Every other step's x difference on the multipliers: the steps
      // without the size screen leave the adders the busier units.
      if (!StepAll<false, K % 2 == 1>(l, size, step_bound)) {
        screened = true;
        return false;
      }
      return RunRest<K + 1, kRun>(l, s, free, size, step_bound, screened);
    }
  }

  // Up to `free` steps of every group; stops after a step in which some
  // lane failed a screen (`screened` set). Returns the steps taken.
  // The steps go in runs of kRun: the first one's size screen is against
  // `size_bound`, which keeps the run's last step within Max_(X+Y) / 8
  // (see SizeBeforeStep), so that the others cannot come near an escape
  // and take the cycle screen alone. With kRun = 1 `size_bound` is
  // Max_(X+Y) / 8 itself.
  template <int kRun>
  ORK_STEP_INLINE long long RunFree(TState& l, long long free, double size_bound,
                                    bool& screened) const {
    const V size = L::Splat(size_bound);
    const V step_bound = L::Splat(CycleScreen(start_.Acc()));
    long long s = 0;
    while (s < free) {
      ++s;
      if (!StepAll<true>(l, size, step_bound)) {
        screened = true;
        break;
      }
      if (!RunRest<1, kRun>(l, s, free, size, step_bound, screened)) break;
    }
    return s;
  }

  // The next pixel of the row into the lane, or the lane idles on an exact
  // 2-cycle that passes both screens for usual tolerances and bounds (and
  // is masked out in any case): 0 and -1 for c = -1 (1000, 1001), (0, 1/2)
  // and (1, -1/2) for c = (-1/4, 1) (1002).
  void Load(int lane, TState& st) {
    const int g = lane / kN, j = lane % kN;
    if (next_col_ < job_.width) {
      const int col = next_col_++;
      st.x[g][j] = starts_.x[col];
      st.y[g][j] = starts_.y[col];
      st.cx[g][j] = starts_.cx[col];
      st.cy[g][j] = starts_.cy[col];
      born_[g][j] = static_cast<double>(n_);
      zv_[g][j] = 0;
      cols_[lane] = col;
      active_ |= 1 << lane;
      const long long first = zval_at_ >= 1 ? zval_at_ : static_cast<long long>(max_iter_) + 1;
      next_event_ = std::min(next_event_, n_ + first);
    } else {
      st.x[g][j] = 0;
      st.y[g][j] = F == kF1002 ? 0.5 : 0;
      st.cx[g][j] = F == kF1002 ? -0.25 : -1;
      st.cy[g][j] = F == kF1002 ? 1 : 0;
      born_[g][j] = std::numeric_limits<double>::infinity();  // no events
      zv_[g][j] = 0;
      active_ &= ~(1 << lane);
    }
  }

  // Stores the finished lanes' pixels and loads the next ones.
  void Finish(int done, int escaped, int hits, TState& st) {
    // Unsigned: with 32 lanes the last one is the sign bit.
    for (unsigned pending = static_cast<unsigned>(done); pending != 0;) {
      const int lane = __builtin_ctz(pending);
      pending &= pending - 1;
      const int g = lane / kN, j = lane % kN;
      const int col = cols_[lane];
      const int it = static_cast<int>(static_cast<double>(n_) - born_[g][j]);
      out_.x1[col] = out_.x2[col] = st.x[g][j];
      out_.y1[col] = out_.y2[col] = st.y[g][j];
      out_.zval[col] = zv_[g][j];
      out_.count[col] = start_.Count(it, (escaped >> lane) & 1, false);
      out_.period[col] = (hits >> lane) & 1;
      out_.it[col] = it;
      Load(lane, st);
    }
  }

  // The earliest event of the active lanes after step n_: a lane born
  // after step b samples zval at b + ZvalAt and passes Max_Iterat at
  // b + Max_Iterat + 1. Idle lanes, born at infinity, have none.
  void NextEvent() {
    const V now = L::Splat(static_cast<double>(n_));
    const V zval_at = L::Splat(zval_at_);
    const V passed = L::Splat(max_iter_ + 1.0);
    V least = L::Splat(std::numeric_limits<double>::infinity());
    ForGroups([&](auto gc) {
      constexpr int g = decltype(gc)::value;
      const V b = born_[g];
      least = L::Min(least, b + L::Select(L::Gt(zval_at, now - b), zval_at, passed));
    });
    double m = least[0];
    for (int j = 1; j < kN; ++j) m = std::min(m, least[j]);
    next_event_ = std::isinf(m) ? std::numeric_limits<long long>::max() : static_cast<long long>(m);
  }

  const TIterationContext& start_;
  const TPictureJob& job_;
  const TLeanStarts& starts_;
  TRowBuffers out_{};
  int next_col_ = 0;
  long long n_ = 0;           // steps the groups have taken in this row
  long long next_event_ = 0;  // the step at which the earliest event falls
  int max_iter_ = 0, zval_at_ = 0;
  int active_ = 0;
  int cols_[kLanes] = {};
  V born_[G], zv_[G];  // the step before each lane's first, its zval
};

}  // namespace
}  // namespace ork
