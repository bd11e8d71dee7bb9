// The lane kernel at the hardware's limit: formula 1000, CycleTest 1, on
// the 1200 x 900 view (centre -0.745/0.11, HeightY 0.05, Max_Iterat 2000),
// one thread, against the best exact loops written by hand for the same
// work: eight pixels per AVX-512 vector, four vectors interleaved, the
// engine's escape and cycle tests on every step (plainly, or screened), a
// finished lane refilled at once. All count the same iterations (checked).
// Counters: G_iterations/s per core, and x_hand_loop, x_screened_hand_loop
// = the kernel's rate over each hand loop's, measured in one run (CPU
// time).
#include <benchmark/benchmark.h>

#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include "engine/lane_kernels.h"
#include "engine/row_kernel.h"
#include "engine/view.h"
#include "model/parameter.h"

namespace {

ork::TParameter Keyframe() {
  ork::TParameter k;
  k.OutputWidth = 1200;
  k.OutputHeight = 900;
  k.GameNo = 1000;
  k.vsx = k.vsp = -0.745;
  k.vsy = k.vst = 0.11;
  k.bry = 0.05;
  k.ianzmax = 2000;
  k.zyctest = 1;
  k.Accurate = 0;
  k.maxabs = 1e9;
  k.colz = 2048;
  return k;
}

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

typedef double v8d __attribute__((vector_size(64)));

// The engine's escape, cycle and limit tests of a step from (hx, hy) to
// (x, y), as lane bits.
__attribute__((target("avx512f"), always_inline)) inline unsigned ExactDone(
    v8d x, v8d y, v8d hx, v8d hy, v8d it, __m512d vmax, __m512d vacc, __m512d viter) {
  const __m512d ax = _mm512_abs_pd(reinterpret_cast<__m512d>(x));
  const __m512d ay = _mm512_abs_pd(reinterpret_cast<__m512d>(y));
  const __m512d sum = _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(ax, ay), ax), ay);
  const __m512d a = _mm512_abs_pd(reinterpret_cast<__m512d>(hx - x));
  const __m512d b = _mm512_abs_pd(reinterpret_cast<__m512d>(hy - y));
  const __m512d d = _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(a, b), a), b);
  return _mm512_cmp_pd_mask(sum, vmax, _CMP_GT_OQ) | _mm512_cmp_pd_mask(d, vacc, _CMP_NGE_UQ) |
         _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(it), viter, _CMP_GT_OQ);
}

// The hand loop: returns the iterations of every pixel in `its`. Screened:
// the larger magnitude of x, y against Max_(X+Y) / 8 and of the step
// against half the tolerance rule the exact tests out (as in the kernel),
// and the exact tests run only in a step where some lane is not ruled out.
template <bool kScreened>
__attribute__((target("avx512f,avx512dq"))) long long HandLoop(const ork::TParameter& k,
                                                               std::vector<int>& its) {
  const ork::TViewMapping view(k);
  const int W = k.OutputWidth, H = k.OutputHeight;
  const long long pixels = static_cast<long long>(W) * H;
  const double acc = k.bry / k.OutputHeight / 1000;
  const double max_abs = k.maxabs;
  const int max_iter = k.ianzmax;
  constexpr int G = 4, N = 8;
  v8d x[G], y[G], cx[G], cy[G], it[G];
  int pix[G][N];
  unsigned live_bits[G] = {};
  long long next = 0, total = 0;
  int live = 0;
  auto load = [&](int g, int j) {
    x[g][j] = y[g][j] = 0;
    it[g][j] = 0;
    if (next < pixels) {
      double sx2, sy2;
      view.Map(static_cast<int>(next % W), static_cast<int>(next / W), cx[g][j], cy[g][j], sx2,
               sy2);
      pix[g][j] = static_cast<int>(next++);
      live_bits[g] |= 1u << j;
      ++live;
    } else {
      cx[g][j] = -1;  // an idle 2-cycle of 0 and -1
      cy[g][j] = 0;
      live_bits[g] &= ~(1u << j);
    }
  };
  for (int g = 0; g < G; ++g)
    for (int j = 0; j < N; ++j) load(g, j);
  const __m512d vmax = _mm512_set1_pd(max_abs), vacc = _mm512_set1_pd(acc);
  const __m512d viter = _mm512_set1_pd(max_iter);
  const __m512d size_bound = _mm512_set1_pd(max_abs * 0.125);
  const __m512d step_bound = _mm512_set1_pd(acc >= 1e-300 ? acc * (0.5 + 5e-11) : acc);
  const v8d one = {1, 1, 1, 1, 1, 1, 1, 1};
  while (live > 0) {
    unsigned done[G], any = 0;
    if constexpr (kScreened) {
      unsigned screened[G], none = 0;
      v8d hx[G], hy[G];
      for (int g = 0; g < G; ++g) {
        hx[g] = x[g], hy[g] = y[g];
        x[g] = hx[g] * hx[g] - hy[g] * hy[g] + cx[g];
        y[g] = 2 * hx[g] * hy[g] + cy[g];
        it[g] += one;
        const __m512d vx = reinterpret_cast<__m512d>(x[g]), vy = reinterpret_cast<__m512d>(y[g]);
        const __m512d size = _mm512_range_pd(vx, vy, 0b1011);
        const __m512d moved = _mm512_range_pd(reinterpret_cast<__m512d>(hx[g] - x[g]),
                                              reinterpret_cast<__m512d>(hy[g] - y[g]), 0b1011);
        screened[g] = (_mm512_cmp_pd_mask(size, size_bound, _CMP_NLE_UQ) |
                       _mm512_cmp_pd_mask(moved, step_bound, _CMP_NGE_UQ) |
                       _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(it[g]), viter, _CMP_GT_OQ)) &
                      live_bits[g];
        none |= screened[g];
      }
      if (none == 0) continue;
      for (int g = 0; g < G; ++g) {
        done[g] = screened[g] == 0 ? 0
                                   : ExactDone(x[g], y[g], hx[g], hy[g], it[g], vmax, vacc, viter) &
                                         live_bits[g];
        any |= done[g];
      }
    } else {
      for (int g = 0; g < G; ++g) {
        const v8d hx = x[g], hy = y[g];
        x[g] = hx * hx - hy * hy + cx[g];
        y[g] = 2 * hx * hy + cy[g];
        it[g] += one;
        done[g] = ExactDone(x[g], y[g], hx, hy, it[g], vmax, vacc, viter) & live_bits[g];
        any |= done[g];
      }
    }
    if (any == 0) continue;
    for (int g = 0; g < G; ++g) {
      for (unsigned m = done[g]; m != 0; m &= m - 1) {
        const int j = __builtin_ctz(m);
        its[pix[g][j]] = static_cast<int>(it[g][j]);
        total += static_cast<long long>(it[g][j]);
        --live;
        load(g, j);
      }
    }
  }
  return total;
}

