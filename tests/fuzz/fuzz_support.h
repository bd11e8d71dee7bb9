// What the fuzz targets share: a host whose answers come from the input,
// a check that ends the run, and a private directory for inputs that the
// code under test reads from files.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/host.h"

namespace ork::fuzz {

// Answers questions by the bits of one byte of the input, so that both
// branches are reached.
class TFuzzHost final : public THost {
 public:
  explicit TFuzzHost(uint8_t pattern) : pattern_(pattern) {}
  bool Question(const std::string&) override { return (pattern_ >> (asked_++ % 8)) & 1; }
  void Diagnostic(const std::string&) override {}

 private:
  uint8_t pattern_;
  unsigned asked_ = 0;
};

inline void Check(bool ok) {
  if (!ok) std::abort();
}

// A directory of this process's own, made once.
inline const std::string& FuzzDir() {
  static const std::string dir = [] {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ork_fuzz_XXXXXX").string();
    const char* made = mkdtemp(tmpl.data());
    Check(made != nullptr);
    return std::string(made);
  }();
  return dir;
}

inline std::string WriteFuzzFile(const std::string& name, std::string_view bytes) {
  const std::string path = FuzzDir() + "/" + name;
  FILE* out = std::fopen(path.c_str(), "wb");
  Check(out != nullptr);
  Check(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
  std::fclose(out);
  return path;
}

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace ork::fuzz
