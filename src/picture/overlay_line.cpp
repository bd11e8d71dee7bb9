#include "picture/overlay_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/argb.h"

namespace ork {

namespace {

class TLinePainter {
 public:
  TLinePainter(const TPixmap& background, TPixmap& picture, const TClipRect& clip,
               uint32_t colour, int thickness)
      : background_(background), picture_(picture), clip_(clip), colour_(colour),
        thickness_(thickness) {
    const uint32_t alpha = colour >> 24;
    invert_ = alpha == 0;
    blend_ = alpha != 0 && alpha != 255;
  }

  // p is already shifted and inside the clip rectangle.
  void Put(int x, int y) {
    const uint32_t colour = invert_ ? InvertArgb(background_.Get(x, y)) : colour_;
    Write(x, y, colour);
    if (thickness_ < 2 || !clip_.Inside(x + 1, y) || !clip_.Inside(x, y + 1) ||
        !clip_.Inside(x - 1, y) || !clip_.Inside(x, y - 1)) {
      return;
    }
    Write(x + 1, y, colour);
    Write(x, y + 1, colour);
    Write(x - 1, y, colour);
    Write(x, y - 1, colour);
    if (thickness_ >= 3) {
      picture_.Set(x + 1, y + 1, kOpaqueBlack);
      picture_.Set(x - 1, y - 1, kOpaqueWhite);
    }
  }

 private:
  void Write(int x, int y, uint32_t colour) {
    picture_.Set(x, y, blend_ ? BlendArgb(colour, background_.Get(x, y)) : colour);
  }

  const TPixmap& background_;
  TPixmap& picture_;
  TClipRect clip_;
  uint32_t colour_;
  int thickness_;
  bool invert_ = false;
  bool blend_ = false;
};

}  // namespace

TClipRect OverlayClipRect(int W, int H, int RW, int RH) {
  const TCompositionState& state = Composition();
  TClipRect clip;
  switch (state.CompositionMode) {
    case 222:
      // Movie 2's half starts at Movie 1's width - 1; a narrower Movie 2
      // must not draw into Movie 1's half.
      clip = {RW - 1, 0, W - 1 + RW - 1, H};
      break;
    case -111:
      clip = {state.InsertPosX, state.InsertPosY, std::min(state.InsertPosX + W - 1, RW - 1),
              std::min(state.InsertPosY + H - 1, RH - 1)};
      break;
    case 101:
      clip = {state.InsertPosX, state.InsertPosY, std::min(W - 1, RW - 1), std::min(H - 1, RH - 1)};
      break;
    default:
      clip = {0, 0, W - 1, H};
      break;
  }
  return clip;
}

void DrawOverlayLine(const TPixmap& background, TPixmap& picture, int L, int T, int R, int B,
                     double x0, double y0, double x1, double y1, uint32_t colour, int thickness) {
  const long long ix0 = RealToInt(x0), iy0 = RealToInt(y0);
  const long long ix1 = RealToInt(x1), iy1 = RealToInt(y1);
  if (ix0 == ix1 && iy0 == iy1) return;

  const TCompositionState& state = Composition();
  const bool shifted = state.CompositionMode == -111;
  const long long sx = shifted ? state.InsertPosX : 0;
  const long long sy = shifted ? state.InsertPosY : 0;

  // Only centre pixels inside the clip rectangle write anything (the
  // thickening needs all four neighbours inside), so the walk is limited to
  // the rectangle, intersected with the picture.
  const TClipRect clip{L, T, R, B};
  const long long left = std::max(L, 0), top = std::max(T, 0);
  const long long right = std::min(R, picture.Width()), bottom = std::min(B, picture.Height());
  if (left >= right || top >= bottom) return;
  // Unshifted coordinate ranges whose shifted pixels fall inside.
  const long long xmin = left - sx, xmax = right - 1 - sx;
  const long long ymin = top - sy, ymax = bottom - 1 - sy;

  TLinePainter painter(background, picture, clip, colour, thickness);
  auto put = [&](long long x, long long y) {
    if (x < xmin || x > xmax || y < ymin || y > ymax) return;
    painter.Put(static_cast<int>(x + sx), static_cast<int>(y + sy));
  };

  if (iy0 == iy1) {
    const long long from = std::max(std::min(ix0, ix1), xmin);
    const long long to = std::min(std::max(ix0, ix1), xmax);
    for (long long x = from; x <= to; ++x) put(x, iy0);
    return;
  }
  if (ix0 == ix1) {
    const long long from = std::max(std::min(iy0, iy1), ymin);
    const long long to = std::min(std::max(iy0, iy1), ymax);
    for (long long y = from; y <= to; ++y) put(ix0, y);
    return;
  }
  const double k = static_cast<double>(iy1 - iy0) / static_cast<double>(ix1 - ix0);
  const double n = static_cast<double>(iy1) - k * static_cast<double>(ix1);
  if (std::llabs(ix1 - ix0) < std::llabs(iy1 - iy0)) {
    const long long from = std::max(std::min(iy0, iy1), ymin);
    const long long to = std::min(std::max(iy0, iy1), ymax);
    for (long long y = from; y <= to; ++y) {
      put(RealToInt((static_cast<double>(y) - n) / k + 0.5), y);
    }
  } else {
    const long long from = std::max(std::min(ix0, ix1), xmin);
    const long long to = std::min(std::max(ix0, ix1), xmax);
    for (long long x = from; x <= to; ++x) {
      put(x, RealToInt(k * static_cast<double>(x) + n + 0.5));
    }
  }
}

}  // namespace ork
