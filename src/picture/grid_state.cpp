#include "picture/grid_state.h"

#include "model/process_state.h"

namespace ork {

namespace {
TGridState g_grid_state;
void ResetGridState() { g_grid_state = TGridState{}; }
}  // namespace

TGridState& GridState() {
  static const bool registered = (RegisterStateReset(&ResetGridState), true);
  (void)registered;
  return g_grid_state;
}

void TakeGridDialogText(std::string& gridSizes) {
  std::string& pending = GridDialogText();
  if (pending.empty()) return;
  gridSizes = pending;
  pending.clear();
}

}  // namespace ork
