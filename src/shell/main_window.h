// The main window: its menu tree and the four menu groups, the toolbar
// from the icon strip "toolbar20.png", the picture area (a canvas over the
// whole client area, recreated on every resize) with its paint order, and
// the status-line formats. Everything goes through the GUI adapter.
#pragma once

#include <string>
#include <vector>

#include "gui/gui.h"

namespace ork {

enum class TMenuGroup { All, Picture, Single, Colour };

struct TMainWindow {
  THandle Window = 0;
  THandle Canvas = 0;   // the picture area
  THandle Toolbar = 0;  // 0 while none was built
  std::vector<THandle> TopMenus;  // File ... Help, left to right
  THandle Groups[4] = {0, 0, 0, 0};
  // Set while a command keeps every menu disabled (a computation running):
  // nothing enables a menu then but the command itself, when it ends.
  bool MenusHeld = false;
};

TMainWindow& MainWindow();
void ResetMainWindow();

// Creates the main window: the application title, 400 x 400 pixels centred
// on the desktop, title bar, resizable frame, menu bar, status line,
// accepting dropped files; minimum size 320 x 240; then kept on the desktop.
THandle CreateMainWindow();
// Keeps a window on the desktop (see FitWindowToDesktop in
// settings_startup.h).
void FitWindowToDesktop(THandle window);

// The eleven top-level menus with their items (texts in the language chosen
// at start), then the four menu groups.
void BuildMenus();
// The toolbar from "toolbar20.png" in the working directory with its
// tooltips and commands; a missing strip gives a toolbar without buttons.
void BuildToolbar();
// Destroys the picture area when there is one and creates it anew at the
// client origin with the client area's size; it gets the keyboard focus.
void CreatePictureArea();
void FocusPictureArea();
void RequestRepaint();
// Paints the picture area: clear to black, the main render object's shown
// picture (or "Kein Image"), the menu enabling by CompositionMode, the
// marks of the mouse tools, present.
void PaintPictureArea();
// Clears the picture area to black and presents it.
void ClearPictureArea();

// Disabling the all-menus group holds every menu and the toolbar disabled
// until the group is enabled again: enabling another group meanwhile (a
// picture shown during a computation) changes nothing, so that nothing
// offers a command that the computation's poll would take and lose.
void EnableMenuGroup(TMenuGroup group, bool enabled);
// Destroys the top-level menus, the picture area and the main window, in
// this order.
void DestroyMainWindow();

// ---- Status line ------------------------------------------------------------
void SetStatus(const std::string& text);
// "1[KEY " + key + "]  JuliaSet=" + julia + " Name M1: " + name (movie 1)
// or the same with "2[KEY " and " Name M2: " (movie 2).
std::string SingleStatusText(int movieNo, int key, int julia, const std::string& fileName);
// The double-picture line: Movie 2's current key and both file names.
std::string DoubleStatusText();
// "Please upload a file as Movie" + " 1" / " 2".
std::string MovieMissingText(int movieNo);
// The single-picture line of Movie 1 with its Actual and CurrentKeyM1's
// julia (when it exists), as the data-window commands write it.
std::string CurrentSingleStatus();

}  // namespace ork
