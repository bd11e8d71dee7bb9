#include "windows/tool_windows.h"

#include "windows/preview_commands.h"

namespace ork {

void RegisterToolWindows() {
  // One line per window group, in the order of the menus.
  RegisterPreviewAndDynamicsWindows();
}

}  // namespace ork
