#include "shell/shell_host.h"

#include "gui/gui.h"

namespace ork {

std::string TShellHost::ChooseSaveFile(const std::string& title,
                                       const std::string& proposedPath,
                                       const std::string& pattern) {
  return Gui().FileRequester(title, proposedPath, pattern, true);
}

TShellHost& ShellHost() {
  static TShellHost host;
  return host;
}

}  // namespace ork
