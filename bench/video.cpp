// Video encoding speed: frames per second that TVideoWriter encodes into an
// MP4 (H.264) or WebM (VP9) file on the RAM disk (/dev/shm). The film's
// writer thread encodes while the next frame is computed, so a film is held
// up only where this is slower than computing a frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/pixmap.h"
#include "film/video_writer.h"

namespace {

void BM_VideoWriter(benchmark::State& state) {
  const bool webm = state.range(0) != 0;
  const int w = static_cast<int>(state.range(1));
  const int h = static_cast<int>(state.range(2));
  constexpr int kFrames = 25;
  if (!std::filesystem::is_directory("/dev/shm")) {
    state.SkipWithError("no /dev/shm");
    return;
  }
  const std::string path =
      "/dev/shm/ork_bench_" + std::to_string(::getpid()) + (webm ? ".webm" : ".mp4");
  // Pixel noise that changes every frame: the encoders' hardest case.
  ork::TPixmap picture(w, h);
  int64_t frames = 0;
  for (auto _ : state) {
    ork::TVideoWriter writer;
    std::string error;
    if (!writer.Open(path, w, h, 25, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    for (int i = 0; i < kFrames; ++i) {
      state.PauseTiming();
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint32_t hash = static_cast<uint32_t>((x + i) * (y + 3 * i)) * 2654435761u;
          picture.Set(x, y, 0xFF000000u | hash >> 8);
        }
      }
      state.ResumeTiming();
      if (!writer.Write(picture, error)) {
        state.SkipWithError(error.c_str());
        break;
      }
    }
    if (!writer.Close(error)) state.SkipWithError(error.c_str());
    frames += kFrames;
    std::remove(path.c_str());
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VideoWriter)
    ->ArgNames({"webm", "w", "h"})
    ->Args({0, 768, 576})->Args({1, 768, 576})->Args({0, 1920, 1080})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
