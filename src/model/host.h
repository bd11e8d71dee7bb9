// What the core asks of whoever runs it. The GUI answers with modal boxes and
// its event queue, orkelund-render with flags and standard error, tests with
// a script. The core itself never talks to a window.
#pragma once

#include <string>

namespace ork {

class THost {
 public:
  virtual ~THost() = default;

  // A modal message with an OK button.
  virtual void Information(const std::string& text) { (void)text; }
  // An OK/Cancel question; true means OK (yes).
  virtual bool Question(const std::string& text) {
    (void)text;
    return true;
  }
  // Queues a menu-command event; it runs after the current command returns.
  virtual void PostCommand(int command) { (void)command; }
  // Progress text of long computations (the status line).
  virtual void StatusText(const std::string& text) { (void)text; }
  // Takes one pending event, if any: -1 for Escape, End or closing the
  // status window, 1 for the Q key, 0 otherwise. The event is consumed.
  virtual int PollCancel() { return 0; }
  // The platform's save-file dialog: `proposedPath` is the absolute path
  // offered as the file (directory and name), `pattern` the file-type
  // filter ("" for all files). Returns the chosen path, "" when cancelled.
  virtual std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                                     const std::string& pattern) {
    (void)title;
    (void)proposedPath;
    (void)pattern;
    return "";
  }
  // Whether a desktop waits for this host's computations: long ones then
  // pause now and then to let it breathe. Nobody waits for a headless run.
  virtual bool DesktopWaits() const { return false; }
  // Lines such as "> Calculate " for the diagnostic output.
  virtual void Diagnostic(const std::string& line);
};

// A host that answers every question with OK, shows nothing, never cancels
// and drops diagnostic lines.
THost& QuietHost();

}  // namespace ork
