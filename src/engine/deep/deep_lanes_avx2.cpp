// The deep picture's lean steps on 4 lanes (AVX2). Every header is included
// before the target region; only the lanes' own code is compiled for it.
#include "engine/deep/deep_lane_rows.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "engine/deep/deep_approximation.h"
#include "engine/deep/deep_lean.h"
#include "engine/deep/deep_pixel.h"
#include "engine/formulas.h"

#pragma GCC push_options
#pragma GCC target("avx2")
#define ORK_LANE_WIDTH 4
#include "engine/lanes_x86.h"
#include "engine/deep/deep_lanes.h"
#pragma GCC pop_options

namespace ork::deep {

void DeepRowLanesAvx2(TDeepPixelRunner& runner, int row, int width,
                      const TDeepPixelRunner::TEmit& emit) {
  switch (runner.Picture().formula.game_no) {
    case 1000: TDeepLanes<v4df, 1000>(runner).RunRow(row, width, emit); break;
    case 1001: TDeepLanes<v4df, 1001>(runner).RunRow(row, width, emit); break;
    default: TDeepLanes<v4df, 1002>(runner).RunRow(row, width, emit); break;
  }
}

}  // namespace ork::deep
