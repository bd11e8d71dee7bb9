// The lane kernel: the fast iteration of the arithmetic formulas on one
// pixel per vector lane, bit for bit the scalar iteration's results (the
// same expressions in the same order, no contraction).
//
// A lane that finishes its pixel takes the next one at once. With a cycle
// test of one slot nothing but zval passes from pixel to pixel, so the
// lanes share one run of pixels. With more slots each lane runs its own
// stretch of the row with its own history, started from a guess that a
// few pixels before the stretch warm up; the stretches are the row's
// segments that the committing thread checks.
//
// The per-instruction-set files include this header inside their target
// region, after every other header; all here is local to that file.
#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/formulas.h"
#include "engine/iteration.h"
#include "engine/row_kernel.h"
#include "engine/lane_kernel_lean.h"

namespace ork {
namespace {

// Stretches per lane and row (more stretches balance the lanes better, each
// costs a warm-up), and the shortest stretch worth a warm-up.
constexpr int kStretchesPerLane = 2;
constexpr int kMinStretch = 24;
// The fewest pixels a lane takes over from another (a warm-up each time).
constexpr int kMinSteal = 6;

template <class V>
class TLaneRowKernel final : public TRowKernel {
  using L = TLanes<V>;
  using M = typename L::Mask;
  static constexpr int kN = L::kWidth;
  // With one slot, two groups of lanes step side by side: an iteration is
  // a chain of dependent operations, and a second independent chain fills
  // its gaps. With more slots the cycle test keeps the units busy anyway,
  // and more lanes would only idle more at the row's end.
  static constexpr int kMaxGroups = 2;
  static constexpr int Groups(bool oneSlot) { return oneSlot ? 2 : 1; }
  // The lean kernel's groups: as many as the registers hold.
  template <int F>
  using TLean = TLeanRow<V, kN == 8 ? 4 : 2, F>;

 public:
  explicit TLaneRowKernel(const TPictureJob& job)
      : job_(job), start_(*job.keyframe), ct_(job.cycle_test) {
    // Plain doubles with room to align: containers of vector types do not
    // reliably honour their alignment.
    if (ct_ > 1) {
      ring_storage_.resize(static_cast<size_t>(4) * ct_ * lanes_ + kN);
      const uintptr_t at = reinterpret_cast<uintptr_t>(ring_storage_.data());
      const uintptr_t align = sizeof(V);
      ring_ = reinterpret_cast<V*>((at + align - 1) / align * align);
    }
  }

  void ComputeRow(int row, const double* trueHistory, TRowScratch& scratch,
                  const std::atomic<bool>& stop, const double* guessFrom = nullptr) override {
    guess_from_ = guessFrom;
    lean_row_ = -1;
    if (lean_fits_ && TLean<kF1000>::RowFits(start_, *job_.view, row, job_.width, lean_starts_)) {
      if (ct_ > 1) {
        switch (FormulaKindOf(job_.keyframe->GameNo)) {
          case kF1000: RunLeanSlots<kF1000>(row, trueHistory, scratch, stop); return;
          case kF1001: RunLeanSlots<kF1001>(row, trueHistory, scratch, stop); return;
          default: RunLeanSlots<kF1002>(row, trueHistory, scratch, stop); return;
        }
      }
      switch (FormulaKindOf(job_.keyframe->GameNo)) {
        case kF1000: TLean<kF1000>(start_, job_, lean_starts_).Run(scratch, stop); return;
        case kF1001: TLean<kF1001>(start_, job_, lean_starts_).Run(scratch, stop); return;
        default: TLean<kF1002>(start_, job_, lean_starts_).Run(scratch, stop); return;
      }
    }
    switch (FormulaKindOf(job_.keyframe->GameNo)) {
#define ORK_LANE_KIND(K)                                  \
  case K:                                                 \
    if (ct_ == 1) {                                       \
      Run<K, true>(row, trueHistory, scratch, stop);      \
    } else {                                              \
      Run<K, false>(row, trueHistory, scratch, stop);     \
    }                                                     \
    break;
      ORK_LANE_KIND(kF1000) ORK_LANE_KIND(kF1001) ORK_LANE_KIND(kF1002)
      ORK_LANE_KIND(kF152) ORK_LANE_KIND(kF201) ORK_LANE_KIND(kF202)
      ORK_LANE_KIND(kF203) ORK_LANE_KIND(kF204) ORK_LANE_KIND(kF205)
      ORK_LANE_KIND(kUnchanged)
#undef ORK_LANE_KIND
      default:
        break;  // the power formulas never get here (see MakeRowKernel)
    }
  }

