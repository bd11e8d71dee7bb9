// The picture loop on one thread against two threads, measured in the same
// run (wall time, best of the repetitions, the two alternating), for the
// pictures whose rows depend most on each other:
// - formula 202, CycleTest 8, in Mandelbrot mode (every pixel ends in its
//   first step: no pixel pushes a history value) and in Julia mode (Newton
//   orbits that find their cycle in the history of the pixels before), on
//   1200 x 900;
// - formula 1000, CycleTest 4096 and 8192 (the long history), 400 x 100 of
//   the detail view (centre -0.745/0.11, HeightY 0.05, Max_Iterat 1000):
//   a row computed ahead first warms up on pixels before it until they
//   have pushed a whole history, so longer rows pay less for it.
// Counters: ms_1thread, ms_2threads and x_2threads (one thread's time over
// two threads'). Both give the same buffers (checked). On a machine that
// others share, the best of many short runs tells the most.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "engine/render.h"
#include "engine/worker_pool.h"
#include "model/parameter.h"

namespace {

ork::TParameter Newton(int julia) {
  ork::TParameter k;
  k.OutputWidth = 1200;
  k.OutputHeight = 900;
  k.GameNo = 202;
  k.julia = julia;
  k.CCx = -0.4;
  k.CCy = 0.6;
  k.vsx = k.vsp = -0.5;
  k.vsy = k.vst = 0.1;
  k.bry = 3;
  k.ianzmax = 2000;
  k.zyctest = 8;
  k.maxabs = 1e9;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

ork::TParameter LongHistory(int cycleTest) {
  ork::TParameter k;
  k.OutputWidth = 400;
  k.OutputHeight = 100;
  k.GameNo = 1000;
  k.vsx = k.vsp = -0.745;
  k.vsy = k.vst = 0.11;
  k.bry = 0.05;
  k.ianzmax = 1000;
  k.zyctest = cycleTest;
  k.maxabs = 1e9;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

double Seconds(const ork::TParameter& key, int threads, ork::TRender& render) {
  ork::SetWorkerThreads(threads);
  ork::TParameter k = key;
  const auto start = std::chrono::steady_clock::now();
  ork::Calculate(k, &ork::QuietHost(), render);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void OneThreadAgainstTwo(benchmark::State& state, ork::TParameter key) {
  ork::TRender one, two;
  one.Init(key);
  two.Init(key);
  double best1 = 1e30, best2 = 1e30;
  for (auto _ : state) {
    best1 = std::min(best1, Seconds(key, 1, one));
    best2 = std::min(best2, Seconds(key, 2, two));
  }
  ork::SetWorkerThreads(0);
  if (one.ibild != two.ibild ||
      std::memcmp(one.bildX.data(), two.bildX.data(), sizeof(double) * one.bildX.size()) != 0) {
    state.SkipWithError("two threads gave other buffers than one");
    return;
  }
  state.counters["ms_1thread"] = best1 * 1e3;
  state.counters["ms_2threads"] = best2 * 1e3;
  state.counters["x_2threads"] = best1 / best2;
}

}  // namespace

BENCHMARK_CAPTURE(OneThreadAgainstTwo, f202_ct8_mandelbrot, Newton(0))
    ->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK_CAPTURE(OneThreadAgainstTwo, f202_ct8_julia, Newton(1))
    ->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(OneThreadAgainstTwo, f1000_ct4096, LongHistory(4096))
    ->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK_CAPTURE(OneThreadAgainstTwo, f1000_ct8192, LongHistory(8192))
    ->Unit(benchmark::kMillisecond)->Iterations(4);

BENCHMARK_MAIN();
