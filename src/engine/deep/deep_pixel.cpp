#include "engine/deep/deep_pixel.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/deep/deep_approximation.h"
#include "engine/deep/deep_lane_rows.h"
#include "engine/deep/deep_lean.h"
#include "engine/deep/deep_step.h"

namespace ork::deep {
namespace {

// Below this a difference leaves the double for the extended type, above
// the other one it comes back (a gap, so that no orbit flips every step).
constexpr int kToExtendedExp = -950;
constexpr int kToDoubleExp = -900;

// Pixels the lean steps take side by side.
constexpr int kLanes = 8;

void Full(TDeepState& s) {
  const double* Z = s.ref->Double(s.r);
  // Summed in a local: through s it would wait on its own store each time.
  double scale = 0;
  for (int k = 0; k < 4; ++k) {
    const double dk = s.ext ? s.f[k].ToDouble() : s.d[k];
    s.z[k] = Z[k] + dk;
    scale += std::fabs(Z[k]) + std::fabs(dk);
  }
  s.scale = scale;
}

void SizeHistory(TDeepPixel& x, int cycleTest) {
  const size_t rs = static_cast<size_t>(cycleTest) + 1;
  x.ring.resize(rs);
  x.lags.resize(rs - 1);
  x.ring_z0.assign(2 * rs, 0.0);
  x.ring_z1.assign(2 * rs, 0.0);
  x.ring_scale.assign(2 * rs, 0.0);
}

// The longest cycle test the lean steps take (their slots are tested one
// after the other on every step, and every pixel slot keeps its ring).
constexpr int kLeanCycleTest = 64;

}  // namespace

void TDeepPicture::Offset(int column, int row, TFloatExp& ox, TFloatExp& oy) const {
  const TFloatExp x = dx * static_cast<double>(column) - half_w;
  const TFloatExp y = half_h - dy * static_cast<double>(row);
  if (!turned) {
    ox = x;
    oy = y;
    return;
  }
  ox = x * cos_a - y * sin_a;
  oy = y * cos_a + x * sin_a;
}

TDeepPixelRunner::TDeepPixelRunner(const TDeepPicture& picture)
    : pic_(picture),
      lean_(picture.lean_steps && std::max(picture.cycle_test, 1) <= kLeanCycleTest &&
            !picture.formula.coupled) {
  const int ct = std::max(picture.cycle_test, 1);
  SizeHistory(one_, ct);
  if (lean_) {
    lanes_.resize(kLanes);
    for (TDeepPixel& x : lanes_) SizeHistory(x, ct);
  }
}

TDeepPixel& TDeepPixelRunner::Slot(int i) {
  while (static_cast<int>(lanes_.size()) <= i) {
    lanes_.emplace_back();
    SizeHistory(lanes_.back(), std::max(pic_.cycle_test, 1));
  }
  return lanes_[static_cast<size_t>(i)];
}

void TDeepPixelRunner::Begin(TDeepPixel& x, int column, int row) {
  const TDeepPicture& P = pic_;
  TFloatExp ox, oy;
  P.Offset(column, row, ox, oy);
  x.column = column;
  // Every field of the state is set here (no clearing of the whole first).
  TDeepState& s = x.s;
  s.ref = P.start;
  s.r = 0;
  const TFloatExp zero;
  s.f[0] = s.f[2] = P.julia ? ox : zero;
  s.f[1] = s.f[3] = P.julia ? oy : zero;
  x.dcx = P.julia ? zero : ox;
  x.dcy = P.julia ? zero : oy;
  x.dcxd = x.dcx.ToDouble();
  x.dcyd = x.dcy.ToDouble();
  // The difference and the constant's difference decide the type: the
  // extended one while both lie below the double's comfortable range.
  x.dcTop = std::max(x.dcx.IsZero() ? INT64_MIN : x.dcx.e, x.dcy.IsZero() ? INT64_MIN : x.dcy.e);
  int64_t top = x.dcTop;
  for (int k = 0; k < 4; ++k) {
    if (!s.f[k].IsZero()) top = std::max(top, s.f[k].e);
  }
  s.ext = top != INT64_MIN && top <= kToDoubleExp;
  for (int k = 0; k < 4; ++k) s.d[k] = s.ext ? 0.0 : s.f[k].ToDouble();
  Full(s);
  x.first = s;
  x.it = x.head = x.filled = x.period = 0;
  x.over = x.escaped = x.sampled = x.approximated = false;
  x.zval = 0;
}

void TDeepPixelRunner::Approximate(TDeepPixel& x) {
  TDeepState& s = x.s;
  const TApproximationTable* table = s.ref == pic_.start ? pic_.table : pic_.rebase_table;
  if (table == nullptr || !TApproximationTable::Starts(s.r)) return;
  if (s.ext) {
    ApproximateTiny(x, *table);
    return;
  }
  const auto most = [&] { return RunLimit(pic_, x.it); };
  const TApproximationTable::TNode* n = nullptr;
  // The history only narrows what the table allows: where nothing is
  // allowed without it (most calls), it is not looked at.
  if (table->Find(s.r, Magnitude(s.d[0], s.d[1]), 0.0, most(), n) == 0) return;
  // The values the cycle test looks back to: on this reference, one step
  // apart each; their differences bound.
  double history = 0;
  if (!History(x, [&](const TDeepState& old) {
        const double a = old.ext ? old.f[0].ToDouble() : old.d[0];
        const double b = old.ext ? old.f[1].ToDouble() : old.d[1];
        history = std::max(history, Magnitude(a, b));
      })) {
    return;
  }
  Approximated(x, TakeRuns(
                     x,
                     [&](const TApproximationTable::TNode*& node) {
                       return table->Find(s.r, Magnitude(s.d[0], s.d[1]), history, most(), node);
                     },
                     [&](const TApproximationTable::TNode& node) {
                       ApplyRun(node, x.dcxd, x.dcyd, s.d[0], s.d[1]);
                       s.d[2] = s.d[0];
                       s.d[3] = s.d[1];
                     }));
}

void TDeepPixelRunner::ApproximateTiny(TDeepPixel& x, const TApproximationTable& table) {
  TDeepState& s = x.s;
  const auto most = [&] { return RunLimit(pic_, x.it); };
  const auto magnitude = [](const TFloatExp& a, const TFloatExp& b) { return Abs(a) + Abs(b); };
  const TFloatExp dc = magnitude(x.dcx, x.dcy);
  const TApproximationTable::TNode* n = nullptr;
  if (table.FindTiny(s.r, magnitude(s.f[0], s.f[1]), dc, TFloatExp(), pic_.acc, most(), n) == 0) {
    return;
  }
  TFloatExp history;
  if (!History(x, [&](const TDeepState& old) {
        const TFloatExp a = old.ext ? old.f[0] : TFloatExp(old.d[0]);
        const TFloatExp b = old.ext ? old.f[1] : TFloatExp(old.d[1]);
        const TFloatExp m = magnitude(a, b);
        if (history < m) history = m;
      })) {
    return;
  }
  Approximated(x, TakeRuns(
                     x,
                     [&](const TApproximationTable::TNode*& node) {
                       return table.FindTiny(s.r, magnitude(s.f[0], s.f[1]), dc, history,
                                             pic_.acc, most(), node);
                     },
                     [&](const TApproximationTable::TNode& node) {
                       ApplyRunTiny(node, x.dcx, x.dcy, s.f[0], s.f[1]);
                       s.f[2] = s.f[0];
                       s.f[3] = s.f[1];
                     }));
}

template <class TFind, class TApply>
int64_t TDeepPixelRunner::TakeRuns(TDeepPixel& x, const TFind& find, const TApply& apply) {
  const TApproximationTable::TNode* node = nullptr;
  int64_t done = 0, len;
  while ((len = find(node)) != 0) {
    apply(*node);
    x.s.r += len;
    x.it += static_cast<int>(len);
    done += len;
  }
  return done;
}

template <class TVisit>
bool TDeepPixelRunner::History(const TDeepPixel& x, const TVisit& visit) const {
  const int rs = static_cast<int>(x.ring.size());
  for (int j = 1, at = Back(x.head, rs); j <= x.filled; ++j, at = Back(at, rs)) {
    const TDeepState& old = x.ring[at];
    if (old.ref == x.s.ref && old.r == x.s.r - j) {
      visit(old);
    } else if (j == 1 && RebasedHistory(pic_, x.s.ref, x.s.r)) {
      // The value the step rebased from: on this reference at index 0,
      // where Z is 0, its difference is its value.
      TDeepState rebased;
      for (int k = 0; k < 4; ++k) rebased.d[k] = old.z[k];
      visit(rebased);
    } else {
      return false;
    }
  }
  return true;
}

void TDeepPixelRunner::Approximated(TDeepPixel& x, int64_t done) {
  if (done == 0) return;
  skipped += done;
  Full(x.s);
  // The cycle history starts again here: no cycle could be found in the
  // steps taken nor within the cycle test's reach after them.
  x.first = x.s;
  x.filled = 0;
}

bool TDeepPixelRunner::Step(TDeepPixel& x, TDeepRecorder* recorder) {
  const TDeepPicture& P = pic_;
  const int ct = std::max(P.cycle_test, 1);
  const int rs = ct + 1;  // ring size
  const TFloatExp pf(P.formula.p);
  const double pd = P.formula.p;
  const bool coupled = P.formula.coupled;
  const int game = P.formula.game_no;
  if (P.table != nullptr && recorder == nullptr && !x.approximated) Approximate(x);
  x.approximated = false;
  ++x.it;
  if (x.it > P.max_iter) x.over = true;
  x.Remember(x.head, x.s);  // slot 1
  // The lag differences defined so far advance with this step.
  for (int i = 1, at = Back(x.head, rs); i <= x.filled; ++i, at = Back(at, rs)) {
    if (x.lags[i - 1].tracked) AdvanceLag(game, coupled, pd, x.s, x.ring[at], ct, x.lags[i - 1]);
  }
  if (recorder != nullptr) recorder->Record(x.it, x.s.z[0], x.s.z[1]);

  // Rebase where the orbit passes near the reference's start against its
  // difference (kRebaseWithin), or where the reference ends.
  {
    const int64_t last = x.s.ref->Length() - 1;
    bool rebase = x.s.r >= last;
    if (!rebase && x.s.r > 0) {
      if (x.s.ext) {
        const TFloatExp* Z = x.s.ref->Extended(x.s.r);
        TFloatExp zn, dn;
        for (int k = 0; k < 4; ++k) {
          zn += Abs(Z[k] + x.s.f[k]);
          dn += Abs(x.s.f[k]);
        }
        rebase = zn < dn * TFloatExp(kRebaseWithin);
      } else {
        double zn = 0, dn = 0;
        for (int k = 0; k < 4; ++k) {
          zn += std::fabs(x.s.z[k]);
          dn += std::fabs(x.s.d[k]);
        }
        rebase = zn < kRebaseWithin * dn;
      }
    }
    if (rebase && !(x.s.ref == P.rebase && x.s.r == 0)) {
      if (x.s.ext) {
        const TFloatExp* Z = x.s.ref->Extended(x.s.r);
        for (int k = 0; k < 4; ++k) x.s.f[k] = Z[k] + x.s.f[k];
      } else {
        for (int k = 0; k < 4; ++k) x.s.d[k] = x.s.z[k];
      }
      x.s.ref = P.rebase;
      x.s.r = 0;
    }
  }

  // The step.
  if (x.s.ext) {
    const TFloatExp* Z = x.s.ref->Extended(x.s.r);
    switch (game) {
      case 1000: PerturbedStep<1000>(Z, x.s.f, x.dcx, x.dcy, pf, coupled); break;
      case 1001: PerturbedStep<1001>(Z, x.s.f, x.dcx, x.dcy, pf, coupled); break;
      default: PerturbedStep<1002>(Z, x.s.f, x.dcx, x.dcy, pf, coupled); break;
    }
  } else {
    const double* Z = x.s.ref->Double(x.s.r);
    switch (game) {
      case 1000: PerturbedStep<1000>(Z, x.s.d, x.dcxd, x.dcyd, pd, coupled); break;
      case 1001: PerturbedStep<1001>(Z, x.s.d, x.dcxd, x.dcyd, pd, coupled); break;
      default: PerturbedStep<1002>(Z, x.s.d, x.dcxd, x.dcyd, pd, coupled); break;
    }
  }
  ++x.s.r;
  // The difference changes its type where x.it crosses the double's range.
  if (x.s.ext) {
    int64_t top = x.dcTop;
    for (int k = 0; k < 4; ++k) {
      if (!x.s.f[k].IsZero()) top = std::max(top, x.s.f[k].e);
    }
    if (top > kToDoubleExp) {
      x.s.ext = false;
      for (int k = 0; k < 4; ++k) x.s.d[k] = x.s.f[k].ToDouble();
    }
  } else {
    const double m = std::max(std::max(std::fabs(x.s.d[0]), std::fabs(x.s.d[1])),
                              std::max(std::fabs(x.s.d[2]), std::fabs(x.s.d[3])));
    if (m < 0x1p-950 && x.dcTop < kToExtendedExp && (m > 0 || x.dcTop != INT64_MIN)) {
      x.s.ext = true;
      for (int k = 0; k < 4; ++k) x.s.f[k] = TFloatExp(x.s.d[k]);
    }
  }
  Full(x.s);

  const double sum = std::fabs(x.s.z[0]) + std::fabs(x.s.z[1]) + std::fabs(x.s.z[2]) +
                     std::fabs(x.s.z[3]);
  if (sum > P.max_abs) x.escaped = x.over = true;

  // A slot gets its lag difference when the orbit x.first reaches x.it.
  if (x.filled < ct) {
    ++x.filled;
    const TDeepState& old = x.first;
    TLagDifference& w = x.lags[x.filled - 1];
    w = TLagDifference();
    double est = 0, scale = 0;
    for (int k = 0; k < 4; ++k) {
      est += std::fabs(x.s.z[k] - old.z[k]);
      scale += std::fabs(x.s.z[k]) + std::fabs(old.z[k]) + x.s.scale + old.scale;
    }
    if (!(est >= scale * kTrackBelow)) {
      TFloatExp delta[4];
      Difference(x.s, old, ct, delta);
      w = FromExtended(delta);
      w.tracked = true;
    }
  }
  // Cycle test: slot i is the orbit i iterations back. A difference
  // large against the orbit is read off the doubles; a small one is
  // tracked as a product from the step where x.it became small.
  x.period = 0;
  for (int i = 1, at = x.head; i <= x.filled; ++i, at = Back(at, rs)) {
    TLagDifference& w = x.lags[i - 1];
    const TDeepState& old = x.ring[at];
    double est = 0, scale = 0;
    for (int k = 0; k < 4; ++k) {
      est += std::fabs(x.s.z[k] - old.z[k]);
      scale += std::fabs(x.s.z[k]) + std::fabs(old.z[k]);
    }
    scale += x.s.scale + old.scale;
    if (w.tracked && est > scale * kUntrackAbove) w.tracked = false;
    if (!w.tracked) {
      if (est >= scale * kTrackBelow) {
        // Exact to 2^-20 of itself: the tolerance decides on x.it.
        if (est < P.acc_d) {
          x.period = i;
          break;
        }
        continue;
      }
      if (std::isnan(est)) {  // a distance that is not a number fails d >= acc
        x.period = i;
        break;
      }
      // Became small: one step of the product from the previous
      // difference, which the doubles still held exactly enough.
      const TDeepState& prevNow = x.ring[x.head];
      const TDeepState& prevOld = x.ring[(x.head - i + rs) % rs];
      TLagDifference prev;
      for (int k = 0; k < 4; ++k) prev.m[k] = prevNow.z[k] - prevOld.z[k];
      AdvanceLag(game, coupled, pd, prevNow, prevOld, ct, prev);
      w = prev;
      w.tracked = true;
    }
    const double sum = std::fabs(w.m[0]) + std::fabs(w.m[1]) + std::fabs(w.m[2]) +
                       std::fabs(w.m[3]);
    bool within;
    if (std::isnan(sum)) {
      within = true;
    } else if (w.s == 0 && P.acc_d > 0x1p-1000) {
      within = sum < P.acc_d;
    } else {
      within = Ldexp(TFloatExp(sum), w.s) < P.acc;
    }
    if (within) {
      x.period = i;
      break;
    }
  }
  if (x.it == P.zval_at) {
    const TLagDifference& w = x.lags[0];
    double a = x.s.z[0] - x.ring[x.head].z[0], b = x.s.z[1] - x.ring[x.head].z[1];
    if (w.tracked) {
      const int e = static_cast<int>(std::clamp<int64_t>(w.s, -3000, 3000));
      a = std::ldexp(w.m[0], e);
      b = std::ldexp(w.m[1], e);
    }
    x.zval = a * a + b * b;
    x.sampled = true;
  }
  if (x.period != 0 || x.over) return true;
  x.head = x.head + 1 == rs ? 0 : x.head + 1;
  return false;
}

TPixelResult TDeepPixelRunner::End(const TDeepPixel& x) const {
  TPixelResult res;
  res.x1 = x.s.z[0];
  res.y1 = x.s.z[1];
  res.x2 = x.s.z[2];
  res.y2 = x.s.z[3];
  res.it = x.it;
  res.escaped = x.escaped;
  res.guard = false;
  res.period = x.period;
  res.zval = x.zval;
  res.count = x.it + pic_.colz + (x.escaped ? pic_.colzh : 0);
  return res;
}

template <int F>
int TDeepPixelRunner::LeanAny(TDeepPixel& x, TLeanLane& l) {
  return x.ring.size() == 2 ? LeanStep<F>(pic_, x, l, skipped) : LeanStepRing<F>(pic_, x, l);
}

TPixelResult TDeepPixelRunner::Run(int column, int row, bool& sampled, TDeepRecorder* recorder) {
  TDeepPixel& x = one_;
  Begin(x, column, row);
  const int game = pic_.formula.game_no;
  while (true) {
    if (recorder == nullptr && Lean(x)) {
      TLeanLane l;
      LeanLoad(x, l);
      switch (game) {
        case 1000: while (LeanAny<1000>(x, l) == 1) {} break;
        case 1001: while (LeanAny<1001>(x, l) == 1) {} break;
        default: while (LeanAny<1002>(x, l) == 1) {} break;
      }
      LeanStore(x, l);
    }
    if (Step(x, recorder)) break;
  }
  sampled = x.sampled;
  return End(x);
}

void TDeepPixelRunner::RunRow(int row, int width, const TEmit& emit) {
  if (!lean_) {
    for (int col = 0; col < width; ++col) {
      bool sampled = false;
      const TPixelResult r = Run(col, row, sampled);
      emit(col, r, sampled);
    }
    return;
  }
  switch (pic_.lean_simd) {
    case TSimd::kAvx512: DeepRowLanesAvx512(*this, row, width, emit); return;
    case TSimd::kAvx2: DeepRowLanesAvx2(*this, row, width, emit); return;
    default: break;
  }
  switch (pic_.formula.game_no) {
    case 1000: RunRowLean<1000>(row, width, emit); break;
    case 1001: RunRowLean<1001>(row, width, emit); break;
    default: RunRowLean<1002>(row, width, emit); break;
  }
}

template <int F>
void TDeepPixelRunner::RunRowLean(int row, int width, const TEmit& emit) {
  // Each lane iterates one pixel at a time: a lean step per round while
  // the lean steps take it, else one iteration of the plain loop.
  std::array<TLeanLane, kLanes> lanes;
  std::array<bool, kLanes> leanNow{}, busy{};
  int next = 0, active = 0;
  for (int i = 0; i < kLanes && next < width; ++i, ++next) {
    Begin(lanes_[i], next, row);
    busy[i] = true;
    ++active;
  }
  while (active > 0) {
    for (int i = 0; i < kLanes; ++i) {
      if (!leanNow[i]) continue;
      if (LeanAny<F>(lanes_[i], lanes[i]) != 1) {
        LeanStore(lanes_[i], lanes[i]);
        leanNow[i] = false;
      }
    }
    for (int i = 0; i < kLanes; ++i) {
      if (!busy[i] || leanNow[i]) continue;
      TDeepPixel& x = lanes_[i];
      if (!Step(x, nullptr)) {
        if (Lean(x)) {
          LeanLoad(x, lanes[i]);
          leanNow[i] = true;
        }
        continue;
      }
      emit(x.column, End(x), x.sampled);
      if (next < width) {
        Begin(x, next++, row);
      } else {
        busy[i] = false;
        --active;
      }
    }
  }
}

}  // namespace ork::deep
