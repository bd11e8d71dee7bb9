#include "picture/deep_overlay.h"

#include <cmath>
#include <numbers>

#include "engine/deep/deep_coordinates.h"
#include "model/long_coordinates.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/grid.h"
#include "picture/grid_labels.h"

namespace ork {

namespace {

using deep::TBigFloat;

// log10 of |v|; a very small number for 0.
double Log10(const TBigFloat& v) {
  int64_t e = 0;
  const double m = v.Abs().Frexp(e);
  if (m == 0) return -1e18;
  return (std::log2(m) + static_cast<double>(e)) * std::log10(2.0);
}

}  // namespace

bool OffsetOverlays(const TParameter& key) {
  if (key.OutputHeight <= 0) return false;
  if (key.Deep == 0 && !HasLongCoordinates(key)) return false;
  return deep::PastDoubleLimit(key);
}

void LongPixelOffset(const TParameter& key, const std::string& xText, double x,
                     const std::string& yText, double y, double& dx, double& dy) {
  const long bits = deep::PrecisionBits(key);
  const deep::TLongView v = deep::ReadLongView(key, bits);
  const TBigFloat s = TBigFloat(static_cast<double>(key.OutputHeight), bits) / v.bry;
  dx = ((deep::LongOr(xText, x, bits) - v.vsx) * s).ToDouble();
  dy = ((deep::LongOr(yText, y, bits) - v.vsy) * s).ToDouble();
}

std::string OffsetLabel(long long k, long long exponent) {
  if (k == 0) return "0";
  return (k > 0 ? "+" : "") + std::to_string(k) + "E" + std::to_string(exponent);
}

void DrawOffsetGrid(const TPixmap& background, TPixmap& picture, int a, int b,
                    const TClipRect& clip, const TParameter& key, uint32_t colour,
                    int thickness) {
  if (a < 1 || b < 1 || key.OutputHeight <= 0) return;
  const TGridSettings& g = GridSettings();
  const TCompositionState& composition = Composition();
  // The round step as DrawGrid finds it, in the logarithm: 10^e <= 0.95 *
  // (brx + bry) / 2, here without the bounds of a double.
  const double log10Height = Log10(deep::LongOr(key.bryLong, key.bry));
  const double aspect = static_cast<double>(key.OutputWidth) / key.OutputHeight;
  const long long e = static_cast<long long>(
      std::floor(log10Height + std::log10(static_cast<double>(0.95f) * (aspect + 1) / 2)));
  const double step = b * std::pow(10.0, static_cast<double>(e) - log10Height);  // pixels
  if (!(step >= 1) || !std::isfinite(step)) return;

  const double gx = a / 2.0, gy = b / 2.0;
  const double angle = key.Degree * std::numbers::pi / 180.0;
  const double c = std::cos(angle), n = std::sin(angle);
  double hy = RealToInt(1.5 * b / 2), hx = RealToInt(1.5 * a / 2);
  if (key.Degree != 0) hy = hx = std::max(hx, hy);
  const int size = (b < 151 && g.dX < 0) ? 1 : g.size;
  const int font = size == 1 ? 0 : size == 3 ? 2 : 1;
  const int o = size == 1 ? 5 : size == 3 ? 17 : 13;
  const double shift222 = composition.CompositionMode == 222 ? a - 1 : 0;

  auto label = [&](TPointD P1, TPointD P2, double percent, long long k, int dx) {
    TPointD q = PointAlongLine(P1, P2, percent);
    if (composition.CompositionMode == -111) {
      q.x += composition.InsertPosX;
      q.y += composition.InsertPosY;
    }
    const long long x = static_cast<long long>(RealToInt(q.x)) - dx;
    const long long y = static_cast<long long>(RealToInt(q.y)) - o;
    if (x > static_cast<long long>(clip.L) - o && x < clip.R && y > -picture.Height() - 1000 &&
        y < picture.Height())
      DrawGridLabel(font, picture, static_cast<int>(x), static_cast<int>(y), OffsetLabel(k, e));
  };
  const long long mx = static_cast<long long>(0.75 * a / step) + 2;
  for (long long k = -mx; k <= mx; ++k) {
    const double d = static_cast<double>(k) * step;
    const TPointD P1{gx + d * c + hy * n + shift222, gy + d * n - hy * c};
    const TPointD P2{gx + d * c - hy * n + shift222, gy + d * n + hy * c};
    DrawOverlayLine(background, picture, clip, P1.x, P1.y, P2.x, P2.y, colour, thickness);
    if (g.labelsX == 1) label(P1, P2, g.shiftX, k, o);
  }
  const long long my = static_cast<long long>(0.75 * b / step) + 2;
  for (long long k = -my; k <= my; ++k) {
    const double d = -static_cast<double>(k) * step;
    const TPointD P1{gx - hx * c - d * n + shift222, gy - hx * n + d * c};
    const TPointD P2{gx + hx * c - d * n + shift222, gy + hx * n + d * c};
    DrawOverlayLine(background, picture, clip, P1.x, P1.y, P2.x, P2.y, colour, thickness);
    if (g.labelsY == 1) label(P1, P2, g.shiftY, k, 0);
  }
}

}  // namespace ork
