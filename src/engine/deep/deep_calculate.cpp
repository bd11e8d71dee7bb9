#include "engine/deep/deep_calculate.h"

#include <algorithm>
#include <thread>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/deep/deep_approximation.h"
#include "engine/deep/deep_coordinates.h"
#include "engine/deep/deep_pixel.h"
#include "engine/deep/deep_reference.h"
#include "engine/lane_kernels.h"
#include "engine/parallel_calculate.h"
#include "engine/texts.h"
#include "engine/worker_pool.h"

namespace ork::deep {
namespace {

std::mutex stats_mutex;
// ORK_DEEP_APPROXIMATION=0 switches the table off (comparisons; pictures agree).
bool approximation_enabled = getenv("ORK_DEEP_APPROXIMATION") == nullptr ||
                             std::string(getenv("ORK_DEEP_APPROXIMATION")) != "0";
bool lean_steps_enabled = true;
TDeepStats last_stats;

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point since) {
  return std::chrono::duration<double>(TClock::now() - since).count();
}

// Julia mode by the formula's start rule.
bool JuliaMode(const TParameter& k) { return k.GameNo == 1000 ? k.julia != 0 : k.julia == 1; }

struct TRecorder : TDeepRecorder {
  TOrbitRecording* recording;
  explicit TRecorder(TOrbitRecording* r) : recording(r) {}
  void Record(int it, double x1, double y1) override { recording->Record(it, x1, y1); }
};

}  // namespace

bool DeepFormula(int gameNo) { return gameNo == 1000 || gameNo == 1001 || gameNo == 1002; }

bool DeepComputes(const TParameter& k) {
  return k.Deep != 0 && DeepFormula(k.GameNo) && k.FileNameKey.rfind("Stop!", 0) != 0;
}

long DeepBits(const TParameter& k) { return PrecisionBits(k); }

std::string DeepFormulaMessage(int gameNo) {
  return Tr(engine_texts::kDeepFormulaOnly) + std::to_string(gameNo) +
         Tr(engine_texts::kDeepInDouble);
}

void SetApproximation(bool on) { approximation_enabled = on; }
void SetLeanSteps(bool on) { lean_steps_enabled = on; }
bool ApproximationEnabled() { return approximation_enabled; }

TDeepStats LastDeepStats() {
  std::lock_guard<std::mutex> lock(stats_mutex);
  return last_stats;
}

