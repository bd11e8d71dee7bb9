#include "engine/deep_oracle.h"

#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/deep/deep_coordinates.h"

namespace ork::test {
namespace {

using deep::TBigFloat;

mpfr_srcptr M(const TBigFloat& x) { return static_cast<mpfr_srcptr>(x.Raw()); }

struct TVar {
  mpfr_t v;
  explicit TVar(long bits) { mpfr_init2(v, bits); }
  ~TVar() { mpfr_clear(v); }
  TVar(const TVar&) = delete;
  operator mpfr_ptr() { return v; }
};

}  // namespace

std::vector<TOraclePixel> OraclePicture(const TParameter& k, long extraBits, int stride) {
  const long bits = deep::PrecisionBits(k) + extraBits;
  const deep::TLongView view = deep::ReadLongView(k, bits);
  const int W = k.OutputWidth, H = k.OutputHeight;
  const int ct = std::max(k.zyctest, 1);
  const bool julia = k.GameNo == 1000 ? k.julia != 0 : k.julia == 1;
  const bool coupled = k.par != 0;
  const int maxIter = k.ianzmax;
  const int zvalAt = maxIter / 10;
  (void)zvalAt;

  TVar dx(bits), dy(bits), acc(bits), t(bits), u(bits), cx(bits), cy(bits), p(bits), dist(bits);
  // dx = (bry * W / H) / W, dy = bry / H, as the picture loop maps them.
  mpfr_mul_si(t, M(view.bry), W, MPFR_RNDN);
  mpfr_div_si(t, t, H, MPFR_RNDN);
  mpfr_div_si(dx, t, W, MPFR_RNDN);
  mpfr_div_si(dy, M(view.bry), H, MPFR_RNDN);
  if (k.Accurate != 0) {
    mpfr_set_d(acc, k.Accurate, MPFR_RNDN);
  } else {
    mpfr_div_si(acc, M(view.bry), H, MPFR_RNDN);
    mpfr_div_si(acc, acc, 1000, MPFR_RNDN);
  }
  mpfr_set_d(p, k.par, MPFR_RNDN);
  TVar halfW(bits), halfH(bits);
  mpfr_div_2ui(halfW, t, 1, MPFR_RNDN);
  mpfr_div_2ui(halfH, M(view.bry), 1, MPFR_RNDN);

  std::vector<mpfr_t> hist(4 * static_cast<size_t>(ct));
  // The same values as doubles: a distance far above the tolerance is
  // settled by them (long cycle tests would take hours otherwise).
  std::vector<double> histD(4 * static_cast<size_t>(ct));
  const double accD = mpfr_get_d(acc, MPFR_RNDN);
  for (auto& h : hist) mpfr_init2(h, bits);
  mpfr_t z[4], n[4], a, b;
  for (auto& v : z) mpfr_init2(v, bits);
  for (auto& v : n) mpfr_init2(v, bits);
  mpfr_init2(a, bits);
  mpfr_init2(b, bits);
  const double ca = std::cos(k.Degree * 3.14159265358979323846 / 180.0);
  const double sa = std::sin(k.Degree * 3.14159265358979323846 / 180.0);

  std::vector<TOraclePixel> out(static_cast<size_t>(W) * H);
  stride = std::max(stride, 1);
  for (int row = 0; row < H; row += stride) {
    for (int col = 0; col < W; col += stride) {
      // Offset from the centre, turned.
      TVar ox(bits), oy(bits), sx(bits), sy(bits);
      mpfr_mul_si(ox, dx, col, MPFR_RNDN);
      mpfr_sub(ox, ox, halfW, MPFR_RNDN);
      mpfr_mul_si(oy, dy, row, MPFR_RNDN);
      mpfr_sub(oy, halfH, oy, MPFR_RNDN);
      if (k.Degree != 0) {
        TVar rx(bits), ry(bits);
        mpfr_mul_d(rx, ox, ca, MPFR_RNDN);
        mpfr_mul_d(t, oy, sa, MPFR_RNDN);
        mpfr_sub(rx, rx, t, MPFR_RNDN);
        mpfr_mul_d(ry, oy, ca, MPFR_RNDN);
        mpfr_mul_d(t, ox, sa, MPFR_RNDN);
        mpfr_add(ry, ry, t, MPFR_RNDN);
        mpfr_set(ox, rx, MPFR_RNDN);
        mpfr_set(oy, ry, MPFR_RNDN);
      }
      mpfr_add(sx, M(view.vsx), ox, MPFR_RNDN);
      mpfr_add(sy, M(view.vsy), oy, MPFR_RNDN);
      if (julia) {
        mpfr_set(cx, M(view.CCx), MPFR_RNDN);
        mpfr_set(cy, M(view.CCy), MPFR_RNDN);
        mpfr_set(z[0], sx, MPFR_RNDN), mpfr_set(z[1], sy, MPFR_RNDN);
        mpfr_set(z[2], sx, MPFR_RNDN), mpfr_set(z[3], sy, MPFR_RNDN);
      } else {
        mpfr_set(cx, sx, MPFR_RNDN);
        mpfr_set(cy, sy, MPFR_RNDN);
        for (auto& v : z) mpfr_set_zero(v, 1);
      }
      int it = 0, filled = 0, head = 0, period = 0;
      bool over = false, escaped = false;
      while (true) {
        ++it;
        if (it > maxIter) over = true;
        for (int c = 0; c < 4; ++c) {
          mpfr_set(hist[4 * head + c], z[c], MPFR_RNDN);
          histD[4 * head + c] = mpfr_get_d(z[c], MPFR_RNDN);
        }
        filled = std::min(filled + 1, ct);
        // The formula step, written out plainly.
        if (k.GameNo == 1000) {
          mpfr_sqr(a, z[0], MPFR_RNDN), mpfr_sqr(b, z[1], MPFR_RNDN);
          mpfr_sub(n[0], a, b, MPFR_RNDN), mpfr_add(n[0], n[0], cx, MPFR_RNDN);
          mpfr_mul(n[1], z[0], z[1], MPFR_RNDN), mpfr_mul_2ui(n[1], n[1], 1, MPFR_RNDN);
          mpfr_add(n[1], n[1], cy, MPFR_RNDN);
          if (coupled) {
            mpfr_mul(t, p, z[2], MPFR_RNDN), mpfr_add(n[0], n[0], t, MPFR_RNDN);
            mpfr_mul(t, p, z[3], MPFR_RNDN), mpfr_add(n[1], n[1], t, MPFR_RNDN);
            mpfr_sqr(a, z[2], MPFR_RNDN), mpfr_sqr(b, z[3], MPFR_RNDN);
            mpfr_sub(n[2], a, b, MPFR_RNDN), mpfr_add(n[2], n[2], cx, MPFR_RNDN);
            mpfr_mul(t, p, z[0], MPFR_RNDN), mpfr_sub(n[2], n[2], t, MPFR_RNDN);
            mpfr_mul(n[3], z[2], z[3], MPFR_RNDN), mpfr_mul_2ui(n[3], n[3], 1, MPFR_RNDN);
            mpfr_add(n[3], n[3], cy, MPFR_RNDN);
            mpfr_mul(t, p, z[1], MPFR_RNDN), mpfr_sub(n[3], n[3], t, MPFR_RNDN);
          }
        } else if (k.GameNo == 1001) {
          mpfr_sqr(a, z[0], MPFR_RNDN), mpfr_sqr(b, z[1], MPFR_RNDN);
          mpfr_add(n[0], a, b, MPFR_RNDN), mpfr_add(n[0], n[0], cx, MPFR_RNDN);
          mpfr_set(n[1], cy, MPFR_RNDN);
          if (coupled) {
            mpfr_mul(t, p, z[2], MPFR_RNDN), mpfr_add(n[0], n[0], t, MPFR_RNDN);
            mpfr_mul(t, p, z[3], MPFR_RNDN), mpfr_add(n[1], n[1], t, MPFR_RNDN);
            mpfr_sqr(a, z[2], MPFR_RNDN), mpfr_sqr(b, z[3], MPFR_RNDN);
            mpfr_add(n[2], a, b, MPFR_RNDN), mpfr_add(n[2], n[2], cx, MPFR_RNDN);
            mpfr_mul(t, p, z[0], MPFR_RNDN), mpfr_sub(n[2], n[2], t, MPFR_RNDN);
            mpfr_mul(t, p, z[1], MPFR_RNDN), mpfr_sub(n[3], cy, t, MPFR_RNDN);
          }
        } else {
          mpfr_mul(n[0], z[0], z[1], MPFR_RNDN), mpfr_mul_2ui(n[0], n[0], 1, MPFR_RNDN);
          mpfr_add(n[0], n[0], cy, MPFR_RNDN);
          mpfr_sqr(a, z[0], MPFR_RNDN), mpfr_sqr(b, z[1], MPFR_RNDN);
          mpfr_sub(n[1], a, b, MPFR_RNDN), mpfr_add(n[1], n[1], cx, MPFR_RNDN);
          if (coupled) {
            mpfr_mul(n[2], z[2], z[3], MPFR_RNDN), mpfr_mul_2ui(n[2], n[2], 1, MPFR_RNDN);
            mpfr_add(n[2], n[2], cy, MPFR_RNDN);
            mpfr_mul(t, p, n[1], MPFR_RNDN), mpfr_sub(n[2], n[2], t, MPFR_RNDN);
            mpfr_sqr(a, z[2], MPFR_RNDN), mpfr_sqr(b, z[3], MPFR_RNDN);
            mpfr_sub(n[3], a, b, MPFR_RNDN), mpfr_add(n[3], n[3], cx, MPFR_RNDN);
            mpfr_mul(t, p, n[0], MPFR_RNDN), mpfr_sub(n[3], n[3], t, MPFR_RNDN);
          }
        }
        if (!coupled) {
          mpfr_set(n[2], n[0], MPFR_RNDN);
          mpfr_set(n[3], n[1], MPFR_RNDN);
        }
        for (int c = 0; c < 4; ++c) mpfr_swap(z[c], n[c]);
        double sum = 0, zd[4];
        for (int c = 0; c < 4; ++c) {
          zd[c] = mpfr_get_d(z[c], MPFR_RNDN);
          sum += std::fabs(zd[c]);
        }
        if (sum > k.maxabs) escaped = over = true;
        period = 0;
        for (int i = 1; i <= filled; ++i) {
          const int slot = (head - (i - 1) + ct) % ct;
          double est = 0, scale = 0;
          for (int c = 0; c < 4; ++c) {
            est += std::fabs(zd[c] - histD[4 * slot + c]);
            scale += std::fabs(zd[c]) + std::fabs(histD[4 * slot + c]);
          }
          if (est > 2 * accD + scale * 0x1p-40 + 1e-300) continue;
          mpfr_set_zero(dist, 1);
          for (int c = 0; c < 4; ++c) {
            mpfr_sub(u, hist[4 * slot + c], z[c], MPFR_RNDN);
            mpfr_abs(u, u, MPFR_RNDN);
            mpfr_add(dist, dist, u, MPFR_RNDN);
          }
          if (!(mpfr_cmp(dist, acc) >= 0)) {
            period = i;
            break;
          }
        }
        if (period != 0 || over) break;
        head = (head + 1) % ct;
      }
      TOraclePixel& o = out[static_cast<size_t>(row) * W + col];
      o.count = it + k.colz + (escaped ? k.colzh : 0);
      o.period = period;
      o.escaped = escaped;
    }
  }
  for (auto& h : hist) mpfr_clear(h);
  for (auto& v : z) mpfr_clear(v);
  for (auto& v : n) mpfr_clear(v);
  mpfr_clear(a);
  mpfr_clear(b);
  return out;
}

TNucleus FindNucleus(const std::string& x, const std::string& y, int period, long bits) {
  TNucleus out;
  TBigFloat bx, by;
  if (!TBigFloat::Parse(x, bits, bx) || !TBigFloat::Parse(y, bits, by)) return out;
  TVar cx(bits), cy(bits), zx(bits), zy(bits), dx(bits), dy(bits), t(bits), u(bits),
      nx(bits), ny(bits), den(bits);
  mpfr_set(cx, M(bx), MPFR_RNDN);
  mpfr_set(cy, M(by), MPFR_RNDN);
  for (int step = 0; step < 200; ++step) {
    mpfr_set_zero(zx, 1), mpfr_set_zero(zy, 1), mpfr_set_zero(dx, 1), mpfr_set_zero(dy, 1);
    for (int i = 0; i < period; ++i) {
      // dz = 2 z dz + 1
      mpfr_mul(t, zx, dx, MPFR_RNDN), mpfr_mul(u, zy, dy, MPFR_RNDN), mpfr_sub(nx, t, u, MPFR_RNDN);
      mpfr_mul(t, zx, dy, MPFR_RNDN), mpfr_mul(u, zy, dx, MPFR_RNDN), mpfr_add(ny, t, u, MPFR_RNDN);
      mpfr_mul_2ui(dx, nx, 1, MPFR_RNDN), mpfr_add_ui(dx, dx, 1, MPFR_RNDN);
      mpfr_mul_2ui(dy, ny, 1, MPFR_RNDN);
      // z = z^2 + c
      mpfr_sqr(t, zx, MPFR_RNDN), mpfr_sqr(u, zy, MPFR_RNDN), mpfr_sub(nx, t, u, MPFR_RNDN);
      mpfr_mul(ny, zx, zy, MPFR_RNDN), mpfr_mul_2ui(ny, ny, 1, MPFR_RNDN);
      mpfr_add(zx, nx, cx, MPFR_RNDN), mpfr_add(zy, ny, cy, MPFR_RNDN);
    }
    // c -= z / dz
    mpfr_sqr(t, dx, MPFR_RNDN), mpfr_sqr(u, dy, MPFR_RNDN), mpfr_add(den, t, u, MPFR_RNDN);
    if (mpfr_zero_p(den)) return out;
    mpfr_mul(t, zx, dx, MPFR_RNDN), mpfr_mul(u, zy, dy, MPFR_RNDN), mpfr_add(nx, t, u, MPFR_RNDN);
    mpfr_mul(t, zy, dx, MPFR_RNDN), mpfr_mul(u, zx, dy, MPFR_RNDN), mpfr_sub(ny, t, u, MPFR_RNDN);
    mpfr_div(nx, nx, den, MPFR_RNDN), mpfr_div(ny, ny, den, MPFR_RNDN);
    mpfr_sub(cx, cx, nx, MPFR_RNDN), mpfr_sub(cy, cy, ny, MPFR_RNDN);
    long e1 = 0, e2 = 0;
    mpfr_get_d_2exp(&e1, nx, MPFR_RNDN);
    mpfr_get_d_2exp(&e2, ny, MPFR_RNDN);
    if ((mpfr_zero_p(nx) || e1 < -bits + 8) && (mpfr_zero_p(ny) || e2 < -bits + 8)) {
      out.found = true;
      break;
    }
  }
  // Size: 1 / |b l^2| with l = prod 2 z_j, b = sum 1 / prod (j = 1 .. P-1).
  TVar lx(bits), ly(bits), bx2(bits), by2(bits);
  mpfr_set_ui(lx, 1, MPFR_RNDN), mpfr_set_zero(ly, 1);
  mpfr_set_ui(bx2, 1, MPFR_RNDN), mpfr_set_zero(by2, 1);
  mpfr_set(zx, cx, MPFR_RNDN), mpfr_set(zy, cy, MPFR_RNDN);
  for (int i = 1; i < period; ++i) {
    mpfr_mul(t, lx, zx, MPFR_RNDN), mpfr_mul(u, ly, zy, MPFR_RNDN), mpfr_sub(nx, t, u, MPFR_RNDN);
    mpfr_mul(t, lx, zy, MPFR_RNDN), mpfr_mul(u, ly, zx, MPFR_RNDN), mpfr_add(ny, t, u, MPFR_RNDN);
    mpfr_mul_2ui(lx, nx, 1, MPFR_RNDN), mpfr_mul_2ui(ly, ny, 1, MPFR_RNDN);
    mpfr_sqr(t, lx, MPFR_RNDN), mpfr_sqr(u, ly, MPFR_RNDN), mpfr_add(den, t, u, MPFR_RNDN);
    mpfr_div(t, lx, den, MPFR_RNDN), mpfr_add(bx2, bx2, t, MPFR_RNDN);
    mpfr_div(u, ly, den, MPFR_RNDN), mpfr_sub(by2, by2, u, MPFR_RNDN);
    mpfr_sqr(t, zx, MPFR_RNDN), mpfr_sqr(u, zy, MPFR_RNDN), mpfr_sub(nx, t, u, MPFR_RNDN);
    mpfr_mul(ny, zx, zy, MPFR_RNDN), mpfr_mul_2ui(ny, ny, 1, MPFR_RNDN);
    mpfr_add(zx, nx, cx, MPFR_RNDN), mpfr_add(zy, ny, cy, MPFR_RNDN);
  }
  long el = 0, eb = 0;
  mpfr_sqr(t, lx, MPFR_RNDN), mpfr_sqr(u, ly, MPFR_RNDN), mpfr_add(den, t, u, MPFR_RNDN);
  const double ml = mpfr_get_d_2exp(&el, den, MPFR_RNDN);  // |l|^2
  mpfr_sqr(t, bx2, MPFR_RNDN), mpfr_sqr(u, by2, MPFR_RNDN), mpfr_add(t, t, u, MPFR_RNDN);
  const double mb = mpfr_get_d_2exp(&eb, t, MPFR_RNDN);    // |b|^2
  // size = 1 / (|b| |l|^2)
  out.log10_size = -(0.5 * (std::log10(mb) + eb * std::log10(2.0)) +
                     (std::log10(ml) + el * std::log10(2.0)));
  TBigFloat rx, ry;
  rx.SetBits(bits), ry.SetBits(bits);
  mpfr_set(static_cast<mpfr_ptr>(rx.Raw()), cx, MPFR_RNDN);
  mpfr_set(static_cast<mpfr_ptr>(ry.Raw()), cy, MPFR_RNDN);
  out.x = rx.ToString();
  out.y = ry.ToString();
  return out;
}

int AtomPeriod(const std::string& x, const std::string& y, int limit, long bits) {
  TBigFloat bx, by;
  if (!TBigFloat::Parse(x, bits, bx) || !TBigFloat::Parse(y, bits, by)) return 0;
  TVar zx(bits), zy(bits), t(bits), u(bits), nx(bits), ny(bits);
  mpfr_set_zero(zx, 1), mpfr_set_zero(zy, 1);
  double best = 1e300;
  int period = 0;
  for (int i = 1; i <= limit; ++i) {
    mpfr_sqr(t, zx, MPFR_RNDN), mpfr_sqr(u, zy, MPFR_RNDN), mpfr_sub(nx, t, u, MPFR_RNDN);
    mpfr_mul(ny, zx, zy, MPFR_RNDN), mpfr_mul_2ui(ny, ny, 1, MPFR_RNDN);
    mpfr_add(zx, nx, M(bx), MPFR_RNDN), mpfr_add(zy, ny, M(by), MPFR_RNDN);
    mpfr_sqr(t, zx, MPFR_RNDN), mpfr_sqr(u, zy, MPFR_RNDN), mpfr_add(t, t, u, MPFR_RNDN);
    long e = 0;
    const double m = mpfr_get_d_2exp(&e, t, MPFR_RNDN);
    const double l = m == 0 ? -1e300 : std::log2(m) + e;
    if (l > 2) return period;
    if (l < best) {
      best = l;
      period = i;
    }
  }
  return period;
}

}  // namespace ork::test