 private:
  // What one lane is doing: pixel g (linear index row * width + column) of
  // a stretch that ends before `end`; pixels before `first` only warm up.
  struct TLaneJob {
    long long g = 0, first = 0, end = 0;
    int segment = -1;  // the stretch's record in the scratch row
  };

  // The orbit state of one group of lanes.
  struct TGroup {
    TOrbitT<V> z;
    TStepEnvT<V> env;
    V it, zv;
  };

  // What one group's iteration found, as lane bits of the group.
  struct TStepBits {
    int over = 0, hits = 0, escaped = 0, guard = 0;
  };

  // --- History ring (more than one slot) -------------------------------
  // Slot i of the lanes' histories lies at position head + i - 1, counted
  // round the ring of ct positions, each position four vectors (x1, y1, x2,
  // y2) per group. The tests that look at every slot without asking which
  // is which run through the positions in their stored order. Lane `lane`
  // counts across the groups.
  V* Slot(int q, int group) const { return ring_ + 4 * (q * groups_ + group); }
  // (Through a pointer: clang binds no reference to a vector element.)
  // q lies in 0 ... 2 ct - 1.
  double& At(int q, int lane, int k) const {
    return reinterpret_cast<double*>(&Slot(q < ct_ ? q : q - ct_, lane / kN)[k])[lane % kN];
  }
  void Write(int lane, int q, int k, double v) {
    At(q, lane, k) = v;
    if (!std::isfinite(v)) history_finite_ = false;
  }
  void ResetLane(int lane) {
    for (int q = 0; q < ct_; ++q)
      for (int k = 0; k < 4; ++k) Write(lane, q, k, kHistoryStart[k]);
    history_lean_ = false;
  }
  // The history a lane's stretch starts from before its warm-up: the true
  // start at the picture's first pixel, else the caller's guess.
  void GuessLane(int lane, int head, bool fromPictureStart) {
    if (fromPictureStart || guess_from_ == nullptr) {
      ResetLane(lane);
    } else {
      LoadLane(lane, head, guess_from_);
    }
  }
  // The history the lane's next pixel inherits, with `head` its head.
  void SaveLane(int lane, int head, double* out) const {
    for (int i = 2; i <= ct_; ++i)
      for (int k = 0; k < 4; ++k) out[4 * (i - 2) + k] = At(head + i - 1, lane, k);
  }
  // (Heads lie in 0 ... ct - 1; positions are counted on with a wrap, as a
  // division per slot would cost more than the copying.)
  int NextPosition(int q) const { return q + 1 == ct_ ? 0 : q + 1; }
  void LoadLane(int lane, int head, const double* in) {
    for (int i = 2, q = NextPosition(head); i <= ct_; ++i, q = NextPosition(q)) {
      const double* slot = in + 4 * (i - 2);
      for (int k = 0; k < 4; ++k) Write(lane, q, k, slot[k]);
      if (!(slot[2] == slot[0] && slot[3] == slot[1])) history_lean_ = false;
    }
  }
  // A lane whose pixel ended at `head` pushed nothing: its slots move back
  // one place, so that after the common head moves on they are where its
  // next pixel expects them.
  // (Values already in the ring need no finiteness check.)
  void ShiftLane(int lane, int head) {
    double* column = reinterpret_cast<double*>(ring_) + (lane / kN) * 4 * kN + lane % kN;
    const long stride = 4L * kN * groups_;  // doubles from one position to the next
    auto move = [&](int to, int from) {
      double* t = column + to * stride;
      const double* f = column + from * stride;
      t[0] = f[0];
      t[kN] = f[kN];
      t[2 * kN] = f[2 * kN];
      t[3 * kN] = f[3 * kN];
    };
    // Positions head ... head + ct - 2, round the ring, in two straight runs.
    const int last = head + ct_ - 2;
    for (int q = head; q < std::min(last + 1, ct_ - 1); ++q) move(q, q + 1);
    if (last >= ct_ - 1) {
      move(ct_ - 1, 0);
      for (int q = 0; q < last - ct_ + 1; ++q) move(q, q + 1);
    }
  }
  // The first slot, seen from `head`, within the tolerance of the lane's
  // orbit; 0 for none.
  int FirstSlot(const TGroup& grp, int lane, int head, double acc) const {
    const int j = lane % kN;
    const double x1 = grp.z.x1[j], y1 = grp.z.y1[j], x2 = grp.z.x2[j], y2 = grp.z.y2[j];
    for (int i = 1; i <= ct_; ++i) {
      const double d = std::fabs(At(head + i - 1, lane, 0) - x1) +
                       std::fabs(At(head + i - 1, lane, 1) - y1) +
                       std::fabs(At(head + i - 1, lane, 2) - x2) +
                       std::fabs(At(head + i - 1, lane, 3) - y2);
      if (!(d >= acc)) return i;
    }
    return 0;
  }
  // The lanes among `lanes` (bits of the group) with some slot within the
  // tolerance. Every slot of every lane, without branches: which lanes
  // could be screened out changes from iteration to iteration, and the
  // branches would be mispredicted more often than the work they save.
  //
  // Screened first: while the lanes' orbits and every history value are
  // finite, a slot's distance ((a + b) + c) + d is at least a = |x1 - x1'|
  // (rounded sums of finite non-negative terms never fall below a term),
  // so a >= tolerance rules the slot out, and the least a of all slots
  // rules them all out at once. Values the lanes push are finite
  // where the escape bound is (`finite` says which orbits are), loaded
  // ones are checked as they are written; only when some slot of some
  // lane is not ruled out do all slots take the exact test.
  int CycleHits(const TGroup& grp, int group, int lanes, int finite) const {
    if (lanes == 0) return 0;
    const V acc = L::Splat(grp.env.acc);
    if (screen_ && history_finite_ && (lanes & ~finite) == 0) {
      // The least a in four independent chains: one chain would wait for
      // each minimum in turn.
      const V x1 = grp.z.x1;
      auto diff = [&](int q) { return Slot(q, group)[0] - x1; };
      V m0 = L::Abs(diff(0)), m1 = m0, m2 = m0, m3 = m0;
      int i = 1;
      for (; i + 3 < ct_; i += 4) {
        m0 = L::MinAbs(m0, diff(i));
        m1 = L::MinAbs(m1, diff(i + 1));
        m2 = L::MinAbs(m2, diff(i + 2));
        m3 = L::MinAbs(m3, diff(i + 3));
      }
      for (; i < ct_; ++i) m0 = L::MinAbs(m0, diff(i));
      const M ruledOut = L::Ge(L::Min(L::Min(m0, m1), L::Min(m2, m3)), acc);
      if ((~L::Bits(ruledOut) & lanes) == 0) return 0;
      // Not all: the distance is also at least t = fl(a + b), enough where
      // a alone falls short but b does not (an orbit closing in on a cycle
      // while turning). Worth its cost from CycleTest 16 on, free below.
      const V y1 = grp.z.y1;
      auto t = [&](int p) {
        const V* q = Slot(p, group);
        return L::Abs(q[0] - x1) + L::Abs(q[1] - y1);
      };
      if ((~L::Bits(L::Ge(LeastOfSlots(ct_, t), acc)) & lanes) == 0) return 0;
      // Still not all: the exact distance only for the slots where some
      // lane's t falls short (an orbit closing in on a cycle comes near
      // one slot, its period, and stays far from the others).
      M far = L::Not(M{});
      for (int p = 0; p < ct_; ++p) {
        const V* q = Slot(p, group);
        const V ab = t(p);  // the exact sum's first two terms
        if ((~L::Bits(L::Ge(ab, acc)) & lanes) == 0) continue;
        far = L::And(far, L::Ge((ab + L::Abs(q[2] - grp.z.x2)) + L::Abs(q[3] - grp.z.y2), acc));
      }
      return ~L::Bits(far) & lanes;
    }
    M far = L::Not(M{});
    for (int p = 0; p < ct_; ++p) {
      far = L::And(far, L::Ge(ExactDistance(grp, Slot(p, group)), acc));
    }
    return ~L::Bits(far) & lanes;
  }
  // A slot's distance from the lanes' orbits, as the scalar test sums it.
  // The least of t(0) ... t(n - 1) (n >= 1), in two chains that overlap.
  template <class TDistance>
  [[gnu::always_inline]] static V LeastOfSlots(int n, const TDistance& t) {
    V a = t(0), b = a;
    int p = 1;
    for (; p + 1 < n; p += 2) {
      a = L::Min(a, t(p));
      b = L::Min(b, t(p + 1));
    }
    for (; p < n; ++p) a = L::Min(a, t(p));
    return L::Min(a, b);
  }

