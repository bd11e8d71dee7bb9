#include "engine/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/environment.h"

namespace ork {

namespace {

thread_local bool t_on_pool = false;

int ThreadsFromEnvironment() {
  std::string problem;
  const int threads = ThreadsSetting(std::getenv("ORK_THREADS"), problem);
  if (!problem.empty()) WarnAboutEnvironment(problem);
  return threads;
}

std::atomic<int> g_setting{0};

// The pool threads: a queue of jobs, started and resized on first use. The
// threads live until the process ends.
class TPool {
 public:
  static TPool& Instance() {
    static TPool* pool = new TPool;  // never destroyed: threads may still wait at exit
    return *pool;
  }

  // Makes sure `threads` threads are waiting for work.
  void Ensure(int threads) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (static_cast<int>(threads_.size()) < threads) {
      threads_.emplace_back([this] { Loop(); });
      threads_.back().detach();
    }
  }

  void Post(std::function<void()> job) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    cv_.notify_one();
  }

 private:
  void Loop() {
    t_on_pool = true;
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [this] { return !jobs_.empty(); });
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
};

}  // namespace

int WorkerThreads() {
  if (const int set = g_setting.load()) return set;
  static const int from_environment = ThreadsFromEnvironment();
  if (from_environment > 0) return from_environment;
  static const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  return cores;
}

void SetWorkerThreads(int threads) { g_setting.store(std::max(threads, 0)); }

bool OnPoolThread() { return t_on_pool; }

struct THelperRun::TShared {
  std::function<void(int)> job;
  std::mutex mutex;
  std::condition_variable done_cv;
  int running = 0;
  bool closed = false;  // Wait has begun: runs not begun yet are dropped
};

THelperRun::THelperRun(int helpers, std::function<void(int)> job)
    : shared_(std::make_shared<TShared>()) {
  shared_->job = std::move(job);
  if (OnPoolThread()) return;
  const int n = std::min(helpers, WorkerThreads() - 1);
  if (n <= 0) return;
  TPool& pool = TPool::Instance();
  pool.Ensure(WorkerThreads() - 1);
  started_ = n;
  for (int h = 0; h < n; ++h) {
    pool.Post([shared = shared_, h] {
      {
        std::lock_guard<std::mutex> lock(shared->mutex);
        if (shared->closed) return;
        ++shared->running;
      }
      shared->job(h);
      std::lock_guard<std::mutex> lock(shared->mutex);
      if (--shared->running == 0) shared->done_cv.notify_all();
    });
  }
}

void THelperRun::Wait() {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->closed = true;
  shared_->done_cv.wait(lock, [this] { return shared_->running == 0; });
}

void ParallelFor(int count, const std::function<void(int)>& task) {
  if (count <= 0) return;
  if (count == 1 || WorkerThreads() == 1 || OnPoolThread()) {
    for (int i = 0; i < count; ++i) task(i);
    return;
  }
  std::atomic<int> next{0};
  auto drain = [&](int) {
    for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1)) task(i);
  };
  THelperRun helpers(count - 1, drain);
  drain(-1);
  helpers.Wait();
}

void ParallelRows(int rows, int minRows, const std::function<void(int, int)>& band) {
  if (rows <= 0) return;
  const int threads = WorkerThreads();
  const int most = std::max(1, rows / std::max(minRows, 1));
  const int bands = std::min(most, threads == 1 ? 1 : 4 * threads);
  const int size = (rows + bands - 1) / bands;
  ParallelFor((rows + size - 1) / size, [&](int i) {
    band(i * size, std::min(rows, (i + 1) * size));
  });
}

TSerialQueue::TSerialQueue(size_t capacity)
    : capacity_(std::max<size_t>(capacity, 1)), thread_([this] { Run(); }) {}

TSerialQueue::~TSerialQueue() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

void TSerialQueue::Post(std::function<void()> job) {
  std::unique_lock<std::mutex> lock(mutex_);
  cv_.wait(lock, [this] { return jobs_.size() < capacity_; });
  jobs_.push_back(std::move(job));
  cv_.notify_all();
}

void TSerialQueue::Drain() {
  std::unique_lock<std::mutex> lock(mutex_);
  cv_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void TSerialQueue::Run() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      cv_.wait(lock, [this] { return !jobs_.empty() || stopping_; });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
      busy_ = true;
    }
    cv_.notify_all();  // a place in the queue is free
    job();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      busy_ = false;
    }
    cv_.notify_all();
  }
}

}  // namespace ork
