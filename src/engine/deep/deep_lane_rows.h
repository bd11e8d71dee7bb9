// The rows of a deep picture whose pixels take the lean steps in vector
// lanes, one function per instruction set (deep_lanes_*.cpp).
#pragma once

#include "engine/deep/deep_pixel.h"

namespace ork::deep {

void DeepRowLanesAvx2(TDeepPixelRunner& runner, int row, int width,
                      const TDeepPixelRunner::TEmit& emit);
void DeepRowLanesAvx512(TDeepPixelRunner& runner, int row, int width,
                        const TDeepPixelRunner::TEmit& emit);

}  // namespace ork::deep
