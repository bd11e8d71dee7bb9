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
};

template <class V, int G, int F>
class TLeanRow {
  using L = TLanes<V>;
  using M = typename L::Mask;
  static constexpr int kN = L::kWidth;
  static constexpr int kLanes = kN * G;

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
    // The groups' state in registers; `st` holds it while lanes change.
    TState l = st;
    while (active_ != 0) {
      // Free steps: no lane reaches an event in them.
      const long long free = next_event_ - n_ - 1;
      bool screened = false;
      if (free > 0) n_ += RunFree(l, free, screened);
      int done = 0, escaped = 0, hits = 0;
      if (screened) {
        // The last step failed a screen: its exact tests (no event in it).
        ForGroups([&](auto gc) {
          constexpr int g = decltype(gc)::value;
          const int lanes = (active_ >> (g * kN)) & ((1 << kN) - 1);
          const int e = L::Bits(L::Gt(ExactSum(l.x[g], l.y[g]), max_abs)) & lanes;
          const int h =
              L::Bits(L::Not(L::Ge(ExactDistance(l.hx[g], l.hy[g], l.x[g], l.y[g]), acc))) &
              lanes;
          escaped |= e << (g * kN);
          hits |= h << (g * kN);
          done |= (e | h) << (g * kN);
        });
      } else {
        // The event step: every test exact, the counts compared.
        ++n_;
        const V now = L::Splat(static_cast<double>(n_));
        const V max_iter = L::Splat(max_iter_);
        const V zval_at = L::Splat(zval_at_);
        ForGroups([&](auto gc) {
          constexpr int g = decltype(gc)::value;
          const V it = now - born_[g];
          l.hx[g] = l.x[g];
          l.hy[g] = l.y[g];
          Step(l.hx[g], l.hy[g], l.cx[g], l.cy[g], l.x[g], l.y[g]);
          const int lanes = (active_ >> (g * kN)) & ((1 << kN) - 1);
          const int e = L::Bits(L::Gt(ExactSum(l.x[g], l.y[g]), max_abs)) & lanes;
          const int over = L::Bits(L::Gt(it, max_iter)) & lanes;
          const int h =
              L::Bits(L::Not(L::Ge(ExactDistance(l.hx[g], l.hy[g], l.x[g], l.y[g]), acc))) &
              lanes;
          const M sample = L::Eq(it, zval_at);
          if (L::Bits(sample) != 0) {
            const V dx = l.hx[g] - l.x[g], dy = l.hy[g] - l.y[g];
            zv_[g] = L::Select(sample, dx * dx + dy * dy, zv_[g]);
          }
          escaped |= e << (g * kN);
          hits |= h << (g * kN);
          done |= (e | h | over) << (g * kN);
        });
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

  template <class Fn>
  ORK_STEP_INLINE static void ForGroups(Fn&& fn) {
    [&]<int... I>(std::integer_sequence<int, I...>) {
      (fn(std::integral_constant<int, I>{}), ...);
    }(std::make_integer_sequence<int, G>{});
  }

  // Up to `free` steps of every group; stops after a step in which some
  // lane failed a screen (`screened` set). Returns the steps taken.
  ORK_STEP_INLINE long long RunFree(TState& l, long long free, bool& screened) const {
    const V size_bound = L::Splat(start_.MaxAbs() * 0.125);
    const V step_bound = L::Splat(CycleScreen(start_.Acc()));
    long long s = 0;
    while (s < free) {
      ++s;
      M any{};
      ForGroups([&](auto gc) {
        constexpr int g = decltype(gc)::value;
        l.hx[g] = l.x[g];
        l.hy[g] = l.y[g];
        V nx, ny;
        Step(l.x[g], l.y[g], l.cx[g], l.cy[g], nx, ny);
        const V size = L::AbsBound(nx, ny);
        const V moved = L::AbsBound(l.x[g] - nx, l.y[g] - ny);
        any = L::Or(any, L::Or(L::NotLe(size, size_bound), L::NotGe(moved, step_bound)));
        l.x[g] = nx;
        l.y[g] = ny;
      });
      if (L::Bits(any) != 0) {
        screened = true;
        break;
      }
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
      event_born_[lane] = n_;
      event_[lane] = n_ + first;
      next_event_ = std::min(next_event_, event_[lane]);
    } else {
      st.x[g][j] = 0;
      st.y[g][j] = F == kF1002 ? 0.5 : 0;
      st.cx[g][j] = F == kF1002 ? -0.25 : -1;
      st.cy[g][j] = F == kF1002 ? 1 : 0;
      born_[g][j] = static_cast<double>(n_);
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

  // The earliest event of the active lanes after step n_: the lanes whose
  // event was this step move on to their next one.
  void NextEvent() {
    next_event_ = std::numeric_limits<long long>::max();
    for (int lane = 0; lane < kLanes; ++lane) {
      if (!((active_ >> lane) & 1)) continue;
      if (event_[lane] <= n_) {
        const long long b = event_born_[lane];
        const long long at = n_ - b < zval_at_ ? zval_at_ : static_cast<long long>(max_iter_) + 1;
        event_[lane] = b + at;
      }
      next_event_ = std::min(next_event_, event_[lane]);
    }
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
  long long event_born_[kLanes] = {}, event_[kLanes] = {};  // that step, its next event
};

}  // namespace
}  // namespace ork
