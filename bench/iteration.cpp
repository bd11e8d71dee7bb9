// Iterations per second of the pixel iteration over an 800 x 600 picture,
// against a plain z = z^2 + c loop over the same pixels as the yardstick.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/iteration.h"
#include "engine/render.h"
#include "engine/view.h"
#include "model/parameter.h"

namespace {

ork::TParameter Keyframe(int formula, int cycle_test) {
  ork::TParameter k;
  k.OutputWidth = 800;
  k.OutputHeight = 600;
  k.GameNo = formula;
  k.vsx = k.vsp = -0.55;
  k.vsy = k.vst = 0;
  k.bry = 2.4;
  k.ianzmax = 1000;
  k.zyctest = cycle_test;
  k.Accurate = 0.0001;
  k.maxabs = 1.0e9;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

// The engine's iteration of every pixel in row order, as the picture loop runs it.
void Iteration(benchmark::State& state, int formula, int cycle_test) {
  const ork::TParameter k = Keyframe(formula, cycle_test);
  const ork::TViewMapping view(k);
  std::vector<double> x1(k.OutputWidth), y1(k.OutputWidth), x2(k.OutputWidth),
      y2(k.OutputWidth), zval(k.OutputWidth);
  std::vector<int32_t> count(k.OutputWidth), period(k.OutputWidth);
  const ork::TRowBuffers out{x1.data(), y1.data(), x2.data(), y2.data(),
                             zval.data(), count.data(), period.data()};
  long long iterations = 0;
  for (auto _ : state) {
    ork::TIterationContext ctx(k);
    for (int row = 0; row < k.OutputHeight; ++row) {
      iterations += ork::IterateRow(ctx, view, row, k.OutputWidth, out);
      benchmark::ClobberMemory();
    }
  }
  state.counters["iterations/s"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kIsRate);
}

// The whole picture loop (mapping, iteration, storing into the buffers).
void Calculate(benchmark::State& state, int formula, int cycle_test) {
  ork::TParameter k = Keyframe(formula, cycle_test);
  ork::TRender render;
  render.Init(k);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ork::Calculate(k, nullptr, render));
  }
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
  state.counters["iterations/s"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(PlainLoop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iteration, f1000_ct1, 1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iteration, f1000_ct8, 1000, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iteration, f1000_ct32, 1000, 32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iteration, f202_ct1, 202, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Iteration, f149_ct1, 149, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Calculate, f1000_ct1, 1000, 1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
