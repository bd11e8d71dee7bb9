// Overlays of pictures far below the precision of a double: the plane
// coordinates there do not fit a double's digits (or its range), so the
// coordinate grid is drawn as offsets from the picture centre, labelled
// like "+3E-61", and points are placed by their offset from the centre
// taken in high precision.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pixmap.h"
#include "model/parameter.h"
#include "picture/overlay_line.h"

namespace ork {

// True when the keyframe's overlays need the offset forms: its view is
// kept in high precision (deep switch or long coordinates) and lies past
// the double limit.
bool OffsetOverlays(const TParameter& key);

// Pixels (x right, y up, before the turn) from the picture centre to the
// plane point (x, y), each the long text when current, else the double.
void LongPixelOffset(const TParameter& key, const std::string& xText, double x,
                     const std::string& yText, double y, double& dx, double& dy);

// The label of the grid line k steps of 10^exponent away from the centre:
// "0" for the centre line, else "+3E-61", "-12E-61".
std::string OffsetLabel(long long k, long long exponent);

// The coordinate grid of such a keyframe: lines at multiples of a power of
// ten from the centre, as many as DrawGrid would choose, turned with the
// picture, labelled with their offsets. a, b, the clip rectangle, colour
// and thickness as for DrawGrid; the label size, sides and shifts come from
// GridSettings, which stays as it is.
void DrawOffsetGrid(const TPixmap& background, TPixmap& picture, int a, int b,
                    const TClipRect& clip, const TParameter& key, uint32_t colour,
                    int thickness);

}  // namespace ork
