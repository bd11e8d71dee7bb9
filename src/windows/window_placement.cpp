#include "windows/window_placement.h"

#include <algorithm>

namespace ork {

int PictureAreaTop(THandle mainWindow) { return Gui().ClientScreenRect(mainWindow).y; }

int BelowMenuBar(int y, THandle mainWindow) { return std::max(y, PictureAreaTop(mainWindow)); }

}  // namespace ork
