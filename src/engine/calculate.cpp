// The picture loop of the render object (declared in render.h).
#include "engine/render.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/deep/deep_calculate.h"
#include "engine/iteration.h"
#include "engine/lane_kernels.h"
#include "engine/orbit_record.h"
#include "engine/parallel_calculate.h"
#include "engine/texts.h"
#include "engine/view.h"
#include "engine/worker_pool.h"
#include "model/process_state.h"

namespace ork {

namespace {

void Diagnose(THost* host, const std::string& line) {
  static THost standard_output;  // THost's own Diagnostic writes to stdout
  (host != nullptr ? host : &standard_output)->Diagnostic(line);
}

// Every ~500 ms of computing, 60 ms are given to the rest of the desktop.
class TBreather {
 public:
  void Row() {
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ > std::chrono::milliseconds(500)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
      start_ = std::chrono::steady_clock::now();
    }
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// What happens on the calling thread before each row: the progress text,
// the desktop's pause, one poll. False when the user cancelled.
class TRowProgress {
 public:
  TRowProgress(THost* status, const std::function<void()>& showIntermediate, int height)
      : status_(status),
        show_(showIntermediate),
        breathe_(status != nullptr && status->DesktopWaits()),
        prefix_(Tr(engine_texts::kPleaseWaitLine)),
        of_height_("/" + std::to_string(height)) {}

  bool operator()(int row) {
    if (status_ == nullptr) return true;
    status_->StatusText(prefix_ + std::to_string(row) + of_height_);
    if (breathe_) breather_.Row();
    const int poll = status_->PollCancel();
    if (poll == -1) return false;
    if (poll == 1 && show_) show_();
    return true;
  }

 private:
  THost* status_;
  const std::function<void()>& show_;
  bool breathe_;
  std::string prefix_, of_height_;
  TBreather breather_;
};

// Pictures this small are done before helper threads would start.
constexpr long long kParallelPixels = 4096;

}  // namespace

bool Calculate(TParameter& keyframe, THost* status, TRender& render,
               const std::function<void()>& showIntermediate) {
  Diagnose(status, "> Calculate ");
  TIterationContext ctx(keyframe);
  Diagnose(status, "...... Calculate ixe= " + std::to_string(keyframe.OutputWidth));
  if (keyframe.zyctest < 1) keyframe.zyctest = 1;

  const int W = keyframe.OutputWidth;
  const int H = keyframe.OutputHeight;
  const bool dynamics = Dynamics().DynamicsMode != 0;
  bool completed = true;
  if (W > 0 && H > 0) {
    const TViewMapping view(keyframe);
    keyframe.brx = view.brx;
    if (!dynamics && (render.Width != W || render.Height != H ||
                      render.bildX.size() != static_cast<size_t>(W) * H)) {
      render.Init(keyframe);
    }
    const long long selected = static_cast<long long>(keyframe.Mpoy) * render.Width +
                               keyframe.Mpox;
    TRenderOrbitRecording orbit(render, keyframe);
    if (dynamics) {
      orbit.Start();
      ctx.StartOrbitRecording(&orbit);
    }

    TRowProgress progress(status, showIntermediate, H);
    ClearParallelStats();
    const int threads = WorkerThreads();
    const bool deep = keyframe.Deep != 0 && !ctx.StopFrame();
    if (deep && !deep::DeepFormula(keyframe.GameNo)) {
      const std::string message = deep::DeepFormulaMessage(keyframe.GameNo);
      Diagnose(status, message);
      if (status != nullptr) status->StatusText(message);
    }
    // One thread runs the lane kernel too (rows from the true history, one
    // after the other); only without vector lanes does it take the plain
    // row loop, the reference every other way is compared against.
    const bool lanes = UsesLaneKernel(keyframe);
    if (deep && deep::DeepFormula(keyframe.GameNo)) {
      completed = deep::CalculateDeep(keyframe, status, render, progress,
                                      dynamics ? &orbit : nullptr, selected);
    } else if (!dynamics && !ctx.StopFrame() && ctx.CycleTest() <= kMostParallelCycleTest &&
               (threads > 1 || lanes) &&
               static_cast<long long>(W) * H >= (threads > 1 ? kParallelPixels : 0)) {
      // The helpers read the keyframe as it is now; painting the picture so
      // far (Q) may change its colour fields meanwhile.
      const TParameter frozen = keyframe;
      TPictureJob job;
      job.keyframe = &frozen;
      job.view = &view;
      job.width = W;
      job.height = H;
      job.cycle_test = ctx.CycleTest();
      completed = CalculateRowsParallel(job, render, threads, MakeRowKernel, progress);
    } else {
      for (int row = 0; row < H; ++row) {
        if (!progress(row)) {
          completed = false;
          break;
        }
        const size_t base = static_cast<size_t>(row) * W;
        if (dynamics) {
          for (int col = 0; col < W; ++col) {
            double sx1, sy1, sx2, sy2;
            view.Map(col, row, sx1, sy1, sx2, sy2);
            ctx.SelectOrbitPixel(static_cast<long long>(base) + col == selected);
            IteratePixel(ctx, sx1, sy1, sx2, sy2);
          }
          continue;
        }
        IterateRow(ctx, view, row, W, RenderRowBuffers(render, row));
      }
    }

    if (dynamics) {
      if (!render.DynX.empty() && !render.DynY.empty()) {
        render.DynX[0] = ctx.Acc();
        render.DynY[0] = orbit.n;
      }
      if (TOrbitPictureHook hook = OrbitPictureHook()) {
        hook(render, keyframe, TOrbitRecord{ctx.Acc(), orbit.n, orbit.maxX, orbit.maxY});
      }
    }
  }
  Diagnose(status, "< Calculate fertig");
  return completed;
}

}  // namespace ork
