#include "engine/iteration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <limits>

namespace ork {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A keyframe for single pixels: no cycle is ever found (Accurate -1), the
// escape bound is far, `steps` formula steps run.
TParameter Pixel(int formula, int steps, double p = 0, int julia = 0) {
  TParameter k;
  k.OutputWidth = 1;
  k.OutputHeight = 1;
  k.bry = 1;
  k.GameNo = formula;
  k.ianzmax = steps - 1;
  k.Accurate = -1;
  k.maxabs = 1e9;
  k.zyctest = 1;
  k.par = p;
  k.julia = julia;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

// Equal bits, except that any two NaNs count as equal: which NaN operand a
// commutative operation passes on is the compiler's choice.
bool SameBits(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Runs one pixel through both iterations and insists they agree.
TPixelResult RunBoth(const TParameter& k, double sx1, double sy1, double sx2, double sy2) {
  TIterationContext fast(k), plain(k);
  const TPixelResult a = IteratePixel(fast, sx1, sy1, sx2, sy2);
  const TPixelResult b = IteratePixelPlain(plain, sx1, sy1, sx2, sy2);
  EXPECT_EQ(a.it, b.it);
  EXPECT_TRUE(SameBits(a.x1, b.x1) && SameBits(a.y1, b.y1) && SameBits(a.x2, b.x2) &&
              SameBits(a.y2, b.y2));
  return a;
}

TEST(ArgRad, QuadrantsAxesAndNaN) {
  EXPECT_EQ(ArgRad(-2, 0), 0.0);
  EXPECT_EQ(ArgRad(0, 0), M_PI / 2);
  EXPECT_EQ(ArgRad(0, 3), M_PI / 2);
  EXPECT_EQ(ArgRad(0, -3), -M_PI / 2);
  EXPECT_DOUBLE_EQ(ArgRad(1, 1), M_PI / 4);
  EXPECT_DOUBLE_EQ(ArgRad(-1, 1), 3 * M_PI / 4);
  EXPECT_DOUBLE_EQ(ArgRad(-1, -1), -3 * M_PI / 4);
  EXPECT_DOUBLE_EQ(ArgRad(1, -1), -M_PI / 4);
  EXPECT_EQ(ArgRad(5, 0), 0.0);
  EXPECT_EQ(ArgRad(1, kNaN), 0.0);
  EXPECT_EQ(ArgRad(0, kNaN), 0.0);
  EXPECT_EQ(ArgRad(-1, kNaN), -M_PI);
}

TEST(Formula1000, MandelbrotAndCoupledSteps) {
  // Mandelbrot mode, p = 0: z = 0 -> c -> c^2 + c, orbit 2 copies orbit 1.
  TPixelResult r = RunBoth(Pixel(1000, 2), 0.25, 0.5, 9, 9);
  EXPECT_EQ(r.x1, 0.0625);
  EXPECT_EQ(r.y1, 0.75);
  EXPECT_EQ(r.x2, 0.0625);
  EXPECT_EQ(r.y2, 0.75);
  EXPECT_EQ(r.it, 2);
  EXPECT_EQ(r.count, 2 + 2048);
  EXPECT_EQ(r.period, 0);

  // Julia mode, p = 0.5, c = (0.125, 0.25): orbit 2 uses c1 and the old z1.
  TParameter k = Pixel(1000, 1, 0.5, 1);
  k.CCx = 0.125;
  k.CCy = 0.25;
  r = RunBoth(k, 0.5, 0.25, -0.5, 1.0);
  EXPECT_EQ(r.x1, 0.25 - 0.0625 + 0.125 + 0.5 * -0.5);
  EXPECT_EQ(r.y1, 2 * 0.5 * 0.25 + 0.25 + 0.5 * 1.0);
  EXPECT_EQ(r.x2, 0.25 - 1.0 + 0.125 - 0.5 * 0.5);
  EXPECT_EQ(r.y2, 2 * -0.5 * 1.0 + 0.25 - 0.5 * 0.25);
}

TEST(Formula1001And1002, Steps) {
  // Julia mode of these formulas starts both orbits at s1.
  TParameter k = Pixel(1001, 1, 0.5, 1);
  k.CCx = 0.125;
  k.CCy = 0.25;
  TPixelResult r = RunBoth(k, 0.5, 0.25, -7, -7);
  EXPECT_EQ(r.x1, 0.25 + 0.0625 + 0.125 + 0.5 * 0.5);
  EXPECT_EQ(r.y1, 0.25 + 0.5 * 0.25);
  EXPECT_EQ(r.x2, 0.25 + 0.0625 + 0.125 - 0.5 * 0.5);
  EXPECT_EQ(r.y2, 0.25 - 0.5 * 0.25);

  // 1002 couples orbit 2 to the new orbit-1 values.
  k.GameNo = 1002;
  r = RunBoth(k, 0.5, 0.25, -7, -7);
  const double nx1 = 2 * 0.5 * 0.25 + 0.25, ny1 = 0.25 - 0.0625 + 0.125;
  EXPECT_EQ(r.x1, nx1);
  EXPECT_EQ(r.y1, ny1);
  EXPECT_EQ(r.x2, 2 * 0.5 * 0.25 + 0.25 - 0.5 * ny1);
  EXPECT_EQ(r.y2, 0.25 - 0.0625 + 0.125 - 0.5 * nx1);

  // Uncoupled: orbit 2 is the new orbit 1.
  k.par = 0;
  r = RunBoth(k, 0.5, 0.25, -7, -7);
  EXPECT_EQ(r.x2, r.x1);
  EXPECT_EQ(r.y2, r.y1);
}

std::complex<double> Self(std::complex<double> z) { return std::exp(z * std::log(z)); }

TEST(Formula149And151, ComplexPowers) {
  // Julia, c = (0.1, -0.2), p = 0.25: z1 <- z1^z1 + c + p(x2, -y2).
  TParameter k = Pixel(149, 1, 0.25, 1);
  k.CCx = 0.1;
  k.CCy = -0.2;
  TPixelResult r = RunBoth(k, 1.5, 0.5, 1.5, 0.5);
  const std::complex<double> z(1.5, 0.5), c(0.1, -0.2);
  const std::complex<double> e1 = Self(z) + c + 0.25 * std::complex<double>(1.5, -0.5);
  const std::complex<double> e2 = Self(z) + c + 0.25 * std::complex<double>(-1.5, 0.5);
  EXPECT_NEAR(r.x1, e1.real(), 1e-12);
  EXPECT_NEAR(r.y1, e1.imag(), 1e-12);
  EXPECT_NEAR(r.x2, e2.real(), 1e-12);
  EXPECT_NEAR(r.y2, e2.imag(), 1e-12);

  // The negative real axis has angle 0: (-2)^(-2) taken as 2^(-2).
  k.par = 0;
  k.CCx = k.CCy = 0;
  r = RunBoth(k, -2, 0, -2, 0);
  EXPECT_DOUBLE_EQ(r.x1, 0.25);
  EXPECT_EQ(r.y1, 0.0);

  // 151: |z1| < 1 zeroes z1 and its power; orbit 2 then sees x1 = y1 = 0.
  k = Pixel(151, 1, 0.5, 1);
  k.CCx = 0.1;
  k.CCy = 0.2;
  r = RunBoth(k, 0.5, 0.25, -7, -7);
  EXPECT_EQ(r.x1, 0 + 0.1 + 0.5 * 0.5);
  EXPECT_EQ(r.y1, 0 + 0.2 + 0.5 * -0.25);
  EXPECT_EQ(r.x2, 0 + 0.1 + 0.5 * -0.0);
  EXPECT_EQ(r.y2, 0 + 0.2 + 0.5 * 0.0);
  // |z| >= 1 takes the power; uncoupled 151 leaves orbit 2 alone.
  k.par = 0;
  r = RunBoth(k, 1.5, 0.5, -7, -7);
  const std::complex<double> e3 = Self(z) + std::complex<double>(0.1, 0.2);
  EXPECT_NEAR(r.x1, e3.real(), 1e-12);
  EXPECT_NEAR(r.y1, e3.imag(), 1e-12);
  EXPECT_EQ(r.x2, 1.5);
  EXPECT_EQ(r.y2, 0.5);
}

TEST(Formula152And201, DivisionsAndLag) {
  // 152 with p = 0: z1 <- (z1 + c) / (c z1^3 + 1), orbit 2 one step behind.
  TParameter k = Pixel(152, 2, 0, 1);
  k.CCx = 0.5;
  k.CCy = 0.25;
  TPixelResult r = RunBoth(k, 0.5, -0.5, 0.5, -0.5);
  const std::complex<double> c(0.5, 0.25);
  std::complex<double> z(0.5, -0.5);
  const std::complex<double> z1 = (z + c) / (c * z * z * z + 1.0);
  const std::complex<double> z2 = (z1 + c) / (c * z1 * z1 * z1 + 1.0);
  EXPECT_NEAR(r.x1, z2.real(), 1e-14);
  EXPECT_NEAR(r.y1, z2.imag(), 1e-14);
  EXPECT_NEAR(r.x2, z1.real(), 1e-14);
  EXPECT_NEAR(r.y2, z1.imag(), 1e-14);

  k.GameNo = 201;
  r = RunBoth(k, 0.5, -0.5, 0.5, -0.5);
  const std::complex<double> w1 = (z + c) / (c * z * z + 1.0);
  const std::complex<double> w2 = (w1 + c) / (c * w1 * w1 + 1.0);
  EXPECT_NEAR(r.x1, w2.real(), 1e-14);
  EXPECT_NEAR(r.y1, w2.imag(), 1e-14);
  EXPECT_NEAR(r.x2, w1.real(), 1e-14);
  EXPECT_NEAR(r.y2, w1.imag(), 1e-14);

  // Coupled 201: C = c1 (1 + p z2), C' = c2 (1 - p z1).
  k = Pixel(201, 1, 0.5, 1);
  k.CCx = 0.5;
  k.CCy = 0.25;
  r = RunBoth(k, 0.5, -0.5, -7, -7);  // Julia mode starts both orbits at s1
  const std::complex<double> a(0.5, -0.5), b = a;
  const std::complex<double> C = c * (1.0 + 0.5 * b), C2 = c * (1.0 - 0.5 * a);
  const std::complex<double> e1 = (a + C) / (C * a * a + 1.0);
  const std::complex<double> e2 = (b + C2) / (C2 * b * b + 1.0);
  EXPECT_NEAR(r.x1, e1.real(), 1e-14);
  EXPECT_NEAR(r.y1, e1.imag(), 1e-14);
  EXPECT_NEAR(r.x2, e2.real(), 1e-14);
  EXPECT_NEAR(r.y2, e2.imag(), 1e-14);
}

// The four-dimensional numbers a + b.j with j^2 = -i.
struct Quad {
  std::complex<double> a, b;
};
Quad Mul(Quad u, Quad v) {
  const std::complex<double> i(0, 1);
  return {u.a * v.a - i * u.b * v.b, u.a * v.b + u.b * v.a};
}
Quad Div(Quad u, Quad v) {  // u / v = u (P - Qj) / (P^2 + i Q^2)
  const std::complex<double> i(0, 1);
  const Quad num = Mul(u, {v.a, -v.b});
  const std::complex<double> n = v.a * v.a + i * v.b * v.b;
  return {num.a / n, num.b / n};
}

TEST(FormulaNewton, FourDimensionalSteps) {
  // 202 with p = 0 is Newton's step for w^3 + (A + Bj) = 0.
  TParameter k = Pixel(202, 1, 0, 1);
  k.CCx = 0.3;
  k.CCy = -0.2;
  TIterationContext ctx(k);
  const TPixelResult r = IteratePixel(ctx, 0.7, 0.4, 0.7, 0.4);
  const Quad w{{0.7, 0.4}, {0.7, 0.4}}, C{{0.3, -0.2}, {0.3, -0.2}};
  const Quad w2 = Mul(w, w), w3 = Mul(w2, w);
  const Quad f{w3.a + C.a, w3.b + C.b}, df{3.0 * w2.a, 3.0 * w2.b};
  const Quad q = Div(f, df);
  EXPECT_NEAR(r.x1, 0.7 - q.a.real(), 1e-13);
  EXPECT_NEAR(r.y1, 0.4 - q.a.imag(), 1e-13);
  EXPECT_NEAR(r.x2, 0.7 - q.b.real(), 1e-13);
  EXPECT_NEAR(r.y2, 0.4 - q.b.imag(), 1e-13);
  // 202 sets its own tolerance whatever Accurate says.
  EXPECT_EQ(ctx.Acc(), 9.999999747378752e-05);

  // 203 (and 2031, 2032) moves orbit 1 only, damped by 1 + p.
  for (int formula : {203, 2031, 2032}) {
    k = Pixel(formula, 1, 0.5, 1);
    k.CCx = 0.3;
    k.CCy = -0.2;
    const TPixelResult s = RunBoth(k, 0.7, 0.4, 0.7, 0.4);
    EXPECT_NEAR(s.x1, 0.7 - q.a.real() / 1.5, 1e-13) << formula;
    EXPECT_NEAR(s.y1, 0.4 - q.a.imag() / 1.5, 1e-13) << formula;
    EXPECT_EQ(s.x2, 0.7);
    EXPECT_EQ(s.y2, 0.4);
  }

  // 205 uncoupled: both orbits become the 203 step of orbit 1.
  k = Pixel(205, 1, 0, 1);
  k.CCx = 0.3;
  k.CCy = -0.2;
  TIterationContext c205(k);
  const TPixelResult t = IteratePixel(c205, 0.7, 0.4, 0.7, 0.4);
  EXPECT_NEAR(t.x1, 0.7 - q.a.real(), 1e-13);
  EXPECT_EQ(t.x2, t.x1);
  EXPECT_EQ(t.y2, t.y1);
  EXPECT_EQ(c205.Acc(), 9.999999747378752e-05);
}

TEST(Formula204To208, Steps) {
  TParameter k = Pixel(204, 1, 0.5, 1);
  k.CCx = 0.3;
  k.CCy = -0.2;
  TIterationContext ctx(k);
  TPixelResult r = IteratePixel(ctx, 0.7, 0.4, -0.3, 0.2);
  EXPECT_EQ(r.x1, 0.3);
  EXPECT_EQ(r.y1, 0.5 * -0.2);
  EXPECT_EQ(r.x2, 0.5 * 0.2);  // Julia mode sets c2x = -c1y
  EXPECT_EQ(r.y2, 0.2);

  // 206: conj(z)^z.
  k = Pixel(206, 1, 0, 1);
  k.CCx = 0.1;
  k.CCy = 0.2;
  r = RunBoth(k, 1.5, 0.5, 0, 0);
  const std::complex<double> z(1.5, 0.5), c(0.1, 0.2);
  std::complex<double> e = std::exp(z * std::log(std::conj(z))) + c;
  EXPECT_NEAR(r.x1, e.real(), 1e-12);
  EXPECT_NEAR(r.y1, e.imag(), 1e-12);
  EXPECT_EQ(r.x2, r.x1);

  // 207: z^(1/z); 208 the same inside the unit circle, z itself outside.
  k.GameNo = 207;
  r = RunBoth(k, 1.5, 0.5, 0, 0);
  e = std::exp(std::log(z) / z) + c;
  EXPECT_NEAR(r.x1, e.real(), 1e-12);
  EXPECT_NEAR(r.y1, e.imag(), 1e-12);
  k.GameNo = 208;
  r = RunBoth(k, 1.5, 0.5, 0, 0);
  EXPECT_EQ(r.x1, 1.5 + 0.1);
  EXPECT_EQ(r.y1, 0.5 + 0.2);
  const std::complex<double> u(0.5, 0.25);
  r = RunBoth(k, 0.5, 0.25, 0, 0);
  e = std::exp(std::log(u) / u) + c;
  EXPECT_NEAR(r.x1, e.real(), 1e-12);
  EXPECT_NEAR(r.y1, e.imag(), 1e-12);

  // A number outside the catalogue never moves the orbit: period 1 at once.
  k = Pixel(1003, 5, 0, 1);
  k.Accurate = 1e-9;
  r = RunBoth(k, 0.7, 0.4, 0, 0);
  EXPECT_EQ(r.x1, 0.7);
  EXPECT_EQ(r.x2, 0.7);  // JuliaSet = 1: both orbits start at s1
  EXPECT_EQ(r.it, 1);
  EXPECT_EQ(r.period, 1);
}

TEST(StartValues, JuliaAndMandelbrotRules) {
  auto start = [](int formula, int julia, TStepEnv* env = nullptr) {
    TParameter k = Pixel(formula, 1, 0, julia);
    k.CCx = 7;
    k.CCy = 8;
    TIterationContext ctx(k);
    const TOrbit z = ctx.StartValues(1, 2, 3, 4);
    if (env) *env = ctx.Env();
    return z;
  };
  TStepEnv e;
  TOrbit z = start(1000, 1, &e);
  EXPECT_EQ(z.x1, 1); EXPECT_EQ(z.y1, 2); EXPECT_EQ(z.x2, 3); EXPECT_EQ(z.y2, 4);
  EXPECT_EQ(e.c1x, 7); EXPECT_EQ(e.c2y, 8);
  z = start(1000, 0, &e);
  EXPECT_EQ(z.x1, 0); EXPECT_EQ(z.y2, 0);
  EXPECT_EQ(e.c1x, 1); EXPECT_EQ(e.c1y, 2); EXPECT_EQ(e.c2x, 3); EXPECT_EQ(e.c2y, 4);

  // 149 takes any non-zero JuliaSet as Julia mode, the default rule only 1.
  z = start(149, 2, &e);
  EXPECT_EQ(e.c1x, 7);
  EXPECT_EQ(z.x2, 1);
  z = start(151, 2, &e);
  EXPECT_EQ(e.c1x, 1); EXPECT_EQ(e.c2y, 2);
  EXPECT_EQ(z.x1, 0);
  z = start(151, 1, &e);
  EXPECT_EQ(z.x1, 1); EXPECT_EQ(z.x2, 1); EXPECT_EQ(z.y2, 2);

  z = start(207, 0, &e);
  EXPECT_EQ(e.c1x, 1); EXPECT_EQ(e.c2y, 2);
  EXPECT_EQ(z.x1, 1); EXPECT_EQ(z.x2, 3);

  z = start(2031, 0, &e);
  EXPECT_EQ(e.c1x, 1); EXPECT_EQ(e.c1y, 1); EXPECT_EQ(e.c2x, 1); EXPECT_EQ(e.c2y, -1);
  EXPECT_EQ(z.x1, 1); EXPECT_EQ(z.y2, 4);
  z = start(2032, 0, &e);
  EXPECT_EQ(e.c2x, 0); EXPECT_EQ(e.c2y, 0);
  EXPECT_EQ(z.x1, 0.7937005162239075); EXPECT_EQ(z.y1, -0.7937005162239075);
  EXPECT_EQ(z.x2, 3);

  z = start(204, 1, &e);
  EXPECT_EQ(e.c2x, -8);
  EXPECT_EQ(z.x2, 3);
  z = start(204, 0, &e);
  EXPECT_EQ(e.c1x, 1); EXPECT_EQ(e.c1y, 2); EXPECT_EQ(e.c2x, -2); EXPECT_EQ(e.c2y, 4);
  EXPECT_EQ(z.x1, 0);
}

TEST(IterationEnd, GuardNaNEscapeAndLimit) {
  // 203 at z = 0: the divisor N is 0, guard and over; 0/0 ends with period 1.
  TParameter k = Pixel(203, 10, 0, 1);
  TPixelResult r = RunBoth(k, 0, 0, 0, 0);
  EXPECT_TRUE(r.guard);
  EXPECT_EQ(r.it, 1);
  EXPECT_EQ(r.count, 1 + 2048 + 512);
  EXPECT_EQ(r.period, 1);

  // 149 at z1 = 0: ln 0 * 0 is not a number; no escape, period 1.
  k = Pixel(149, 10);
  r = RunBoth(k, 0, 0, 0, 0);
  EXPECT_TRUE(std::isnan(r.x1));
  EXPECT_FALSE(r.escaped);
  EXPECT_EQ(r.it, 1);
  EXPECT_EQ(r.period, 1);

  // Escape after the first step.
  k = Pixel(1000, 10);
  k.maxabs = 4;
  r = RunBoth(k, 2, 2, 2, 2);
  EXPECT_TRUE(r.escaped);
  EXPECT_EQ(r.it, 1);
  EXPECT_EQ(r.count, 1 + 2048 + 1024);

  // Neither escape nor cycle: it = Max_Iterat + 1.
  k = Pixel(1000, 51);
  r = RunBoth(k, -0.1, 0.1, -0.1, 0.1);
  EXPECT_EQ(r.it, 51);
  EXPECT_EQ(r.count, 51 + 2048);

  // Max_Iterat 0: one step for every pixel.
  k.ianzmax = 0;
  for (double x : {-0.1, 0.3, 5.0}) {
    r = RunBoth(k, x, 0.1, x, 0.1);
    EXPECT_EQ(r.it, 1);
  }

  // A cycle found in slot 2 gives period 2: z = 0 -> -1 -> 0 for c = -1.
  k = Pixel(1000, 100);
  k.Accurate = 1e-9;
  k.zyctest = 4;
  r = RunBoth(k, -1, 0, -1, 0);
  EXPECT_EQ(r.period, 2);
  EXPECT_EQ(r.it, 2);

  // CycleTest below 1 counts as 1.
  k.zyctest = -3;
  EXPECT_EQ(TIterationContext(k).CycleTest(), 1);
}

TEST(CarryOver, ZvalAndHistoryReachTheNextPixel) {
  // Pixel A reaches the sampling iteration (it = 10), pixel B escapes at
  // once and keeps A's zval; in a fresh context B has zval 0.
  TParameter k = Pixel(1000, 101);
  k.maxabs = 4;
  TIterationContext ctx(k);
  const TPixelResult a = IteratePixel(ctx, -0.1, 0.1, -0.1, 0.1);
  const TPixelResult b = IteratePixel(ctx, 2, 2, 2, 2);
  EXPECT_NE(a.zval, 0.0);
  EXPECT_EQ(b.zval, a.zval);
  TIterationContext fresh(k);
  EXPECT_EQ(IteratePixel(fresh, 2, 2, 2, 2).zval, 0.0);

  // Julia z -> z^2, CycleTest 2, tolerance 0.3: pixel A (1.2) escapes in
  // iteration 3 and leaves its iteration-1 value 1.44 in history slot 2;
  // pixel B (1.21) steps to 1.4641 and finds it there at once (period 2).
  k = Pixel(1000, 50, 0, 1);
  k.Accurate = 0.3;
  k.maxabs = 6;
  k.zyctest = 2;
  TIterationContext row(k), plain_row(k);
  const TPixelResult pa = IteratePixel(row, 1.2, 0, 1.2, 0);
  EXPECT_EQ(pa.it, 3);
  EXPECT_TRUE(pa.escaped);
  const TPixelResult pb = IteratePixel(row, 1.21, 0, 1.21, 0);
  EXPECT_EQ(pb.it, 1);
  EXPECT_EQ(pb.period, 2);
  IteratePixelPlain(plain_row, 1.2, 0, 1.2, 0);
  const TPixelResult qb = IteratePixelPlain(plain_row, 1.21, 0, 1.21, 0);
  EXPECT_EQ(qb.it, 1);
  EXPECT_EQ(qb.period, 2);
  TIterationContext alone(k);
  const TPixelResult own = IteratePixel(alone, 1.21, 0, 1.21, 0);
  EXPECT_EQ(own.it, 3);
  EXPECT_EQ(own.period, 0);
}

// The fast iteration against the iteration as written, over whole rows of
// pixels (so the carried-over state is compared as well).
TEST(FastIteration, EqualsPlainBitForBit) {
  const int formulas[] = {1000, 1001, 1002, 149, 151, 152, 201, 202, 203,
                          2031, 2032, 204, 205, 206, 207, 208, 1003};
  int pixels = 0;
  for (int formula : formulas) {
    for (int julia : {0, 1}) {
      for (double p : {0.0, 0.3}) {
        for (int ct : {1, 2, 3, 8}) {
          for (double maxabs : {20.0, kInf}) {
            for (double shift : {0.0, 0.01}) {
              TParameter k = Pixel(formula, 61, p, julia);
              k.Accurate = 1e-6;
              k.zyctest = ct;
              k.maxabs = maxabs;
              k.CCx = -0.4;
              // -0 keeps 1000's p*y2 term alive; equal starts let it skip orbit 2
              k.CCy = julia ? (shift == 0 ? 0.3 : -0.0) : 0.6;
              TIterationContext fast(k), plain(k);
              for (int row = 0; row < 6; ++row) {
                for (int col = 0; col < 9; ++col) {
                  double x = -1.6 + 0.3 * col, y = 1.0 - 0.4 * row;
                  if (col == 4) x = 0;
                  if (row == 2 && col == 5) y = -0.0;
                  if (row == 5 && col == 8) x = kInf;
                  if (row == 3 && col == 2) y = kNaN;
                  const TPixelResult a = IteratePixel(fast, x, y, x + shift, y);
                  const TPixelResult b = IteratePixelPlain(plain, x, y, x + shift, y);
                  ++pixels;
                  ASSERT_TRUE(SameBits(a.x1, b.x1) && SameBits(a.y1, b.y1) &&
                              SameBits(a.x2, b.x2) && SameBits(a.y2, b.y2) &&
                              SameBits(a.zval, b.zval) && a.it == b.it &&
                              a.period == b.period && a.count == b.count &&
                              a.escaped == b.escaped && a.guard == b.guard)
                      << "formula " << formula << " julia " << julia << " p " << p << " ct "
                      << ct << " maxabs " << maxabs << " pixel " << col << "," << row << ": "
                      << a.x1 << " " << b.x1 << " " << a.y1 << " " << b.y1 << " " << a.x2 << " "
                      << b.x2 << " " << a.y2 << " " << b.y2 << " " << a.zval << " " << b.zval
                      << " it " << a.it << " " << b.it << " per " << a.period << " " << b.period;
                }
              }
              EXPECT_TRUE(SameBits(fast.Acc(), plain.Acc()));
            }
          }
        }
      }
    }
  }
  EXPECT_GT(pixels, 20000);
}

TEST(FastIteration, NotANumberInTheHistory) {
  // 204 in Julia mode leaves y1 = NaN behind in the history while the orbit
  // itself is finite: the distance to that slot is NaN, period 1.
  TParameter k = Pixel(204, 20, 0.5, 1);
  k.Accurate = 1e-6;
  k.zyctest = 3;
  k.CCx = 0.3;
  k.CCy = 0.4;
  TIterationContext fast(k), plain(k);
  for (double y : {kNaN, 0.25, 0.5}) {
    const TPixelResult a = IteratePixel(fast, 0.9, y, 0.1, 0.2);
    const TPixelResult b = IteratePixelPlain(plain, 0.9, y, 0.1, 0.2);
    EXPECT_EQ(a.it, b.it);
    EXPECT_EQ(a.period, b.period);
    EXPECT_TRUE(SameBits(a.x2, b.x2));
  }
}

TEST(FastIteration, RowEqualsPixelByPixel) {
  TParameter k = Pixel(1000, 200);
  k.OutputWidth = 16;
  k.OutputHeight = 4;
  k.bry = 2.4;
  k.vsx = k.vsp = -0.55;
  k.Accurate = 1e-4;
  k.zyctest = 3;
  const TViewMapping view(k);
  TIterationContext by_row(k), by_pixel(k);
  std::vector<double> x1(16), y1(16), x2(16), y2(16), zv(16);
  std::vector<int32_t> count(16), period(16);
  for (int row = 0; row < 4; ++row) {
    long long its = IterateRow(by_row, view, row, 16,
                               {x1.data(), y1.data(), x2.data(), y2.data(), zv.data(),
                                count.data(), period.data()});
    long long sum = 0;
    for (int col = 0; col < 16; ++col) {
      double a, b, c, d;
      view.Map(col, row, a, b, c, d);
      const TPixelResult r = IteratePixel(by_pixel, a, b, c, d);
      sum += r.it;
      EXPECT_TRUE(SameBits(x1[col], r.x1) && SameBits(y2[col], r.y2) &&
                  SameBits(zv[col], r.zval));
      EXPECT_EQ(count[col], r.count);
      EXPECT_EQ(period[col], r.period);
    }
    EXPECT_EQ(its, sum);
  }
}

}  // namespace
}  // namespace ork

namespace ork {
namespace {

// A long history (the stream of values pushed) gives the plain history's
// results bit for bit, also once more values were pushed than it has
// slots; a CycleTest beyond every value the picture pushes gives what any
// such CycleTest gives, whatever its size.
TEST(LongHistory, EqualsThePlainHistory) {
  struct TCase {
    int formula, ct, long_ct;  // long_ct: the same pixels with this CycleTest, long
    double acc, maxabs;
    int julia = 0;
    double p = 0;
  } cases[] = {
      {1000, 1, 1, 1e-4, 1e9},         {1000, 2, 2, 1e-4, 1e9},
      {1000, 7, 7, 1e-6, 1e9},         {1001, 3, 3, 1e-6, 1e9},
      {149, 300, 300, 1e-4, 1e9},      {1002, 40, 40, 1e-9, 1e9},
      {202, 50, 50, 1e-9, 1e9, 1},     // the formula sets its own tolerance
      {1000, 60, 60, -1, 1e9},         // no finite distance is below it
      {204, 20, 20, 1e-6, kInf, 1, 0.5},  // NaN left in the history
      {1000, 3000, 2147483647, 1e-9, 1e9}, {203, 3000, 2147483647, 1e-4, 1e9}};
  for (const TCase& c : cases) {
    TParameter k = Pixel(c.formula, 30, c.p, c.julia);
    k.CCx = 0.3;
    k.CCy = 0.4;
    k.maxabs = c.maxabs;
    k.Accurate = c.acc;
    k.zyctest = c.ct;
    TIterationContext plain(k);
    ASSERT_FALSE(plain.LongHistory());
    SetLongCycleHistoryFrom(1);
    k.zyctest = c.long_ct;
    TIterationContext stream(k);
    SetLongCycleHistoryFrom(0);
    ASSERT_TRUE(stream.LongHistory());
    long long pushed = 0;
    for (int row = 0; row < 8; ++row) {
      for (int col = 0; col < 12; ++col) {
        double x = -1.6 + 0.3 * col, y = 1.0 - 0.4 * row;
        if (row == 3 && col == 2) y = kNaN;
        if (row == 5 && col == 8) x = kInf;
        const double y2 = std::isnan(y) ? 0.2 : y;  // orbit 2 finite
        const TPixelResult a = IteratePixelPlain(plain, x, y, x + 0.01, y2);
        const TPixelResult b = IteratePixel(stream, x, y, x + 0.01, y2);
        pushed += a.it - 1;
        ASSERT_TRUE(SameBits(a.x1, b.x1) && SameBits(a.y2, b.y2) && SameBits(a.zval, b.zval) &&
                    a.it == b.it && a.period == b.period && a.count == b.count)
            << "formula " << c.formula << " ct " << c.ct << " pixel " << col << "," << row;
      }
    }
    if (c.ct == c.long_ct && c.ct > 1) {
      EXPECT_GT(pushed, c.ct + 5) << c.formula;  // slots reused
    } else if (c.ct != c.long_ct) {
      EXPECT_LT(pushed + 1, c.ct) << c.formula;  // never reused
    }
  }
}

}  // namespace
}  // namespace ork
