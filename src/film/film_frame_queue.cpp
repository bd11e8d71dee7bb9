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

bool TFilmFrameQueue::CheckOutputs(const std::string& firstFrame) {
  if (!thread_) return true;
  // No frame is queued yet: the writer is this thread's for the moment.
  if (writer_.CheckOutputs(firstFrame)) return true;
  std::lock_guard<std::mutex> lock(mutex_);
  if (error_.empty()) error_ = writer_.Error();
  return false;
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
    if (!ok && error_.empty()) error_ = writer_.Error();
    framesWritten_ = writer_.FramesWritten();
    ++written_;
  }
  written_cv_.notify_one();
}

bool TFilmFrameQueue::ReportFailures() {
  std::vector<std::string> lines;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines.swap(lines_);
  }
  for (const std::string& line : lines) host_.Diagnostic(line);
  return Failed();
}

bool TFilmFrameQueue::Failed() { return !Error().empty(); }

std::string TFilmFrameQueue::Error() {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

int TFilmFrameQueue::FramesWritten() {
  std::lock_guard<std::mutex> lock(mutex_);
  return framesWritten_;
}

bool TFilmFrameQueue::Close() {
  thread_.reset();  // runs what is queued, then joins
  const bool closed = writer_.Close();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!closed && error_.empty()) error_ = writer_.Error();
    framesWritten_ = writer_.FramesWritten();
  }
  return !ReportFailures();
}

}  // namespace ork
