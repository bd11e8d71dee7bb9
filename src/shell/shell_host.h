// The host through which the core reaches the user while the main window
// runs: messages and questions as modal boxes, posted commands into the
// event queue with the main window as source, progress texts on its status
// line, cancel polls on the queue, the save dialog as the GUI's file
// requester, diagnostic lines on standard output.
#pragma once

#include <string>

#include "shell/gui_host.h"

namespace ork {

class TShellHost : public TGuiHost {
 public:
  using TGuiHost::TGuiHost;
  std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                             const std::string& pattern) override;
};

// The shell's host, bound to the main window once it exists.
TShellHost& ShellHost();

}  // namespace ork