  static V ExactDistance(const TGroup& grp, const V* q) {
    return ((L::Abs(q[0] - grp.z.x1) + L::Abs(q[1] - grp.z.y1)) + L::Abs(q[2] - grp.z.x2)) +
           L::Abs(q[3] - grp.z.y2);
  }

  // --- Pixels ------------------------------------------------------------
  // Puts pixel g into the lane: start values and constants by the
  // formula's start rule.
  void LoadPixel(TGroup& grp, int lane, long long g) {
    const int row = static_cast<int>(g / job_.width);
    const int col = static_cast<int>(g % job_.width);
    const int j = lane % kN;
    if (row == lean_row_) {  // the lean step's row: its starts are known
      grp.z.x1[j] = grp.z.x2[j] = lean_starts_.x[col];
      grp.z.y1[j] = grp.z.y2[j] = lean_starts_.y[col];
      grp.env.c1x[j] = lean_starts_.cx[col];
      grp.env.c1y[j] = lean_starts_.cy[col];
      grp.it[j] = 0;
      grp.zv[j] = 0;
      return;
    }
    double sx1, sy1, sx2, sy2;
    job_.view->Map(col, row, sx1, sy1, sx2, sy2);
    const TOrbit z = start_.StartValues(sx1, sy1, sx2, sy2);
    const TStepEnv& e = start_.Env();
    grp.z.x1[j] = z.x1;
    grp.z.y1[j] = z.y1;
    grp.z.x2[j] = z.x2;
    grp.z.y2[j] = z.y2;
    grp.env.c1x[j] = e.c1x;
    grp.env.c1y[j] = e.c1y;
    grp.env.c2x[j] = e.c2x;
    grp.env.c2y[j] = e.c2y;
    grp.it[j] = 0;
    grp.zv[j] = 0;
  }
  // A lane without work holds a still orbit at 0 (no denormals, no NaN).
  void Idle(TGroup& grp, int lane) {
    const int j = lane % kN;
    grp.z.x1[j] = grp.z.y1[j] = grp.z.x2[j] = grp.z.y2[j] = 0;
    grp.env.c1x[j] = grp.env.c1y[j] = grp.env.c2x[j] = grp.env.c2y[j] = 0;
    grp.it[j] = 0;
    grp.zv[j] = 0;
  }
  void Store(const TGroup& grp, int lane, int col, int period, bool escaped, bool guard,
             const TRowBuffers& out) const {
    const int j = lane % kN;
    const int it = static_cast<int>(grp.it[j]);
    out.x1[col] = grp.z.x1[j];
    out.y1[col] = grp.z.y1[j];
    out.x2[col] = grp.z.x2[j];
    out.y2[col] = grp.z.y2[j];
    out.zval[col] = grp.zv[j];
    out.count[col] = start_.Count(it, escaped, guard);
    out.period[col] = period;
    out.it[col] = it;
  }

