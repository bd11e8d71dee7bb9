// How well the film's remaining-time estimate (TFilmTimeEstimate, shown in
// the renderer's progress line) predicts the time the rest of the film
// really takes: the shipped start movie's film (447 frames, zooming from
// the whole set into the sea-horse valley, later frames costing up to
// three times the first), computed at 320 x 240 and written nowhere.
// Counters: "worst_error" is the largest relative error of the remaining
// time from 10 % of the frames on while at least 5 % of the film's time is
// left (the target is below 0.25); "error_at_10pct" the error at 10 %.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "film/animate_prepare.h"
#include "film/animate_run.h"
#include "model/ini_store.h"
#include "model/movie.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "bench_film_dir.h"

namespace {

namespace fs = std::filesystem;

class TRecordingView : public ork::TFilmView {
 public:
  void FrameDone(const ork::TFilmProgress& p) override { frames.push_back(p); }
  std::vector<ork::TFilmProgress> frames;
};

void BM_FilmTimeEstimate(benchmark::State& state) {
  const fs::path dir = FreshFilmWorkDir("estimate");
  auto settings = ork::TINI::FromBytes(
      "", "Settings.ini",
      "[AnimMode]\nPreview=0\n[Anim]\nFPS=25\nJPG=0\nPNG=0\nBMP=0\nAVI=0\n"
      "[AnimPreview]\nFPS=25\nPNG=0\nJPG=0\nBMP=0\nAVI=0\nWidth=70\n");
  auto movie = ork::TParameterAnim::Load(std::string(ORK_SOURCE_DIR) + "/data/INI/", "Default.ini",
                                         ork::QuietHost());
  movie->OutputWidth = 320;
  movie->OutputHeight = 240;
  auto film = ork::AnimatePrepare(1, *movie, *settings, ork::QuietHost());
  double worst = 0, at10 = 0;
  for (auto _ : state) {
    TRecordingView view;
    ork::AnimateRun(*film, *film, *settings, ork::QuietHost(), view);
    const size_t n = view.frames.size();
    if (n < 100) {
      state.SkipWithError("the film is shorter than expected");
      break;
    }
    const double total = view.frames.back().ElapsedSeconds;
    for (size_t i = (n + 9) / 10 - 1; i + 1 < n; ++i) {
      const double rest = total - view.frames[i].ElapsedSeconds;
      if (rest < 0.05 * total) break;
      const double error = std::fabs(view.frames[i].RemainingSeconds - rest) / rest;
      if (i == (n + 9) / 10 - 1) at10 = error;
      worst = std::max(worst, error);
    }
  }
  state.counters["worst_error"] = worst;
  state.counters["error_at_10pct"] = at10;
  fs::remove_all(dir);
  ork::SetWorkDir(".");
}
BENCHMARK(BM_FilmTimeEstimate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
