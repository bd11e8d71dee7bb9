// Plugs the tool windows and the command groups that live above the shell
// into the event loop: each group binds its command numbers with
// SetCommandHandler (shell/commands.h). The program calls this once before
// the loop starts; tests call it after resetting the process state.
#pragma once

namespace ork {

void RegisterToolWindows();

}  // namespace ork