  // Starts the row's next stretch in the lane (whose next head is `head`);
  // false when none is left.
  bool StartStretch(TGroup& grp, int lane, int head, int row, const double* trueHistory,
                    TRowScratch& scratch) {
    if (next_stretch_ >= stretches_) return false;
    const int index = next_stretch_++;
    const int W = job_.width;
    const int begin = static_cast<int>(static_cast<long long>(index) * W / stretches_);
    const int end = static_cast<int>(static_cast<long long>(index + 1) * W / stretches_);
    TLaneJob& job = jobs_[lane];
    job.first = static_cast<long long>(row) * W + begin;
    job.end = static_cast<long long>(row) * W + end;
    bool exact;
    if (index == 0 && trueHistory != nullptr) {
      LoadLane(lane, head, trueHistory);
      job.g = job.first;
      exact = true;
    } else {
      job.g = std::max(0LL, job.first - warm_up_);
      exact = job.g == 0;  // from the picture's first pixel: the true start
      GuessLane(lane, head, exact);
    }
    job.segment = scratch.used;
    TSegmentRecord& seg = scratch.AddSegment(begin, end, exact);
    if (job.g == job.first) SaveLane(lane, head, seg.assumed.data());
    LoadPixel(grp, lane, job.g);
    return true;
  }

