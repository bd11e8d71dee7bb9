#include "engine/big_buffer.h"

#include <cstdint>
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

void PrepareForWriting(void* memory, size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  constexpr uintptr_t kPage = 4096;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(memory) + kPage - 1) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)bytes;
#endif
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
