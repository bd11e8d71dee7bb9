// A picture end to end as orkelund-render makes it (compute, colour, write
// a BMP), against a straightforward exact kernel on one thread: the
// iteration's steps as written, the cycle history moved slot by slot. The
// pictures: see Keyframe, CycleTest 1 and 8. The counter x_straightforward
// is the kernel's time over the renderer's, both measured in this run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "engine/render.h"
#include "engine/view.h"
#include "engine/worker_pool.h"
#include "shell/render_cli.h"

namespace {

namespace fs = std::filesystem;

// The two pictures: the detail view (1200 x 900, centre -0.745/0.11,
// HeightY 0.05, Max_Iterat 2000) and the whole set (1920 x 1080, centre
// -0.75/0, HeightY 2.6, Max_Iterat 1000).
ork::TParameter Keyframe(int cycle_test, bool whole = false) {
  ork::TParameter k;
  k.OutputWidth = whole ? 1920 : 1200;
  k.OutputHeight = whole ? 1080 : 900;
  k.GameNo = 1000;
  k.vsx = k.vsp = whole ? -0.75 : -0.745;
  k.vsy = k.vst = whole ? 0 : 0.11;
  k.bry = whole ? 2.6 : 0.05;
  k.ianzmax = whole ? 1000 : 2000;
  k.zyctest = cycle_test;
  k.Accurate = 0;
  k.maxabs = 1e9;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

// Formula 1000 in Mandelbrot mode, every step as written; the counts it
// leaves are the engine's (checked below).
std::vector<int> StraightforwardKernel(const ork::TParameter& k) {
  struct TSlot {
    double x1, y1, x2, y2;
  };
  const ork::TViewMapping view(k);
  const int ct = k.zyctest;
  const int max_iter = k.ianzmax;
  const double max_abs = k.maxabs, p = k.par;
  const double acc = k.bry / k.OutputHeight / 1000;
  std::vector<TSlot> h(ct + 1, TSlot{static_cast<double>(1.1f), 10097.0, 2.0,
                                      static_cast<double>(0.9f)});
  std::vector<int> counts;
  counts.reserve(static_cast<size_t>(k.OutputWidth) * k.OutputHeight);
  for (int row = 0; row < k.OutputHeight; ++row) {
    for (int col = 0; col < k.OutputWidth; ++col) {
      double cx, cy, cx2, cy2;
      view.Map(col, row, cx, cy, cx2, cy2);
      double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      int it = 0;
      bool escaped = false;
      for (;;) {
        ++it;
        bool over = it > max_iter;
        h[1] = TSlot{x1, y1, x2, y2};
        const double nx1 = x1 * x1 - y1 * y1 + cx + p * x2;
        const double ny1 = 2 * x1 * y1 + cy + p * y2;
        x1 = nx1, y1 = ny1, x2 = nx1, y2 = ny1;
        if (std::fabs(x1) + std::fabs(y1) + std::fabs(x2) + std::fabs(y2) > max_abs) {
          escaped = true;
          over = true;
        }
        int period = 0;
        for (int i = 1; i <= ct; ++i) {
          const double d = std::fabs(h[i].x1 - x1) + std::fabs(h[i].y1 - y1) +
                           std::fabs(h[i].x2 - x2) + std::fabs(h[i].y2 - y2);
          if (!(d >= acc)) {
            period = i;
            break;
          }
        }
        if (period != 0 || over) break;
        for (int i = ct - 1; i >= 1; --i) h[i + 1] = h[i];
      }
      counts.push_back(it + k.colz + (escaped ? k.colzh : 0));
    }
  }
  return counts;
}

// Seconds the straightforward kernel takes, measured once per cycle test.
double KernelSeconds(int cycle_test, bool whole, bool& exact) {
  static std::map<int, std::pair<double, bool>> measured;
  const int key = cycle_test * 2 + whole;
  auto found = measured.find(key);
  if (found == measured.end()) {
    ork::TParameter k = Keyframe(cycle_test, whole);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<int> counts = StraightforwardKernel(k);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ork::SetWorkerThreads(1);
    ork::TRender render;
    render.Init(k);
    ork::Calculate(k, &ork::QuietHost(), render);
    ork::SetWorkerThreads(0);
    const bool same = std::equal(counts.begin(), counts.end(), render.ibild.begin());
    found = measured.emplace(key, std::make_pair(seconds, same)).first;
  }
  exact = found->second.second;
  return found->second.first;
}

void WriteMovie(const fs::path& file, const ork::TParameter& k) {
  std::ostringstream m;
  m.precision(17);
  m << "[OUTPUT]\r\nWidth=" << k.OutputWidth << "\r\nHeight=" << k.OutputHeight
    << "\r\nFileName=Bench\r\n\r\n"
    << "[KEYS]\r\nCount=1\r\nActual=1\r\n\r\n"
    << "[KEY1]\r\nNoOfFormula=1000\r\nHeightY=" << k.bry << "\r\nMidPointX=" << k.vsx
    << "\r\nMidPointY=" << k.vsy << "\r\nMax_Iterat=" << k.ianzmax
    << "\r\nMax_(X+Y)=1000000000.0\r\nCycleTest=" << k.zyctest << "\r\n"
    << "ColTabNo=14\r\nColShift=1200\r\nColFact=12\r\n";
  std::ofstream(file, std::ios::binary) << m.str();
}

// orkelund-render --movie M --out P.bmp, threads 0 meaning all cores.
void RenderToBmp(benchmark::State& state, int cycle_test, int threads, bool whole) {
  bool exact = false;
  const double kernel = KernelSeconds(cycle_test, whole, exact);
  if (!exact) {
    state.SkipWithError("the straightforward kernel does not match the engine");
    return;
  }
  const fs::path dir = fs::temp_directory_path() / ("ork_bench_picture_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  WriteMovie(dir / "bench.ini", Keyframe(cycle_test, whole));
  ork::TRenderOptions options;
  options.WorkDir = (dir / "work").string();
  options.Movie = (dir / "bench.ini").string();
  options.Outs = {(dir / "bench.bmp").string()};
  options.Quiet = true;
  options.Threads = threads;
  std::ostringstream out, err;
  double seconds = 0;
  int runs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (ork::RunRender(options, out, err) != ork::kRenderOk) {
      state.SkipWithError("the renderer failed");
      break;
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++runs;
    err.str("");
  }
  ork::SetWorkerThreads(0);
  fs::remove_all(dir);
  if (runs > 0) state.counters["x_straightforward"] = kernel / (seconds / runs);
  state.counters["straightforward_s"] = kernel;
}

}  // namespace

BENCHMARK_CAPTURE(RenderToBmp, ct1_all_threads, 1, 0, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(RenderToBmp, ct1_one_thread, 1, 1, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(RenderToBmp, ct8_all_threads, 8, 0, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(RenderToBmp, ct8_one_thread, 8, 1, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(RenderToBmp, whole_set_ct1_all_threads, 1, 0, true)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