  // Takes over the second half of what the busiest lane has left of its
  // stretch, so that no lane idles while others still have a long way to
  // go; false when no stretch is worth splitting.
  bool Steal(TGroup& grp, int lane, int head, int active, long long row_start,
             TRowScratch& scratch) {
    int victim = -1;
    long long most = kMinSteal - 1;
    for (int v = 0; v < lanes_; ++v) {
      if (!((active >> v) & 1) || v == lane) continue;
      const TLaneJob& job = jobs_[v];
      const long long left = job.end - std::max(job.g + 1, job.first);
      if (left > most) most = left, victim = v;
    }
    if (victim < 0) return false;
    TLaneJob& from = jobs_[victim];
    const long long split = from.end - most / 2;
    TLaneJob& job = jobs_[lane];
    job.first = split;
    job.end = from.end;
    job.g = std::max(0LL, split - warm_up_);
    from.end = split;
    scratch.segments[from.segment].end = static_cast<int>(split - row_start);
    GuessLane(lane, head, job.g == 0);
    job.segment = scratch.used;
    TSegmentRecord& seg = scratch.AddSegment(static_cast<int>(split - row_start),
                                             static_cast<int>(job.end - row_start), job.g == 0);
    if (job.g == job.first) SaveLane(lane, head, seg.assumed.data());
    LoadPixel(grp, lane, job.g);
    return true;
  }

  // One iteration of every lane of a group: steps 2 to 8 of the scalar
  // iteration, with the same expressions in the same order.
  template <int F, bool kOneSlot>
  TStepBits Step(TGroup& grp, int group, int head, int active, V max_iter, V zval_at,
                 V max_abs, V one) {
    TStepBits bits;
    grp.it = grp.it + one;
    grp.env.guard = M{};
    grp.env.over = L::Gt(grp.it, max_iter);
    const TOrbitT<V> h = grp.z;
    if constexpr (!kOneSlot) {
      V* a = Slot(head, group);
      a[0] = h.x1;
      a[1] = h.y1;
      a[2] = h.x2;
      a[3] = h.y2;
    }
    FormulaStep<F>(grp.z, grp.env);
    const V sum = ((L::Abs(grp.z.x1) + L::Abs(grp.z.y1)) + L::Abs(grp.z.x2)) + L::Abs(grp.z.y2);
    const M escaped = L::Gt(sum, max_abs);
    grp.env.over = L::Or(grp.env.over, escaped);
    bits.over = L::Bits(grp.env.over) & active;
    if constexpr (kOneSlot) {
      const V d = ((L::Abs(h.x1 - grp.z.x1) + L::Abs(h.y1 - grp.z.y1)) +
                   L::Abs(h.x2 - grp.z.x2)) +
                  L::Abs(h.y2 - grp.z.y2);
      bits.hits = L::Bits(L::Not(L::Ge(d, grp.env.acc))) & active;
    } else {
      bits.hits = CycleHits(grp, group, active & ~bits.over,
                            L::Bits(L::Le(sum, max_abs)));
    }
    const M sample = L::Eq(grp.it, zval_at);
    if (L::Bits(sample) != 0) {
      const V dx = h.x1 - grp.z.x1, dy = h.y1 - grp.z.y1;
      grp.zv = L::Select(sample, dx * dx + dy * dy, grp.zv);
    }
    if ((bits.hits | bits.over) != 0) {
      bits.escaped = L::Bits(escaped);
      bits.guard = L::Bits(grp.env.guard);
    }
    return bits;
  }

