#include "engine/pixmap.h"

#include <algorithm>

namespace ork {

TPixmap::TPixmap(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void TPixmap::Fill(uint32_t argb) { std::fill(pixels_.begin(), pixels_.end(), argb); }

}  // namespace ork
