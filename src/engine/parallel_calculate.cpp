#include "engine/parallel_calculate.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/big_buffer.h"
#include "engine/worker_pool.h"

namespace ork {

namespace {

TParallelStats g_last_stats;
// How long the calling thread computes alone before helpers start.
std::chrono::microseconds g_lead_in = kParallelLeadIn;

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(double) * a.size()) == 0;
}

// Copies `bytes` with stores that bypass the caches where they can: a
// committed row is not read again while the picture computes, and writing
// it around the caches saves reading its lines in first. StreamFence()
// orders them before what follows.
void StreamCopy(void* to, const void* from, size_t bytes) {
#if defined(__SSE2__)
  auto* d = static_cast<char*>(to);
  const auto* s = static_cast<const char*>(from);
  const size_t head = std::min(bytes, (16 - reinterpret_cast<uintptr_t>(d) % 16) % 16);
  std::memcpy(d, s, head);
  size_t i = head;
  for (; i + 16 <= bytes; i += 16) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(d + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
  }
  std::memcpy(d + i, s + i, bytes - i);
#else
  std::memcpy(to, from, bytes);
#endif
}
void StreamFence() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

// The calling thread's exact state: the true history after the rows
// committed so far, and the context that recomputes pixels from it.
class TCommitter {
 public:
  TCommitter(const TPictureJob& job, TRender& render)
      : job_(job),
        render_(render),
        truth_(*job.keyframe),
        history_(truth_.HistoryDoubles()),
        zval_at_(truth_.ZvalAt()) {
    truth_.SaveHistory(history_.data());
  }

  const double* TrueHistory() const { return history_.data(); }

  // A lead-in row: computed on this thread straight into the render object,
  // the context carrying history and zval from row to row.
  void ComputeInPlace(int row) {
    lead_in_it_.resize(job_.width);
    IterateRow(truth_, *job_.view, row, job_.width,
               RenderRowBuffers(render_, row, lead_in_it_.data()));
    for (int it : lead_in_it_) lead_in_pushes_ += it - 1;
    lead_in_pixels_ += job_.width;
  }
  double LeadInPushesPerPixel() const {
    return lead_in_pixels_ > 0 ? static_cast<double>(lead_in_pushes_) / lead_in_pixels_ : 0;
  }
  // The lead-in's history and zval become the committed state.
  void EndLeadIn() {
    truth_.SaveHistory(history_.data());
    zval_ = truth_.Zval();
  }

  // The row from the true history on this thread, one pixel after the other:
  // exact, nothing to check.
  void ComputeExact(int row, TRowScratch& s) {
    truth_.LoadHistory(history_.data());
    s.used = 0;
    TSegmentRecord& seg = s.AddSegment(0, job_.width, true);
    IterateRow(truth_, *job_.view, row, job_.width, s.Buffers());
    truth_.SaveHistory(seg.leaving.data());
  }

  // Whether the guesses do well enough for the calling thread to compute
  // rows ahead as well, and for the helpers to go on at all.
  bool MayHelp() const { return repair_share_ < 0.25; }
  bool Speculating() const { return rows_ < 4 || repair_share_ < 0.6; }

  void Commit(int row, TRowScratch& s, TParallelStats& stats) {
    long long repaired = 0;
    if (job_.cycle_test > 1) {
      for (int i = 0; i < s.used; ++i) {
        TSegmentRecord& seg = s.segments[i];
        if (!seg.exact) ++stats.segments_checked;
        if (seg.exact || SameBits(seg.assumed, history_)) {
          history_.swap(seg.leaving);
        } else {
          ++stats.segments_repaired;
          repaired += Repair(row, seg, s, stats.pixels_recomputed);
        }
      }
    }
    long long total = 0;
    for (int col = 0; col < job_.width; ++col) {
      total += s.it[col];
      if (zval_at_ >= 1 && s.it[col] >= zval_at_) {
        zval_ = s.zval[col];
      } else {
        s.zval[col] = zval_;
      }
    }
    if (total > 0) {
      repair_share_ = 0.75 * repair_share_ + 0.25 * (static_cast<double>(repaired) / total);
    }
    ++rows_;
    const size_t base = static_cast<size_t>(row) * job_.width;
    auto put = [&](auto& dst, const auto& src) {
      StreamCopy(&dst[base], src.data(), sizeof(src[0]) * job_.width);
    };
    const unsigned unread = render_.unread;
    if (!(unread & TRender::kUnreadX)) put(render_.bildX, s.x1);
    if (!(unread & TRender::kUnreadY)) put(render_.bildY, s.y1);
    if (!(unread & TRender::kUnreadP)) put(render_.bildP, s.x2);
    if (!(unread & TRender::kUnreadT)) put(render_.bildT, s.y2);
    if (!(unread & TRender::kUnreadZ)) put(render_.bildZ, s.zval);
    put(render_.ibild, s.count);
    if (!(unread & TRender::kUnreadPeriod)) put(render_.zycbild, s.period);
    StreamFence();  // the streamed stores before the row counts as committed
  }

