// A host for the model tests: records every message, question, posted
// command and diagnostic line, answers questions from a prepared queue
// (OK when the queue is empty) and keeps a scratch working directory.
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "model/host.h"
#include "model/paths.h"
#include "model/process_state.h"

namespace ork::test {

class TScriptedHost : public THost {
 public:
  void Information(const std::string& text) override { Infos.push_back(text); }
  bool Question(const std::string& text) override {
    Questions.push_back(text);
    if (Answers.empty()) return true;
    bool a = Answers.front();
    Answers.pop_front();
    return a;
  }
  void PostCommand(int command) override { Posted.push_back(command); }
  void Diagnostic(const std::string& line) override { Diagnostics.push_back(line); }

  std::vector<std::string> Infos, Questions, Diagnostics;
  std::vector<int> Posted;
  std::deque<bool> Answers;
};

// A fresh, empty working directory named after the test, made current for
// the program paths; process-wide state is reset.
inline std::filesystem::path ScratchDir(const std::string& name) {
  std::filesystem::path dir = std::filesystem::path(ORK_BINARY_DIR) / "model_scratch" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  SetWorkDir(dir.string());
  ResetProcessState();
  return dir;
}

}  // namespace ork::test
