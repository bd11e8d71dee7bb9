// The picture loop of the render object (declared in render.h).
#include "engine/render.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/iteration.h"
#include "engine/orbit_record.h"
#include "engine/texts.h"
#include "engine/view.h"
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

    TBreather breather;
    const std::string prefix = Tr(engine_texts::kPleaseWaitLine);
    const std::string of_height = "/" + std::to_string(H);
    for (int row = 0; row < H; ++row) {
      if (status != nullptr) {
        status->StatusText(prefix + std::to_string(row) + of_height);
        breather.Row();
        const int poll = status->PollCancel();
        if (poll == -1) {
          completed = false;
          break;
        }
        if (poll == 1 && showIntermediate) showIntermediate();
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
      IterateRow(ctx, view, row, W,
                 TRowBuffers{&render.bildX[base], &render.bildY[base], &render.bildP[base],
                             &render.bildT[base], &render.bildZ[base], &render.ibild[base],
                             &render.zycbild[base]});
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
