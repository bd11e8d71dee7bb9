// The lane kernel on 4 lanes (AVX2). Every header is included before
// the target region, so that nothing shared is compiled for this
// instruction set; only the kernel's own code is.
#include "engine/lane_kernels.h"

#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/formulas.h"
#include "engine/iteration.h"
#include "engine/row_kernel.h"

#pragma GCC push_options
#pragma GCC target("avx2")
#define ORK_LANE_WIDTH 4
#include "engine/lanes_x86.h"
#include "engine/lane_kernel.h"
#pragma GCC pop_options

namespace ork {

std::unique_ptr<TRowKernel> MakeLaneRowKernelAvx2(const TPictureJob& job) {
  return std::make_unique<TLaneRowKernel<v4df>>(job);
}

}  // namespace ork
