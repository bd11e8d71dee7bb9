#include "engine/iteration.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <string>

#include "engine/texts.h"

namespace ork {

namespace {

constexpr double kHistX1 = kHistoryStart[0];
constexpr double kHistY1 = kHistoryStart[1];
constexpr double kHistX2 = kHistoryStart[2];
constexpr double kHistY2 = kHistoryStart[3];
constexpr double k2032Start = static_cast<double>(0.7937005f);

// Formula 1000 uncoupled without the +-0 terms (RunPixel1000Uncoupled).
constexpr int kFast1000 = -1000;

inline double EscapeSum(const TOrbit& z) {
  return std::fabs(z.x1) + std::fabs(z.y1) + std::fabs(z.x2) + std::fabs(z.y2);
}

typedef double v2d __attribute__((vector_size(16)));
typedef long long v2l __attribute__((vector_size(16)));

inline v2d Load2(const double* p) {
  v2d v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void Store2(double* p, v2d v) { std::memcpy(p, &v, sizeof v); }

inline v2d Abs2(v2d v) {
  const v2l mask = {0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL};
  return reinterpret_cast<v2d>(reinterpret_cast<v2l>(v) & mask);
}

}  // namespace

// The long history (iteration_long.cpp).
int LongCycleHistoryFrom();
TPixelResult RunPixelLong(TIterationContext& ctx, TOrbit z);
long long RunRowLong(TIterationContext& ctx, const TViewMapping& view, int row, int begin,
                     int end, const TRowBuffers& out);

template <int F, bool kOneSlot>
TPixelResult RunPixel(TIterationContext& ctx, const TOrbit& start);
template <bool kOneSlot>
TPixelResult RunPixel1000Uncoupled(TIterationContext& ctx, const TOrbit& start);
template <int F, bool kOneSlot>
long long RunRow(TIterationContext& ctx, const TViewMapping& view, int row, int begin, int end,
                 const TRowBuffers& out);

TIterationContext::TIterationContext(const TParameter& k)
    : game_no_(k.GameNo),
      kind_(FormulaKindOf(k.GameNo)),
      julia_(k.julia),
      // One below the int limit, so that it = Max_Iterat + 1 still fits.
      max_iter_(std::min(k.ianzmax, INT_MAX - 1)),
      zval_at_(std::min(k.ianzmax, INT_MAX - 1) / 10),
      max_abs_(k.maxabs),
      cycle_test_(std::max(k.zyctest, 1)),
      colz_(k.colz),
      colzh_(k.colzh),
      colzv_(k.colzv),
      stop_(k.FileNameKey.rfind("Stop!", 0) == 0) {
  env_.c1x = env_.c2x = k.CCx;
  env_.c1y = env_.c2y = k.CCy;
  env_.p = k.par;
  env_.coupled = k.par != 0;
  env_.acc = k.Accurate != 0 ? k.Accurate : k.bry / k.OutputHeight / 1000;
  // Uncoupled 1000 adds p*z2 = +-0 to sums that cannot be -0 (see
  // RunPixel1000Uncoupled); that holds only while z2 stays finite, which
  // every continuing iteration guarantees when the escape bound is finite.
  fast_1000_ = kind_ == kF1000 && !env_.coupled &&
               std::numeric_limits<double>::infinity() > max_abs_;

  long_history_ = cycle_test_ >= LongCycleHistoryFrom();
  if (long_history_) {
    long_.Start(cycle_test_ - 1, Tr(engine_texts::kCycleHistory) +
                                     std::to_string(cycle_test_) + Tr(engine_texts::kEntries));
    fast_ = [](TIterationContext& c, const TOrbit& z) { return RunPixelLong(c, z); };
    fast_row_ = &RunRowLong;
    return;
  }
  const size_t n = static_cast<size_t>(cycle_test_);
  // The plain history (five arrays of n + 1) and the ring (2n + 2 slots of
  // four).
  hx1_.assign(n + 1, kHistX1);
  hy1_.assign(n + 1, kHistY1);
  hx2_.assign(n + 1, kHistX2);
  hy2_.assign(n + 1, kHistY2);
  hdist_.assign(n + 1, 0.0);
  ring_.resize(4 * (2 * n + 2));
  ResetHistory();

  const bool one = cycle_test_ == 1;
  switch (kind_) {
#define ORK_KIND(K)                                              \
  case K:                                                        \
    fast_ = one ? &RunPixel<K, true> : &RunPixel<K, false>;      \
    fast_row_ = one ? &RunRow<K, true> : &RunRow<K, false>;      \
    break;
    ORK_KIND(kUnchanged) ORK_KIND(kF149) ORK_KIND(kF151) ORK_KIND(kF152)
    ORK_KIND(kF201) ORK_KIND(kF202) ORK_KIND(kF203) ORK_KIND(kF204)
    ORK_KIND(kF205) ORK_KIND(kF206) ORK_KIND(kF207) ORK_KIND(kF208)
    ORK_KIND(kF1001) ORK_KIND(kF1002)
#undef ORK_KIND
    case kF1000:
      if (fast_1000_) {
        fast_ = one ? &RunPixel1000Uncoupled<true> : &RunPixel1000Uncoupled<false>;
        fast_row_ = one ? &RunRow<kFast1000, true> : &RunRow<kFast1000, false>;
      } else {
        fast_ = one ? &RunPixel<kF1000, true> : &RunPixel<kF1000, false>;
        fast_row_ = one ? &RunRow<kF1000, true> : &RunRow<kF1000, false>;
      }
      break;
  }
}

void TIterationContext::ResetHistory() {
  for (size_t q = 0; q < ring_.size() / 4; ++q) {
    ring_[4 * q] = kHistX1;
    ring_[4 * q + 1] = kHistY1;
    ring_[4 * q + 2] = kHistX2;
    ring_[4 * q + 3] = kHistY2;
  }
  head_ = 0;
  nonfinite_history_ = false;
  long_.Clear();
}

void TIterationContext::SaveHistory(double* out) const {
  if (cycle_test_ == 1) return;  // nothing carries over
  if (long_history_) {
    long_.Save(out);
    return;
  }
  const double* slot2 = ring_.data() + 4 * (head_ + 1);
  std::memcpy(out, slot2, sizeof(double) * HistoryDoubles());
}

void TIterationContext::LoadHistory(const double* in) {
  // Slot i at position i - 1 and its mirror i - 1 + CycleTest; slot 1 is
  // written by the next pixel before anything reads it.
  if (long_history_) {
    if (cycle_test_ > 1) long_.Load(in);
    return;
  }
  const int ct = cycle_test_;
  head_ = 0;
  for (int i = 2; i <= ct; ++i) {
    for (int k = 0; k < 4; ++k) {
      const double v = in[4 * (i - 2) + k];
      ring_[4 * (i - 1) + k] = v;
      ring_[4 * (i - 1 + ct) + k] = v;
      if (!std::isfinite(v)) nonfinite_history_ = true;
    }
  }
}

TOrbit TIterationContext::StartValues(double sx1, double sy1, double sx2, double sy2) {
  TOrbit z;
  TStepEnv& e = env_;
  switch (game_no_) {
    case 149:
    case 207:
      if (julia_ != 0) {
        z = {sx1, sy1, sx1, sy1};
      } else {
        e.c1x = e.c2x = sx1;
        e.c1y = e.c2y = sy1;
        z = game_no_ == 149 ? TOrbit{sx1, sy1, sx1, sy1} : TOrbit{sx1, sy1, sx2, sy2};
      }
      break;
    case 2031:
    case 205:
      if (julia_ == 0) {
        e.c1x = 1, e.c1y = 1, e.c2x = 1, e.c2y = -1;
      }
      z = {sx1, sy1, sx2, sy2};
      break;
    case 2032:
      if (julia_ != 0) {
        z = {sx1, sy1, sx2, sy2};
      } else {
        e.c1x = 1, e.c1y = 1, e.c2x = 0, e.c2y = 0;
        z = {k2032Start, -k2032Start, sx2, sy2};
      }
      break;
    case 204:
      if (julia_ != 0) {
        z = {sx1, sy1, sx2, sy2};
        e.c2x = -e.c1y;
      } else {
        e.c1x = sx1, e.c1y = sy1;
        e.c2y = sy2;
        e.c2x = -sy1;
        z = {0, 0, 0, 0};
      }
      break;
    case 1000:
      if (julia_ != 0) {
        z = {sx1, sy1, sx2, sy2};
      } else {
        e.c1x = sx1, e.c1y = sy1, e.c2x = sx2, e.c2y = sy2;
        z = {0, 0, 0, 0};
      }
      break;
    default:
      if (julia_ == 1) {
        z = {sx1, sy1, sx1, sy1};
      } else {
        e.c1x = e.c2x = sx1;
        e.c1y = e.c2y = sy1;
        z = {0, 0, 0, 0};
      }
      break;
  }
  return z;
}

bool TIterationContext::StartsFromZero() const {
  // As StartValues decides it: 1000 by its case, 1001 and 1002 by the default.
  if (game_no_ == 1000) return julia_ == 0;
  return (game_no_ == 1001 || game_no_ == 1002) && julia_ != 1;
}

int32_t TIterationContext::Count(int it, bool escaped, bool guard) const {
  // Wide sum, wrapped to 32 bits, so absurd colour counts cannot overflow.
  const long long c = static_cast<long long>(it) + colz_ + (escaped ? colzh_ : 0) +
                      (guard ? colzv_ : 0);
  return static_cast<int32_t>(static_cast<uint32_t>(c));
}

TPixelResult TIterationContext::Result(const TOrbit& z, int it, bool escaped, bool guard,
                                       int period, double zval) const {
  TPixelResult r;
  r.x1 = z.x1, r.y1 = z.y1, r.x2 = z.x2, r.y2 = z.y2;
  r.it = it;
  r.escaped = escaped;
  r.guard = guard;
  r.period = period;
  r.zval = zval;
  r.count = Count(it, escaped, guard);
  return r;
}

namespace {

TPixelResult StopResult(int32_t count, double zval) {
  TPixelResult r;
  r.it = 1;
  r.count = count;
  r.zval = zval;
  return r;
}

}  // namespace

// The fast loop. Slot 1 of the history is the orbit at the start of the
// iteration; with one slot it stays in registers (the next pixel overwrites
// it before reading), otherwise the ring moves its head instead of the data.
template <int F, bool kOneSlot>
__attribute__((always_inline)) inline TPixelResult RunPixel(TIterationContext& ctx,
                                                            const TOrbit& start) {
  TStepEnv e = ctx.env_;
  e.guard = false;
  e.over = false;
  TOrbit z = start;
  const int max_iter = ctx.max_iter_;
  const int zval_at = ctx.zval_at_;
  const double max_abs = ctx.max_abs_;
  const int ct = ctx.cycle_test_;
  // The screen below needs finite history slots; a non-finite start value
  // could stay in the history, so it switches the screen off for good.
  if (!(std::isfinite(start.x1) && std::isfinite(start.y1) && std::isfinite(start.x2) &&
        std::isfinite(start.y2))) {
    ctx.nonfinite_history_ = true;
  }
  const bool screen_ok = std::isfinite(max_abs) && !ctx.nonfinite_history_;
  double zval = ctx.zval_;
  double* const ring = ctx.ring_.data();
  int head = ctx.head_;
  bool escaped = false;
  int period = 0;
  int it = 0;
  for (;;) {
    ++it;
    if (it > max_iter) e.over = true;
    const TOrbit h = z;
    if constexpr (!kOneSlot) {
      // Whole pairs stored, so that the paired loads below take them
      // straight from the store buffer.
      const v2d a = {z.x1, z.y1}, b = {z.x2, z.y2};
      Store2(ring + 4 * head, a);
      Store2(ring + 4 * head + 2, b);
      Store2(ring + 4 * (head + ct), a);
      Store2(ring + 4 * (head + ct) + 2, b);
    }
    if constexpr (F == kFast1000) {
      z.x1 = z.x2 = h.x1 * h.x1 - h.y1 * h.y1 + e.c1x;
      z.y1 = z.y2 = 2 * h.x1 * h.y1 + e.c1y;
    } else {
      FormulaStep<F>(z, e);
    }
    const double sum = EscapeSum(z);
    if (sum > max_abs) {
      escaped = true;
      e.over = true;
    }
    if constexpr (kOneSlot && F == kFast1000) {
      // Both orbits are one and the same, in slot 1 as well.
      const double a = std::fabs(h.x1 - z.x1), b = std::fabs(h.y1 - z.y1);
      if (!(a + b + a + b >= e.acc)) period = 1;
    } else if constexpr (kOneSlot) {
      const double d = std::fabs(h.x1 - z.x1) + std::fabs(h.y1 - z.y1) +
                       std::fabs(h.x2 - z.x2) + std::fabs(h.y2 - z.y2);
      if (!(d >= e.acc)) period = 1;
    } else {
      // Two slots at a time over all slots first (most iterations find no
      // cycle), then the first failing slot. Each lane adds its four
      // distances in the written order; a lane past the last slot reads a
      // mirror slot and is ignored.
      const v2d z1 = {z.x1, z.y1}, z2 = {z.x2, z.y2};
      const v2d vacc = {e.acc, e.acc};
      auto pair_ok = [&](int i) -> v2l {
        const double* q = ring + 4 * (head + i);
        const v2d a = Abs2(Load2(q) - z1), b = Abs2(Load2(q + 2) - z2);
        const v2d c = Abs2(Load2(q + 4) - z1), d = Abs2(Load2(q + 6) - z2);
        const v2d first = __builtin_shufflevector(a, c, 0, 2);
        const v2d second = __builtin_shufflevector(a, c, 1, 3);
        const v2d third = __builtin_shufflevector(b, d, 0, 2);
        const v2d fourth = __builtin_shufflevector(b, d, 1, 3);
        return ((first + second) + third) + fourth >= vacc;
      };
      // A slot whose x1 alone differs by acc or more cannot match (adding
      // finite non-negative terms never lowers a rounded sum), so that check
      // screens the slots before the full distances are computed. It needs
      // every value finite: the orbit is while its sum stays within a finite
      // bound, and so are the slots, which hold finite start values or the
      // orbits of iterations that went on.
      v2l all = {0, 0};
      if (screen_ok && sum <= max_abs) {
        const v2d vx1 = {z.x1, z.x1};
        auto x1_far = [&](int i) -> v2l {
          const double* q = ring + 4 * (head + i);
          const v2d x = {q[0], q[4]};
          return Abs2(x - vx1) >= vacc;
        };
        all = x1_far(0);
        for (int i = 2; i < ct; i += 2) all &= x1_far(i);
      }
      if ((all[0] & all[1]) != -1) {
        for (int i = 0; i < ct; i += 2) {
          const v2l ok = pair_ok(i);
          if (ok[0] == 0) {
            period = i + 1;
            break;
          }
          if (ok[1] == 0 && i + 1 < ct) {
            period = i + 2;
            break;
          }
        }
      }
    }
    if (it == zval_at) {
      const double dx = h.x1 - z.x1, dy = h.y1 - z.y1;
      zval = dx * dx + dy * dy;
    }
    if (period != 0 || e.over) break;
    if constexpr (!kOneSlot) head = head == 0 ? ct - 1 : head - 1;
  }
  ctx.head_ = head;
  ctx.zval_ = zval;
  ctx.env_.c1x = e.c1x, ctx.env_.c1y = e.c1y, ctx.env_.c2x = e.c2x, ctx.env_.c2y = e.c2y;
  ctx.env_.acc = e.acc;
  return ctx.Result(z, it, escaped, e.guard, period, zval);
}

// Formula 1000 with p = 0. The written step adds p*x2 and p*y2, which are
// +-0 while z2 is finite. x1*x1 - y1*y1 + c1x is never -0 (a difference of
// two squares is never -0, and a sum is -0 only when both terms are), so
// adding +-0 leaves it unchanged; the same holds for 2*x1*y1 + c1y unless
// c1y is -0. z2 stays finite in every iteration after the first (a
// continuing orbit passed the finite escape bound and the cycle test), so
// the terms can be dropped when the start values are finite and c1y is not
// -0; otherwise the written step runs. When both orbits start equal they
// stay equal, which the cycle test uses.
inline bool Fast1000Allowed(const TIterationContext& ctx, const TOrbit& start,
                            double c1y) {
  (void)ctx;
  return std::isfinite(start.x2) && std::isfinite(start.y2) &&
         !(c1y == 0 && std::signbit(c1y)) && start.x1 == start.x2 && start.y1 == start.y2;
}

template <bool kOneSlot>
TPixelResult RunPixel1000Uncoupled(TIterationContext& ctx, const TOrbit& start) {
  if (!Fast1000Allowed(ctx, start, ctx.env_.c1y)) return RunPixel<kF1000, kOneSlot>(ctx, start);
  return RunPixel<kFast1000, kOneSlot>(ctx, start);
}

// One row through the fast loop, everything inlined into one function per
// formula so that a pixel costs no calls.
template <int F, bool kOneSlot>
long long RunRow(TIterationContext& ctx, const TViewMapping& view, int row, int begin, int end,
                 const TRowBuffers& out) {
  long long iterations = 0;
  for (int col = begin; col < end; ++col) {
    double sx1, sy1, sx2, sy2;
    view.Map(col, row, sx1, sy1, sx2, sy2);
    const TOrbit start = ctx.StartValues(sx1, sy1, sx2, sy2);
    TPixelResult r;
    if (ctx.stop_) {
      r = StopResult(ctx.Count(1, false, false), ctx.zval_);
    } else if constexpr (F == kFast1000) {
      r = Fast1000Allowed(ctx, start, ctx.env_.c1y) ? RunPixel<kFast1000, kOneSlot>(ctx, start)
                                                    : RunPixel<kF1000, kOneSlot>(ctx, start);
    } else {
      r = RunPixel<F, kOneSlot>(ctx, start);
    }
    out.Put(col, r);
    iterations += r.it;
  }
  return iterations;
}

// The iteration exactly as written: history arrays moved slot by slot,
// the formula looked up in every step, the orbit recording.
TPixelResult RunPixelPlain(TIterationContext& ctx, TOrbit z) {
  if (ctx.long_history_) return RunPixelLong(ctx, z);
  TStepEnv& e = ctx.env_;
  e.guard = false;
  e.over = false;
  const int ct = ctx.cycle_test_;
  bool escaped = false;
  int period = 0;
  int it = 0;
  for (;;) {
    ++it;
    if (it > ctx.max_iter_) e.over = true;
    ctx.hx1_[1] = z.x1;
    ctx.hy1_[1] = z.y1;
    ctx.hx2_[1] = z.x2;
    ctx.hy2_[1] = z.y2;
    if (ctx.stop_) {
      z = {0, 0, 0, 0};
      break;
    }
    if (ctx.recording_ != nullptr) {
      if (!ctx.orbit_selected_) break;
      ctx.recording_->Record(it, z.x1, z.y1);
    }
    FormulaStepByKind(ctx.kind_, z, e);
    if (EscapeSum(z) > ctx.max_abs_) {
      escaped = true;
      e.over = true;
    }
    period = 0;
    for (int i = 1; i <= ct; ++i) {
      const double d = std::fabs(ctx.hx1_[i] - z.x1) + std::fabs(ctx.hy1_[i] - z.y1) +
                       std::fabs(ctx.hx2_[i] - z.x2) + std::fabs(ctx.hy2_[i] - z.y2);
      ctx.hdist_[i] = d;
      if (!(d >= e.acc)) {
        period = i;
        break;
      }
    }
    if (it == ctx.zval_at_) {
      const double dx = ctx.hx1_[1] - z.x1, dy = ctx.hy1_[1] - z.y1;
      ctx.zval_ = dx * dx + dy * dy;
    }
    if (period != 0 || e.over) break;
    for (int i = ct - 1; i >= 1; --i) {
      ctx.hx1_[i + 1] = ctx.hx1_[i];
      ctx.hy1_[i + 1] = ctx.hy1_[i];
      ctx.hx2_[i + 1] = ctx.hx2_[i];
      ctx.hy2_[i + 1] = ctx.hy2_[i];
    }
  }
  return ctx.Result(z, it, escaped, e.guard, period, ctx.zval_);
}

TPixelResult IteratePixelPlain(TIterationContext& ctx, double sx1, double sy1, double sx2,
                               double sy2) {
  return RunPixelPlain(ctx, ctx.StartValues(sx1, sy1, sx2, sy2));
}

long long IterateSegment(TIterationContext& ctx, const TViewMapping& view, int row, int begin,
                         int end, const TRowBuffers& out) {
  return ctx.fast_row_(ctx, view, row, begin, end, out);
}

TPixelResult IteratePixel(TIterationContext& ctx, double sx1, double sy1, double sx2,
                          double sy2) {
  if (ctx.recording_ != nullptr) return IteratePixelPlain(ctx, sx1, sy1, sx2, sy2);
  const TOrbit start = ctx.StartValues(sx1, sy1, sx2, sy2);
  if (ctx.stop_) return StopResult(ctx.Count(1, false, false), ctx.zval_);
  return ctx.fast_(ctx, start);
}

}  // namespace ork
