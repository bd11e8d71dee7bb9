// Where the shown picture goes in the picture area. The drawing itself
// belongs to the GUI; this is the arithmetic it and the mouse tools share.
#pragma once

#include "engine/pixmap.h"
#include "engine/render.h"

namespace ork {

// The picture ShownImage selects: 1 or below Image, 2 ImageD, 4 ImageV;
// null for any other value (or when that picture is absent).
TPixmapPtr ShownPicture(const TRender& render, int shownImage);

// The placement of DrawPixmapCenter: picks the picture by shownImage and
// sets render.PaintOffsetX/Y to (picturePosX, picturePosY) when picturePosX
// is at most 9000, otherwise centres it in a panel of panelWidth x
// panelHeight pixels (panel / 2 - picture / 2 per axis, integer divisions;
// negative when the picture is larger). Returns the picture to draw with
// its top-left corner at the offsets, or null (offsets unchanged) when
// there is none.
TPixmapPtr PlaceShownPicture(TRender& render, int shownImage, int panelWidth, int panelHeight,
                             int picturePosX, int picturePosY);

}  // namespace ork
