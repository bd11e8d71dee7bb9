// The instruction sets the picture loop can use, the one in use, and the
// row kernel that goes with a keyframe.
#pragma once

#include <memory>

#include "engine/row_kernel.h"

namespace ork {

enum class TSimd : int { kScalar = 0, kSse2 = 1, kAvx2 = 2, kAvx512 = 3 };

// The best this processor offers, capped by SetSimdCap or else by the
// environment variable ORK_SIMD (see environment.h).
TSimd ActiveSimd();
// Caps the instruction set (tests force each path); kAvx512 lifts the cap.
void SetSimdCap(TSimd cap);
// "scalar", "SSE2", "AVX2", "AVX-512".
const char* SimdName(TSimd simd);
// Pixels per vector: 1 for scalar.
int SimdLanes(TSimd simd);

// The kernel for the keyframe's formula: a lane kernel of the active
// instruction set for the arithmetic formulas, the scalar one otherwise.
std::unique_ptr<TRowKernel> MakeRowKernel(const TPictureJob& job);
// Whether MakeRowKernel gives this keyframe a lane kernel.
bool UsesLaneKernel(const TParameter& keyframe);

std::unique_ptr<TRowKernel> MakeLaneRowKernelSse2(const TPictureJob& job);
std::unique_ptr<TRowKernel> MakeLaneRowKernelAvx2(const TPictureJob& job);
std::unique_ptr<TRowKernel> MakeLaneRowKernelAvx512(const TPictureJob& job);

}  // namespace ork