bool CalculateDeep(const TParameter& k, THost* status, TRender& render,
                   const std::function<bool(int row)>& beforeRow, TOrbitRecording* recording,
                   long long selected) {
  const int W = k.OutputWidth, H = k.OutputHeight;
  TDeepStats stats;
  stats.bits = DeepBits(k);
  const long bits = stats.bits;
  const TLongView v = ReadLongView(k, bits);

  TDeepPicture pic;
  pic.formula.game_no = k.GameNo;
  pic.formula.p = k.par;
  pic.formula.coupled = k.par != 0;
  pic.julia = JuliaMode(k);
  pic.max_iter = std::min(k.ianzmax, INT_MAX - 1);
  pic.zval_at = pic.max_iter / 10;
  pic.cycle_test = std::max(k.zyctest, 1);
  pic.colz = k.colz;
  pic.colzh = k.colzh;
  pic.colzv = k.colzv;
  pic.max_abs = k.maxabs;
  const TBigFloat bry = v.bry;
  const TBigFloat brx = bry * static_cast<double>(W) / TBigFloat(static_cast<double>(H), bits);
  pic.dx = ToFloatExp(brx / TBigFloat(static_cast<double>(W), bits));
  pic.dy = ToFloatExp(bry / TBigFloat(static_cast<double>(H), bits));
  pic.half_w = Ldexp(ToFloatExp(brx), -1);
  pic.half_h = Ldexp(ToFloatExp(bry), -1);
  if (k.Accurate != 0) {
    pic.acc = TFloatExp(k.Accurate);
  } else {
    pic.acc = ToFloatExp(bry / TBigFloat(static_cast<double>(H) * 1000.0, bits));
  }
  pic.acc_d = pic.acc.ToDouble();
  pic.lean_steps = lean_steps_enabled;
  pic.lean_simd = ActiveSimd();
  pic.turned = k.Degree != 0;
  if (pic.turned) {
    const double a = k.Degree * 3.14159265358979323846 / 180.0;
    pic.cos_a = std::cos(a);
    pic.sin_a = std::sin(a);
  }

  // The reference orbits, on this thread, polled like the rows.
  const auto refStart = TClock::now();
  auto lastPoll = TClock::now();
  const std::string refText = Tr(engine_texts::kReferenceOrbit);
  const TReferenceOrbit::TPoll poll = [&](int done) {
    if (status == nullptr) return true;
    if (TClock::now() - lastPoll < std::chrono::milliseconds(100)) return true;
    lastPoll = TClock::now();
    status->StatusText(refText + std::to_string(done) + "/" + std::to_string(pic.max_iter));
    return status->PollCancel() != -1;
  };
  const int64_t maxLength = static_cast<int64_t>(pic.max_iter) + 2;
  const TBigFloat zero(0.0, bits);
  TReferenceOrbit start, critical;
  if (pic.julia) {
    const TBigFloat z0[4] = {v.vsx, v.vsy, v.vsx, v.vsy};
    if (!start.Compute(pic.formula, z0, v.CCx, v.CCy, bits, pic.max_abs, maxLength,
                       pic.cycle_test, poll)) {
      return false;
    }
    const TBigFloat c0[4] = {zero, zero, zero, zero};
    if (!critical.Compute(pic.formula, c0, v.CCx, v.CCy, bits, pic.max_abs, maxLength,
                          pic.cycle_test, poll)) {
      return false;
    }
    pic.start = &start;
    pic.rebase = &critical;
  } else {
    const TBigFloat z0[4] = {zero, zero, zero, zero};
    if (!start.Compute(pic.formula, z0, v.vsx, v.vsy, bits, pic.max_abs, maxLength,
                       pic.cycle_test, poll)) {
      return false;
    }
    pic.start = pic.rebase = &start;
  }
  // The approximation tables (formula 1000 uncoupled).
  TApproximationTable startTable, rebaseTable;
  if (pic.formula.game_no == 1000 && !pic.formula.coupled && ApproximationEnabled()) {
    const double dcMax =
        pic.julia ? 0.0 : std::hypot(pic.half_w.ToDouble(), pic.half_h.ToDouble()) * 1.01;
    startTable.Build(start, dcMax, pic.cycle_test, pic.acc_d);
    pic.table = &startTable;
    if (pic.julia) {
      rebaseTable.Build(critical, 0.0, pic.cycle_test, pic.acc_d);
      pic.rebase_table = &rebaseTable;
    } else {
      pic.rebase_table = &startTable;
    }
  }
  // The vector lanes read the tables' reach by address: only where it
  // covers every index of its orbit.
  const bool reachCovers =
      pic.table == nullptr ||
      (pic.table->ReachLength() == start.Length() &&
       (pic.rebase_table == pic.table || pic.rebase_table->ReachLength() == critical.Length()));
  if (!reachCovers) pic.lean_simd = TSimd::kScalar;
  stats.reference_length = start.Length();
  stats.reference_seconds = Seconds(refStart);

  const auto pixelStart = TClock::now();
  bool completed = true;
  if (recording != nullptr) {
    // Dynamics mode: the picked pixel's true orbit, nothing stored.
    if (W > 0 && selected >= 0 && selected < static_cast<long long>(W) * H) {
      TDeepPixelRunner runner(pic);
      TRecorder recorder(recording);
      bool sampled = false;
      runner.Run(static_cast<int>(selected % W), static_cast<int>(selected / W), sampled,
                 &recorder);
    }
  } else {
    std::vector<int32_t> its(static_cast<size_t>(W) * H);
    std::vector<uint8_t> sampled(static_cast<size_t>(W) * H);
    std::vector<long long> rowIterations(static_cast<size_t>(H));
    std::vector<long long> rowSkipped(static_cast<size_t>(H));
    // Rows are computed by every thread as they come; a row is taken only
    // after the calling thread has polled for it (rows after a stop keep
    // their old values). The calling thread polls a few rows ahead.
    std::unique_ptr<std::atomic<bool>[]> done(new std::atomic<bool>[static_cast<size_t>(H)]);
    for (int row = 0; row < H; ++row) done[row] = false;
    std::atomic<int> released{0}, next{0};
    std::atomic<bool> over{false};  // every row released, or stopped
    std::atomic<bool> stopped{false};  // no row is taken any more
    const auto compute = [&](TDeepPixelRunner& runner, int row) {
      const size_t base = static_cast<size_t>(row) * W;
      const TRowBuffers out = RenderRowBuffers(render, row, its.data() + base);
      long long n = 0;
      const long long skippedBefore = runner.skipped;
      runner.RunRow(row, W, [&](int col, const TPixelResult& r, bool took) {
        out.Put(col, r);
        sampled[base + col] = took;
        n += r.it;
      });
      rowIterations[row] = n;
      rowSkipped[row] = runner.skipped - skippedBefore;
      done[row].store(true, std::memory_order_release);
    };
    // The next released row, or -1 when none is released now.
    const auto take = [&] {
      int row = next.load();
      while (!stopped.load() && row < released.load()) {
        if (next.compare_exchange_weak(row, row + 1)) return row;
      }
      return -1;
    };
    const int threads = WorkerThreads();
    THelperRun helpers(threads - 1, [&](int) {
      TDeepPixelRunner runner(pic);
      while (true) {
        const int row = take();
        if (row >= 0) {
          compute(runner, row);
        } else if (over.load()) {
          if (stopped.load() || next.load() >= released.load()) return;
        } else {
          std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
      }
    });
    TDeepPixelRunner runner(pic);
    const int ahead = 4 * std::max(threads, 1);
    int handed = 0;     // rows whose zval has been handed on
    double zval = 0;    // handed on to pixels that did not sample it
    // Where nobody reads zval, the rows leave it unwritten.
    const int zvalColumns = (render.unread & TRender::kUnreadZ) ? 0 : W;
    const auto handOn = [&] {
      for (; handed < H && done[handed].load(std::memory_order_acquire); ++handed) {
        const size_t base = static_cast<size_t>(handed) * W;
        for (int col = 0; col < zvalColumns; ++col) {
          if (sampled[base + col]) {
            zval = render.bildZ[base + col];
          } else {
            render.bildZ[base + col] = zval;
          }
        }
        stats.iterations += rowIterations[handed];
        stats.skipped += rowSkipped[handed];
      }
    };
    while (true) {
      while (!over.load() && released.load() < std::min(H, next.load() + ahead)) {
        if (!beforeRow(released.load())) {
          completed = false;
          stopped = true;
          over = true;
          break;
        }
        ++released;
        if (released.load() == H) over = true;
      }
      const int row = take();
      if (row >= 0) {
        compute(runner, row);
      } else if (over.load()) {
        break;
      }
      handOn();
    }
    helpers.Wait();
    handOn();
  }
  stats.pixel_seconds = Seconds(pixelStart);
  std::lock_guard<std::mutex> lock(stats_mutex);
  last_stats = stats;
  return completed;
}

}  // namespace ork::deep
