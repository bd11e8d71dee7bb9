// A 32-bit ARGB picture of our own (alpha in bits 24-31, red 16-23, green
// 8-15, blue 0-7), row 0 at the top. Pictures of the render object are
// shared between copies, so they are handed around as shared pointers.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace ork {

// Leaves a new element unwritten where it is created without a value, so
// that a new picture's pixels are written once, by its fill.
template <class T>
struct TUnwrittenAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = TUnwrittenAllocator<U>;
  };
  TUnwrittenAllocator() = default;
  template <class U>
  TUnwrittenAllocator(const TUnwrittenAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

class TPixmap {
 public:
  TPixmap() = default;
  // A width x height picture filled with `fill` (opaque black by default);
  // a large one is filled in bands on the worker pool, so that its fresh
  // pages are not all taken by the calling thread.
  TPixmap(int width, int height, uint32_t fill = 0xFF000000u);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }

  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t* Data() { return pixels_.data(); }
  const uint32_t* Data() const { return pixels_.data(); }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Reads and writes outside the picture are ignored (reads give 0).
  uint32_t Get(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0u; }
  void Set(int x, int y, uint32_t argb) {
    if (Contains(x, y)) Row(y)[x] = argb;
  }
  void Fill(uint32_t argb);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t, TUnwrittenAllocator<uint32_t>> pixels_;
};

using TPixmapPtr = std::shared_ptr<TPixmap>;

}  // namespace ork
