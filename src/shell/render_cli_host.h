// The host of the headless renderer: messages, questions and diagnostic
// lines go to an error stream (converted from ISO-8859-1 to UTF-8),
// questions are answered from a flag, progress rows are shown unless quiet
// and diagnostic lines only when verbose (messages and questions always are),
// the save-file dialog answers with the path set beforehand, and nothing is
// ever cancelled.
#pragma once

#include <iosfwd>
#include <new>
#include <string>
#include <vector>

#include "model/host.h"

namespace ork {

class TRenderHost final : public THost {
 public:
  TRenderHost(std::ostream& err, bool answerYes, bool quiet, bool verbose);
  ~TRenderHost() override;

  void Information(const std::string& text) override;
  bool Question(const std::string& text) override;
  void PostCommand(int command) override;
  void StatusText(const std::string& text) override;
  int PollCancel() override { return 0; }
  std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                             const std::string& pattern) override;
  void Diagnostic(const std::string& line) override;

  // The answer of the next save-file dialogs.
  void SetSaveAnswer(const std::string& path) { saveAnswer_ = path; }
  // Ends a progress line that was being overwritten in place.
  void EndProgress();

  const std::vector<int>& PostedCommands() const { return posted_; }
  int Messages() const { return messages_; }

 private:
  std::ostream& err_;
  bool yes_;
  bool quiet_;
  bool verbose_;
  bool terminal_;
  bool progressOpen_ = false;
  int lastTenth_ = -1;
  int messages_ = 0;
  std::string saveAnswer_;
  std::vector<int> posted_;
};

// ISO-8859-1 bytes as UTF-8.
std::string Latin1ToUtf8(const std::string& latin1);

// "orkelund-render: " + the message of a command that could not have its
// memory (AllocationMessage, naming the size), as a line on err.
void ReportNoMemory(std::ostream& err, const std::bad_alloc& error);

}  // namespace ork
