// The lean steps of a deep pixel: the ordinary iterations of an uncoupled
// pixel with CycleTest up to 64, its difference in double, in registers
// rather than in the pixel's state, and (CycleTest 1) the approximation
// table's runs of steps.
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

// At index 1 of the rebase reference the value before is on it at index
// 0, where Z is 0: its difference is its value, whatever reference it was
// taken on (it may be the one a rebase started again from).
inline bool RebasedHistory(const TDeepPicture& P, const TReferenceOrbit* ref, int64_t r) {
  return r == 1 && ref == P.rebase;
}

// The history bound the table's search takes from the value before (its
// full value pz where RebasedHistory holds, else its difference pd), as
// Approximate takes it.
inline double RunHistory(bool rebased, double pz0, double pz1, double pd0, double pd1) {
  return std::max(0.0, rebased ? Magnitude(pz0, pz1) : Magnitude(pd0, pd1));
}

// How many steps a run of the table may take after `taken` iterations: it
// leaves the step that reaches Max_Iterat, and the one that samples zval,
// to the plain loop.
inline int64_t RunLimit(const TDeepPicture& P, int64_t taken) {
  int64_t m = static_cast<int64_t>(P.max_iter) - taken;
  if (taken < P.zval_at) m = std::min<int64_t>(m, P.zval_at - taken - 1);
  return m;
}

// d <- A d + B dc over a run of the table.
inline void ApplyRun(const TApproximationTable::TNode& n, double dcx, double dcy, double& d0,
                     double& d1) {
  const double a = n.ax * d0 - n.ay * d1 + n.bx * dcx - n.by * dcy;
  const double b = n.ax * d1 + n.ay * d0 + n.bx * dcy + n.by * dcx;
  d0 = a;
  d1 = b;
}

// The same in the extended type: d <- A d + B dc.
inline void ApplyRunTiny(const TApproximationTable::TNode& n, const TFloatExp& dcx,
                         const TFloatExp& dcy, TFloatExp& d0, TFloatExp& d1) {
  const TFloatExp a = d0 * n.ax - d1 * n.ay + dcx * n.bx - dcy * n.by;
  const TFloatExp b = d1 * n.ax + d0 * n.ay + dcy * n.bx + dcx * n.by;
  d0 = a;
  d1 = b;
}

// A state as the lean steps hold it: the difference in double, orbit 2 the
// copy of orbit 1.
inline void PutLean(TDeepState& t, const TReferenceOrbit* ref, int64_t r, double d0, double d1,
                    const double* z, double scale) {
  t.ref = ref;
  t.r = r;
  t.ext = false;
  t.d[0] = t.d[2] = d0;
  t.d[1] = t.d[3] = d1;
  for (int k = 0; k < 4; ++k) t.z[k] = z[k];
  t.scale = scale;
}

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
  // Runs of the table were taken (by the vector lanes) and no step since.
  bool ran = false;
};

inline void LeanLoad(const TDeepPixel& x, TLeanLane& l) {
  const TDeepState& s = x.s;
  l.ref = s.ref;
  l.r = s.r;
  l.d0 = s.d[0];
  l.d1 = s.d[1];
  for (int k = 0; k < 4; ++k) l.z[k] = s.z[k];
  l.scale = s.scale;
  // The value before (a ring of two; longer rings the lean steps keep).
  const TDeepState& before = x.ring[Back(x.head, static_cast<int>(x.ring.size()))];
  l.pref = before.ref;
  l.pr = before.r;
  l.pd0 = before.ext ? before.f[0].ToDouble() : before.d[0];
  l.pd1 = before.ext ? before.f[1].ToDouble() : before.d[1];
  for (int k = 0; k < 4; ++k) l.pz[k] = before.z[k];
  l.pscale = before.scale;
  l.head = x.head;
  l.done = l.plain = 0;
  l.approximated = l.ran = false;
}

