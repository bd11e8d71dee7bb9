#include "picture/picture_files_atomic.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "picture/picture_files.h"

namespace ork {

namespace {

// The writers hand over a row or a few kilobytes at a time, and stdio's
// default block-sized buffer would make a system call of each. One larger
// buffer per thread is lent to one file at a time: allocating it per file
// costs more than it saves, the heap being trimmed and faulted in again
// around every picture.
constexpr size_t kBufferBytes = 1 << 16;
struct TThreadBuffer {
  std::unique_ptr<char[]> bytes;
  bool lent = false;
};
thread_local TThreadBuffer t_buffer;

}  // namespace

bool WriteFailed(TWriteContext* context, const TAtomicFile* file, const char* otherwise) {
  if (context) {
    context->reason = file ? file->Reason() : std::string();
    if (context->reason.empty()) context->reason = otherwise;
  }
  return false;
}

TAtomicFile::TAtomicFile(const std::string& path, TLeftoverTemps* leftovers) : path_(path) {
  if (path.empty()) return;
  if (leftovers)
    leftovers->RemoveFor(path);
  else
    TLeftoverTemps().RemoveFor(path);
  const int fd = CreateTempBeside(path, temp_);
  if (fd < 0) {
    Note(errno);
    return;
  }
  stream_ = fdopen(fd, "wb");
  if (!stream_) {
    Note(errno);
    close(fd);
    std::remove(temp_.c_str());
    temp_.clear();
    return;
  }
  if (!t_buffer.lent) {
    if (!t_buffer.bytes) t_buffer.bytes = std::make_unique_for_overwrite<char[]>(kBufferBytes);
    t_buffer.lent = borrowed_ = true;
    std::setvbuf(stream_, t_buffer.bytes.get(), _IOFBF, kBufferBytes);
  }
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::CloseStream(bool& ok) {
  if (std::fclose(stream_) != 0 && ok) {
    ok = false;
    Note(errno);
  }
  stream_ = nullptr;
  if (borrowed_) t_buffer.lent = borrowed_ = false;
}

void TAtomicFile::Discard() {
  if (stream_) {
    bool ignored = true;
    CloseStream(ignored);
  }
  if (!temp_.empty()) {
    std::remove(temp_.c_str());
    temp_.clear();
  }
}

void TAtomicFile::Note(int error) {
  if (error_ == 0) error_ = error;
}

std::string TAtomicFile::Reason() const {
  if (error_ != 0) return SystemErrorText(error_);
  // An encoder stops at the first failed write; errno is still that write's.
  if (stream_ && std::ferror(stream_) && errno != 0) return SystemErrorText(errno);
  return std::string();
}

bool TAtomicFile::Commit() {
  if (!stream_) return false;
  // A write that failed earlier left its errno; a failing flush sets its own.
  const bool hadError = std::ferror(stream_) != 0;
  bool ok = std::fflush(stream_) == 0 && !hadError;
  if (!ok) Note(errno);
  CloseStream(ok);
  if (ok) {
    ok = std::rename(temp_.c_str(), path_.c_str()) == 0;
    if (!ok) Note(errno);
  }
  if (ok) {
    temp_.clear();
  } else {
    Discard();
  }
  return ok;
}

}  // namespace ork
