#include "shell/shell_state.h"

#include "model/process_state.h"

namespace ork {

namespace {

TShellState& Instance() {
  static TShellState state;
  return state;
}

void ResetFromProcessState() { ResetShellState(); }

struct TRegistration {
  TRegistration() { RegisterStateReset(&ResetFromProcessState); }
};

}  // namespace

TShellState& Shell() {
  static TRegistration registration;
  return Instance();
}

void ResetShellState() {
  TShellState& s = Instance();
  // Windows close through their own Close so their gadgets go too.
  for (auto& slot : s.Slots)
    if (slot) {
      slot->Close();
      slot.reset();
    }
  s = TShellState{};
}

TMovieRef TMovieRef::Of(const TParameterAnim* movie) {
  const TShellState& s = Instance();
  if (movie && movie == s.Movie1.get()) return TMovieRef(1);
  if (movie && movie == s.Movie2.get()) return TMovieRef(2);
  return TMovieRef();
}

TParameterAnim* TMovieRef::Get() const {
  const TShellState& s = Instance();
  if (movieNo_ == 1) return s.Movie1.get();
  if (movieNo_ == 2) return s.Movie2.get();
  return nullptr;
}

TToolWindow* SlotWindow(TSlot slot) { return Shell().Slots[static_cast<int>(slot)].get(); }

void FillSlot(TSlot slot, std::unique_ptr<TToolWindow> window) {
  CloseSlot(slot);
  Shell().Slots[static_cast<int>(slot)] = std::move(window);
}

void CloseSlot(TSlot slot) {
  auto& entry = Shell().Slots[static_cast<int>(slot)];
  if (!entry) return;
  // Emptied before Close runs, so a window that posts or looks at the
  // slots while closing never sees itself.
  std::unique_ptr<TToolWindow> window = std::move(entry);
  window->Close();
}

void CloseAllSlots() {
  for (int i = 0; i < kSlotCount; ++i) CloseSlot(static_cast<TSlot>(i));
}

TParameter* TakeCurrentKey(TParameterAnim* movie) {
  if (!movie) return nullptr;
  TParameter* key = movie->GetActualParameter();
  if (!key) return nullptr;
  key->OutputWidth = movie->OutputWidth;
  key->OutputHeight = movie->OutputHeight;
  return key;
}

}  // namespace ork
