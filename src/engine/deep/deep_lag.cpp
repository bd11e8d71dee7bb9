#include "engine/deep/deep_lag.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace ork::deep {
namespace {

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

}  // namespace

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

}  // namespace ork::deep
