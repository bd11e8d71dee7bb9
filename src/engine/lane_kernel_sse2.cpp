// The lane kernel on 2 lanes (SSE2, which every x86-64 has). Every header is included before
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
#pragma GCC target("sse2")
#define ORK_LANE_WIDTH 2
#include "engine/lanes_x86.h"
#include "engine/lane_kernel.h"
#pragma GCC pop_options

namespace ork {

std::unique_ptr<TRowKernel> MakeLaneRowKernelSse2(const TPictureJob& job) {
  return std::make_unique<TLaneRowKernel<v2df>>(job);
}

}  // namespace ork
