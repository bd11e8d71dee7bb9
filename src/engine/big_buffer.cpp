#include "engine/big_buffer.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ork {

namespace {
// From here on buffers are mapped by themselves; below, calloc's heap serves.
constexpr size_t kMappedFrom = 1 << 20;
}  // namespace

void* AllocateZeroed(size_t bytes) {
  if (bytes == 0) bytes = 1;
#if defined(__linux__)
  if (bytes >= kMappedFrom) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    // A hint only: without huge pages the buffer works the same.
    madvise(p, bytes, MADV_HUGEPAGE);
    return p;
  }
#endif
  void* p = std::calloc(1, bytes);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void FreeZeroed(void* memory, size_t bytes) noexcept {
  if (memory == nullptr) return;
  if (bytes == 0) bytes = 1;
#if defined(__linux__)
  if (bytes >= kMappedFrom) {
    munmap(memory, bytes);
    return;
  }
#endif
  std::free(memory);
}

}  // namespace ork