 private:
  // Recomputes the segment's pixels from the true history until the guessed
  // pixels that follow are known to have started from it: when CycleTest -
  // 1 values pushed by pixels that ended as guessed have refilled it, or
  // when it equals the history the segment left and no guessed pixel after
  // this one pushed anything. The rest of the segment then stands. Returns
  // the iterations recomputed.
  long long Repair(int row, TSegmentRecord& seg, TRowScratch& s, long long& pixels) {
    truth_.LoadHistory(history_.data());
    const long long need = job_.cycle_test - 1;
    int last_push = seg.begin;  // after it, the guessed history was `leaving`
    for (int col = seg.end - 1; col > seg.begin; --col) {
      if (s.it[col] > 1) {
        last_push = col;
        break;
      }
    }
    long long run = 0, work = 0;
    bool compared = false;  // with the true history as it stands
    const TRowBuffers out = s.Buffers();
    for (int col = seg.begin; col < seg.end; ++col) {
      double sx1, sy1, sx2, sy2;
      job_.view->Map(col, row, sx1, sy1, sx2, sy2);
      const TPixelResult r = IteratePixel(truth_, sx1, sy1, sx2, sy2);
      work += r.it;
      ++pixels;
      run = r.it == s.it[col] ? run + (r.it - 1) : 0;
      out.Put(col, r);
      if (r.it > 1) compared = false;
      bool converged = run >= need;
      if (!converged && !compared && col >= last_push && col + 1 < seg.end) {
        truth_.SaveHistory(history_.data());
        converged = SameBits(history_, seg.leaving);
        compared = true;
      }
      if (converged) {
        history_.swap(seg.leaving);
        return work;
      }
    }
    truth_.SaveHistory(history_.data());
    return work;
  }

  const TPictureJob& job_;
  TRender& render_;
  TIterationContext truth_;
  std::vector<double> history_;
  int zval_at_;
  double zval_ = 0;
  double repair_share_ = 0;  // recent share of recomputed iterations
  int rows_ = 0;
  std::vector<int32_t> lead_in_it_;
  long long lead_in_pushes_ = 0, lead_in_pixels_ = 0;
};

// What the computing threads share. Rows are claimed in order; a row's
// results live in scratch slot row % slots until committed, so no thread
// runs further ahead of the commits than the slots reach.
struct TRowQueue {
  std::mutex mutex;
  std::condition_variable cv;
  int next = 0;       // the next row to claim
  int committed = 0;  // rows committed
  bool speculate = true;
  std::vector<double> guess;  // the latest committed history, guessed from
  std::vector<int> done;     // per slot: the row whose results it holds
  std::vector<char> failed;  // per slot: its helper could not finish it
  std::atomic<bool> stop{false};

  bool Claimable(int rows) const {
    return !stop && next < rows && next < committed + static_cast<int>(done.size());
  }
  void Publish(int row, bool rowFailed = false) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      done[row % done.size()] = row;
      failed[row % done.size()] = rowFailed;
      if (rowFailed) speculate = false;
    }
    cv.notify_all();
  }
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stop = true;
    }
    cv.notify_all();
  }
};

