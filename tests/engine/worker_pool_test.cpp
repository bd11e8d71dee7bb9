#include "engine/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace ork {
namespace {

TEST(WorkerPool, EveryIndexAndRowRunsOnceWhateverTheThreadCount) {
  for (int threads : {1, 2, 3, 7}) {
    SetWorkerThreads(threads);
    EXPECT_EQ(WorkerThreads(), threads);
    std::vector<std::atomic<int>> hits(1000);
    ParallelFor(1000, [&](int i) {
      ++hits[i];
      // Nested work runs inline instead of waiting for busy threads.
      ParallelFor(3, [&](int) {});
    });
    for (auto& h : hits) ASSERT_EQ(h.load(), 1) << threads;

    std::vector<int> rows(37, 0);
    ParallelRows(37, 4, [&](int begin, int end) {
      ASSERT_LT(begin, end);
      for (int r = begin; r < end; ++r) ++rows[r];
    });
    for (int r : rows) ASSERT_EQ(r, 1) << threads;
  }
  SetWorkerThreads(0);
}

// Work started while every pool thread is held by other work that waits
// for the calling thread (a picture loop's helpers while the picture so far
// is painted) is done by the calling thread alone. Were it to wait for the
// queued helpers, it would wait until the holders give up (here after 20 s).
TEST(WorkerPool, ParallelForDoesNotWaitForBusyThreads) {
  SetWorkerThreads(64);  // more than any test here: every pool thread is held
  std::mutex mutex;
  std::condition_variable cv;
  bool released = false, timedOut = false;
  THelperRun hold(63, [&](int) {
    std::unique_lock<std::mutex> lock(mutex);
    if (!cv.wait_for(lock, std::chrono::seconds(20), [&] { return released; })) timedOut = true;
  });
  std::vector<int> hits(100, 0);
  ParallelRows(100, 1, [&](int begin, int end) {
    for (int r = begin; r < end; ++r) ++hits[r];
  });
  {
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_FALSE(timedOut);
    released = true;
  }
  cv.notify_all();
  hold.Wait();
  for (int h : hits) EXPECT_EQ(h, 1);
  SetWorkerThreads(0);
}

TEST(SerialQueue, RunsJobsInOrderAndDrains) {
  std::vector<int> order;
  {
    TSerialQueue queue(2);
    for (int i = 0; i < 50; ++i) queue.Post([&order, i] { order.push_back(i); });
    queue.Drain();
    EXPECT_EQ(order.size(), 50u);
    queue.Post([&order] { order.push_back(50); });
  }  // the destructor runs what is left
  ASSERT_EQ(order.size(), 51u);
  for (int i = 0; i <= 50; ++i) EXPECT_EQ(order[i], i);
}

}  // namespace
}  // namespace ork
