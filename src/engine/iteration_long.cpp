// The iteration with a long cycle history (TCycleStream): the steps as
// written, one loop for every formula; the results are those of the plain
// history bit for bit.
#include <cmath>

#include "engine/iteration.h"

namespace ork {

namespace {

int g_long_from = kLongCycleHistory;

}  // namespace

void SetLongCycleHistoryFrom(int cycleTest) {
  g_long_from = cycleTest > 0 ? cycleTest : kLongCycleHistory;
}

int LongCycleHistoryFrom() { return g_long_from; }

// The steps as written (see RunPixelPlain), the history kept as a stream.
TPixelResult RunPixelLong(TIterationContext& ctx, TOrbit z) {
  TStepEnv& e = ctx.env_;
  e.guard = false;
  e.over = false;
  bool escaped = false;
  int period = 0;
  int it = 0;
  for (;;) {
    ++it;
    if (it > ctx.max_iter_) e.over = true;
    const TOrbit h = z;  // slot 1
    if (ctx.stop_) {
      z = {0, 0, 0, 0};
      break;
    }
    if (ctx.recording_ != nullptr) {
      if (!ctx.orbit_selected_) break;
      ctx.recording_->Record(it, z.x1, z.y1);
    }
    FormulaStepByKind(ctx.kind_, z, e);
    if (std::fabs(z.x1) + std::fabs(z.y1) + std::fabs(z.x2) + std::fabs(z.y2) > ctx.max_abs_) {
      escaped = true;
      e.over = true;
    }
    // Slot 1 (h), then the stream.
    const double slot1[4] = {h.x1, h.y1, h.x2, h.y2};
    period = !(CycleDistance(slot1, z) >= e.acc) ? 1 : ctx.long_.Period(z, e.acc);
    if (it == ctx.zval_at_) {
      const double dx = h.x1 - z.x1, dy = h.y1 - z.y1;
      ctx.zval_ = dx * dx + dy * dy;
    }
    if (period != 0 || e.over) break;
    ctx.long_.Push(h);
  }
  return ctx.Result(z, it, escaped, e.guard, period, ctx.zval_);
}

long long RunRowLong(TIterationContext& ctx, const TViewMapping& view, int row, int begin,
                     int end, const TRowBuffers& out) {
  long long iterations = 0;
  for (int col = begin; col < end; ++col) {
    double sx1, sy1, sx2, sy2;
    view.Map(col, row, sx1, sy1, sx2, sy2);
    const TPixelResult r = RunPixelLong(ctx, ctx.StartValues(sx1, sy1, sx2, sy2));
    out.Put(col, r);
    iterations += r.it;
  }
  return iterations;
}

}  // namespace ork
