#include "model/host.h"

#include <cstdio>

namespace ork {

void THost::Diagnostic(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

namespace {
class TQuietHost final : public THost {
 public:
  void Diagnostic(const std::string&) override {}
};
}  // namespace

THost& QuietHost() {
  static TQuietHost host;
  return host;
}

}  // namespace ork
