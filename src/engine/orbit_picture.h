// The dynamics picture: the orbit of the inspected pixel drawn into a
// square area with the coordinate axes, and the 45 rows below it that the
// dynamics picture window prints the point's coordinates into.
//
// The picture is process-wide (one per run, replaced before every dynamics
// computation by NewDynamicsPixmap). Lines and single points are written
// into the same pixmap. Positions are pixels, row 0 at the top; writes
// outside the pixmap are dropped.
#pragma once

#include "engine/pixmap.h"
#include "engine/render.h"
#include "model/parameter.h"

namespace ork {

// Height of the text rows below the orbit area.
inline constexpr int kDynamicsTextRows = 45;
// DynamicsLength is kept inside this range wherever it is set from a text,
// so that the picture always has an orbit area and stays of sane size.
inline constexpr int kMinDynamicsLength = 2;
inline constexpr int kMaxDynamicsLength = 4000;

struct TDynamicsPicture {
  int DynamicsShiftUp = 0;    // pixels the orbit area is moved up
  int DynamicsShiftLeft = 0;  // pixels the orbit area is moved left
  TPixmapPtr DynamicsPixmap;  // DynamicsLength x (DynamicsLength + 45); null: none yet
};

// The one instance; reset with ResetProcessState().
TDynamicsPicture& DynamicsPicture();

// `length` limited to [kMinDynamicsLength, kMaxDynamicsLength].
int LimitDynamicsLength(int length);

// A new opaque black DynamicsPixmap of L x (L + 45), L = DynamicsLength
// (limited as above).
void NewDynamicsPixmap();

// Sets the pixels of the line from (x1, y1) to (x2, y2), both ends
// included: horizontal and vertical lines pixel by pixel, others stepped
// along the longer axis with the nearest pixel on the other one.
void DrawDynamicsLine(TPixmap& pixmap, int x1, int y1, int x2, int y2, uint32_t argb);

// Draws the orbit picture of `render`'s DynX[1..n], DynY[1..n] into
// `pixmap`: black, the red axes crossing at the centre (moved by the two
// shifts), the orbit as points (DynamicsMode 1) or as a path (otherwise),
// points 1-4 green, 5-9 light blue, from 10 on white, the last one red.
// Both axes are stretched separately so that the largest |x| and |y| lie
// one pixel inside the area's edge. An orbit with maxX or maxY 0 or not
// finite draws only the axes.
void DrawOrbitPicture(TPixmap& pixmap, const TRender& render, const TOrbitRecord& orbit);

// Registers the orbit-picture hook of Calculate: it draws into
// DynamicsPixmap (created first when there is none).
void InstallOrbitPicture();

}  // namespace ork
