// Film production end to end: a 100-frame 320 x 240 film prepared from a
// two-key movie and produced into a working directory on the RAM disk
// (/dev/shm, else the temporary directory). The figure to watch is frames
// per second ("fps"). BM_FilmRun/1/0 computes every frame; BM_FilmRun/0/0
// computes the first frame only (DoCalculate 0), so the other frames are
// recoloured and recomposed; both write the AVI only. BM_FilmRun/0/1 is the
// recoloured film written as PNG and BMP frames and AVI, where encoding and
// writing the files outweigh everything else.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "film/animate_prepare.h"
#include "film/animate_run.h"
#include "model/ini_store.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "bench_film_dir.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<ork::TParameterAnim> FilmSource(bool compute) {
  // 4.04 s at 25 frames per second: n = 101, 100 frames.
  const std::string key = "NoOfFormula=1\nMax_Iterat=200\nColTabNo=1\nDoCalculate=" +
                          std::string(compute ? "1" : "0") +
                          "\nInterpolationList=(HeightY,+):(MidPointX,+):(ColShift,+)\n";
  const std::string text =
      "[OUTPUT]\nWidth=320\nHeight=240\nFileName=Bench\n[KEYS]\nCount=2\nActual=1\n"
      "[KEY1]\nHeightY=2.5\nMidPointX=-0.5\nColShift=0\nSecondsFor+=4.04\n" + key +
      "[KEY2]\nHeightY=0.05\nMidPointX=-0.745\nColShift=2000\n" + key;
  auto ini = ork::TINI::FromBytes("INI\\", "Bench.ini", text);
  return ork::TParameterAnim::FromIni(*ini, "INI\\", "Bench.ini", ork::QuietHost());
}

// range(0): compute every frame; range(1): PNG and BMP frame files besides the AVI.
void BM_FilmRun(benchmark::State& state) {
  const bool compute = state.range(0) != 0;
  const std::string files = state.range(1) != 0 ? "PNG=1\nBMP=1\n" : "PNG=0\nBMP=0\n";
  const fs::path dir = FreshFilmWorkDir("film");
  auto settings = ork::TINI::FromBytes(
      "", "Settings.ini",
      "[AnimMode]\nPreview=0\n[Anim]\nFPS=25\nJPG=0\n" + files + "AVI=1\n"
      "[AnimPreview]\nFPS=25\nPNG=0\nJPG=0\nBMP=0\nAVI=0\nWidth=70\n");
  auto movie = FilmSource(compute);
  auto film = ork::AnimatePrepare(1, *movie, *settings, ork::QuietHost());
  if (film->Count != 100) {
    state.SkipWithError("the film does not have 100 frames");
    return;
  }
  ork::TFilmView view;
  int64_t frames = 0;
  for (auto _ : state) {
    const ork::TFilmRunResult r = ork::AnimateRun(*film, *film, *settings, ork::QuietHost(), view);
    if (r.FramesWritten != 100 || r.AviFiles.size() != 1 || r.WriteFailed) {
      state.SkipWithError("the film was not written");
      break;
    }
    frames += r.FramesWritten;
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  fs::remove_all(dir);
  ork::SetWorkDir(".");
}
BENCHMARK(BM_FilmRun)->Args({1, 0})->Args({0, 0})->Args({0, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
