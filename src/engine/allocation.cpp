#include "engine/allocation.h"

#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <limits>

#include "engine/texts.h"

namespace ork {

namespace {

double g_limit = 0;  // 0: the machine's memory

double MachineMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || size <= 0) return std::numeric_limits<double>::infinity();
  return static_cast<double>(pages) * static_cast<double>(size);
}

}  // namespace

double AllocationLimit() {
  static const double machine = MachineMemory();
  return g_limit > 0 ? g_limit : machine;
}

void SetAllocationLimit(double bytes) { g_limit = bytes > 0 ? bytes : 0; }

void CheckAllocation(double bytes, const std::string& purpose) {
  // Written so that a not-a-number count is refused too.
  if (!(bytes <= AllocationLimit())) throw TAllocationError(bytes, purpose);
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
