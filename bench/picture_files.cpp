// Picture file writing speed on a computed and coloured 320 x 240 film
// frame, written to the RAM disk (/dev/shm, else the temporary directory)
// as a film writes its frames. Pixel rates are reported as items per
// second; the PNG writer dominates a film whose frames only recolour. The
// readers' refusal of hostile files is timed as well.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench_keyframe.h"
#include "engine/render.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "picture/picture_files.h"

namespace {

namespace fs = std::filesystem;

// A deep zoom of the Mandelbrot set at film size, coloured as a film frame is.
const ork::TPixmap& Frame() {
  static std::unique_ptr<ork::TRender> render = [] {
    ork::TParameter k = BenchKeyframe(320, 240, -0.745, 0.05);
    auto r = std::make_unique<ork::TRender>();
    r->Init(k);
    ork::Calculate(k, nullptr, *r);
    ork::ResetProcessState();
    ork::Composition().CompositionMode = 1;
    ork::ShowCalculated(&k, r.get());
    return r;
  }();
  return *render->Image;
}

std::string Target(const char* extension) {
  const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  return (base / ("ork_bench_picture_" + std::to_string(::getpid()) + extension)).string();
}

template <bool (*Save)(const ork::TPixmap&, const std::string&)>
void Write(benchmark::State& state, const char* extension) {
  const ork::TPixmap& frame = Frame();
  const std::string path = Target(extension);
  for (auto _ : state) {
    if (!Save(frame, path)) {
      state.SkipWithError("cannot write the picture");
      break;
    }
  }
  fs::remove(path);
  state.SetItemsProcessed(state.iterations() * frame.Width() * frame.Height());
}

bool Png(const ork::TPixmap& p, const std::string& path) { return ork::SavePng(p, path, 5); }
bool Jpeg(const ork::TPixmap& p, const std::string& path) { return ork::SaveJpeg(p, path, 90); }

void BM_SavePng(benchmark::State& state) { Write<Png>(state, ".png"); }
void BM_SaveJpeg(benchmark::State& state) { Write<Jpeg>(state, ".jpg"); }
bool Bmp(const ork::TPixmap& p, const std::string& path) { return ork::SaveBmp24(p, path); }
void BM_SaveBmp24(benchmark::State& state) { Write<Bmp>(state, ".bmp"); }

}  // namespace

// A hostile picture file (a small file declaring a huge picture, from the
// picture fuzz target's corpus) must be refused in well under 100 ms.
void BM_RefuseBomb(benchmark::State& state, const char* name) {
  const std::string path = std::string(ORK_SOURCE_DIR) + "/tests/fuzz/corpus/picture/" + name;
  for (auto _ : state) {
    if (ork::LoadPicture(path) != nullptr) {
      state.SkipWithError("the bomb was loaded");
      break;
    }
  }
}
BENCHMARK_CAPTURE(BM_RefuseBomb, png, "png_bomb.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseBomb, progressive_jpeg, "jpeg_progressive_bomb.jpg")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseBomb, wide_jpeg, "jpeg_wide_bomb.jpg")->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBmp24)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
