// Where the tool windows open beside the main window. The main window's
// picture area is its client area, below its title bar, menu bar and
// toolbar. Tool windows stay above the main window (they are its dialogs),
// so one opened over the menu bar or the toolbar would hide them for as
// long as it is open.
#pragma once

#include "gui/gui.h"

namespace ork {

// The desktop y of the main window's picture area.
int PictureAreaTop(THandle mainWindow);
// `y` (desktop), lowered to the picture area's top when it lies above it.
int BelowMenuBar(int y, THandle mainWindow);

}  // namespace ork
