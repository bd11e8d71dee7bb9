// The deep picture's lean steps on 8 lanes (AVX-512). Every header is included
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
#pragma GCC target("avx512f")
#define ORK_LANE_WIDTH 8
#include "engine/lanes_x86.h"
#include "engine/deep/deep_lanes.h"
#pragma GCC pop_options

namespace ork::deep {

void DeepRowLanesAvx512(TDeepPixelRunner& runner, int row, int width,
                      const TDeepPixelRunner::TEmit& emit) {
  switch (runner.Picture().formula.game_no) {
    case 1000: TDeepLanes<v8df, 1000>(runner).RunRow(row, width, emit); break;
    case 1001: TDeepLanes<v8df, 1001>(runner).RunRow(row, width, emit); break;
    default: TDeepLanes<v8df, 1002>(runner).RunRow(row, width, emit); break;
  }
}

}  // namespace ork::deep