std::vector<int> KernelIterations(const ork::TParameter& k, double& seconds) {
  const ork::TViewMapping view(k);
  ork::TPictureJob job;
  job.keyframe = &k;
  job.view = &view;
  job.width = k.OutputWidth;
  job.height = k.OutputHeight;
  std::unique_ptr<ork::TRowKernel> kernel = ork::MakeRowKernel(job);
  ork::TRowScratch scratch;
  scratch.Resize(job.width, 0);
  std::atomic<bool> stop{false};
  std::vector<int> its;
  const double start = CpuSeconds();
  for (int row = 0; row < job.height; ++row) {
    kernel->ComputeRow(row, nullptr, scratch, stop);
    its.insert(its.end(), scratch.it.begin(), scratch.it.end());
  }
  seconds = CpuSeconds() - start;
  return its;
}

void LaneKernelAgainstHandLoop(benchmark::State& state) {
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512dq")) {
    state.SkipWithError("the hand loop needs AVX-512");
    return;
  }
  const ork::TParameter k = Keyframe();
  ork::SetSimdCap(ork::TSimd::kAvx512);
  double kernel_best = 1e30, hand_best = 1e30, screened_best = 1e30;
  long long iterations = 0;
  for (auto _ : state) {
    double kernel_s = 0;
    const std::vector<int> want = KernelIterations(k, kernel_s);
    std::vector<int> got(want.size()), got_screened(want.size());
    double start = CpuSeconds();
    iterations = HandLoop<false>(k, got);
    const double hand_s = CpuSeconds() - start;
    start = CpuSeconds();
    HandLoop<true>(k, got_screened);
    const double screened_s = CpuSeconds() - start;
    if (got != want || got_screened != want) {
      state.SkipWithError("a hand loop counts other iterations than the kernel");
      return;
    }
    kernel_best = std::min(kernel_best, kernel_s);
    hand_best = std::min(hand_best, hand_s);
    screened_best = std::min(screened_best, screened_s);
  }
  state.counters["G_iterations/s_kernel"] = iterations / kernel_best / 1e9;
  state.counters["G_iterations/s_hand_loop"] = iterations / hand_best / 1e9;
  state.counters["G_iterations/s_screened_hand_loop"] = iterations / screened_best / 1e9;
  state.counters["x_hand_loop"] = hand_best / kernel_best;
  state.counters["x_screened_hand_loop"] = screened_best / kernel_best;
}

}  // namespace

BENCHMARK(LaneKernelAgainstHandLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
