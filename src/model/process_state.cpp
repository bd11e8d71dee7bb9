#include "model/process_state.h"

#include <vector>

namespace ork {

namespace {
TCompositionState g_composition;
TDynamicsState g_dynamics;
TShownKeys g_shown_keys;

std::vector<void (*)()>& Resets() {
  static std::vector<void (*)()> resets;
  return resets;
}
}  // namespace

TCompositionState& Composition() { return g_composition; }
TDynamicsState& Dynamics() { return g_dynamics; }
TShownKeys& ShownKeys() { return g_shown_keys; }

void RegisterStateReset(void (*reset)()) { Resets().push_back(reset); }

void ResetProcessState() {
  g_composition = TCompositionState{};
  g_dynamics = TDynamicsState{};
  g_shown_keys = TShownKeys{};
  for (auto reset : Resets()) reset();
}

}  // namespace ork
