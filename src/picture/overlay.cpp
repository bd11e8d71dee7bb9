#include "picture/overlay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "model/list_syntax.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/deep_overlay.h"
#include "picture/grid.h"
#include "picture/overlay_line.h"

namespace ork {

namespace {

enum TKind { kGrid = 0, kCross = 1, kAxes = 2, kPointsTo = 3, kPointsFrom = 4, kPoint = 5,
             kNext = 6 };

int KindOf(std::string_view token) {
  if (token == "GV") return kGrid;
  const int index = LineKindIndex(token);
  return index >= kGrid && index <= kNext ? index : -1;
}

// Plane to picture: centre (W/2, H/2), H / bry pixels per unit, then the
// turn by the keyframe's Degree about the centre.
class TPlaneMapping {
 public:
  explicit TPlaneMapping(const TParameter& key)
      : cx_(key.OutputWidth / 2.0), cy_(key.OutputHeight / 2.0),
        s_(key.OutputHeight / key.bry), vsx_(key.vsx), vsy_(key.vsy) {
    const double angle = key.Degree * std::numbers::pi / 180.0;
    cos_ = std::cos(angle);
    sin_ = std::sin(angle);
  }
  double cx() const { return cx_; }
  double cy() const { return cy_; }
  double s() const { return s_; }
  TPointD Turn(TPointD p) const {
    const double dx = p.x - cx_, dy = p.y - cy_;
    return {cx_ + dx * cos_ - dy * sin_, cy_ + dy * cos_ + dx * sin_};
  }
  TPointD Map(double x, double y) const {
    return Turn({cx_ + (x - vsx_) * s_, cy_ - (y - vsy_) * s_});
  }

