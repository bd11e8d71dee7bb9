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
  explicit TScalarRowKernel(const TPictureJob& job) : job_(job), ctx_(*job.keyframe) {
    // Until a warm-up has shown what the pixels push, a long history gets
    // what the rows before pushed per pixel suggests, or else the longest.
    if (ctx_.LongHistory()) {
      const int most = std::max(kWarmUpPixels, job.width);
      const double need = 1.25 * (job.cycle_test - 1);
      warm_up_ = job.pushes_per_pixel * most > need
                     ? std::max(kWarmUpPixels, static_cast<int>(need / job.pushes_per_pixel) + 1)
                     : most;
    }
  }

  void ComputeRow(int row, const double* trueHistory, TRowScratch& scratch,
                  const std::atomic<bool>& stop, const double* guessFrom = nullptr) override {
    const int W = job_.width;
    scratch.used = 0;
    bool exact = job_.cycle_test == 1 || trueHistory != nullptr || row == 0;
    if (trueHistory != nullptr) {
      ctx_.LoadHistory(trueHistory);
    } else if (!exact) {
      exact = !WarmUp(row, guessFrom);
    } else {
      ctx_.ResetHistory();
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
  // Iterates the pixels before the row from guessFrom (or the start
  // history); false when they reached back to the picture's first pixel
  // (so the history is the true one).
  bool WarmUp(int row, const double* guessFrom) {
    int r = row, c = 0, n = 0;
    while (n < warm_up_ && PreviousPixel(job_.width, r, c)) ++n;
    const bool from_start = r == 0 && c == 0;
    // A warm-up that refills the whole history makes loading the guess
    // first (a long history's every value chained anew) wasted work.
    if (from_start || guessFrom == nullptr || refills_) {
      ctx_.ResetHistory();
    } else {
      ctx_.LoadHistory(guessFrom);
    }
    long long pushes = 0;
    for (int i = 0; i < n; ++i) {
      double sx1, sy1, sx2, sy2;
      job_.view->Map(c, r, sx1, sy1, sx2, sy2);
      pushes += IteratePixel(ctx_, sx1, sy1, sx2, sy2).it - 1;
      if (++c == job_.width) c = 0, ++r;
    }
    if (!from_start && ctx_.LongHistory()) AdaptWarmUp(n, pushes);
    return !from_start;
  }

  // A long history takes many pixels to refill: the next warm-up is made
  // long enough to push a whole history and a quarter more (neighbouring
  // pixels push alike), by what this one pushed per pixel, up to a row's
  // width (a longer one would cost more than computing the rows one after
  // the other). Pixels that push nothing leave the guess as it was, so
  // they need no longer warm-up.
  void AdaptWarmUp(int pixels, long long pushes) {
    const long long need = job_.cycle_test - 1;
    const int most = std::max(kWarmUpPixels, job_.width);
    refills_ = pushes >= need;
    if (pushes == 0) return;
    const long long want = (5 * need * pixels + 4 * pushes - 1) / (4 * pushes);
    warm_up_ = static_cast<int>(std::clamp<long long>(want, kWarmUpPixels, most));
  }

  TPictureJob job_;
  TIterationContext ctx_;
  int warm_up_ = kWarmUpPixels;  // pixels
  bool refills_ = false;         // the last warm-up pushed a whole history
};

}  // namespace

std::unique_ptr<TRowKernel> MakeScalarRowKernel(const TPictureJob& job) {
  return std::make_unique<TScalarRowKernel>(job);
}

}  // namespace ork
