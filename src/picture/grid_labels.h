// Grid labels drawn with the process-wide bitmap fonts.
#pragma once

#include <string>

#include "engine/pixmap.h"

namespace ork {

// Draws `text` with font 0, 1 or 2 (Arial12, Arial24, Arial36) into
// `picture`, top-left corner at (x, y); glyph pixels outside the picture are
// dropped. Nothing happens when the font is not loaded.
void DrawGridLabel(int font, TPixmap& picture, int x, int y, const std::string& text);

}  // namespace ork
