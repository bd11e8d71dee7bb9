// THost on top of the GUI adapter: the core's messages and questions become
// modal boxes, its posted commands queued menu-command events, its progress
// texts the status line of one window, and its cancel polls take one event
// from the queue.
#pragma once

#include <string>
#include <utility>

#include "gui/gui.h"
#include "model/host.h"

namespace ork {

class TGuiHost : public THost {
 public:
  // `window` receives status texts, is the source of posted commands and
  // its close box cancels (0: none). Boxes carry `title`.
  explicit TGuiHost(THandle window = 0, std::string title = "Orkelund")
      : window_(window), title_(std::move(title)) {}

  // The window whose status line and close box count (preview windows
  // compute with their own).
  void SetWindow(THandle window) { window_ = window; }
  THandle Window() const { return window_; }

  void Information(const std::string& text) override;
  bool Question(const std::string& text) override;
  void PostCommand(int command) override;
  void StatusText(const std::string& text) override;
  // Takes one pending event: -1 for a key-down Escape or End (from any
  // window) or the close request of Window(), 1 for a key-down Q, 0 for
  // anything else or nothing pending. A taken event is gone either way.
  int PollCancel() override;
  bool DesktopWaits() const override { return true; }

  // The rule of PollCancel for one event.
  int CancelCode(const TEvent& event) const;

 private:
  THandle window_;
  std::string title_;
};

}  // namespace ork
