#include "engine/deep/deep_pixel.h"

#include <algorithm>
#include <cmath>

#include "engine/deep/deep_approximation.h"
#include "engine/deep/deep_step.h"

namespace ork::deep {
namespace {

// Below this a difference leaves the double for the extended type, above
// the other one it comes back (a gap, so that no orbit flips every step).
constexpr int kToExtendedExp = -950;
constexpr int kToDoubleExp = -900;
// A lag difference is tracked as a product below this share of the orbit's
// size (where the doubles' own difference keeps fewer than 20 bits) and
// read off the doubles again above the other one.
constexpr double kTrackBelow = 0x1p-33;
constexpr double kUntrackAbove = 0x1p-25;

void Full(TDeepState& s) {
  const double* Z = s.ref->Double(s.r);
  s.scale = 0;
  for (int k = 0; k < 4; ++k) {
    const double dk = s.ext ? s.f[k].ToDouble() : s.d[k];
    s.z[k] = Z[k] + dk;
    s.scale += std::fabs(Z[k]) + std::fabs(dk);
  }
}

// z(now) - z(old), components x1, y1, x2, y2, as exact as the reference
// keeps it: the same reference value cancels, a kept exact difference
// replaces the doubles' one.
void Difference(const TDeepState& now, const TDeepState& old, int cycleTest, TFloatExp out[4]) {
  auto diff = [](const TDeepState& a, const TDeepState& b, int k) {
    if (!a.ext && !b.ext) return TFloatExp(a.d[k] - b.d[k]);
    const TFloatExp fa = a.ext ? a.f[k] : TFloatExp(a.d[k]);
    const TFloatExp fb = b.ext ? b.f[k] : TFloatExp(b.d[k]);
    return fa - fb;
  };
  if (now.ref == old.ref && now.r == old.r) {
    for (int k = 0; k < 4; ++k) out[k] = diff(now, old, k);
    return;
  }
  const TReferenceDiff* kept = nullptr;
  if (now.ref == old.ref && now.r > old.r && now.r - old.r <= cycleTest) {
    kept = now.ref->Diff(now.r, static_cast<int>(now.r - old.r));
  }
  if (kept != nullptr) {
    for (int k = 0; k < 4; ++k) out[k] = kept->d[k] + diff(now, old, k);
    return;
  }
  if (now.ref == old.ref && old.r > now.r && old.r - now.r <= cycleTest) {
    kept = now.ref->Diff(old.r, static_cast<int>(old.r - now.r));
    if (kept != nullptr) {
      for (int k = 0; k < 4; ++k) out[k] = diff(now, old, k) - kept->d[k];
      return;
    }
  }
  const double* Zn = now.ref->Double(now.r);
  const double* Zo = old.ref->Double(old.r);
  for (int k = 0; k < 4; ++k) out[k] = TFloatExp(Zn[k] - Zo[k]) + diff(now, old, k);
}

// The lag difference's step: w <- f(z) - f(o) written as products of w
// with the sums S = z + o (no subtraction of nearby values). T is double
// (w's mantissas) or TFloatExp.
template <class T>
void LagStep(int game, bool coupled, const T& p, const T* S, T* m) {
  const T a1 = m[0], b1 = m[1], a2 = m[2], b2 = m[3];
  if (game == 1000) {
    m[0] = S[0] * a1 - S[1] * b1;
    m[1] = S[0] * b1 + S[1] * a1;
    if (coupled) {
      m[0] = m[0] + p * a2;
      m[1] = m[1] + p * b2;
      m[2] = S[2] * a2 - S[3] * b2 - p * a1;
      m[3] = S[2] * b2 + S[3] * a2 - p * b1;
    }
  } else if (game == 1001) {
    m[0] = S[0] * a1 + S[1] * b1;
    m[1] = T(0.0);
    if (coupled) {
      m[0] = m[0] + p * a2;
      m[1] = p * b2;
      m[2] = S[2] * a2 + S[3] * b2 - p * a1;
      m[3] = -(p * b1);
    }
  } else {
    m[0] = S[0] * b1 + S[1] * a1;
    m[1] = S[0] * a1 - S[1] * b1;
    if (coupled) {
      m[2] = S[2] * b2 + S[3] * a2 - p * m[1];
      m[3] = S[2] * a2 - S[3] * b2 - p * m[0];
    }
  }
  if (!coupled) {
    m[2] = m[0];
    m[3] = m[1];
  }
}

// Whether the doubles of a and b lose their sum.
inline bool LosesSum(double a, double b) {
  const double scale = std::fabs(a) + std::fabs(b);
  return scale < 1e-270 || std::fabs(a + b) <= scale * 0x1p-40;
}

// The exact-as-kept sum z(now) + z(old), as Difference does for the
// difference.
void Sum(const TDeepState& now, const TDeepState& old, int cycleTest, TFloatExp out[4]) {
  auto dsum = [](const TDeepState& a, const TDeepState& b, int k) {
    if (!a.ext && !b.ext) return TFloatExp(a.d[k] + b.d[k]);
    const TFloatExp fa = a.ext ? a.f[k] : TFloatExp(a.d[k]);
    const TFloatExp fb = b.ext ? b.f[k] : TFloatExp(b.d[k]);
    return fa + fb;
  };
  if (now.ref == old.ref && now.r == old.r) {
    const TFloatExp* Z = now.ref->Extended(now.r);
    for (int k = 0; k < 4; ++k) out[k] = Ldexp(Z[k], 1) + dsum(now, old, k);
    return;
  }
  const TReferenceDiff* kept = nullptr;
  if (now.ref == old.ref) {
    const int64_t back = now.r - old.r;
    if (back > 0 && back <= cycleTest) kept = now.ref->Diff(now.r, static_cast<int>(back), true);
    if (back < 0 && -back <= cycleTest) kept = now.ref->Diff(old.r, static_cast<int>(-back), true);
  }
  if (kept != nullptr) {
    for (int k = 0; k < 4; ++k) out[k] = kept->d[k] + dsum(now, old, k);
    return;
  }
  const double* Zn = now.ref->Double(now.r);
  const double* Zo = old.ref->Double(old.r);
  for (int k = 0; k < 4; ++k) out[k] = TFloatExp(Zn[k] + Zo[k]) + dsum(now, old, k);
}

TLagDifference FromExtended(const TFloatExp d[4]);

// Advances the lag difference w by the step from orbit state `now`, with
// `old` the state the lag back.
void AdvanceLag(int game, bool coupled, double p, const TDeepState& now, const TDeepState& old,
                int cycleTest, TLagDifference& w) {
  double S[4];
  bool exact = false;
  for (int k = 0; k < 4; ++k) {
    S[k] = now.z[k] + old.z[k];
    exact = exact || LosesSum(now.z[k], old.z[k]);
  }
  double* m = w.m;
  if (exact) {
    // Nearly opposite values: the sums from the reference's kept ones, the
    // step in the extended type.
    TFloatExp Sf[4], mf[4];
    Sum(now, old, cycleTest, Sf);
    for (int k = 0; k < 4; ++k) mf[k] = Ldexp(TFloatExp(m[k]), w.s);
    LagStep(game, coupled, TFloatExp(p), Sf, mf);
    const bool tracked = w.tracked;
    w = FromExtended(mf);
    w.tracked = tracked;
    return;
  }
  LagStep(game, coupled, p, S, m);
  const double top = std::max(std::max(std::fabs(m[0]), std::fabs(m[1])),
                              std::max(std::fabs(m[2]), std::fabs(m[3])));
  if (top < 0x1p-500 && top > 0) {
    for (int k = 0; k < 4; ++k) m[k] *= 0x1p500;
    w.s -= 500;
  } else if (top > 0x1p500) {
    for (int k = 0; k < 4; ++k) m[k] *= 0x1p-500;
    w.s += 500;
  }
}

TLagDifference FromExtended(const TFloatExp d[4]) {
  TLagDifference w;
  int64_t top = INT64_MIN;
  for (int k = 0; k < 4; ++k) {
    if (!d[k].IsZero()) top = std::max(top, d[k].e);
  }
  if (top == INT64_MIN) return w;
  w.s = top;
  for (int k = 0; k < 4; ++k) {
    w.m[k] = d[k].IsZero() ? 0.0 : std::ldexp(d[k].m, static_cast<int>(std::max<int64_t>(d[k].e - top, -2000)));
  }
  return w;
}

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
      ring_(static_cast<size_t>(std::max(picture.cycle_test, 1)) + 1),
      lags_(static_cast<size_t>(std::max(picture.cycle_test, 1))) {}

void TDeepPixelRunner::Approximate(TDeepState& s, int& it, TDeepState& first, int& filled,
                                   double dcx, double dcy) {
  const TApproximationTable* table = s.ref == pic_.start ? pic_.table : pic_.rebase_table;
  if (table == nullptr) return;
  // The values the cycle test looks back to: on this reference, one step
  // apart each; their differences bound.
  const int rs = static_cast<int>(ring_.size());
  double history = 0;
  for (int j = 1; j <= filled; ++j) {
    const TDeepState& old = ring_[(ringHead_ - (j - 1) + rs) % rs];
    if (old.ref != s.ref || old.r != s.r - j) return;
    const double a = old.ext ? old.f[0].ToDouble() : old.d[0];
    const double b = old.ext ? old.f[1].ToDouble() : old.d[1];
    history = std::max(history, std::hypot(a, b));
  }
  int64_t done = 0;
  while (true) {
    // Leave the step that reaches the iteration limit, and the one that
    // samples zval, to the plain iteration.
    int64_t most = static_cast<int64_t>(pic_.max_iter) - it;
    if (it < pic_.zval_at) most = std::min<int64_t>(most, pic_.zval_at - it - 1);
    if (most < 2) break;
    const TApproximationTable::TNode* n = nullptr;
    const int64_t len = table->Find(s.r, std::hypot(s.d[0], s.d[1]), history, most, n);
    if (len == 0) break;
    const double x = n->ax * s.d[0] - n->ay * s.d[1] + n->bx * dcx - n->by * dcy;
    const double y = n->ax * s.d[1] + n->ay * s.d[0] + n->bx * dcy + n->by * dcx;
    s.d[0] = s.d[2] = x;
    s.d[1] = s.d[3] = y;
    s.r += len;
    it += static_cast<int>(len);
    done += len;
  }
  if (done == 0) return;
  skipped += done;
  Full(s);
  // The cycle history starts again here: no cycle could be found in the
  // steps taken nor within the cycle test's reach after them.
  first = s;
  filled = 0;
}

TPixelResult TDeepPixelRunner::Run(int column, int row, bool& sampled, TDeepRecorder* recorder) {
  const TDeepPicture& P = pic_;
  const int ct = std::max(P.cycle_test, 1);
  TFloatExp ox, oy;
  P.Offset(column, row, ox, oy);

  TDeepState s;
  s.ref = P.start;
  s.r = 0;
  TFloatExp dcx, dcy;  // 0 in Julia mode
  if (P.julia) {
    s.f[0] = s.f[2] = ox;
    s.f[1] = s.f[3] = oy;
  } else {
    dcx = ox;
    dcy = oy;
  }
  const double dcxd = dcx.ToDouble(), dcyd = dcy.ToDouble();
  const TFloatExp pf(P.formula.p);
  const double pd = P.formula.p;
  const bool coupled = P.formula.coupled;
  const int game = P.formula.game_no;
  // The difference and the constant's difference decide the type: the
  // extended one while both lie below the double's comfortable range.
  const int64_t dcTop = std::max(dcx.IsZero() ? INT64_MIN : dcx.e, dcy.IsZero() ? INT64_MIN : dcy.e);
  int64_t top = dcTop;
  for (int k = 0; k < 4; ++k) {
    if (!s.f[k].IsZero()) top = std::max(top, s.f[k].e);
  }
  s.ext = top != INT64_MIN && top <= kToDoubleExp;
  if (!s.ext) {
    for (int k = 0; k < 4; ++k) s.d[k] = s.f[k].ToDouble();
  }
  Full(s);

  TPixelResult res;
  sampled = false;
  int it = 0;
  const int rs = ct + 1;  // ring size
  int head = 0;
  int filled = 0;
  TDeepState first = s;
  const bool mayApproximate = P.table != nullptr && recorder == nullptr;
  bool over = false, escaped = false;
  int period = 0;
  double zval = 0;
  while (true) {
    if (mayApproximate && !s.ext) {
      ringHead_ = (head - 1 + rs) % rs;  // the newest value in the ring
      Approximate(s, it, first, filled, dcxd, dcyd);
    }
    ++it;
    if (it > P.max_iter) over = true;
    ring_[head] = s;  // slot 1
    // The lag differences defined so far advance with this step.
    for (int i = 1; i <= filled; ++i) {
      if (lags_[i - 1].tracked) {
        AdvanceLag(game, coupled, pd, s, ring_[(head - i + rs) % rs], ct, lags_[i - 1]);
      }
    }
    if (recorder != nullptr) recorder->Record(it, s.z[0], s.z[1]);

    // Rebase where the orbit passes closer to the reference's start than
    // its difference is large, or where the reference ends.
    {
      const int64_t last = s.ref->Length() - 1;
      bool rebase = s.r >= last;
      if (!rebase && s.r > 0) {
        if (s.ext) {
          const TFloatExp* Z = s.ref->Extended(s.r);
          TFloatExp zn, dn;
          for (int k = 0; k < 4; ++k) {
            zn += Abs(Z[k] + s.f[k]);
            dn += Abs(s.f[k]);
          }
          rebase = zn < dn;
        } else {
          double zn = 0, dn = 0;
          for (int k = 0; k < 4; ++k) {
            zn += std::fabs(s.z[k]);
            dn += std::fabs(s.d[k]);
          }
          rebase = zn < dn;
        }
      }
      if (rebase && !(s.ref == P.rebase && s.r == 0)) {
        if (s.ext) {
          const TFloatExp* Z = s.ref->Extended(s.r);
          for (int k = 0; k < 4; ++k) s.f[k] = Z[k] + s.f[k];
        } else {
          for (int k = 0; k < 4; ++k) s.d[k] = s.z[k];
        }
        s.ref = P.rebase;
        s.r = 0;
      }
    }

    // The step.
    if (s.ext) {
      const TFloatExp* Z = s.ref->Extended(s.r);
      switch (game) {
        case 1000: PerturbedStep<1000>(Z, s.f, dcx, dcy, pf, coupled); break;
        case 1001: PerturbedStep<1001>(Z, s.f, dcx, dcy, pf, coupled); break;
        default: PerturbedStep<1002>(Z, s.f, dcx, dcy, pf, coupled); break;
      }
    } else {
      const double* Z = s.ref->Double(s.r);
      switch (game) {
        case 1000: PerturbedStep<1000>(Z, s.d, dcxd, dcyd, pd, coupled); break;
        case 1001: PerturbedStep<1001>(Z, s.d, dcxd, dcyd, pd, coupled); break;
        default: PerturbedStep<1002>(Z, s.d, dcxd, dcyd, pd, coupled); break;
      }
    }
    ++s.r;
    // The difference changes its type where it crosses the double's range.
    if (s.ext) {
      int64_t top = dcTop;
      for (int k = 0; k < 4; ++k) {
        if (!s.f[k].IsZero()) top = std::max(top, s.f[k].e);
      }
      if (top > kToDoubleExp) {
        s.ext = false;
        for (int k = 0; k < 4; ++k) s.d[k] = s.f[k].ToDouble();
      }
    } else {
      const double m = std::max(std::max(std::fabs(s.d[0]), std::fabs(s.d[1])),
                                std::max(std::fabs(s.d[2]), std::fabs(s.d[3])));
      if (m < 0x1p-950 && dcTop < kToExtendedExp && (m > 0 || dcTop != INT64_MIN)) {
        s.ext = true;
        for (int k = 0; k < 4; ++k) s.f[k] = TFloatExp(s.d[k]);
      }
    }
    Full(s);

    const double sum = std::fabs(s.z[0]) + std::fabs(s.z[1]) + std::fabs(s.z[2]) +
                       std::fabs(s.z[3]);
    if (sum > P.max_abs) escaped = over = true;

    // A slot gets its lag difference when the orbit first reaches it.
    if (filled < ct) {
      ++filled;
      const TDeepState& old = first;
      TLagDifference& w = lags_[filled - 1];
      w = TLagDifference();
      double est = 0, scale = 0;
      for (int k = 0; k < 4; ++k) {
        est += std::fabs(s.z[k] - old.z[k]);
        scale += std::fabs(s.z[k]) + std::fabs(old.z[k]) + s.scale + old.scale;
      }
      if (!(est >= scale * kTrackBelow)) {
        TFloatExp delta[4];
        Difference(s, old, ct, delta);
        w = FromExtended(delta);
        w.tracked = true;
      }
    }
    // Cycle test: slot i is the orbit i iterations back. A difference
    // large against the orbit is read off the doubles; a small one is
    // tracked as a product from the step where it became small.
    period = 0;
    for (int i = 1; i <= filled; ++i) {
      TLagDifference& w = lags_[i - 1];
      const TDeepState& old = ring_[(head - (i - 1) + rs) % rs];
      double est = 0, scale = 0;
      for (int k = 0; k < 4; ++k) {
        est += std::fabs(s.z[k] - old.z[k]);
        scale += std::fabs(s.z[k]) + std::fabs(old.z[k]);
      }
      scale += s.scale + old.scale;
      if (w.tracked && est > scale * kUntrackAbove) w.tracked = false;
      if (!w.tracked) {
        if (est >= scale * kTrackBelow) {
          // Exact to 2^-20 of itself: the tolerance decides on it.
          if (est < P.acc_d) {
            period = i;
            break;
          }
          continue;
        }
        if (std::isnan(est)) {  // a distance that is not a number fails d >= acc
          period = i;
          break;
        }
        // Became small: one step of the product from the previous
        // difference, which the doubles still held exactly enough.
        const TDeepState& prevNow = ring_[head];
        const TDeepState& prevOld = ring_[(head - i + rs) % rs];
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
        period = i;
        break;
      }
    }
    if (it == P.zval_at) {
      const TLagDifference& w = lags_[0];
      double a = s.z[0] - ring_[head].z[0], b = s.z[1] - ring_[head].z[1];
      if (w.tracked) {
        const int e = static_cast<int>(std::clamp<int64_t>(w.s, -3000, 3000));
        a = std::ldexp(w.m[0], e);
        b = std::ldexp(w.m[1], e);
      }
      zval = a * a + b * b;
      sampled = true;
    }
    if (period != 0 || over) break;
    head = (head + 1) % rs;
  }
  res.x1 = s.z[0];
  res.y1 = s.z[1];
  res.x2 = s.z[2];
  res.y2 = s.z[3];
  res.it = it;
  res.escaped = escaped;
  res.guard = false;
  res.period = period;
  res.zval = zval;
  res.count = it + P.colz + (escaped ? P.colzh : 0);
  return res;
}

}  // namespace ork::deep
