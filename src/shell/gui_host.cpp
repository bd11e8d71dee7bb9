#include "shell/gui_host.h"

namespace ork {

void TGuiHost::Information(const std::string& text) { Gui().MessageBox(title_, text); }

bool TGuiHost::Question(const std::string& text) { return Gui().Question(title_, text); }

void TGuiHost::PostCommand(int command) { Gui().PostCommand(command, window_); }

void TGuiHost::StatusText(const std::string& text) {
  if (window_) Gui().SetStatusText(window_, text);
}

int TGuiHost::CancelCode(const TEvent& event) const {
  switch (event.kind) {
    case TEventKind::KeyDown:
      if (event.key == kKeyEscape || event.key == kKeyEnd) return -1;
      if (event.key == 'Q') return 1;
      return 0;
    case TEventKind::WindowClose:
      return window_ != 0 && event.source == window_ ? -1 : 0;
    default:
      return 0;
  }
}

int TGuiHost::PollCancel() {
  TEvent event;
  if (!Gui().PollEvent(event)) return 0;
  return CancelCode(event);
}

}  // namespace ork