// Stops the helpers when the calling thread leaves the parallel rows, also
// by an exception (memory that could not be had), before it waits for them.
struct TStopOnExit {
  TRowQueue& queue;
  ~TStopOnExit() { queue.Stop(); }
};

// Maps the render buffers' pages of a row that a helper computed, so that
// fresh buffers take their page faults on the helpers rather than on the
// committing thread. Only the row's own bytes: no other thread writes them
// before the row is published.
void PrepareRow(TRender& render, int row) {
  const size_t base = static_cast<size_t>(row) * render.Width;
  const size_t n = static_cast<size_t>(render.Width);
  const std::pair<TBigVector<double>*, unsigned> doubles[] = {
      {&render.bildX, TRender::kUnreadX}, {&render.bildY, TRender::kUnreadY},
      {&render.bildP, TRender::kUnreadP}, {&render.bildT, TRender::kUnreadT},
      {&render.bildZ, TRender::kUnreadZ}};
  for (const auto& [a, bit] : doubles) {
    if (!(render.unread & bit)) PrepareForWriting(a->data() + base, n * sizeof(double));
  }
  PrepareForWriting(render.ibild.data() + base, n * sizeof(int32_t));
  if (!(render.unread & TRender::kUnreadPeriod)) {
    PrepareForWriting(render.zycbild.data() + base, n * sizeof(int32_t));
  }
}

}  // namespace

TRowBuffers RenderRowBuffers(TRender& render, int row, int32_t* it) {
  const size_t base = static_cast<size_t>(row) * render.Width;
  TRowBuffers out{&render.bildX[base], &render.bildY[base], &render.bildP[base],
                  &render.bildT[base], &render.bildZ[base], &render.ibild[base],
                  &render.zycbild[base], it};
  if (render.unread == 0) return out;
  // Results nothing reads go to this thread's scratch row instead, one per
  // result (a row kernel may read back what it wrote).
  thread_local struct {
    std::vector<double> x1, y1, x2, y2, zval;
    std::vector<int32_t> period;
  } unread;
  const size_t n = static_cast<size_t>(render.Width);
  const auto scratch = [&](auto& array) {
    array.resize(n);
    return array.data();
  };
  if (render.unread & TRender::kUnreadX) out.x1 = scratch(unread.x1);
  if (render.unread & TRender::kUnreadY) out.y1 = scratch(unread.y1);
  if (render.unread & TRender::kUnreadP) out.x2 = scratch(unread.x2);
  if (render.unread & TRender::kUnreadT) out.y2 = scratch(unread.y2);
  if (render.unread & TRender::kUnreadZ) out.zval = scratch(unread.zval);
  if (render.unread & TRender::kUnreadPeriod) out.period = scratch(unread.period);
  return out;
}

TParallelStats LastParallelStats() { return g_last_stats; }
void ClearParallelStats() { g_last_stats = TParallelStats{}; }

void SetParallelLeadIn(std::chrono::microseconds leadIn) { g_lead_in = leadIn; }

