#include "engine/row_kernel.h"

#include <algorithm>

namespace ork {

void TRowScratch::Resize(int width, int historyDoubles) {
  const size_t n = static_cast<size_t>(width);
  for (auto* v : {&x1, &y1, &x2, &y2, &zval}) v->resize(n);
  for (auto* v : {&count, &period, &it}) v->resize(n);
  history_doubles_ = historyDoubles;
  used = 0;
}

TSegmentRecord& TRowScratch::AddSegment(int begin, int end, bool exact) {
  if (static_cast<int>(segments.size()) <= used) segments.emplace_back();
  TSegmentRecord& s = segments[used++];
  s.begin = begin;
  s.end = end;
  s.exact = exact;
  s.assumed.resize(history_doubles_);
  s.leaving.resize(history_doubles_);
  return s;
}

namespace {

// Pixels between two looks at the stop flag.
constexpr int kStopCheckPixels = 16;

class TScalarRowKernel final : public TRowKernel {
 public:
  explicit TScalarRowKernel(const TPictureJob& job) : job_(job), ctx_(*job.keyframe) {}

  void ComputeRow(int row, const double* trueHistory, TRowScratch& scratch,
                  const std::atomic<bool>& stop) override {
    const int W = job_.width;
    scratch.used = 0;
    bool exact = job_.cycle_test == 1 || trueHistory != nullptr || row == 0;
    if (trueHistory != nullptr) {
      ctx_.LoadHistory(trueHistory);
    } else {
      ctx_.ResetHistory();
      if (!exact) exact = !WarmUp(row);
    }
    TSegmentRecord& seg = scratch.AddSegment(0, W, exact);
    ctx_.SaveHistory(seg.assumed.data());
    const TRowBuffers out = scratch.Buffers();
    for (int col = 0; col < W; col += kStopCheckPixels) {
      if (stop.load(std::memory_order_relaxed)) return;
      IterateSegment(ctx_, *job_.view, row, col, std::min(W, col + kStopCheckPixels), out);
    }
    ctx_.SaveHistory(seg.leaving.data());
  }

 private:
  // Iterates the few pixels before the row from the start history; false
  // when they reached back to the picture's first pixel (so the history is
  // the true one).
  bool WarmUp(int row) {
    int r = row, c = 0, n = 0;
    while (n < kWarmUpPixels && PreviousPixel(job_.width, r, c)) ++n;
    const bool from_start = r == 0 && c == 0;
    for (int i = 0; i < n; ++i) {
      double sx1, sy1, sx2, sy2;
      job_.view->Map(c, r, sx1, sy1, sx2, sy2);
      IteratePixel(ctx_, sx1, sy1, sx2, sy2);
      if (++c == job_.width) c = 0, ++r;
    }
    return !from_start;
  }

  TPictureJob job_;
  TIterationContext ctx_;
};

}  // namespace

std::unique_ptr<TRowKernel> MakeScalarRowKernel(const TPictureJob& job) {
  return std::make_unique<TScalarRowKernel>(job);
}

}  // namespace ork
