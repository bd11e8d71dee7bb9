// The coordinate grid (overlay kind "G"): lines at round values of the
// plane's x and y coordinates, rotated with the picture, each labelled with
// its value in one of the three bitmap fonts. The spacing comes from
// GridSettings (parsed from the keyframe's "GridSizes"); when it would give
// too few or too many lines the grid picks a power of ten itself, leaves
// the new settings in GridDialogText and says so in the status line.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pixmap.h"
#include "model/host.h"
#include "model/list_syntax.h"

namespace ork {

struct TPointD {
  double x = 0;
  double y = 0;
};

// The point `percent` percent of the way from P1 to P2, on the line through
// both. When the two x coordinates have the same integer part the point is
// taken along y only.
TPointD PointAlongLine(TPointD P1, TPointD P2, double percent);

// The round step of a picture brx x bry plane units wide and high: q = 10^e
// with e the largest of -16..16 for which 10^e <= 0.95 * (brx + bry) / 2
// (-16 below that range, 0 above 10^17); p = 1 - e suggested decimals.
struct TGridStep {
  double q = 1;
  int e = 0;
  int p = 1;
};
TGridStep GridRoundStep(double brx, double bry);

// The "GridSizes" text of the settings, ending with the scope code (1 this
// keyframe, 2 the movie, 3 both movies): spacings and shifts as
// FormatNumber writes them, the integers in decimal.
std::string GridSizesText(const TGridSettings& settings, int scope);

// Draws the grid into `picture` (labels through the bitmap fonts, lines
// through DrawOverlayLine with `background`, colour and thickness).
// a = OutputWidth - 1 and b = OutputHeight - 1 of the keyframe; L, T, R, B
// the clip rectangle of the call (OverlayClipRect); brx, bry the plane
// width and height, (vsx, vsy) the centre, Degree the rotation in degrees.
// Reads and may change GridSettings (spacing, decimals, label size), reads
// GridAutoMode and CompositionMode (222 shifts by a - 1, -111 shifts the
// labels by the insert position), sets GridSizesFixed from GridAutoMode and
// leaves GridDialogText plus a status text on `host` when it adapted the
// spacing. A picture without plane size (bry or brx not above 0) gets no
// grid; a family of lines denser than one per pixel is not drawn.
void DrawGrid(const TPixmap& background, TPixmap& picture, int a, int b, int L, int T, int R,
              int B, double brx, double bry, double vsx, double vsy, double Degree,
              uint32_t colour, int thickness, THost& host);

}  // namespace ork
