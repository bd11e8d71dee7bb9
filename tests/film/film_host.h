// A host for the film tests: records messages, questions and diagnostic
// lines and answers questions from a prepared queue (OK when empty).
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "model/host.h"
#include "model/paths.h"
#include "model/process_state.h"

namespace ork::test {

class TFilmHost : public THost {
 public:
  void Information(const std::string& text) override { Infos.push_back(text); }
  bool Question(const std::string& text) override {
    Questions.push_back(text);
    if (Answers.empty()) return true;
    const bool a = Answers.front();
    Answers.pop_front();
    return a;
  }
  void Diagnostic(const std::string& line) override { Diagnostics.push_back(line); }

  std::vector<std::string> Infos, Questions, Diagnostics;
  std::deque<bool> Answers;
};

// A fresh working directory with an Output folder, made current for the
// program paths; process-wide state reset.
inline std::filesystem::path FilmScratchDir(const std::string& name) {
  const auto dir = std::filesystem::path(ORK_BINARY_DIR) / "film_scratch" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "Output");
  SetWorkDir(dir.string());
  ResetProcessState();
  return dir;
}

}  // namespace ork::test
