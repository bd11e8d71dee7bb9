#include "engine/orbit_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/process_state.h"

namespace ork {

namespace {

constexpr uint32_t kAxisColour = 0xFFFF0000u;
constexpr uint32_t kFirstColour = 0xFF28FF28u;  // (40, 255, 40)
constexpr uint32_t kLastColour = 0xFFFF2828u;   // (255, 40, 40)
constexpr uint32_t kFifthColour = 0xFF8080FFu;  // (128, 128, 255)
constexpr uint32_t kTenthColour = 0xFFFFFFFFu;

void ResetDynamicsPicture() { DynamicsPicture() = TDynamicsPicture{}; }

struct TRegistration {
  TRegistration() { RegisterStateReset(&ResetDynamicsPicture); }
};

// The integer part of a real position; false for a position that is not a
// number or beyond the int range (it then counts as outside the picture).
bool PixelPosition(double v, int& out) {
  if (!std::isfinite(v) || v <= -2147483648.0 || v >= 2147483648.0) return false;
  out = static_cast<int>(v);
  return true;
}

void OrbitHook(TRender& render, const TParameter&, const TOrbitRecord& orbit) {
  TDynamicsPicture& d = DynamicsPicture();
  if (!d.DynamicsPixmap) NewDynamicsPixmap();
  DrawOrbitPicture(*d.DynamicsPixmap, render, orbit);
}

}  // namespace

TDynamicsPicture& DynamicsPicture() {
  static TRegistration registration;
  static TDynamicsPicture picture;
  return picture;
}

int LimitDynamicsLength(int length) {
  return std::clamp(length, kMinDynamicsLength, kMaxDynamicsLength);
}

void NewDynamicsPixmap() {
  const int length = LimitDynamicsLength(Dynamics().DynamicsLength);
  DynamicsPicture().DynamicsPixmap =
      std::make_shared<TPixmap>(length, length + kDynamicsTextRows, 0xFF000000u);
}

void DrawDynamicsLine(TPixmap& pixmap, int x1, int y1, int x2, int y2, uint32_t argb) {
  if (y1 == y2)
    for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) pixmap.Set(x, y1, argb);
  if (x1 == x2)
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) pixmap.Set(x1, y, argb);
  if (y1 == y2 || x1 == x2) return;
  const double m = static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1);
  const double e = y2 - m * x2;
  int p = 0;
  if (std::abs(static_cast<long long>(x2) - x1) < std::abs(static_cast<long long>(y2) - y1)) {
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
      if (PixelPosition((y - e) / m + 0.5, p)) pixmap.Set(p, y, argb);
  } else {
    for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
      if (PixelPosition(e + m * x + 0.5, p)) pixmap.Set(x, p, argb);
  }
}

void DrawOrbitPicture(TPixmap& pixmap, const TRender& render, const TOrbitRecord& orbit) {
  const TDynamicsPicture& d = DynamicsPicture();
  const int U = d.DynamicsShiftUp, L = d.DynamicsShiftLeft;
  pixmap.Fill(0xFF000000u);
  const int h = pixmap.Width() / 2;
  if (h - U >= 0 && h - L >= 0) {
    DrawDynamicsLine(pixmap, 0, h - U, 2 * h - 1, h - U, kAxisColour);
    DrawDynamicsLine(pixmap, h - L, 0, h - L, 2 * h - 1 - U, kAxisColour);
  }
  const size_t recorded = std::min(render.DynX.size(), render.DynY.size());
  const int n = recorded == 0 ? 0 : static_cast<int>(std::min<size_t>(
                                        std::max(orbit.n, 0), recorded - 1));
  const bool points = Dynamics().DynamicsMode == 1;
  uint32_t c = kFirstColour;
  int qx = 0, qy = 0;
  bool qValid = true;
  for (int k = 1; k <= n; ++k) {
    if (k == n) c = kLastColour;
    if (k == 5) c = kFifthColour;
    if (k == 10) c = kTenthColour;
    int px = 0, py = 0;
    const bool valid = PixelPosition(render.DynX[k] / orbit.maxX * (h - 1) + h, px) &&
                       PixelPosition(h - render.DynY[k] / orbit.maxY * (h - 1), py);
    // Shifted positions are formed in 64 bits: a far-off point minus a
    // negative shift must not wrap around into the picture.
    const auto inside = [](int v, int shift) { return static_cast<long long>(v) - shift >= 0; };
    if (valid && qValid && inside(px, L) && inside(py, U) && inside(qx, L) && inside(qy, U)) {
      if (points || k == 1)
        pixmap.Set(px - L, py - U, c);
      else
        DrawDynamicsLine(pixmap, qx - L, qy - U, px - L, py - U, c);
    }
    qx = px;
    qy = py;
    qValid = valid;
  }
}

void InstallOrbitPicture() { SetOrbitPictureHook(&OrbitHook); }

}  // namespace ork