bool CalculateRowsParallel(const TPictureJob& job, TRender& render, int threads,
                           const TKernelFactory& makeKernel, const TBeforeRow& beforeRow) {
  const int H = job.height;
  TCommitter committer(job, render);
  TParallelStats stats;
  stats.threads = threads;
  stats.rows = H;

  // Lead-in: rows on this thread alone, straight into the render object,
  // until the picture has shown that helpers pay (small and quick pictures
  // never start them) and that guessing histories can work.
  int row = 0;
  const auto start = std::chrono::steady_clock::now();
  // One thread has no helpers to wait for: without a history to guess it
  // goes on with its own kernel after the first row; with one, the lead-in
  // also shows whether guessing can work (as it does for the helpers).
  const auto lead_in =
      threads > 1 || job.cycle_test > 1 ? g_lead_in : std::chrono::microseconds(0);
  for (; row < H && (row == 0 || std::chrono::steady_clock::now() - start < lead_in);
       ++row) {
    if (!beforeRow(row)) {
      g_last_stats = stats;
      return false;
    }
    committer.ComputeInPlace(row);
  }
  committer.EndLeadIn();
  stats.lead_in_rows = row;
  TPictureJob measured = job;
  measured.pushes_per_pixel = committer.LeadInPushesPerPixel();
  if (row == H) {
    render.fresh_pages = false;
    g_last_stats = stats;
    return true;
  }

  // Rows ahead of the commits: enough that a helper seldom waits for the
  // committing thread, which also computes rows.
  const int slots = threads > 1 ? std::min(H - row, std::max(32, 4 * threads)) : 1;
  const bool prepare = render.fresh_pages;
  TRowQueue queue;
  queue.next = queue.committed = row;
  queue.done.assign(slots, -1);
  queue.failed.assign(slots, 0);
  queue.guess.assign(committer.TrueHistory(),
                     committer.TrueHistory() + 4 * (job.cycle_test - 1));
  // A slot's buffers are sized by the first thread that computes into it,
  // so that their fresh pages are not all taken by this thread before the
  // helpers begin. A slot serves one row at a time (the queue's mutex
  // orders its users).
  std::vector<TRowScratch> scratch(slots);
  std::vector<uint8_t> sized(slots, 0);
  const int history = 4 * (job.cycle_test - 1);
  const auto slot = [&](int row) -> TRowScratch& {
    const int q = row % slots;
    if (!sized[q]) {
      scratch[q].Resize(job.width, history);
      sized[q] = 1;
    }
    return scratch[q];
  };

  // A helper that cannot get the memory it needs leaves its row to the
  // calling thread (an exception must not end the program on this thread).
  auto helper = [&](int) {
    std::unique_ptr<TRowKernel> kernel;
    try {
      kernel = makeKernel(measured);
    } catch (const std::bad_alloc&) {
      return;
    }
    std::vector<double> guess;
    for (;;) {
      int claimed;
      {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.cv.wait(lock, [&] {
          return queue.stop || queue.next >= H || !queue.speculate || queue.Claimable(H);
        });
        if (!queue.speculate || !queue.Claimable(H)) return;
        claimed = queue.next++;
        guess = queue.guess;
      }
      try {
        kernel->ComputeRow(claimed, nullptr, slot(claimed), queue.stop,
                           guess.data());
        if (prepare) PrepareRow(render, claimed);
        queue.Publish(claimed);
      } catch (const std::bad_alloc&) {
        queue.Publish(claimed, true);
        return;
      }
    }
  };

  std::unique_ptr<TRowKernel> own = makeKernel(measured);
  bool completed = true;
  {
    THelperRun helpers(threads - 1, helper);
    TStopOnExit stopper{queue};
    for (; row < H; ++row) {
      if (!beforeRow(row)) {
        completed = false;
        break;
      }
      for (;;) {
        int q;
        {
          std::unique_lock<std::mutex> lock(queue.mutex);
          if (queue.done[row % slots] == row) break;
          if (queue.next == row) {
            q = queue.next++;  // nobody took it: computed from the true history
          } else if (committer.MayHelp() && queue.speculate && queue.Claimable(H)) {
            q = queue.next++;
          } else {
            queue.cv.wait(lock, [&] { return queue.done[row % slots] == row; });
            break;
          }
        }
        if (q == row && !queue.speculate) {
          committer.ComputeExact(row, slot(q));
        } else {
          own->ComputeRow(q, q == row ? committer.TrueHistory() : nullptr, slot(q),
                          queue.stop, committer.TrueHistory());
        }
        queue.Publish(q);
        if (q == row) break;
      }
      if (queue.failed[row % slots]) committer.ComputeExact(row, slot(row));
      committer.Commit(row, slot(row), stats);
      {
        std::lock_guard<std::mutex> lock(queue.mutex);
        queue.committed = row + 1;
        std::copy(committer.TrueHistory(), committer.TrueHistory() + queue.guess.size(),
                  queue.guess.begin());
        if (!committer.Speculating() && queue.speculate) {
          queue.speculate = false;
          stats.went_alone = true;
        }
      }
      queue.cv.notify_all();
    }
  }
  if (completed) render.fresh_pages = false;
  g_last_stats = stats;
  return completed;
}

}  // namespace ork
