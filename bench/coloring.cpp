// Colouring speed on a computed 2000 x 2000 picture: ShowCalculated (tables,
// coding, painting) per coding and table, the blur, and the table build.
// Pixel rates are reported as items per second.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "color/blur.h"
#include "color/color_table.h"
#include "colouring_keyframe.h"
#include "engine/render.h"
#include "model/parameter.h"
#include "model/process_state.h"
#include "picture/composition.h"

namespace {

constexpr int kSide = 2000;

ork::TParameter Keyframe() { return ColouringKeyframe(kSide, kSide); }

// One computed picture shared by all benchmarks.
ork::TRender& Computed() {
  static std::unique_ptr<ork::TRender> render = [] {
    auto r = std::make_unique<ork::TRender>();
    ork::TParameter k = Keyframe();
    r->Init(k);
    ork::Calculate(k, nullptr, *r);
    return r;
  }();
  return *render;
}

void ShowCalculated(benchmark::State& state) {
  ork::ResetProcessState();
  ork::Composition().CompositionMode = 1;
  ork::TRender& render = Computed();
  ork::TParameter k = Keyframe();
  k.SelectPictureL = std::to_string(state.range(0));
  k.farbtabL = std::to_string(state.range(1));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ork::ShowCalculated(&k, &render));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void Blur(benchmark::State& state) {
  ork::TRender& render = Computed();
  const int level = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ork::BlurPixmap(*render.Image, level, 1));
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BuildColorTable(benchmark::State& state) {
  ork::TRender& render = Computed();
  ork::TParameter k = Keyframe();
  k.farbtab = static_cast<int>(state.range(0));
  k.fact4 = static_cast<double>(state.range(1));
  k.fact3 = 1;
  k.ColShift = 7;
  for (auto _ : state) {
    ork::BuildColorTable(k, render);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(ShowCalculated)
    ->ArgsProduct({{1, 3, 6, 13, 14}, {4, 14, 23}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Blur)->Arg(1)->Arg(2)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildColorTable)
    ->ArgsProduct({{4, 14, 23}, {2048, 4096}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
