// The formula steps of the iteration: one step of both coupled orbits for
// every formula of the catalogue, plus the angle and power functions they
// use. Header-only so that the picture loop can instantiate one loop per
// formula; every right-hand side uses the values from before the step
// unless a comment says "new". Plane coordinates throughout.
#pragma once

#include <cmath>
#include <type_traits>

namespace ork {

// The steps are inlined wherever they are used, so that a lane kernel
// compiled for some instruction set runs them as its own code (a call
// across instruction sets would pass vectors differently).
#define ORK_STEP_INLINE __attribute__((always_inline)) inline

// Mask operations of a lane type: the steps below are written once for a
// plain double and for the vector types of the lane kernels (whose
// specialisations live with those kernels). A mask says per lane whether a
// condition holds.
template <class V>
struct TLanes;

template <>
struct TLanes<double> {
  using Mask = bool;
  static Mask Ge(double a, double b) { return a >= b; }
  static Mask Not(Mask m) { return !m; }
  static Mask Or(Mask a, Mask b) { return a || b; }
};

template <class V>
using TMask = typename TLanes<V>::Mask;

// The four numbers of both orbits: z1 = (x1, y1), z2 = (x2, y2).
template <class V>
struct TOrbitT {
  V x1{}, y1{}, x2{}, y2{};
};
using TOrbit = TOrbitT<double>;

// What a step reads and may change besides the orbit. The constants differ
// per lane (Mandelbrot mode sets them per pixel); coupling and tolerance are
// the same for every pixel of a computation.
template <class V>
struct TStepEnvT {
  V c1x{}, c1y{}, c2x{}, c2y{};  // constants of orbit 1 and 2
  double p = 0;          // coupling strength (ParamA)
  bool coupled = false;  // p != 0
  double acc = 0;        // cycle tolerance; formulas 202 and 205 set it
  TMask<V> guard{};      // a division met a (nearly) zero divisor
  TMask<V> over{};       // the iteration ends after this step
};
using TStepEnv = TStepEnvT<double>;

// Single-precision constants of the catalogue, widened to double.
inline constexpr double kGuardLimit = static_cast<double>(1e-10f);   // |D|^2 limit
inline constexpr double kNewtonAcc = static_cast<double>(0.0001f);   // acc of 202/205

// Formula kinds; 2031 and 2032 share the step of 203 (their start values
// differ), every number outside the catalogue is kUnchanged.
enum TFormulaKind : int {
  kUnchanged = 0,
  kF149 = 149, kF151 = 151, kF152 = 152,
  kF201 = 201, kF202 = 202, kF203 = 203, kF204 = 204, kF205 = 205,
  kF206 = 206, kF207 = 207, kF208 = 208,
  kF1000 = 1000, kF1001 = 1001, kF1002 = 1002,
};

inline TFormulaKind FormulaKindOf(int gameNo) {
  switch (gameNo) {
    case 149: case 151: case 152: case 201: case 202: case 203: case 204:
    case 205: case 206: case 207: case 208: case 1000: case 1001: case 1002:
      return static_cast<TFormulaKind>(gameNo);
    case 2031: case 2032:
      return kF203;
    default:
      return kUnchanged;
  }
}

// The engine's angle in radians, range (-pi, pi]: ArgRad(a, 0) is 0 for
// every negative a, ArgRad(0, 0) is pi/2; b not a number gives 0 for a >= 0
// and -pi otherwise.
inline double ArgRad(double a, double b) {
  if (std::isnan(b)) return a >= 0 ? 0.0 : -M_PI;
  const double r = a != 0 ? std::atan(std::fabs(b) / std::fabs(a)) : M_PI / 2;
  if (a < 0 && b > 0) return M_PI - r;
  if (a < 0 && b < 0) return r - M_PI;
  if (a >= 0 && b < 0) return -r;
  return r;
}

namespace formula_detail {

template <class V>
struct TPairT {
  V x, y;
};
using TPair = TPairT<double>;

template <class V>
ORK_STEP_INLINE TPairT<V> Mul(TPairT<V> a, TPairT<V> b) {
  return {a.x * b.x - a.y * b.y, a.x * b.y + a.y * b.x};
}

// N / D with the division guard: the division is done in any case.
template <class V>
ORK_STEP_INLINE TPairT<V> Divide(TPairT<V> n, TPairT<V> d, TStepEnvT<V>& e) {
  using L = TLanes<V>;
  const V d2 = d.x * d.x + d.y * d.y;
  const TMask<V> small = L::Not(L::Ge(d2, kGuardLimit));
  e.guard = L::Or(e.guard, small);
  e.over = L::Or(e.over, small);
  return {(n.x * d.x + n.y * d.y) / d2, (d.x * n.y - n.x * d.y) / d2};
}

// z^w with the engine's angle: rho = |z| given, theta = ArgRad(x, y).
inline TPair PowerArg(double x, double y, double rho, double wx, double wy) {
  const double th = ArgRad(x, y);
  const double m = std::pow(rho, wx) * std::exp(-th * wy);
  const double phi = th * wx + std::log(rho) * wy;
  return {m * std::cos(phi), m * std::sin(phi)};
}

// z^z for 149/151; (0, 0) when rho is not a number.
inline TPair SelfPower(double x, double y) {
  const double rho = std::sqrt(x * x + y * y);
  if (!(rho >= 0)) return {0, 0};
  return PowerArg(x, y, rho, x, y);
}

// conj(z)^z of formula 206; z itself when rho is not a number.
inline TPair Power206(double x, double y) {
  const double rho = std::sqrt(x * x + y * y);
  if (!(rho >= 0)) return {x, y};
  const double th = -std::atan2(y, x);
  const double m = std::pow(rho, x) * std::exp(-th * y);
  const double phi = th * x + std::log(rho) * y;
  return {m * std::cos(phi), m * std::sin(phi)};
}

// z^(1/z) of 207/208; z itself when rho is not a number. `limit_to_unit`:
// formula 208 uses the power only for 0 <= |z| <= 1.
inline TPair InversePower(double x, double y, bool limit_to_unit) {
  const double s = x * x + y * y;
  const double rho = std::sqrt(s);
  if (limit_to_unit ? !(0 <= rho && rho <= 1) : !(rho >= 0)) return {x, y};
  return PowerArg(x, y, rho, x / s, -y / s);
}

// The quotients Qa (and, when wanted, Qb) of the Newton step in the
// four-dimensional algebra a + b.j with j^2 = -i, constants A and B.
template <class V>
struct TNewton {
  TPairT<V> P, Q, N;  // derivative parts and the common divisor
};

template <class V>
ORK_STEP_INLINE TNewton<V> NewtonDerivative(const TOrbitT<V>& z) {
  const V x1 = z.x1, y1 = z.y1, x2 = z.x2, y2 = z.y2;
  const V e1 = x1 * x1 - y1 * y1;
  const V d2 = x2 * x2 - y2 * y2;
  TNewton<V> n;
  n.P = {3 * e1 + 6 * x2 * y2, 6 * x1 * y1 - 3 * d2};
  n.Q = {6 * (x1 * x2 - y1 * y2), 6 * (x1 * y2 + y1 * x2)};
  n.N = {n.P.x * n.P.x - n.P.y * n.P.y - 2 * n.Q.x * n.Q.y,
         2 * n.P.x * n.P.y + n.Q.x * n.Q.x - n.Q.y * n.Q.y};
  return n;
}

// F = (Fa, Fb) for the constants A, B.
template <class V>
ORK_STEP_INLINE void NewtonValue(const TOrbitT<V>& z, TPairT<V> A, TPairT<V> B, TPairT<V>& Fa,
                        TPairT<V>& Fb) {
  const V x1 = z.x1, y1 = z.y1, x2 = z.x2, y2 = z.y2;
  const V x1s = x1 * x1, y1s = y1 * y1, x2s = x2 * x2, y2s = y2 * y2;
  const V e1 = x1s - y1s;
  const V d2 = x2s - y2s;
  Fa = {x1s * x1 - 3 * x1 * y1s + 3 * y1 * d2 + 6 * x1 * x2 * y2 + A.x,
        3 * x1s * y1 - y1s * y1 - 3 * x1 * d2 + 6 * y1 * x2 * y2 + A.y};
  Fb = {3 * x2 * e1 - 6 * x1 * y1 * y2 + 3 * x2s * y2 - y2s * y2 + B.x,
        3 * y2 * e1 + 6 * x1 * y1 * x2 + 3 * x2 * y2s - x2s * x2 + B.y};
}

// Na / N for Na = Fa.P + i.Fb.Q.
template <class V>
ORK_STEP_INLINE TPairT<V> NewtonQa(const TNewton<V>& n, TPairT<V> Fa, TPairT<V> Fb, TStepEnvT<V>& e) {
  const TPairT<V> fp = Mul(Fa, n.P);
  const TPairT<V> fq = Mul(Fb, n.Q);
  return Divide(TPairT<V>{fp.x - fq.y, fp.y + fq.x}, n.N, e);
}

// Nb / N for Nb = Fb.P - Fa.Q.
template <class V>
ORK_STEP_INLINE TPairT<V> NewtonQb(const TNewton<V>& n, TPairT<V> Fa, TPairT<V> Fb, TStepEnvT<V>& e) {
  const TPairT<V> fp = Mul(Fb, n.P);
  const TPairT<V> fq = Mul(Fa, n.Q);
  return Divide(TPairT<V>{fp.x - fq.x, fp.y - fq.y}, n.N, e);
}

// The 203 step of orbit 1 with the constants A, B.
template <class V>
ORK_STEP_INLINE TPairT<V> Newton203(const TOrbitT<V>& z, const TNewton<V>& n, TPairT<V> A,
                           TPairT<V> B, double p, TStepEnvT<V>& e) {
  TPairT<V> Fa, Fb;
  NewtonValue(z, A, B, Fa, Fb);
  const TPairT<V> qa = NewtonQa(n, Fa, Fb, e);
  return {z.x1 - qa.x / (1 + p), z.y1 - qa.y / (1 + p)};
}

}  // namespace formula_detail

// Formulas whose step is plain arithmetic (+ - * /), which the lane kernels
// run on vectors as well; the others need the power functions.
constexpr bool IsArithmeticFormula(int kind) {
  return kind == kF1000 || kind == kF1001 || kind == kF1002 || kind == kF152 ||
         kind == kF201 || kind == kF202 || kind == kF203 || kind == kF204 || kind == kF205 ||
         kind == kUnchanged;
}

// One step of formula kind F, for one pixel (V = double) or one pixel per
// lane (a vector type, arithmetic formulas only).
template <int F, class V>
ORK_STEP_INLINE void FormulaStep(TOrbitT<V>& z, TStepEnvT<V>& e) {
  using namespace formula_detail;
  using TP = TPairT<V>;
  static_assert(std::is_same_v<V, double> || IsArithmeticFormula(F),
                "the power formulas run on single pixels only");
  const V x1 = z.x1, y1 = z.y1, x2 = z.x2, y2 = z.y2;
  const double p = e.p;
  if constexpr (F == kF1000) {
    z.x1 = x1 * x1 - y1 * y1 + e.c1x + p * x2;
    z.y1 = 2 * x1 * y1 + e.c1y + p * y2;
    if (e.coupled) {
      z.x2 = x2 * x2 - y2 * y2 + e.c1x - p * x1;  // c1, not c2
      z.y2 = 2 * x2 * y2 + e.c1y - p * y1;
    } else {
      z.x2 = z.x1;
      z.y2 = z.y1;
    }
  } else if constexpr (F == kF1001) {
    z.x1 = x1 * x1 + y1 * y1 + e.c1x + p * x2;
    z.y1 = e.c1y + p * y2;
    if (e.coupled) {
      z.x2 = x2 * x2 + y2 * y2 + e.c1x - p * x1;
      z.y2 = e.c1y - p * y1;
    } else {
      z.x2 = z.x1;
      z.y2 = z.y1;
    }
  } else if constexpr (F == kF1002) {
    z.x1 = 2 * x1 * y1 + e.c1y;
    z.y1 = x1 * x1 - y1 * y1 + e.c1x;
    if (e.coupled) {  // coupled to the new orbit-1 values
      z.x2 = 2 * x2 * y2 + e.c1y - p * z.y1;
      z.y2 = x2 * x2 - y2 * y2 + e.c1x - p * z.x1;
    } else {
      z.x2 = z.x1;
      z.y2 = z.y1;
    }
  } else if constexpr (F == kF149) {
    const TPair p1 = SelfPower(x1, y1);
    const TPair p2 = SelfPower(x2, y2);
    z.x1 = p1.x + e.c1x + p * x2;
    z.y1 = p1.y + e.c1y + p * -y2;
    z.x2 = p2.x + e.c1x + p * -x1;
    z.y2 = p2.y + e.c1y + p * y1;
  } else if constexpr (F == kF151) {
    double ox1 = x1, oy1 = y1;
    TPair p1{0, 0};
    if (std::sqrt(x1 * x1 + y1 * y1) >= 1) {
      p1 = SelfPower(x1, y1);
    } else {
      ox1 = 0;
      oy1 = 0;
    }
    z.x1 = p1.x + e.c1x + p * x2;
    z.y1 = p1.y + e.c1y + p * -y2;
    if (e.coupled) {
      TPair p2{0, 0};
      if (std::sqrt(x2 * x2 + y2 * y2) >= 1) p2 = SelfPower(x2, y2);
      z.x2 = p2.x + e.c1x + p * -ox1;
      z.y2 = p2.y + e.c1y + p * oy1;
    }
  } else if constexpr (F == kF152) {
    const TP C{e.c1x * (1 + p * x2), e.c1y * (1 - p * y2)};
    const TP z1{x1, y1};
    const TP D = Mul(Mul(Mul(C, z1), z1), z1);
    const TP n1 = Divide(TP{x1 + C.x, y1 + C.y}, TP{D.x + 1, D.y + 0.0}, e);
    if (e.coupled) {
      const TP C2{e.c2x * (1 + p * x1), e.c2y * (1 - p * y1)};
      const TP z2{x2, y2};
      const TP D2 = Mul(Mul(Mul(C2, z2), z2), z2);
      const TP n2 = Divide(TP{x2 + C2.x, y2 + C2.y}, TP{D2.x + 1, D2.y + 0.0}, e);
      z.x2 = n2.x;
      z.y2 = n2.y;
    } else {
      z.x2 = x1;  // one iteration behind orbit 1
      z.y2 = y1;
    }
    z.x1 = n1.x;
    z.y1 = n1.y;
  } else if constexpr (F == kF201) {
    const TP C = Mul(TP{e.c1x, e.c1y}, TP{1 + p * x2, 0.0 + p * y2});
    const TP s1{x1 * x1 - y1 * y1, 2 * x1 * y1};
    const TP D = Mul(C, s1);
    const TP n1 = Divide(TP{x1 + C.x, y1 + C.y}, TP{D.x + 1, D.y + 0.0}, e);
    if (e.coupled) {
      const TP C2 = Mul(TP{e.c2x, e.c2y}, TP{1 - p * x1, 0.0 - p * y1});
      const TP s2{x2 * x2 - y2 * y2, 2 * x2 * y2};
      const TP D2 = Mul(C2, s2);
      const TP n2 = Divide(TP{x2 + C2.x, y2 + C2.y}, TP{D2.x + 1, D2.y + 0.0}, e);
      z.x2 = n2.x;
      z.y2 = n2.y;
    } else {
      z.x2 = x1;
      z.y2 = y1;
    }
    z.x1 = n1.x;
    z.y1 = n1.y;
  } else if constexpr (F == kF202) {
    e.acc = kNewtonAcc;
    const TNewton<V> n = NewtonDerivative(z);
    TP Fa, Fb;
    NewtonValue(z, TP{e.c1x, e.c1y}, TP{e.c2x, e.c2y}, Fa, Fb);
    const TP qa = NewtonQa(n, Fa, Fb, e);
    const TP qb = NewtonQb(n, Fa, Fb, e);
    z.x1 = x1 - qa.x / (1 + p);
    z.y1 = y1 - qa.y / (1 + 1.5 * p);
    z.x2 = x2 - qb.x / (1 + 2 * p);
    z.y2 = y2 - qb.y / (1 + 3 * p);
  } else if constexpr (F == kF203) {
    const TNewton<V> n = NewtonDerivative(z);
    const TP a = Newton203(z, n, TP{e.c1x, e.c1y}, TP{e.c2x, e.c2y}, p, e);
    z.x1 = a.x;
    z.y1 = a.y;
  } else if constexpr (F == kF204) {
    z.x1 = e.c1x;
    z.y1 = p * e.c1y;
    z.x2 = p * e.c2x;
  } else if constexpr (F == kF205) {
    e.acc = kNewtonAcc;
    const TNewton<V> n = NewtonDerivative(z);
    const TP a1 = Newton203(z, n, TP{e.c1x, e.c1y}, TP{e.c2x, e.c2y}, p, e);
    TP a2 = a1;
    if (e.coupled) {
      a2 = Newton203(z, n, TP{e.c1x + p * a1.x, e.c1y + p * a1.y},
                     TP{e.c2x + p * a1.x, e.c2y + p * a1.y}, p, e);
    }
    z.x1 = a1.x;
    z.y1 = a1.y;
    z.x2 = a2.x;
    z.y2 = a2.y;
  } else if constexpr (F == kF206 || F == kF207 || F == kF208) {
    TPair p1, p2{0, 0};
    if constexpr (F == kF206) {
      p1 = Power206(x1, y1);
      if (e.coupled) p2 = Power206(x2, y2);
    } else {
      p1 = InversePower(x1, y1, F == kF208);
      if (e.coupled) p2 = InversePower(x2, y2, F == kF208);
    }
    z.x1 = p1.x + e.c1x + p * x2;
    z.y1 = p1.y + e.c1y + p * y2;
    if (e.coupled) {
      z.x2 = p2.x + e.c1x - p * x1;
      z.y2 = p2.y + e.c1y - p * y1;
    } else {
      z.x2 = z.x1;
      z.y2 = z.y1;
    }
  } else {
    static_assert(F == kUnchanged, "unknown formula kind");
    (void)x1, (void)y1, (void)x2, (void)y2, (void)p;
  }
}

// The same step chosen at run time (the orbit recording and the reference
// iteration use it; the picture loop instantiates FormulaStep directly).
inline void FormulaStepByKind(TFormulaKind kind, TOrbit& z, TStepEnv& e) {
  switch (kind) {
    case kF149: FormulaStep<kF149>(z, e); break;
    case kF151: FormulaStep<kF151>(z, e); break;
    case kF152: FormulaStep<kF152>(z, e); break;
    case kF201: FormulaStep<kF201>(z, e); break;
    case kF202: FormulaStep<kF202>(z, e); break;
    case kF203: FormulaStep<kF203>(z, e); break;
    case kF204: FormulaStep<kF204>(z, e); break;
    case kF205: FormulaStep<kF205>(z, e); break;
    case kF206: FormulaStep<kF206>(z, e); break;
    case kF207: FormulaStep<kF207>(z, e); break;
    case kF208: FormulaStep<kF208>(z, e); break;
    case kF1000: FormulaStep<kF1000>(z, e); break;
    case kF1001: FormulaStep<kF1001>(z, e); break;
    case kF1002: FormulaStep<kF1002>(z, e); break;
    case kUnchanged: break;
  }
}

}  // namespace ork