  template <int F, bool kOneSlot>
  __attribute__((flatten)) void Run(int row, const double* trueHistory, TRowScratch& scratch,
                                    const std::atomic<bool>& stop) {
    const int W = job_.width;
    const int ct = ct_;
    const long long row_start = static_cast<long long>(row) * W;
    scratch.used = 0;
    const TRowBuffers out = scratch.Buffers();

    constexpr int kGroups = Groups(kOneSlot);
    TGroup grp[kGroups];
    for (TGroup& gr : grp) InitGroup(gr);
    const V max_iter = L::Splat(start_.MaxIterations());
    const V zval_at = L::Splat(start_.ZvalAt());
    const V max_abs = L::Splat(start_.MaxAbs());
    const V one = L::Splat(1.0);
    const int group_mask = (1 << kN) - 1;

    int active = 0;  // lane bits across the groups
    int head = 0;
    long long next_pixel = row_start;  // one-slot lanes share the row
    bool pushed = false;  // some pixel of the row pushed a history value
    if constexpr (kOneSlot) scratch.AddSegment(0, W, true);
    if constexpr (!kOneSlot) BeginStretches();
    for (int lane = 0; lane < kN * kGroups; ++lane) {
      TGroup& gr = grp[lane / kN];
      bool started;
      if constexpr (kOneSlot) {
        started = next_pixel < row_start + W;
        if (started) {
          jobs_[lane].g = next_pixel++;
          LoadPixel(gr, lane, jobs_[lane].g);
        }
      } else {
        started = StartStretch(gr, lane, head, row, trueHistory, scratch);
      }
      if (started) {
        active |= 1 << lane;
      } else {
        Idle(gr, lane);
      }
    }

    while (active != 0) {
      TStepBits bits[kGroups];
      int done = 0;
#pragma GCC unroll 2
      for (int g = 0; g < kGroups; ++g) {
        bits[g] = Step<F, kOneSlot>(grp[g], g, head, (active >> (g * kN)) & group_mask, max_iter,
                                    zval_at, max_abs, one);
        done |= (bits[g].hits | bits[g].over) << (g * kN);
      }
      const int next_head = kOneSlot ? 0 : (head == 0 ? ct - 1 : head - 1);
      if (done != 0 && stop.load(std::memory_order_relaxed)) return;
      while (done != 0) {
        const int lane = __builtin_ctz(done);
        done &= done - 1;
        const int g = lane / kN, j = lane % kN;
        TGroup& gr = grp[g];
        TLaneJob& job = jobs_[lane];
        const bool esc = (bits[g].escaped >> j) & 1, guard = (bits[g].guard >> j) & 1;
        if constexpr (kOneSlot) {
          if (job.g >= job.first) {
            Store(gr, lane, static_cast<int>(job.g - row_start), (bits[g].hits >> j) & 1, esc,
                  guard, out);
          }
          if (next_pixel < row_start + W) {
            job.g = next_pixel++;
            LoadPixel(gr, lane, job.g);
          } else {
            Idle(gr, lane);
            active &= ~(1 << lane);
          }
        } else if (!EndSlotsPixel(gr, lane, head, next_head, esc, guard, true, row,
                                  trueHistory, scratch, out, active, pushed)) {
          active &= ~(1 << lane);
        }
      }
      head = next_head;
    }
    if constexpr (!kOneSlot) EndStretches(pushed, scratch);
  }

