// Large numeric buffers that live as long as their owner and start as
// zeros: a render object's per-pixel arrays.
//
// Their memory comes from the system already zero and is mapped on first
// touch, in huge pages where the kernel offers them (a 4K picture's arrays
// then take a few hundred page faults instead of a hundred thousand). So
// creating a buffer of n zeros costs nothing until it is written, and the
// writing costs little. Small buffers come from calloc. Every large buffer
// is fresh memory, though: buffers made and dropped again and again (a
// picture copied per frame) are better served by the ordinary heap, which
// recycles its blocks.
//
// Elements are not written when a buffer is created or grown: their bytes
// are zero, which reads as 0 for the arithmetic types allowed here. Create
// a buffer at its size (a vector resized after shrinking would keep old
// values in the regrown part); copies and assign(n, value) write as usual.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace ork {

// `bytes` of zeros; throws std::bad_alloc when they cannot be had.
void* AllocateZeroed(size_t bytes);
// Releases what AllocateZeroed(bytes) returned, with the same `bytes`.
void FreeZeroed(void* memory, size_t bytes) noexcept;
// Maps the whole pages within [memory, memory + bytes) for writing now,
// without changing a byte, so that the first write there takes no page
// fault (threads that compute rows ahead prepare the rows they will fill).
// A hint: where the system cannot, nothing happens.
void PrepareForWriting(void* memory, size_t bytes) noexcept;

template <class T>
class TBigAllocator {
  static_assert(std::is_arithmetic_v<T>, "zero bytes must be the value 0");

 public:
  using value_type = T;
  TBigAllocator() = default;
  template <class U>
  TBigAllocator(const TBigAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateZeroed(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { FreeZeroed(p, n * sizeof(T)); }

  // Default construction leaves the zero bytes; anything else constructs.
  template <class U>
  void construct(U*) noexcept {}
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  template <class U>
  bool operator==(const TBigAllocator<U>&) const noexcept {
    return true;
  }
};

template <class T>
using TBigVector = std::vector<T, TBigAllocator<T>>;

}  // namespace ork
