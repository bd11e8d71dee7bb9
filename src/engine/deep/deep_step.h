// The perturbed formula steps: how the difference d of a pixel's orbit
// from the reference orbit Z advances when both take one step, for the
// formulas with a deep computation. T is double or TFloatExp.
#pragma once

#include "engine/deep/deep_numbers.h"

namespace ork::deep {

// A pixel starts again from the reference's start (index 0, where Z is 0)
// where its value comes within this many times its difference of 0: so
// closer than its difference, where its value would lose digits to the
// difference's, and a little farther, where its value is still accurate
// to a few roundings. Pixels near a minibrot then start again at every
// close approach and cross each period in one run of the table.
constexpr double kRebaseWithin = 4;

inline double Twice(double x) { return 2 * x; }
inline TFloatExp Twice(const TFloatExp& x) { return Ldexp(x, 1); }

// d (x1, y1, x2, y2) <- its value after the step taken from reference
// values Z; dc is the difference of the constant (0 in Julia mode), p the
// coupling.
template <int F, class T>
inline void PerturbedStep(const T* Z, T* d, const T& dcx, const T& dcy, const T& p,
                          bool coupled) {
  const T a1 = d[0], b1 = d[1], a2 = d[2], b2 = d[3];
  if constexpr (F == 1000) {
    // z <- z^2 + c (+- p w):  d' = (2Z + d) d + dc (+- p dw)
    T na = (Twice(Z[0]) + a1) * a1 - (Twice(Z[1]) + b1) * b1 + dcx;
    T nb = Twice(Z[0] * b1 + (Z[1] + b1) * a1) + dcy;
    if (coupled) {
      d[2] = (Twice(Z[2]) + a2) * a2 - (Twice(Z[3]) + b2) * b2 + dcx - p * a1;
      d[3] = Twice(Z[2] * b2 + (Z[3] + b2) * a2) + dcy - p * b1;
      na = na + p * a2;
      nb = nb + p * b2;
    }
    d[0] = na;
    d[1] = nb;
  } else if constexpr (F == 1001) {
    // x <- x^2 + y^2 + cx (+- p x'), y <- cy (+- p y')
    T na = (Twice(Z[0]) + a1) * a1 + (Twice(Z[1]) + b1) * b1 + dcx;
    T nb = dcy;
    if (coupled) {
      d[2] = (Twice(Z[2]) + a2) * a2 + (Twice(Z[3]) + b2) * b2 + dcx - p * a1;
      d[3] = dcy - p * b1;
      na = na + p * a2;
      nb = nb + p * b2;
    }
    d[0] = na;
    d[1] = nb;
  } else {
    // x <- 2 x y + cy, y <- x^2 - y^2 + cx; orbit 2 coupled to the new
    // orbit-1 values
    const T na = Twice(Z[0] * b1 + (Z[1] + b1) * a1) + dcy;
    const T nb = (Twice(Z[0]) + a1) * a1 - (Twice(Z[1]) + b1) * b1 + dcx;
    if (coupled) {
      d[2] = Twice(Z[2] * b2 + (Z[3] + b2) * a2) + dcy - p * nb;
      d[3] = (Twice(Z[2]) + a2) * a2 - (Twice(Z[3]) + b2) * b2 + dcx - p * na;
    }
    d[0] = na;
    d[1] = nb;
  }
  if (!coupled) {
    d[2] = d[0];
    d[3] = d[1];
  }
}

}  // namespace ork::deep