  // Formulas 1000, 1001 and 1002 uncoupled with more than one slot: the
  // lean step (orbit 1 alone, orbit 2 its copy; see lane_kernel_lean.h)
  // with the orbit in registers and the tests screened, inside the general
  // kernel's stretches and histories. Whenever a screen does not rule its
  // test out, or a lane reaches Max_Iterat or its zval sample, the step's
  // tests are taken exactly as the general step takes them:
  // - the escape sum ((|x| + |y|) + |x|) + |y| is at most fl(3s) < 4s with
  //   s = fl(|x| + |y|) <= 2 N, so N = AbsBound(x, y) <= Max_(X+Y) / 8
  //   rules an escape out, for finite and for non-finite values alike
  //   (lane_kernel_lean.h);
  // - a slot's distance ((a + b) + c) + d is at least a = |x1 - x1'| while
  //   the orbit and the history are finite, and the orbit of a lane that
  //   passes the size screen is; so the least a of all slots at or above
  //   the tolerance rules a cycle out. With both orbits equal in every
  //   slot the distance ((a + b) + a) + b is at least 2a (each rounded sum
  //   of non-negative terms is at least the exact sum of any of them that
  //   is a double), and half the tolerance will do where that halving is
  //   exact; a step that fails this screen tries fl(a + b) next, as the
  //   one-slot lean kernel does (lane_kernel_lean.h: the distance is then
  //   at least about 2 fl(a + b)), before the exact test.
  template <int F>
  __attribute__((flatten)) void RunLeanSlots(int row, const double* trueHistory,
                                             TRowScratch& scratch, const std::atomic<bool>& stop) {
    scratch.used = 0;
    const TRowBuffers out = scratch.Buffers();
    lean_row_ = row;
    TGroup gr;
    InitGroup(gr);
    BeginStretches();
    history_lean_ = true;
    int active = 0;
    int head = 0;
    bool pushed = false;
    for (int lane = 0; lane < kN; ++lane) {
      if (StartStretch(gr, lane, head, row, trueHistory, scratch)) {
        active |= 1 << lane;
      } else {
        Idle(gr, lane);
      }
    }
    const int ct = ct_;
    const V max_iter = L::Splat(start_.MaxIterations());
    const V zval_at = L::Splat(start_.ZvalAt());
    const V max_abs = L::Splat(start_.MaxAbs());
    const V size_bound = L::Splat(start_.MaxAbs() * 0.125);
    const double tolerance = start_.Acc();
    const double half = tolerance * 0.5;
    const V acc_any = L::Splat(tolerance);
    const V acc_lean = half * 2 == tolerance ? L::Splat(half) : acc_any;
    V acc = history_lean_ ? acc_lean : acc_any;
    const V lean_screen = L::Splat(TLean<F>::CycleScreen(tolerance));
    const V one = L::Splat(1.0);
    V x = gr.z.x1, y = gr.z.y1, cx = gr.env.c1x, cy = gr.env.c1y, it = gr.it, zv = gr.zv;
    // One group: position q's four vectors start at ring_ + 4 q.
    V prev = ring_[4];  // slot 2's x1
    while (active != 0) {
      it = it + one;
      const V hx = x, hy = y;
      TLean<F>::Step(hx, hy, cx, cy, x, y);
      // The least |x1 - x1'| in four independent chains. The two newest
      // slots come from registers, the older ones from the ring: a load of
      // a value stored only a step before waits for the store.
      V m0 = L::Abs(hx - x), m1 = L::Abs(prev - x), m2 = m0, m3 = m1;
      auto scan = [&](int from, int to) {
        int p = from;
        for (; p + 3 < to; p += 4) {
          m0 = L::MinAbs(m0, ring_[4 * p] - x);
          m1 = L::MinAbs(m1, ring_[4 * (p + 1)] - x);
          m2 = L::MinAbs(m2, ring_[4 * (p + 2)] - x);
          m3 = L::MinAbs(m3, ring_[4 * (p + 3)] - x);
        }
        for (; p < to; ++p) m0 = L::MinAbs(m0, ring_[4 * p] - x);
      };
      {
        int q = head + 2 >= ct ? head + 2 - ct : head + 2;  // slot 3
        const int n = ct - 2;
        const int first = std::min(n, ct - q);
        scan(q, q + first);
        scan(0, n - first);
      }
      const M near = L::NotGe(L::Min(L::Min(m0, m1), L::Min(m2, m3)), acc);
      const M unsure = L::Or(L::Or(L::Gt(it, max_iter), L::Eq(it, zval_at)),
                             L::Or(L::NotLe(L::AbsBound(x, y), size_bound), near));
      V* pushTo = ring_ + 4 * head;
      pushTo[0] = pushTo[2] = hx;
      pushTo[1] = pushTo[3] = hy;
      prev = hx;
      const int next_head = head == 0 ? ct - 1 : head - 1;
      if ((L::Bits(unsure) & active) != 0 || !history_finite_) {
        const M sample = L::Eq(it, zval_at);
        if (L::Bits(sample) != 0) {
          const V dx = hx - x, dy = hy - y;
          zv = L::Select(sample, dx * dx + dy * dy, zv);
        }
        const V sum = TLean<F>::ExactSum(x, y);
        const M escaped = L::Gt(sum, max_abs);
        const int over = L::Bits(L::Or(L::Gt(it, max_iter), escaped)) & active;
        gr.z.x1 = gr.z.x2 = x;
        gr.z.y1 = gr.z.y2 = y;
        // The exact cycle test for the lanes that end here, and for those
        // that the screen has not ruled out: all with a history that is
        // not finite, and any whose orbit is not (NaN takes no part in the
        // screen).
        const int finite = L::Bits(L::Le(sum, L::Splat(std::numeric_limits<double>::max())));
        int open = (history_finite_ ? L::Bits(near) | over | ~finite : -1) & active;
        if (history_lean_ && history_finite_ && (open & ~finite) == 0 && open != 0) {
          // The second screen: with both orbits equal in every slot, at
          // least about 2 fl(a + b).
          auto t = [&](int p) { return L::Abs(ring_[4 * p] - x) + L::Abs(ring_[4 * p + 1] - y); };
          open &= ~L::Bits(L::Ge(LeastOfSlots(ct, t), lean_screen));
        }
        const int hits = CycleHits(gr, 0, open, finite);
        int done = over | hits;
        if (done != 0) {
          if (stop.load(std::memory_order_relaxed)) return;
          gr.it = it;
          gr.zv = zv;
          const int esc = L::Bits(escaped);
          while (done != 0) {
            const int lane = __builtin_ctz(done);
            done &= done - 1;
            if (!EndSlotsPixel(gr, lane, head, next_head, (esc >> lane) & 1, false,
                               (hits >> lane) & 1, row, trueHistory, scratch, out, active,
                               pushed)) {
              active &= ~(1 << lane);
            }
          }
          x = gr.z.x1, y = gr.z.y1, cx = gr.env.c1x, cy = gr.env.c1y, it = gr.it, zv = gr.zv;
          prev = ring_[4 * head];  // the ended lanes' histories moved
          acc = history_lean_ ? acc_lean : acc_any;
        }
      }
      head = next_head;
    }
    EndStretches(pushed, scratch);
  }

