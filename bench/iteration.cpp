// Iterations per second of the picture computation, per formula and cycle
// test: the kernels on one thread (scalar, and the widest vector lanes this
// processor has), and the whole picture loop on one thread (the plain
// row-by-row loop, and the vector lanes) and on all threads. A plain
// z = z^2 + c loop over the same pixels is the yardstick.
#include <benchmark/benchmark.h>

#include <atomic>
#include <vector>

#include "engine/iteration.h"
#include "engine/lane_kernels.h"
#include "engine/render.h"
#include "engine/row_kernel.h"
#include "engine/view.h"
#include "engine/worker_pool.h"
#include "model/parameter.h"

namespace {

ork::TParameter Keyframe(int formula, int cycle_test) {
  ork::TParameter k;
  k.OutputWidth = 400;
  k.OutputHeight = 300;
  k.GameNo = formula;
  k.julia = formula == 149 || (formula >= 206 && formula <= 208) ? 1 : 0;
  k.CCx = -0.4;
  k.CCy = 0.6;
  k.vsx = k.vsp = formula == 1000 ? -0.745 : -0.5;
  k.vsy = k.vst = formula == 1000 ? 0.11 : 0.1;
  k.bry = formula == 1000 ? 0.05 : 3;
  k.ianzmax = 1000;
  k.zyctest = cycle_test;
  k.Accurate = 0;
  k.maxabs = 1.0e9;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

long long Iterations(const std::vector<int32_t>& it) {
  long long n = 0;
  for (int v : it) n += v;
  return n;
}

// The iterations of the whole picture, as the sequential loop runs them.
long long PictureIterations(const ork::TParameter& k) {
  const ork::TViewMapping view(k);
  ork::TIterationContext ctx(k);
  ork::TRowScratch row;
  row.Resize(k.OutputWidth, 0);
  long long n = 0;
  for (int r = 0; r < k.OutputHeight; ++r) {
    ork::IterateRow(ctx, view, r, k.OutputWidth, row.Buffers());
    n += Iterations(row.it);
  }
  return n;
}

void Report(benchmark::State& state, long long iterations) {
  state.counters["M_iterations/s"] = benchmark::Counter(
      static_cast<double>(iterations) / 1e6, benchmark::Counter::kIsRate);
}

// One kernel on one thread over every row (each row from a guessed
// history, as helper threads compute them).
void Kernel(benchmark::State& state, int formula, int cycle_test, bool vector) {
  ork::TParameter k = Keyframe(formula, cycle_test);
  const ork::TViewMapping view(k);
  ork::TPictureJob job;
  job.keyframe = &k;
  job.view = &view;
  job.width = k.OutputWidth;
  job.height = k.OutputHeight;
  job.cycle_test = cycle_test;
  ork::SetSimdCap(vector ? ork::TSimd::kAvx512 : ork::TSimd::kScalar);
  if (vector && !ork::UsesLaneKernel(k)) {
    state.SkipWithError("no vector kernel for this formula or processor");
    return;
  }
  std::unique_ptr<ork::TRowKernel> kernel = ork::MakeRowKernel(job);
  ork::TRowScratch scratch;
  scratch.Resize(job.width, 4 * (cycle_test - 1));
  std::atomic<bool> stop{false};
  long long iterations = 0;
  for (auto _ : state) {
    for (int row = 0; row < job.height; ++row) {
      kernel->ComputeRow(row, nullptr, scratch, stop);
      iterations += Iterations(scratch.it);
    }
  }
  Report(state, iterations);
  state.SetLabel(vector ? ork::SimdName(ork::ActiveSimd()) : "scalar");
}

// The picture loop as Calculate runs it on `threads` (0: all cores) with
// the widest lanes, or without lanes (`scalar`; on one thread the plain
// row-by-row loop).
void Picture(benchmark::State& state, int formula, int cycle_test, int threads,
             bool scalar = false) {
  ork::TParameter k = Keyframe(formula, cycle_test);
  ork::SetWorkerThreads(threads);
  ork::SetSimdCap(scalar ? ork::TSimd::kScalar : ork::TSimd::kAvx512);
  ork::TRender render;
  render.Init(k);
  const long long per_picture = PictureIterations(k);
  long long iterations = 0;
  for (auto _ : state) {
    ork::Calculate(k, &ork::QuietHost(), render);
    iterations += per_picture;
  }
  state.SetLabel(std::to_string(ork::WorkerThreads()) + " threads" + (scalar ? ", scalar" : ""));
  ork::SetWorkerThreads(0);
  ork::SetSimdCap(ork::TSimd::kAvx512);
  Report(state, iterations);
}

// Yardstick: z = z^2 + c from z = 0 until |z|^2 > 4 or Max_Iterat steps.
void PlainLoop(benchmark::State& state) {
  const ork::TParameter k = Keyframe(1000, 1);
  const ork::TViewMapping view(k);
  long long iterations = 0;
  for (auto _ : state) {
    for (int row = 0; row < k.OutputHeight; ++row) {
      for (int col = 0; col < k.OutputWidth; ++col) {
        double cx, cy, unused_x, unused_y;
        view.Map(col, row, cx, cy, unused_x, unused_y);
        double x = 0, y = 0;
        int i = 0;
        for (; i < k.ianzmax; ++i) {
          const double xx = x * x, yy = y * y;
          if (xx + yy > 4) break;
          y = 2 * x * y + cy;
          x = xx - yy + cx;
        }
        iterations += i;
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
      }
    }
  }
  Report(state, iterations);
}

}  // namespace

BENCHMARK(PlainLoop)->Unit(benchmark::kMillisecond);

#define ORK_KERNELS(F, CT)                                                                    \
  BENCHMARK_CAPTURE(Kernel, f##F##_ct##CT##_scalar, F, CT, false)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(Kernel, f##F##_ct##CT##_vector, F, CT, true)->Unit(benchmark::kMillisecond);  \
  BENCHMARK_CAPTURE(Picture, f##F##_ct##CT##_1thread_scalar, F, CT, 1, true)                  \
      ->Unit(benchmark::kMillisecond)->UseRealTime();                                         \
  BENCHMARK_CAPTURE(Picture, f##F##_ct##CT##_1thread, F, CT, 1)                                \
      ->Unit(benchmark::kMillisecond)->UseRealTime();                                         \
  BENCHMARK_CAPTURE(Picture, f##F##_ct##CT##_all, F, CT, 0)->Unit(benchmark::kMillisecond)->UseRealTime();

ORK_KERNELS(1000, 1)
ORK_KERNELS(1000, 8)
ORK_KERNELS(1000, 32)
ORK_KERNELS(1001, 1)
ORK_KERNELS(1002, 8)
ORK_KERNELS(152, 8)
ORK_KERNELS(201, 8)
ORK_KERNELS(202, 1)
ORK_KERNELS(203, 8)
ORK_KERNELS(205, 8)
ORK_KERNELS(149, 1)
ORK_KERNELS(206, 8)
ORK_KERNELS(207, 1)

BENCHMARK_MAIN();
