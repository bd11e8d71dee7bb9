#include "engine/allocation.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string_view>

#include "engine/texts.h"

namespace ork {

namespace {

constexpr double kUnlimited = std::numeric_limits<double>::infinity();

double g_limit = 0;  // 0: the machine's memory

double MachineMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || size <= 0) return kUnlimited;
  return static_cast<double>(pages) * static_cast<double>(size);
}

// The number after `key` in a "key value" line of `path` (times `unit`),
// or `missing` when the file or the key is not there.
double ReadKeyed(const std::string& path, std::string_view key, double unit, double missing) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0 || line.size() == key.size()) continue;
    const char next = line[key.size()];
    if (next != ' ' && next != ':' && next != '\t') continue;
    std::istringstream value(line.substr(key.size() + 1));
    double v = 0;
    if (value >> v) return v * unit;
  }
  return missing;
}

// The first number in `path`; "max" and a missing file give `missing`.
double ReadNumber(const std::string& path, double missing) {
  std::ifstream in(path);
  double v = 0;
  return in >> v ? v : missing;
}

// Memory the kernel can give without swapping (MemAvailable), the machine's
// memory where the kernel does not tell.
double AvailableMemory() {
  return std::min(MachineMemory(), ReadKeyed("/proc/meminfo", "MemAvailable", 1024, kUnlimited));
}

// What is left of the process's address-space limit (ulimit -v).
double AddressSpaceLeft() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kUnlimited;
  const double used = ReadNumber("/proc/self/statm", 0) * static_cast<double>(sysconf(_SC_PAGE_SIZE));
  return std::max(static_cast<double>(limit.rlim_cur) - used, 0.0);
}

// The control group directory of this process's memory controller below
// `root`: the "0::" line (version 2) or the "memory" line (version 1) of
// /proc/self/cgroup. A container usually mounts its own group at the root.
std::string GroupPath(bool version2) {
  std::ifstream in("/proc/self/cgroup");
  std::string line;
  while (std::getline(in, line)) {
    const size_t first = line.find(':'), second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const bool match = version2 ? line.compare(0, first, "0") == 0 && controllers.empty()
                                : ("," + controllers + ",").find(",memory,") != std::string::npos;
    if (match) return line.substr(second + 1);
  }
  return "/";
}

// Limit minus usage of one control group directory; the page cache that the
// kernel drops first (inactive files) does not count as used.
double GroupLeft(const std::string& dir, const char* limitFile, const char* usageFile,
                 const char* inactiveKey) {
  const double limit = ReadNumber(dir + limitFile, kUnlimited);
  // Version 1 writes "no limit" as a number near 2^63.
  if (!(limit < 1e18)) return kUnlimited;
  const double usage = ReadNumber(dir + usageFile, 0);
  const double inactive = ReadKeyed(dir + "/memory.stat", inactiveKey, 1, 0);
  return std::max(limit - std::max(usage - inactive, 0.0), 0.0);
}

// What is left below the memory limit of the process's control group.
double ControlGroupLeft() {
  double left = kUnlimited;
  for (const std::string& dir : {"/sys/fs/cgroup" + GroupPath(true), std::string("/sys/fs/cgroup")})
    left = std::min(left, GroupLeft(dir, "/memory.max", "/memory.current", "inactive_file"));
  const std::string v1 = "/sys/fs/cgroup/memory";
  for (const std::string& dir : {v1 + GroupPath(false), v1})
    left = std::min(left, GroupLeft(dir, "/memory.limit_in_bytes", "/memory.usage_in_bytes",
                                    "total_inactive_file"));
  return left;
}

}  // namespace

double AllocationLimit() {
  static const double machine = MachineMemory();
  return g_limit > 0 ? g_limit : machine;
}

double MemoryLeft() {
  if (g_limit > 0) return g_limit;
  return std::min({AvailableMemory(), AddressSpaceLeft(), ControlGroupLeft()});
}

void SetAllocationLimit(double bytes) { g_limit = bytes > 0 ? bytes : 0; }

void CheckAllocation(double bytes, const std::string& purpose, bool fresh) {
  // Written so that a not-a-number count is refused too.
  if (!(bytes <= (fresh ? MemoryLeft() : AllocationLimit())))
    throw TAllocationError(bytes, purpose);
}

std::string ByteSizeText(double bytes) {
  static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
  char buf[64];
  if (!(bytes >= 1000)) {
    std::snprintf(buf, sizeof buf, "%.0f Bytes", bytes);
    return buf;
  }
  int unit = 0;
  double value = bytes / 1000;
  while (value >= 999.95 && unit + 1 < static_cast<int>(std::size(kUnits))) {
    value /= 1000;
    ++unit;
  }
  std::snprintf(buf, sizeof buf, "%.1f %s", value, kUnits[unit]);
  std::string text = buf;
  if (IsGerman()) {
    for (char& c : text)
      if (c == '.') c = ',';
  }
  return text;
}

std::string AllocationMessage(const std::bad_alloc& error) {
  using namespace engine_texts;
  if (const auto* e = dynamic_cast<const TAllocationError*>(&error)) {
    return Tr(kNoMemory) + ByteSizeText(e->Bytes()) + Tr(kFor) + e->Purpose() +
           Tr(kNotAllocated) + Tr(kAbandoned);
  }
  return Tr(kNoMemoryPlain) + Tr(kAbandoned);
}

}  // namespace ork
