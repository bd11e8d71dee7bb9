#include "shell/render_cli_engine.h"

#include <algorithm>
#include <cstdio>

#include "engine/deep/deep_calculate.h"
#include "engine/deep/deep_coordinates.h"
#include "engine/lane_kernels.h"
#include "engine/parallel_calculate.h"
#include "engine/worker_pool.h"

namespace ork {

bool ParseThreadCount(const std::string& text, int& threads, std::string& error) {
  int value = 0;
  bool ok = !text.empty() && text.size() <= 4;
  for (char c : text) {
    if (c < '0' || c > '9') ok = false;
    value = value * 10 + (c - '0');
  }
  if (!ok || value < 1 || value > 1024) {
    error = "--threads needs a count from 1 to 1024 (got '" + text + "')";
    return false;
  }
  threads = value;
  return true;
}

void UseThreadOption(int threads) {
  if (threads > 0) SetWorkerThreads(threads);
  WorkerThreads();
  ActiveSimd();
}

std::string EngineDescription(const TParameter& keyframe) {
  const int threads = WorkerThreads();
  std::string text = std::to_string(threads) + (threads == 1 ? " thread, " : " threads, ");
  if (deep::DeepComputes(keyframe)) {
    text += "pixels as differences from a reference orbit";
  } else if (UsesLaneKernel(keyframe)) {
    const TSimd simd = ActiveSimd();
    text += std::string(SimdName(simd)) + " lanes (" + std::to_string(SimdLanes(simd)) +
            " pixels per vector)";
  } else {
    text += "one pixel at a time";
  }
  return text + " for formula " + std::to_string(keyframe.GameNo);
}

void SwitchDeep(TParameterAnim& movie) {
  const int count = std::min(movie.Count, static_cast<int>(movie.Parameter.size()) - 1);
  for (int i = 1; i <= count; ++i) movie.Parameter[static_cast<size_t>(i)].Deep = 1;
}

std::string DeepDescription(const TParameter& keyframe) {
  if (keyframe.OutputHeight <= 0) return "";
  const int formula = keyframe.GameNo;
  if (deep::DeepComputes(keyframe))
    return "deep picture, " + std::to_string(deep::DeepBits(keyframe)) +
           " bits of precision for the reference orbit";
  if (keyframe.Deep != 0)
    return "deep computation asked for, but formula " + std::to_string(formula) +
           " is computed with doubles (deep: formulas 1000, 1001, 1002)";
  if (deep::PastDoubleLimit(keyframe))
    return "the picture lies beyond the precision of a double and turns coarse; "
           "--deep or DeepZoom=1 computes it deep";
  return "";
}

std::string DeepReport() {
  const deep::TDeepStats s = deep::LastDeepStats();
  char text[200];
  std::snprintf(text, sizeof text,
                "deep: %lld iterations, %.1f %% of them taken at once by the approximation "
                "table; reference orbit of %lld values in %.3f s",
                s.iterations, s.iterations > 0 ? 100.0 * s.skipped / s.iterations : 0.0,
                static_cast<long long>(s.reference_length), s.reference_seconds);
  return text;
}

std::string ComputationReport(double seconds) {
  char time[32];
  std::snprintf(time, sizeof time, "%.3f s", seconds);
  const TParallelStats stats = LastParallelStats();
  std::string text = std::string("computed in ") + time;
  if (stats.threads < 2) return text;
  if (stats.lead_in_rows >= stats.rows) {
    return text + " on one thread (done before helpers would pay)";
  }
  text += "; helpers from row " + std::to_string(stats.lead_in_rows) + " on, " +
          std::to_string(stats.segments_repaired) + " of " +
          std::to_string(stats.segments_checked) + " guessed row segments mended (" +
          std::to_string(stats.pixels_recomputed) + " pixels recomputed)";
  if (stats.went_alone) text += ", then one thread alone";
  return text;
}

}  // namespace ork
