// The one line routine that every overlay (centre cross, axes, C points,
// next-key frames, coordinate grid) draws with, and the clip rectangle of
// one overlay call.
#pragma once

#include <cstdint>

#include "engine/pixmap.h"

namespace ork {

// Pixels (x, y) with L <= x < R and T <= y < B may be written; the right
// and bottom edges are excluded.
struct TClipRect {
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;
  bool Inside(int x, int y) const { return x >= L && x < R && y >= T && y < B; }
};

// The clip rectangle for a keyframe of W x H pixels drawn into a render
// object of RW x RH pixels, chosen by CompositionMode: Movie 2's half of a
// double picture (222), Movie 2 inserted (-111 insert A / colour addition,
// 101 insert B), otherwise the keyframe's own picture [0, W-1) x [0, H).
TClipRect OverlayClipRect(int W, int H, int RW, int RH);

// Draws the line (x0, y0)-(x1, y1) (pixel coordinates, truncated toward
// zero) into `picture`, limited to [L, R) x [T, B).
//   colour alpha 0: each pixel takes the inverse of the background pixel
//                   under the line's centre pixel (then drawn opaque);
//   alpha 255:      the colour replaces the pixel;
//   other alpha:    the colour is blended over the background pixel.
// thickness 1 draws the centre pixels; 2 adds the four neighbours where all
// four lie inside the clip rectangle; 3 or more adds an opaque black pixel
// down-right and a white one up-left. With CompositionMode -111 every pixel
// is shifted by (InsertPosX, InsertPosY).
// `background` is the picture as it was before this overlay kind was drawn
// (same size as `picture`; it may be `picture` itself for opaque colours,
// which never read it). Only pixels inside the clip rectangle are visited,
// so lines with far-away or invalid ends cost nothing.
void DrawOverlayLine(const TPixmap& background, TPixmap& picture, int L, int T, int R, int B,
                     double x0, double y0, double x1, double y1, uint32_t colour, int thickness);
inline void DrawOverlayLine(const TPixmap& background, TPixmap& picture, const TClipRect& clip,
                            double x0, double y0, double x1, double y1, uint32_t colour,
                            int thickness) {
  DrawOverlayLine(background, picture, clip.L, clip.T, clip.R, clip.B, x0, y0, x1, y1, colour,
                  thickness);
}

}  // namespace ork
