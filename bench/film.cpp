// Film output speed. BM_AviWriter: uncompressed AVI frames into a fresh
// file on the RAM disk (/dev/shm), as a film writes them; bytes per second
// is the figure to watch (target: at least 500 MB/s).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/pixmap.h"
#include "film/avi_writer.h"

namespace {

void BM_AviWriter(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  constexpr int kFrames = 60;
  if (!std::filesystem::is_directory("/dev/shm")) {
    state.SkipWithError("no /dev/shm");
    return;
  }
  const std::string path = "/dev/shm/ork_bench_" + std::to_string(::getpid()) + ".avi";
  ork::TPixmap picture(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) picture.Set(x, y, 0xFF000000u | static_cast<uint32_t>(x * y));
  int64_t bytes = 0;
  for (auto _ : state) {
    ork::TAviStream avi;
    if (!avi.Create(path) || !ork::WriteAviHeader(avi, w, h, kFrames, 25)) {
      state.SkipWithError("cannot create the AVI file");
      break;
    }
    for (int i = 0; i < kFrames; ++i) {
      if (!ork::WriteAviFrame(avi, picture)) {
        state.SkipWithError("write failed");
        break;
      }
    }
    avi.Close();
    bytes += ork::kAviHeaderBytes + int64_t{kFrames} * (int64_t{w} * h * 4 + 8);
    state.PauseTiming();
    std::filesystem::remove(avi.Path());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_AviWriter)->Args({320, 240})->Args({1280, 720})->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