 private:
  double cx_, cy_, s_, vsx_, vsy_;
  double cos_ = 1, sin_ = 0;
};

struct TOverlayCall {
  const TPixmap& background;
  TPixmap& picture;
  TClipRect clip;
  uint32_t colour;
  int thickness;
  double shift;  // Movie 2's half of a double picture: RW - 1
  void Line(double x0, double y0, double x1, double y1) const {
    DrawOverlayLine(background, picture, clip, x0 + shift, y0, x1 + shift, y1, colour, thickness);
  }
};

void DrawCross(const TOverlayCall& call, const TParameter& key) {
  const int H2 = key.OutputHeight / 2, W2 = key.OutputWidth / 2;
  call.Line(1, H2, call.clip.R, H2);
  call.Line(W2, 1, W2, call.clip.B);
}

void DrawAxes(const TOverlayCall& call, const TParameter& key, const TPlaneMapping& map) {
  const double cx = map.cx(), cy = map.cy();
  const double u = cx - key.vsx * map.s();
  const double v = cy + key.vsy * map.s();
  const int J = RealToInt(1.5 * key.OutputWidth / 2);
  const int K = RealToInt(1.5 * key.OutputHeight / 2);
  const TPointD r0 = map.Turn({cx - J, v}), r1 = map.Turn({cx + J, v});
  const TPointD i0 = map.Turn({u, cy - K}), i1 = map.Turn({u, cy + K});
  call.Line(r0.x, r0.y, r1.x, r1.y);
  call.Line(i0.x, i0.y, i1.x, i1.y);
}

// The picture pixel of the keyframe's own C point; far below the double
// limit taken as its offset from the centre in high precision.
TPointD CPointPixel(const TParameter& key, const TPlaneMapping& map) {
  if (!OffsetOverlays(key)) return map.Map(key.CCx, key.CCy);
  double dx = 0, dy = 0;
  LongPixelOffset(key, key.CCxLong, key.CCx, key.CCyLong, key.CCy, dx, dy);
  return map.Turn({map.cx() + dx, map.cy() - dy});
}

void DrawPointCross(const TOverlayCall& call, TPointD p, double a, int RW, int RH) {
  // The strokes end at the render object's last column and row; a stroke
  // that starts beyond them is left out (limiting its end would turn it
  // back into the picture and leave a stray dot at the edge).
  if (!(p.x - a > RW - 1.0)) call.Line(p.x - a, p.y, std::min(p.x + a, RW - 1.0), p.y);
  if (!(p.y - a > RH - 1.0)) call.Line(p.x, p.y - a, p.x, std::min(p.y + a, RH - 1.0));
}

void DrawNextFrame(const TOverlayCall& call, const TParameter& key, const TPlaneMapping& map) {
  if (key.brxfollow == 0) return;
  const double bw = key.brxfollow / 2, bh = key.bryfollow / 2;
  TPointD corner[4] = {{-bw, bh}, {bw, bh}, {-bw, -bh}, {bw, -bh}};  // TL, TR, BL, BR
  const double phi = key.Degreefollow * std::numbers::pi / 180.0;
  const double c = std::cos(phi), n = std::sin(phi);
  for (TPointD& p : corner) {
    if (key.Degreefollow != 0) p = {p.x * c - p.y * n, p.x * n + p.y * c};
    p = map.Map(key.vsxfollow + p.x, key.vsyfollow + p.y);
    p.x += 0.5;
    p.y += 0.5;
  }
  auto snap = [](double& first, double& second) {
    if (std::fabs(first - second) < 1) first = second = (first + second) / 2;
  };
  TPointD &tl = corner[0], &tr = corner[1], &bl = corner[2], &br = corner[3];
  snap(tl.x, bl.x);
  snap(tr.x, br.x);
  snap(tl.y, tr.y);
  snap(bl.y, br.y);
  call.Line(tl.x, tl.y, tr.x, tr.y);
  call.Line(bl.x, bl.y, br.x, br.y);
  call.Line(tl.x, tl.y, bl.x, bl.y);
  call.Line(tr.x, tr.y, br.x, br.y);
}

}  // namespace

void DrawOverlay(std::string_view kind, TParameter* keyframe, TRender* render, THost& host) {
  if (keyframe == nullptr || render == nullptr || render->Image == nullptr) return;
  const TCompositionState& composition = Composition();
  if (composition.ShownImage == 4) return;
  TPixmap* picture = composition.ShownImage < 2 ? render->Image.get() : render->ImageD.get();
  if (picture == nullptr || picture->Empty()) return;
  const int index = KindOf(kind);
  if (index < 0) return;

  TParameter& key = *keyframe;
  const uint32_t colour = static_cast<uint32_t>(key.CLinesColor[index]);
  const int RW = render->Width, RH = render->Height;
  const TClipRect clip = OverlayClipRect(key.OutputWidth, key.OutputHeight, RW, RH);

  // Blending and inversion read the picture as it was before this kind;
  // opaque colours never read it, so they need no copy. A C-point cross
  // reads only the rows around its point, so only those are copied (the
  // movie's crosses are drawn once per keyframe).
  static TPixmap copy;
  const uint32_t alpha = colour >> 24;
  const TPixmap* background = picture;
  if (alpha != 255) {
    const TPlaneMapping map(key);
    int first = 0, last = picture->Height() - 1;
    if (index == kPoint || index == kPointsTo || index == kPointsFrom) {
      const bool own = index == kPoint;
      const TPointD p = own ? CPointPixel(key, map) : map.Map(key.pox, key.poy);
      const int shiftY = composition.CompositionMode == -111 ? composition.InsertPosY : 0;
      const double centre = std::floor(p.y) + shiftY;
      const double reach = (own ? 10 : 3) + 2;
      if (std::isfinite(centre)) {
        first = static_cast<int>(std::clamp(centre - reach, 0.0, static_cast<double>(last)));
        last = static_cast<int>(std::clamp(centre + reach, 0.0, static_cast<double>(last)));
      } else {
        last = first - 1;  // no row of the picture is reached
      }
    }
    if (copy.Width() != picture->Width() || copy.Height() != picture->Height()) {
      copy = *picture;
    } else if (first <= last) {
      std::copy(picture->Row(first), picture->Row(last) + picture->Width(), copy.Row(first));
    }
    background = &copy;
  }

  if (index == kGrid) {
    ParseGridSizes(key.GridSizes);
    if (OffsetOverlays(key)) {
      DrawOffsetGrid(*background, *picture, key.OutputWidth - 1, key.OutputHeight - 1, clip, key,
                     colour, key.CLinesThick[index]);
      return;
    }
    DrawGrid(*background, *picture, key.OutputWidth - 1, key.OutputHeight - 1, clip.L, clip.T,
             clip.R, clip.B, key.brx, key.bry, key.vsx, key.vsy, key.Degree, colour,
             key.CLinesThick[index], host);
    return;
  }

  const double shift = composition.CompositionMode == 222 ? RW - 1 : 0;
  const TOverlayCall call{*background, *picture, clip, colour, key.CLinesThick[index], shift};
  const TPlaneMapping map(key);
  switch (index) {
    case kCross:
      DrawCross(call, key);
      break;
    case kAxes:
      DrawAxes(call, key, map);
      break;
    case kPoint:
      DrawPointCross(call, CPointPixel(key, map), 10, RW, RH);
      break;
    case kPointsTo:
    case kPointsFrom:
      DrawPointCross(call, map.Map(key.pox, key.poy), 3, RW, RH);
      break;
    case kNext:
      DrawNextFrame(call, key, map);
      break;
    default:
      break;
  }
}

}  // namespace ork
