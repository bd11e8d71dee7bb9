// The shipped start movie must compute quickly on one core: each keyframe
// of data/INI/Default.ini at its own size (target: well under 2 s each).
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/render.h"
#include "model/host.h"
#include "model/movie.h"

namespace {

void BM_StartMovieKeyframe(benchmark::State& state) {
  ork::THost& host = ork::QuietHost();
  std::unique_ptr<ork::TParameterAnim> movie =
      ork::TParameterAnim::Load(std::string(ORK_DATA_DIR) + "/INI/", "Default.ini", host);
  const int key = static_cast<int>(state.range(0));
  if (key > movie->Count) {
    state.SkipWithError("the start movie has fewer keyframes");
    return;
  }
  ork::TParameter keyframe = movie->Parameter[key];
  keyframe.OutputWidth = movie->OutputWidth;
  keyframe.OutputHeight = movie->OutputHeight;
  ork::TRender render;
  render.Init(keyframe);
  for (auto _ : state) {
    ork::Calculate(keyframe, &host, render);
    benchmark::DoNotOptimize(render.ibild.data());
  }
}
BENCHMARK(BM_StartMovieKeyframe)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
