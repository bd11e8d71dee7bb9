#include "engine/lane_kernels.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "engine/environment.h"
#include "engine/formulas.h"

namespace ork {

namespace {

TSimd Supported() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq")) {
    return TSimd::kAvx512;
  }
  if (__builtin_cpu_supports("avx2")) return TSimd::kAvx2;
  return TSimd::kSse2;
}

TSimd CapFromEnvironment() {
  std::string problem;
  const int cap = SimdSetting(std::getenv("ORK_SIMD"), problem);
  if (!problem.empty()) WarnAboutEnvironment(problem);
  return cap >= 0 ? static_cast<TSimd>(cap) : TSimd::kAvx512;
}

std::atomic<int> g_cap{-1};

}  // namespace

TSimd ActiveSimd() {
  static const TSimd supported = Supported();
  static const TSimd from_environment = CapFromEnvironment();
  const int cap = g_cap.load();
  const TSimd limit = cap >= 0 ? static_cast<TSimd>(cap) : from_environment;
  return static_cast<int>(supported) < static_cast<int>(limit) ? supported : limit;
}

void SetSimdCap(TSimd cap) { g_cap.store(static_cast<int>(cap)); }

const char* SimdName(TSimd simd) {
  switch (simd) {
    case TSimd::kScalar: return "scalar";
    case TSimd::kSse2: return "SSE2";
    case TSimd::kAvx2: return "AVX2";
    case TSimd::kAvx512: return "AVX-512";
  }
  return "scalar";
}

int SimdLanes(TSimd simd) {
  switch (simd) {
    case TSimd::kScalar: return 1;
    case TSimd::kSse2: return 2;
    case TSimd::kAvx2: return 4;
    case TSimd::kAvx512: return 8;
  }
  return 1;
}

bool UsesLaneKernel(const TParameter& keyframe) {
  // A lane that ends its pixel moves its whole history once (the lanes share
  // one ring head); with long histories and short orbits that costs more
  // than the lanes gain.
  constexpr int kMostLaneSlots = 64;
  return ActiveSimd() != TSimd::kScalar && keyframe.zyctest <= kMostLaneSlots &&
         IsArithmeticFormula(FormulaKindOf(keyframe.GameNo));
}

std::unique_ptr<TRowKernel> MakeRowKernel(const TPictureJob& job) {
  if (!UsesLaneKernel(*job.keyframe)) return MakeScalarRowKernel(job);
  switch (ActiveSimd()) {
    case TSimd::kAvx512: return MakeLaneRowKernelAvx512(job);
    case TSimd::kAvx2: return MakeLaneRowKernelAvx2(job);
    default: return MakeLaneRowKernelSse2(job);
  }
}

}  // namespace ork
