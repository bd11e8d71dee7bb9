// The process's computing threads. One pool, started on first use, shared
// by the picture computation, the colouring and the compositions; nothing
// above the engine creates threads of its own (the serial queue below is
// the engine's too).
//
// Work handed to the pool must not touch the host, the GUI or process-wide
// state: it computes into buffers the caller owns, and the caller's thread
// does everything the user sees.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ork {

// How many threads compute, the calling one included: the setting of
// SetWorkerThreads, else the environment variable ORK_THREADS, else the
// hardware's core count; always at least 1. 1 means every computation runs
// on the calling thread alone, in the plain sequential order.
int WorkerThreads();
// 0 returns to the automatic choice. Takes effect for work started later.
void SetWorkerThreads(int threads);

// Runs task(i) for every i in [0, count) on the pool and the calling
// thread, and returns when all have run. Tasks run in no particular order
// and concurrently; with one thread, or when called from a pool thread,
// they run in order on the calling thread.
void ParallelFor(int count, const std::function<void(int index)>& task);

// Splits the rows [0, rows) into contiguous bands of at least minRows rows
// (a few per thread, for balance) and runs band(begin, end) for each one as
// ParallelFor does. Results must not depend on how rows are split.
void ParallelRows(int rows, int minRows, const std::function<void(int begin, int end)>& band);

// Starts `helpers` asynchronous runs of job(helper) (helper = 0 ...
// helpers - 1) on pool threads, for a caller that works alongside them and
// joins them with Wait. At most WorkerThreads() - 1 are handed to the pool
// (Started() tells how many); a run begins only when a pool thread is free,
// so the caller must be able to finish the work alone. Jobs must return
// promptly when the caller asks them to stop (through their own flags).
class THelperRun {
 public:
  THelperRun(int helpers, std::function<void(int helper)> job);
  ~THelperRun() { Wait(); }
  THelperRun(const THelperRun&) = delete;
  THelperRun& operator=(const THelperRun&) = delete;

  int Started() const { return started_; }
  // Blocks until every run that has begun has returned; runs that have not
  // begun by then never do. So work started while every pool thread is held
  // by other work (a picture loop's helpers waiting for this very thread)
  // does not wait for threads that cannot come.
  void Wait();

 private:
  struct TShared;
  std::shared_ptr<TShared> shared_;  // outlives the run for jobs still queued
  int started_ = 0;
};

// True on a pool thread (work there runs nested work inline).
bool OnPoolThread();

// One background thread that runs posted jobs one after the other, in the
// order posted. Post blocks while `capacity` jobs wait, so a fast producer
// cannot run away from a slow consumer. The destructor runs what is queued
// and joins the thread.
class TSerialQueue {
 public:
  explicit TSerialQueue(size_t capacity = 4);
  ~TSerialQueue();
  TSerialQueue(const TSerialQueue&) = delete;
  TSerialQueue& operator=(const TSerialQueue&) = delete;

  void Post(std::function<void()> job);
  // Blocks until every posted job has run.
  void Drain();

 private:
  void Run();

  size_t capacity_;
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace ork
