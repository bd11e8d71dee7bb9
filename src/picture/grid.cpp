#include "picture/grid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/grid_labels.h"
#include "picture/grid_state.h"
#include "picture/grid_texts.h"
#include "picture/overlay_line.h"

namespace ork {

namespace {

// Single-precision constants of the spacing rules, used in double arithmetic.
constexpr double kRoundFactor = static_cast<double>(0.95f);
constexpr double kFewestLines = static_cast<double>(4.1f);
constexpr double kAutomatic = static_cast<double>(-1.9f);
// Centre values this many grid steps away from 0 are reduced before the cut
// to an integer line index (they lie beyond the precision of the plane).
constexpr double kIndexRange = 8.0e18;

constexpr double kPow10[33] = {1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8,
                               1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,  1e1,
                               1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,
                               1e11,  1e12,  1e13,  1e14,  1e15,  1e16};
double Pow10(int e) { return kPow10[e + 16]; }

bool Usable(double step) { return std::isfinite(step) && step > 0; }

// The line index nearest the centre, vsx / step cut toward zero.
long long CentreIndex(double centre, double step, THost& host) {
  double r = centre / step;
  if (!std::isfinite(r)) return 0;
  if (std::fabs(r) > kIndexRange) {
    host.StatusText(Tr(grid_texts::kPleaseWait));
    r = std::fmod(r, kIndexRange);
  }
  return static_cast<long long>(r);
}

// The number of lines of a family, or -1 when they would lie closer than
// one per pixel (such a family would only paint the picture over).
long long LineCount(double extent, double step, int add, int a, int b) {
  const double m = std::floor(1.5 * extent / step) + add;
  if (!(m <= 2.0 * (a + b) + 8)) return -1;
  return static_cast<long long>(m);
}

struct TLabelFont {
  int font;    // index into the three bitmap fonts
  int offset;  // pixels the label stands off its line
};
TLabelFont LabelFont(int size) {
  if (size == 1) return {0, 5};
  if (size == 3) return {2, 17};
  return {1, 13};
}

}  // namespace

TPointD PointAlongLine(TPointD P1, TPointD P2, double percent) {
  if (RealToInt(P1.x) == RealToInt(P2.x)) {
    return {P1.x, P1.y + percent * (P2.y - P1.y) / 100};
  }
  TPointD q;
  q.x = P1.x + percent * (P2.x - P1.x) / 100;
  q.y = P1.y + (q.x - P1.x) * (P2.y - P1.y) / (P2.x - P1.x);
  return q;
}

TGridStep GridRoundStep(double brx, double bry) {
  const double t = kRoundFactor * (brx + bry) / 2;
  TGridStep step;
  if (t >= 1e17) {
    step.e = 0;
  } else {
    step.e = 16;
    while (step.e > -16 && Pow10(step.e) > t) --step.e;
  }
  step.q = Pow10(step.e);
  step.p = 1 - step.e;
  return step;
}

std::string GridSizesText(const TGridSettings& g, int scope) {
  return FormatNumber(g.dX, g.decX) + "," + FormatNumber(g.dY, g.decY) + "," +
         std::to_string(g.decX) + "," + std::to_string(g.decY) + "," + std::to_string(g.size) +
         "," + std::to_string(g.labelsX) + "," + std::to_string(g.labelsY) + "," +
         FormatNumber(g.shiftX, 2) + "," + FormatNumber(g.shiftY, 2) + "," + std::to_string(scope);
}

void DrawGrid(const TPixmap& background, TPixmap& picture, int a, int b, int L, int T, int R,
              int B, double brx, double bry, double vsx, double vsy, double Degree,
              uint32_t colour, int thickness, THost& host) {
  if (!(bry > 0) || !(brx > 0) || !std::isfinite(bry) || !std::isfinite(brx) || a < 1 || b < 1) {
    return;
  }
  TGridSettings& g = GridSettings();
  TGridState& state = GridState();
  const TCompositionState& composition = Composition();

  // 1. Scale, centre, rotation and half lengths.
  const double s = b / bry;
  const double gx = a / 2.0, gy = b / 2.0;
  const double angle = Degree * std::numbers::pi / 180.0;
  const double c = std::cos(angle), n = std::sin(angle);
  double hy = RealToInt(1.5 * b / 2), hx = RealToInt(1.5 * a / 2);
  // A turned picture needs lines that reach its corners, whichever way it
  // is turned.
  if (Degree != 0) hy = hx = std::max(hx, hy);

  // 2. Round step, 3. lock.
  const TGridStep round = GridRoundStep(brx, bry);
  if (state.GridAutoMode == 1) state.GridSizesFixed = true;
  if (state.GridAutoMode == 0) state.GridSizesFixed = false;

  // 4. Spacing.
  double xstep = g.dX, ystep = g.dY;
  if (g.dX > kAutomatic) {
    if (!state.GridSizesFixed) {
      if (g.dX + g.dY == 0) {
        g.dX = g.dY = round.q;
        g.decX = -2;
      }
      xstep = g.dX;
      ystep = g.dY;
      const bool needX = brx / g.dX < kFewestLines || brx / g.dX > a / 10.0;
      const bool needY = bry / g.dY < kFewestLines || bry / g.dY > b / 10.0;
      if (needX) {
        if (g.dX >= 0) g.dX = round.q;
        xstep = round.q;
        g.decX = round.p;
      }
      if (needY) {
        if (g.dY >= 0) g.dY = round.q;
        ystep = round.q;
        g.decY = round.p;
      }
      if (g.decX == -2 || needX || needY) {
        if (g.decX == -2) g.decX = g.decY = round.p;
        g.decX = std::max(g.decX, 0);
        g.decY = std::max(g.decY, 0);
        state.GridDialogText = GridSizesText(g, 1);
        host.StatusText(Tr(grid_texts::kChanged) + FormatNumber(g.dX, g.decX) + " DY=" +
                        FormatNumber(g.dY, g.decY) + Tr(grid_texts::kMenu));
      }
    }
    // Fixed settings that give no usable step fall back to the round one.
    if (!Usable(xstep)) xstep = round.q;
    if (!Usable(ystep)) ystep = round.q;
  } else {
    g.dY = -1;
    xstep = ystep = round.q;
    g.decX = g.decY = std::max(round.p, 0);
  }

  // 5. Label font; 6. automatic visibility for films.
  if (b < 151 && g.dX < 0) g.size = 1;
  const TLabelFont font = LabelFont(g.size);
  const int o = font.offset;
  if (g.dX < kAutomatic && (bry / ystep > 10 || bry / ystep < 7)) return;

  const double shift222 = composition.CompositionMode == 222 ? a - 1 : 0;
  const bool shiftInsert = composition.CompositionMode == -111;
  const TClipRect clip{L, T, R, B};
  auto label = [&](TPointD P1, TPointD P2, double percent, int decimals, double v, int dx) {
    TPointD q = PointAlongLine(P1, P2, percent);
    if (shiftInsert) {
      q.x += composition.InsertPosX;
      q.y += composition.InsertPosY;
    }
    // In 64 bits: a point far off (or invalid, -2^31) must not overflow.
    const long long x = static_cast<long long>(RealToInt(q.x)) - dx;
    const long long y = static_cast<long long>(RealToInt(q.y)) - o;
    if (x > static_cast<long long>(L) - o && x < R && y > -picture.Height() - 1000 &&
        y < picture.Height()) {
      DrawGridLabel(font.font, picture, static_cast<int>(x), static_cast<int>(y),
                    FormatNumber(v, decimals));
    }
  };

  // 7. Lines of constant x.
  const long long mx = LineCount(brx, xstep, 4, a, b);
  if (mx >= 0) {
    const long long k0 = CentreIndex(vsx, xstep, host);
    for (long long k = -k0 - mx / 2; k <= -k0 + mx / 2; ++k) {
      const double v = -static_cast<double>(k) * xstep;
      const double d = (gx - (vsx - v) * s) - gx;
      const TPointD P1{gx + d * c + hy * n + shift222, gy + d * n - hy * c};
      const TPointD P2{gx + d * c - hy * n + shift222, gy + d * n + hy * c};
      DrawOverlayLine(background, picture, clip, P1.x, P1.y, P2.x, P2.y, colour, thickness);
      if (g.labelsX == 1) label(P1, P2, g.shiftX, g.decX, v, o);
    }
  }

  // 8. Lines of constant y.
  const long long my = LineCount(bry, ystep, 2, a, b);
  if (my >= 0) {
    const long long k0 = CentreIndex(vsy, ystep, host);
    for (long long k = -k0 - my / 2; k <= -k0 + my / 2; ++k) {
      const double v = -static_cast<double>(k) * ystep;
      const double d = (gy + (vsy - v) * s) - gy;
      const TPointD P1{gx - hx * c - d * n + shift222, gy - hx * n + d * c};
      const TPointD P2{gx + hx * c - d * n + shift222, gy + hx * n + d * c};
      DrawOverlayLine(background, picture, clip, P1.x, P1.y, P2.x, P2.y, colour, thickness);
      if (g.labelsY == 1) label(P1, P2, g.shiftY, g.decY, v, 0);
    }
  }
}

}  // namespace ork
