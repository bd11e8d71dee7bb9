#include "film/film_frame_queue.h"

#include <algorithm>

namespace ork {

void TFilmFrameQueue::TLineKeeper::Diagnostic(const std::string& line) {
  std::lock_guard<std::mutex> lock(queue_.mutex_);
  queue_.lines_.push_back(line);
}

TFilmFrameQueue::TFilmFrameQueue(const TFilmSettings& settings, int plannedFrames, THost& host,
                                 uint64_t aviFileLimit, int waiting)
    : host_(host), writer_(settings, plannedFrames, keeper_, aviFileLimit) {
  if (!settings.AnyOutput()) return;
  waiting = std::max(waiting, 1);
  // One buffer being written besides the waiting ones; the queue itself
  // never fills, Hand waits for a buffer first.
  frames_.resize(static_cast<size_t>(waiting) + 1);
  thread_ = std::make_unique<TSerialQueue>(frames_.size());
}

void TFilmFrameQueue::Hand(const TPixmap& picture, const std::string& frameName) {
  if (!thread_) return;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    written_cv_.wait(lock, [this] { return handed_ - written_ < frames_.size(); });
  }
  // The writer has finished with this buffer: every older frame is written.
  TFrame& frame = frames_[handed_ % frames_.size()];
  frame.picture = picture;  // keeps the buffer's storage once it has the size
  frame.name = frameName;
  ++handed_;
  thread_->Post([this, &frame] { Write(frame); });
}

void TFilmFrameQueue::Write(TFrame& frame) {
  const bool ok = writer_.Write(frame.picture, frame.name);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ok) failed_ = true;
    ++written_;
  }
  written_cv_.notify_one();
}

bool TFilmFrameQueue::ReportFailures() {
  std::vector<std::string> lines;
  bool failed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines.swap(lines_);
    failed = failed_;
  }
  for (const std::string& line : lines) host_.Diagnostic(line);
  return failed;
}

bool TFilmFrameQueue::Close() {
  thread_.reset();  // runs what is queued, then joins
  const bool closed = writer_.Close();
  return !ReportFailures() && closed;
}

}  // namespace ork
