#include "shell/commands.h"

#include <map>

namespace ork {

namespace {

std::map<int, TCommandHandler>& Handlers() {
  static std::map<int, TCommandHandler> handlers;
  return handlers;
}

}  // namespace

void SetCommandHandler(int command, TCommandHandler handler) {
  if (handler)
    Handlers()[command] = std::move(handler);
  else
    Handlers().erase(command);
}

void ClearCommandHandlers() { Handlers().clear(); }

void ExecuteCommand(int command) {
  if (auto it = Handlers().find(command); it != Handlers().end()) {
    // A copy: the handler may rebind its own number.
    const TCommandHandler handler = it->second;
    handler(command);
    return;
  }
  if (RunComputeCommand(command)) return;
  if (RunMovieFileCommand(command)) return;
  if (RunCompositionCommand(command)) return;
  RunProgramCommand(command);
}

}  // namespace ork
