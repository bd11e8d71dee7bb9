#include "windows/tool_windows.h"

#include "windows/colour_commands.h"
#include "windows/data_window_commands.h"
#include "windows/preview_commands.h"
#include "windows/settings_overlay_commands.h"

namespace ork {

void RegisterToolWindows() {
  // One line per window group, in the order of the menus.
  RegisterDataWindows();
  RegisterColourWindows();
  RegisterPreviewAndDynamicsWindows();
  RegisterSettingsFilmAndOverlays();
}

}  // namespace ork
