// The lean steps of a deep pixel: the ordinary iterations of an uncoupled
// pixel with CycleTest 1, its difference in double, in registers rather
// than in the pixel's state, and the approximation table's runs of steps.
// Whatever needs more (a small cycle distance, zval, the iteration limit,
// an escape, the extended type) is left to the plain loop, which takes
// the same iteration untaken. A few pixels step side by side, so that
// their independent chains of operations overlap.
#pragma once

#include <algorithm>
#include <cmath>

#include "engine/deep/deep_approximation.h"
#include "engine/deep/deep_pixel.h"
#include "engine/deep/deep_step.h"

namespace ork::deep {

// An upper bound of |(a, b)| (at most 1.42 times it), cheap enough for every
// iteration and without squares that underflow: the table's tests only
// need the magnitudes not to be underestimated.
inline double Magnitude(double a, double b) { return std::fabs(a) + std::fabs(b); }

// The ring position before `at` (no division in the per-slot loops).
inline int Back(int at, int size) { return at == 0 ? size - 1 : at - 1; }

// A pixel's state while the lean steps take it: d2 = d0 and d3 = d1
// (uncoupled), and the value before it, which the plain loop keeps in its
// ring.
struct TLeanLane {
  const TReferenceOrbit* ref = nullptr;
  int64_t r = 0;
  double d0 = 0, d1 = 0, z[4] = {0, 0, 0, 0}, scale = 0;
  const TReferenceOrbit* pref = nullptr;
  int64_t pr = 0;
  double pd0 = 0, pd1 = 0, pz[4] = {0, 0, 0, 0}, pscale = 0;
  int head = 0;
  int done = 0, plain = 0;  // iterations taken, of those one by one
  bool approximated = false;
};

inline void LeanLoad(const TDeepPixel& x, TLeanLane& l) {
  const TDeepState& s = x.s;
  l.ref = s.ref;
  l.r = s.r;
  l.d0 = s.d[0];
  l.d1 = s.d[1];
  for (int k = 0; k < 4; ++k) l.z[k] = s.z[k];
  l.scale = s.scale;
  const TDeepState& before = x.ring[Back(x.head, 2)];
  l.pref = before.ref;
  l.pr = before.r;
  l.pd0 = before.ext ? before.f[0].ToDouble() : before.d[0];
  l.pd1 = before.ext ? before.f[1].ToDouble() : before.d[1];
  for (int k = 0; k < 4; ++k) l.pz[k] = before.z[k];
  l.pscale = before.scale;
  l.head = x.head;
  l.done = l.plain = 0;
  l.approximated = false;
}

// Back into the pixel's state, as the plain loop would have left it.
inline void LeanStore(TDeepPixel& x, const TLeanLane& l) {
  if (l.done == 0) return;
  const auto put = [](TDeepState& t, const TReferenceOrbit* ref, int64_t r, double d0, double d1,
                      const double* z, double scale) {
    t.ref = ref;
    t.r = r;
    t.ext = false;
    t.d[0] = t.d[2] = d0;
    t.d[1] = t.d[3] = d1;
    for (int k = 0; k < 4; ++k) t.z[k] = z[k];
    t.scale = scale;
  };
  x.it += l.done;
  put(x.s, l.ref, l.r, l.d0, l.d1, l.z, l.scale);
  // The ring (two places): the head moved on with each step taken one by
  // one, the place behind it holds the value before the current one.
  x.head = l.head;
  if (l.plain > 0) put(x.ring[Back(x.head, 2)], l.pref, l.pr, l.pd0, l.pd1, l.pz, l.pscale);
  if (l.approximated) {
    // As after Approximate: the cycle history starts again here.
    x.first = x.s;
    x.filled = 0;
    x.approximated = true;
  }
}

// A run of the table was taken and the plain loop takes the next step:
// it starts the cycle history again (as after Approximate).
inline int Handover(TLeanLane& l) {
  l.approximated = true;
  return 2;
}

// One step, or a run of the table's steps and one step: 1 when taken; 2
// when a run was taken and the plain loop takes the step after it; 0 when
// the next iteration needs the plain loop (the lane unchanged).
template <int F>
[[gnu::always_inline]] inline int LeanStep(const TDeepPicture& P, const TDeepPixel& x, TLeanLane& l,
                    long long& skipped) {
  const auto limit = [&] {  // the next iteration reaches the limit or zval
    const int now = x.it + l.done;
    return now + 1 > P.max_iter || now + 1 == P.zval_at;
  };
  if (limit()) return 0;
  bool ran = false;  // a run of the table was taken
  if (P.table != nullptr && (l.r & 1) == 0) {
    // As Approximate: runs where the table allows them for the difference
    // and the history (the value just before, on the same reference).
    const TApproximationTable* table = l.ref == P.start ? P.table : P.rebase_table;
    if (table != nullptr && l.pref == l.ref && l.pr == l.r - 1) {
      const auto most = [&] {
        const int taken = x.it + l.done;
        int64_t m = static_cast<int64_t>(P.max_iter) - taken;
        if (taken < P.zval_at) m = std::min<int64_t>(m, P.zval_at - taken - 1);
        return m;
      };
      const double history = std::max(0.0, Magnitude(l.pd0, l.pd1));  // as Approximate
      const TApproximationTable::TNode* n = nullptr;
      int64_t len;
      while ((len = table->Find(l.r, Magnitude(l.d0, l.d1), history, most(), n)) != 0) {
        const double a = n->ax * l.d0 - n->ay * l.d1 + n->bx * x.dcxd - n->by * x.dcyd;
        const double b = n->ax * l.d1 + n->ay * l.d0 + n->bx * x.dcyd + n->by * x.dcxd;
        l.d0 = a;
        l.d1 = b;
        l.r += len;
        l.done += static_cast<int>(len);
        skipped += len;
        ran = true;
      }
      if (ran) {
        const double* Z = l.ref->Double(l.r);
        const double d[4] = {l.d0, l.d1, l.d0, l.d1};
        l.scale = 0;
        for (int k = 0; k < 4; ++k) {
          l.z[k] = Z[k] + d[k];
          l.scale += std::fabs(Z[k]) + std::fabs(d[k]);
        }
        if (limit()) return Handover(l);
      }
    }
  }
  // Rebase. Values in scalars throughout: arrays here become vectors
  // loaded from scalar stores, which stall on every iteration.
  const TReferenceOrbit* ref = l.ref;
  int64_t r = l.r;
  double a = l.d0, b = l.d1;
  const double z0 = l.z[0], z1 = l.z[1], z2 = l.z[2], z3 = l.z[3];
  bool rebase = r >= ref->Length() - 1;
  if (!rebase && r > 0) {
    const double zn = std::fabs(z0) + std::fabs(z1) + std::fabs(z2) + std::fabs(z3);
    const double dn = std::fabs(a) + std::fabs(b) + std::fabs(a) + std::fabs(b);
    rebase = zn < dn;
  }
  if (rebase && !(ref == P.rebase && r == 0)) {
    a = z0;
    b = z1;
    ref = P.rebase;
    r = 0;
  }
  // The step (d2 = d0, d3 = d1 after it, uncoupled).
  double d[4] = {a, b, a, b};
  PerturbedStep<F>(ref->Double(r), d, x.dcxd, x.dcyd, 0.0, false);
  const double n0 = d[0], n1 = d[1];
  ++r;
  // After a run the plain loop's cycle history starts again: without an
  // event this step is what it would take, else it takes this step.
  const int event = ran ? Handover(l) : 0;
  if (std::max(std::fabs(n0), std::fabs(n1)) < 0x1p-950) return event;  // the extended type may take over
  const double* Z = ref->Double(r);
  const double Z0 = Z[0], Z1 = Z[1], Z2 = Z[2], Z3 = Z[3];
  const double w0 = Z0 + n0, w1 = Z1 + n1, w2 = Z2 + n0, w3 = Z3 + n1;
  const double an0 = std::fabs(n0), an1 = std::fabs(n1);
  const double scale =
      (std::fabs(Z0) + an0) + (std::fabs(Z1) + an1) + (std::fabs(Z2) + an0) + (std::fabs(Z3) + an1);
  const double aw0 = std::fabs(w0), aw1 = std::fabs(w1), aw2 = std::fabs(w2), aw3 = std::fabs(w3);
  if (aw0 + aw1 + aw2 + aw3 > P.max_abs) return event;
  // Slot 1, decided by the doubles only while its distance is large.
  const double est = std::fabs(w0 - z0) + std::fabs(w1 - z1) + std::fabs(w2 - z2) + std::fabs(w3 - z3);
  const double cscale = (aw0 + std::fabs(z0)) + (aw1 + std::fabs(z1)) + (aw2 + std::fabs(z2)) +
                        (aw3 + std::fabs(z3)) + (scale + l.scale);
  if (!(est >= cscale * kTrackBelow) || est < P.acc_d) return event;
  if (ran) {
    // The slot's first distance, as the plain loop measures it when the
    // history starts again: large, or the slot would be tracked.
    double first = 0;
    const double w[4] = {w0, w1, w2, w3}, z[4] = {z0, z1, z2, z3};
    for (int k = 0; k < 4; ++k) first += std::fabs(w[k]) + std::fabs(z[k]) + scale + l.scale;
    if (!(est >= first * kTrackBelow)) return event;
  }
  // Taken.
  l.pref = l.ref, l.pr = l.r, l.pd0 = l.d0, l.pd1 = l.d1, l.pscale = l.scale;
  l.pz[0] = z0, l.pz[1] = z1, l.pz[2] = z2, l.pz[3] = z3;
  l.ref = ref, l.r = r, l.d0 = n0, l.d1 = n1, l.scale = scale;
  l.z[0] = w0, l.z[1] = w1, l.z[2] = w2, l.z[3] = w3;
  ++l.done;
  ++l.plain;
  l.head ^= 1;
  return 1;
}

}  // namespace ork::deep