// Back into the pixel's state, as the plain loop would have left it.
inline void LeanStore(TDeepPixel& x, const TLeanLane& l) {
  if (l.done == 0) return;
  x.it += l.done;
  PutLean(x.s, l.ref, l.r, l.d0, l.d1, l.z, l.scale);
  // The ring (two places): the head moved on with each step taken one by
  // one, the place behind it holds the value before the current one.
  if (x.ring.size() == 2) {
    x.head = l.head;
    if (l.plain > 0) PutLean(x.ring[Back(x.head, 2)], l.pref, l.pr, l.pd0, l.pd1, l.pz, l.pscale);
    if (l.plain > 0 && x.filled == 0) {
      // A history started afresh (a new pixel) holds the value before now,
      // its slot's difference large (the lanes test it as the plain loop
      // tests a first distance).
      x.filled = 1;
      x.lags[0] = TLagDifference();
    }
  }
  if (l.approximated) {
    // As after Approximate: the cycle history starts again here.
    x.first = x.s;
    x.filled = 0;
    x.approximated = true;
  }
}

// The state after one step, before the cycle test decides on it.
struct TLeanNext {
  const TReferenceOrbit* ref = nullptr;
  int64_t r = 0;
  double n0 = 0, n1 = 0, w[4] = {0, 0, 0, 0}, scale = 0;
};

