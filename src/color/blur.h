// The blur filter: a 3 x 3 averaging of a finished picture, levels 1..5.
// Level 1 averages the four direct neighbours, levels 2..5 the direct and
// the diagonal ones; the level sets the weight of the neighbourhood against
// the centre pixel (0.5, 0.5, 0.62, 0.75, 0.85, the last two in single
// precision). Arithmetic is in single-precision floats (TFarbe).
#pragma once

#include <string>

#include "engine/pixmap.h"
#include "engine/render.h"
#include "model/host.h"

namespace ork {

// Weight of the neighbourhood for level 1..5, 0 for other levels.
float BlurWeight(int level);

// A new picture of the same size: a copy of `source` whose inner pixels are
// blurred, reading only the source. Rows 1 .. height - 2; columns
// 1 .. width - 2, except: composition mode 2 or 22 (a double picture with
// two colourings) only the left half, columns 1 .. (width - 1) / 2 - 1;
// mode 222 only the right half, columns (width - 1) / 2 + 1 .. width - 2.
// The border (and the unfiltered half) keeps the source pixels. A level
// outside 1..5 gives a plain copy. Channels that end above 255 or below 0
// become 255 (so the -1 alpha an opaque pixel reads with is 255 again).
TPixmapPtr BlurPixmap(const TPixmap& source, int level, int compositionMode);

// The same with the level taken from InsertOpacity and the mode from
// CompositionMode (the process-wide composition state), as the filter
// leaves them.
TPixmapPtr BlurPixmap(const TPixmap& source);

// BlurPixmap's result written over `picture` itself, without a second
// picture: every result pixel still reads the picture as it was.
void BlurInPlace(TPixmap& picture, int level, int compositionMode);

// The keyframe's filter text applied to the shown picture of `render`.
// An empty text does nothing. Otherwise its integer value is stored in
// InsertOpacity (also when it is not a level) and, for a level 1..5, the
// picture ShownImage names (Image below 2, ImageD at 2; none from 3 on) is
// blurred in place, BeginnerName "1" becomes "2" and `host`
// (when given) gets the status text "Filter " + level + " angewendet" /
// " applied". Returns true when a picture was blurred.
bool Filter(TRender& render, const std::string& text, THost* host = nullptr);

}  // namespace ork
