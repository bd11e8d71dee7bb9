#include "model/paths.h"

namespace ork {

namespace {
std::string g_workdir = ".";
}

const std::string& WorkDir() { return g_workdir; }
void SetWorkDir(const std::string& dir) { g_workdir = dir.empty() ? "." : dir; }

std::string NativePath(const std::string& programPath) {
  std::string p = programPath;
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  if (!p.empty() && p[0] == '/') return p;
  if (g_workdir == ".") return p;
  return g_workdir + "/" + p;
}

}  // namespace ork
