// The mapping of picture pixels to plane points for one keyframe.
#pragma once

#include "model/parameter.h"

namespace ork {

// Pixel (column, row) starts at its top-left corner: (0, 0) lies on
// (vsx - brx/2, vsy + bry/2), rows run downwards in the plane (y
// decreases), columns to the right; a non-zero Degree turns the point about
// the centre (vsx, vsy). Orbit 2 starts from the second centre (vsp, vst)
// unless the picture is turned, when both start points are the same.
struct TViewMapping {
  // brx is taken as bry * OutputWidth / OutputHeight (what Calculate writes
  // back); the keyframe is not changed.
  explicit TViewMapping(const TParameter& keyframe);

  // Start points of orbit 1 (s1) and orbit 2 (s2) of one pixel.
  void Map(int column, int row, double& sx1, double& sy1, double& sx2, double& sy2) const {
    const double y = y0 - dy * row;
    const double x = x0 + dx * column;
    if (turned) {
      sx1 = sx2 = (x - vsx) * c - (y - vsy) * s + vsx;
      sy1 = sy2 = (y - vsy) * c + (x - vsx) * s + vsy;
    } else {
      sx1 = x;
      sy1 = y;
      sx2 = x0b + dx * column;
      sy2 = y0b - dy * row;
    }
  }

  double brx;        // plane width
  double dx, dy;     // pixel width and height in the plane
  double x0, x0b;    // left edge seen from the centre and from the second centre
  double y0, y0b;    // top edge likewise
  double vsx, vsy;   // centre of the turn
  bool turned;       // Degree != 0
  double c, s;       // cosine and sine of Degree
};

}  // namespace ork
