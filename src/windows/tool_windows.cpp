#include "windows/tool_windows.h"

namespace ork {

void RegisterToolWindows() {
  // One line per window group, in the order of the menus.
}

}  // namespace ork
