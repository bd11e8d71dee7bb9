// The lane kernel on 8 lanes (AVX-512). Every header is included before
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
#pragma GCC target("avx512f,avx512dq")
#define ORK_LANE_WIDTH 8
#include "engine/lanes_x86.h"
#include "engine/lane_kernel.h"
#pragma GCC pop_options

namespace ork {

std::unique_ptr<TRowKernel> MakeLaneRowKernelAvx512(const TPictureJob& job) {
  return std::make_unique<TLaneRowKernel<v8df>>(job);
}

}  // namespace ork