  void InitGroup(TGroup& gr) const {
    gr.env.p = start_.Env().p;
    gr.env.coupled = start_.Env().coupled;
    gr.env.acc = start_.Acc();
    gr.it = L::Splat(0);
    gr.zv = L::Splat(0);
  }
  void BeginStretches() {
    stretches_ = std::clamp(job_.width / kMinStretch, 1, lanes_ * kStretchesPerLane);
    next_stretch_ = 0;
  }
  void EndStretches(bool pushed, TRowScratch& scratch) {
    // Where pixels push nothing, the guess stands as it is given: the
    // next row's stretches start without warming up.
    warm_up_ = pushed ? kWarmUpPixels : 0;
    // Stolen stretches were recorded out of order.
    std::sort(scratch.segments.begin(), scratch.segments.begin() + scratch.used,
              [](const TSegmentRecord& a, const TSegmentRecord& b) { return a.begin < b.begin; });
  }
  // Ends the pixel in a lane with more slots (whose history's head was
  // `head`): its period, its history moved on, its results stored, the
  // stretch's records kept; then the lane's next pixel, or a new stretch.
  // False when none is left for the lane.
  // `mayHit` false: the lane's exact cycle test found no slot.
  bool EndSlotsPixel(TGroup& gr, int lane, int head, int next_head, bool esc, bool guard,
                     bool mayHit, int row, const double* trueHistory, TRowScratch& scratch,
                     const TRowBuffers& out, int active, bool& pushed) {
    const long long row_start = static_cast<long long>(row) * job_.width;
    TLaneJob& job = jobs_[lane];
    const int period = mayHit ? FirstSlot(gr, lane, head, gr.env.acc) : 0;
    ShiftLane(lane, head);
    pushed |= gr.it[lane % kN] > 1;
    if (job.g >= job.first) {
      Store(gr, lane, static_cast<int>(job.g - row_start), period, esc, guard, out);
    }
    ++job.g;
    TSegmentRecord& seg = scratch.segments[job.segment];
    if (job.g == job.first) SaveLane(lane, next_head, seg.assumed.data());
    if (job.g < job.end) {
      LoadPixel(gr, lane, job.g);
      return true;
    }
    SaveLane(lane, next_head, seg.leaving.data());
    if (StartStretch(gr, lane, next_head, row, trueHistory, scratch) ||
        Steal(gr, lane, next_head, active, row_start, scratch)) {
      return true;
    }
    Idle(gr, lane);
    return false;
  }

  const TPictureJob job_;
  TIterationContext start_;  // start values and constants of each pixel
  const int ct_;
  const bool lean_fits_ =
      TLean<kF1000>::PictureFits(start_, FormulaKindOf(job_.keyframe->GameNo));
  TLeanStarts lean_starts_;
  int lean_row_ = -1;  // the row whose starts lean_starts_ holds for LoadPixel
  const int groups_ = Groups(ct_ == 1);
  const int lanes_ = kN * groups_;
  std::vector<double> ring_storage_;
  V* ring_ = nullptr;  // ct positions of four vectors per group, in ring_storage_
  // The cycle test's screen holds with a finite escape bound and while
  // every history value written in is finite.
  const bool screen_ = std::isfinite(start_.MaxAbs());
  bool history_finite_ = true;
  // Every slot of the row's lanes holds orbit 2 equal to orbit 1 (reset as
  // each lean row starts, before its lanes' histories are loaded).
  bool history_lean_ = true;
  TLaneJob jobs_[kN * kMaxGroups];
  int stretches_ = 1, next_stretch_ = 0;
  const double* guess_from_ = nullptr;  // of the row being computed
  int warm_up_ = kWarmUpPixels;         // pixels before a stretch
};

}  // namespace
}  // namespace ork
