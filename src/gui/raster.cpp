#include "gui/raster.h"

#include <algorithm>
#include <cstdlib>

namespace ork {

namespace {
constexpr std::uint32_t kOpaque = 0xFF000000u;
}

void TRaster::Resize(int w, int h, std::uint32_t argb) {
  width = std::max(0, w);
  height = std::max(0, h);
  pixels.assign(static_cast<size_t>(width) * height, argb | kOpaque);
}

void TRaster::Fill(std::uint32_t argb) { std::fill(pixels.begin(), pixels.end(), argb | kOpaque); }

void TRaster::Line(int x0, int y0, int x1, int y1, std::uint32_t argb, int lineWidth) {
  const int side = std::max(1, lineWidth);
  const int before = (side - 1) / 2;
  const std::uint32_t colour = argb | kOpaque;
  auto brush = [&](int cx, int cy) {
    const int xa = std::max(0, cx - before), xb = std::min(width - 1, cx - before + side - 1);
    const int ya = std::max(0, cy - before), yb = std::min(height - 1, cy - before + side - 1);
    for (int y = ya; y <= yb; ++y)
      for (int x = xa; x <= xb; ++x) pixels[static_cast<size_t>(y) * width + x] = colour;
  };
  // Bresenham over the whole line; far-off lines are cheap enough because
  // the callers draw lines across the canvas only.
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    brush(x0, y0);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void TRaster::Blit(int x, int y, const std::uint32_t* argb, int w, int h) {
  if (!argb || w <= 0 || h <= 0) return;
  const int xa = std::max(0, x), xb = std::min(width, x + w);
  const int ya = std::max(0, y), yb = std::min(height, y + h);
  for (int row = ya; row < yb; ++row) {
    const std::uint32_t* from = argb + static_cast<size_t>(row - y) * w + (xa - x);
    std::uint32_t* to = pixels.data() + static_cast<size_t>(row) * width;
    for (int col = xa; col < xb; ++col) to[col] = *from++ | kOpaque;
  }
}

std::uint32_t TRaster::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return pixels[static_cast<size_t>(y) * width + x];
}

}  // namespace ork
