// Helpers of the shell tests: a host that records what the core tells the
// user, and a fresh working directory per test.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/host.h"
#include "model/paths.h"
#include "model/process_state.h"

namespace ork::test {

class TRecordingHost : public THost {
 public:
  void Information(const std::string& text) override { infos.push_back(text); }
  bool Question(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void Diagnostic(const std::string& line) override { diagnostics.push_back(line); }
  bool Saw(const std::string& line) const {
    for (const auto& d : diagnostics)
      if (d == line) return true;
    return false;
  }

  bool answer = true;
  std::vector<std::string> infos, questions, diagnostics;
};

// A new empty directory below the system's temporary directory, made the
// working directory; the process state starts clean.
inline std::filesystem::path FreshWorkDir(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("orkelund_shell_" + name + "_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  SetWorkDir(dir.string());
  ResetProcessState();
  return dir;
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

}  // namespace ork::test
