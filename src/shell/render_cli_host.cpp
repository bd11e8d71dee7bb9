#include "shell/render_cli_host.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "engine/allocation.h"
#include "model/number_format.h"

namespace ork {

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void ReportNoMemory(std::ostream& err, const std::bad_alloc& error) {
  err << "orkelund-render: " << Latin1ToUtf8(AllocationMessage(error)) << '\n';
}

TRenderHost::TRenderHost(std::ostream& err, bool answerYes, bool quiet, bool verbose)
    : err_(err), yes_(answerYes), quiet_(quiet), verbose_(verbose),
      terminal_(&err == &std::cerr && ::isatty(2)) {}

TRenderHost::~TRenderHost() { EndProgress(); }

void TRenderHost::EndProgress() {
  if (progressOpen_) err_ << '\n';
  progressOpen_ = false;
  lastTenth_ = -1;
}

void TRenderHost::Information(const std::string& text) {
  EndProgress();
  ++messages_;
  err_ << "orkelund-render: message: " << Latin1ToUtf8(text) << '\n';
}

bool TRenderHost::Question(const std::string& text) {
  EndProgress();
  ++messages_;
  err_ << "orkelund-render: question: " << Latin1ToUtf8(text) << " -> "
       << (yes_ ? "yes" : "no") << '\n';
  return yes_;
}

void TRenderHost::PostCommand(int command) { posted_.push_back(command); }

// The progress text ends in row + "/" + height. On a terminal the line is
// overwritten in place; elsewhere one line per tenth of the picture.
void TRenderHost::StatusText(const std::string& text) {
  if (quiet_) return;
  if (terminal_) {
    err_ << '\r' << Latin1ToUtf8(text) << std::flush;
    progressOpen_ = true;
    return;
  }
  const size_t slash = text.rfind('/');
  if (slash == std::string::npos) {
    err_ << Latin1ToUtf8(text) << '\n';
    return;
  }
  size_t start = slash;
  while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
  const int row = TextToInt(std::string_view(text).substr(start, slash - start));
  const int height = TextToInt(std::string_view(text).substr(slash + 1));
  const int tenth = height > 0 ? row * 10 / height : 0;
  if (tenth == lastTenth_) return;
  lastTenth_ = tenth;
  err_ << Latin1ToUtf8(text) << '\n';
}

std::string TRenderHost::ChooseSaveFile(const std::string&, const std::string&,
                                        const std::string&) {
  return saveAnswer_;
}

void TRenderHost::Diagnostic(const std::string& line) {
  if (!verbose_) return;
  EndProgress();
  err_ << Latin1ToUtf8(line) << '\n';
}

}  // namespace ork
