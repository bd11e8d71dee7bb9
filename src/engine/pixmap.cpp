#include "engine/pixmap.h"

#include <algorithm>

#include "engine/row_bands.h"
#include "engine/worker_pool.h"

namespace ork {

TPixmap::TPixmap(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_) {
  Fill(fill);
}

void TPixmap::Fill(uint32_t argb) {
  ParallelRows(height_, MinBandRows(width_), [&](int begin, int end) {
    std::fill(Row(begin), Row(begin) + static_cast<size_t>(end - begin) * width_, argb);
  });
}

}  // namespace ork