// Rebase, the step, the new value and its scale; false where the plain
// loop must take the step (the extended type may take over, or it
// escapes). Values in scalars throughout: arrays here become vectors
// loaded from scalar stores, which stall on every iteration.
template <int F>
[[gnu::always_inline]] inline bool LeanAdvance(const TDeepPicture& P, const TDeepPixel& x,
                                               const TLeanLane& l, TLeanNext& n) {
  const TReferenceOrbit* ref = l.ref;
  int64_t r = l.r;
  double a = l.d0, b = l.d1;
  const double z0 = l.z[0], z1 = l.z[1], z2 = l.z[2], z3 = l.z[3];
  bool rebase = r >= ref->Length() - 1;
  if (!rebase && r > 0) {
    const double zn = std::fabs(z0) + std::fabs(z1) + std::fabs(z2) + std::fabs(z3);
    const double dn = std::fabs(a) + std::fabs(b) + std::fabs(a) + std::fabs(b);
    rebase = zn < kRebaseWithin * dn;
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
  if (std::max(std::fabs(n0), std::fabs(n1)) < 0x1p-950) return false;
  const double* Z = ref->Double(r);
  const double Z0 = Z[0], Z1 = Z[1], Z2 = Z[2], Z3 = Z[3];
  const double w0 = Z0 + n0, w1 = Z1 + n1, w2 = Z2 + n0, w3 = Z3 + n1;
  const double an0 = std::fabs(n0), an1 = std::fabs(n1);
  n.scale =
      (std::fabs(Z0) + an0) + (std::fabs(Z1) + an1) + (std::fabs(Z2) + an0) + (std::fabs(Z3) + an1);
  if (std::fabs(w0) + std::fabs(w1) + std::fabs(w2) + std::fabs(w3) > P.max_abs) return false;
  n.ref = ref;
  n.r = r;
  n.n0 = n0;
  n.n1 = n1;
  n.w[0] = w0, n.w[1] = w1, n.w[2] = w2, n.w[3] = w3;
  return true;
}

inline void Take(TLeanLane& l, const TLeanNext& n) {
  l.ref = n.ref, l.r = n.r, l.d0 = n.n0, l.d1 = n.n1, l.scale = n.scale;
  for (int k = 0; k < 4; ++k) l.z[k] = n.w[k];
  ++l.done;
  ++l.plain;
}

// Whether each of n earlier values (o0, o1 and their scale) lies so far
// from the new value (w0, w1 and its scale) that the doubles decide its
// cycle-test slot, and beyond the tolerance: the slot test of the lean
// steps, over many slots at once (deep_lean_slots.cpp).
bool SlotsLarge(const double* o0, const double* o1, const double* oscale, int n, double w0,
                double w1, double scale, double acc);

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
  bool ran = l.ran;  // a run of the table was taken
  l.ran = false;
  if (limit()) return ran ? Handover(l) : 0;
  if (P.table != nullptr && TApproximationTable::Starts(l.r)) {
    // As Approximate: runs where the table allows them for the difference
    // and the history (the value just before, on the same reference, or
    // the one a rebase started again from).
    const TApproximationTable* table = l.ref == P.start ? P.table : P.rebase_table;
    const bool rebased = RebasedHistory(P, l.ref, l.r);
    if (table != nullptr && (ran || rebased || (l.pref == l.ref && l.pr == l.r - 1))) {
      const double history = RunHistory(rebased, l.pz[0], l.pz[1], l.pd0, l.pd1);
      const TApproximationTable::TNode* n = nullptr;
      int64_t len;
      while ((len = table->Find(l.r, Magnitude(l.d0, l.d1), history,
                                RunLimit(P, x.it + l.done), n)) != 0) {
        ApplyRun(*n, x.dcxd, x.dcyd, l.d0, l.d1);
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
  // After a run the plain loop's cycle history starts again: without an
  // event the step after it is what it would take, else it takes it.
  const auto event = [&] { return ran ? Handover(l) : 0; };
  TLeanNext n;
  if (!LeanAdvance<F>(P, x, l, n)) return event();
  // Slot 1, decided by the doubles only while its distance is large.
  const double z0 = l.z[0], z1 = l.z[1], z2 = l.z[2], z3 = l.z[3];
  const double w0 = n.w[0], w1 = n.w[1], w2 = n.w[2], w3 = n.w[3];
  const double aw0 = std::fabs(w0), aw1 = std::fabs(w1), aw2 = std::fabs(w2), aw3 = std::fabs(w3);
  const double est = std::fabs(w0 - z0) + std::fabs(w1 - z1) + std::fabs(w2 - z2) + std::fabs(w3 - z3);
  const double cscale = (aw0 + std::fabs(z0)) + (aw1 + std::fabs(z1)) + (aw2 + std::fabs(z2)) +
                        (aw3 + std::fabs(z3)) + (n.scale + l.scale);
  if (!(est >= cscale * kTrackBelow) || est < P.acc_d) return event();
  if (ran) {
    // The slot's first distance, as the plain loop measures it when the
    // history starts again: large, or the slot would be tracked.
    double first = 0;
    const double z[4] = {z0, z1, z2, z3};
    for (int k = 0; k < 4; ++k) first += std::fabs(n.w[k]) + std::fabs(z[k]) + n.scale + l.scale;
    if (!(est >= first * kTrackBelow)) return event();
  }
  // Taken.
  l.pref = l.ref, l.pr = l.r, l.pd0 = l.d0, l.pd1 = l.d1, l.pscale = l.scale;
  l.pz[0] = z0, l.pz[1] = z1, l.pz[2] = z2, l.pz[3] = z3;
  Take(l, n);
  l.head ^= 1;
  return 1;
}

// The lean step of a pixel with CycleTest 2 and more: its value goes into
// the ring as the plain loop's would, every slot is tested. Where the
// table may offer a run, the plain loop takes the iteration. 1 when taken,
// 0 when not (the lane and the ring's used places unchanged).
template <int F>
[[gnu::always_inline]] inline int LeanStepRing(const TDeepPicture& P, TDeepPixel& x,
                                               TLeanLane& l) {
  const int now = x.it + l.done;
  if (now + 1 > P.max_iter || now + 1 == P.zval_at) return 0;
  if (P.table != nullptr && TApproximationTable::Starts(l.r)) {
    const TApproximationTable* table = l.ref == P.start ? P.table : P.rebase_table;
    const TApproximationTable::TNode* n = nullptr;
    if (table != nullptr && table->Find(l.r, Magnitude(l.d0, l.d1), 0.0, RunLimit(P, now), n) != 0) {
      return 0;
    }
  }
  TLeanNext n;
  if (!LeanAdvance<F>(P, x, l, n)) return 0;
  // Slot i compares with the ring's place i - 1 back from the head; slot 1
  // is the value the step started from, which goes there when it is taken.
  // The value it started from goes to the head's place in the doubled
  // arrays (the plain loop puts it there too before it tests), so that
  // slots CycleTest ... 1, places head - CycleTest + 1 ... head, lie one
  // after the other.
  const int rs = static_cast<int>(x.ring.size());
  x.Mirror(x.head, l.z[0], l.z[1], l.scale);
  const int from = x.head + 2;
  if (!SlotsLarge(x.ring_z0.data() + from, x.ring_z1.data() + from, x.ring_scale.data() + from,
                  rs - 1, n.w[0], n.w[1], n.scale, P.acc_d)) {
    return 0;
  }
  // Taken: the value it started from into the ring.
  PutLean(x.ring[x.head], l.ref, l.r, l.d0, l.d1, l.z, l.scale);
  x.head = x.head + 1 == rs ? 0 : x.head + 1;
  Take(l, n);
  return 1;
}

}  // namespace ork::deep
