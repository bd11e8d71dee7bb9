// Memory and time of one large picture outside the iteration itself:
//
// BM_Picture4K/0: a fresh render object of 3840 x 2160, Init, and the
//   single picture painted with blur level 2 (ShowCalculated), as the
//   picture command does it.
// BM_Picture4K/1: the same with the computation's writes in between: every
//   per-pixel buffer filled as Calculate fills it (cheap made-up values),
//   so that memory which Init leaves untouched is paid for here.
// BM_Picture4K/2: as /1, but one render object for all iterations, as a
//   film uses it from frame to frame.
// BM_Picture8KPeak: an 8K (7680 x 4320) picture computed (all pixels
//   escape at once), painted and blurred; the counter peak_rss_GB is the
//   process's resident high-water mark during that run (VmHWM, reset
//   before it through /proc/self/clear_refs; Linux only).
//
// Compare ratios within one run on the same machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "bench_keyframe.h"
#include "engine/render.h"
#include "model/parameter.h"
#include "model/process_state.h"
#include "picture/composition.h"

namespace {

// The colouring benchmarks' keyframe far outside the set, so that every
// pixel escapes at once, with blur level 2.
ork::TParameter Keyframe(int width, int height) {
  ork::TParameter k = BenchKeyframe(width, height, -0.55, 2.4);
  k.vsx = k.vsp = 40;
  k.maxabs = 4;
  k.Filter = "2";
  return k;
}

// Stands in for the picture loop's stores: every buffer written once per
// pixel, with counts that give a varied picture under coding 1.
void WriteResults(ork::TRender& r) {
  for (int y = 0; y < r.Height; ++y) {
    const size_t row = static_cast<size_t>(y) * r.Width;
    for (int x = 0; x < r.Width; ++x) {
      const size_t i = row + x;
      const double v = 0.001 * x - 0.002 * y;
      r.bildX[i] = v;
      r.bildY[i] = -v;
      r.bildP[i] = 0;
      r.bildT[i] = 0;
      r.bildZ[i] = v * v;
      r.ibild[i] = 4096 + (x / 7 + y / 5) % 300;
      r.zycbild[i] = 0;
    }
  }
}

void BM_Picture4K(benchmark::State& state) {
  const bool write = state.range(0) != 0;
  const bool film = state.range(0) == 2;
  ork::ResetProcessState();
  auto render = std::make_unique<ork::TRender>();
  for (auto _ : state) {
    ork::Composition().CompositionMode = 1;
    ork::TParameter k = Keyframe(3840, 2160);
    if (!film) render = std::make_unique<ork::TRender>();
    render->Init(k);
    if (write) WriteResults(*render);
    benchmark::DoNotOptimize(ork::ShowCalculated(&k, render.get()));
    benchmark::ClobberMemory();
  }
  ork::ResetProcessState();
}
BENCHMARK(BM_Picture4K)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Resident high-water mark of this process in bytes, 0 when unknown.
double PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    long kb = 0;
    if (std::sscanf(line.c_str(), "VmHWM: %ld kB", &kb) == 1) return 1024.0 * kb;
  }
  return 0;
}

void ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

void BM_Picture8KPeak(benchmark::State& state) {
  ork::ResetProcessState();
  double peak = 0;
  for (auto _ : state) {
    ResetPeakResident();
    ork::Composition().CompositionMode = 1;
    ork::TParameter k = Keyframe(7680, 4320);
    auto render = std::make_unique<ork::TRender>();
    render->Init(k);
    ork::Calculate(k, nullptr, *render);
    benchmark::DoNotOptimize(ork::ShowCalculated(&k, render.get()));
    peak = PeakResidentBytes();
  }
  state.counters["peak_rss_GB"] = peak / 1e9;
  ork::ResetProcessState();
}
BENCHMARK(BM_Picture8KPeak)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
