#include "picture/picture_files_atomic.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>
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

bool TAtomicFile::Commit(TPendingFiles* pending) {
  if (!stream_) return false;
  // A write that failed earlier left its errno; a failing flush sets its own.
  const bool hadError = std::ferror(stream_) != 0;
  bool ok = std::fflush(stream_) == 0 && !hadError;
  if (!ok) Note(errno);
  // On the disk before it takes the name: after a power loss the name holds
  // the old file or the new one, never an empty one.
  if (ok && ::fsync(fileno(stream_)) != 0) {
    ok = false;
    Note(errno);
  }
  if (ok && pending) {
    // The duplicate keeps the lock while the file waits.
    const int fd = ::dup(fileno(stream_));
    if (fd < 0) {
      ok = false;
      Note(errno);
    } else {
      pending->Add(temp_, path_, fd);
      temp_.clear();
    }
  } else if (ok) {
    // Renamed while open: its lock keeps sweeps away until it has its name.
    int error = 0;
    ok = MoveIntoPlace(temp_, path_, true, error);
    if (ok) temp_.clear();
    else Note(error);
  }
  // After the sync a failing close loses nothing.
  bool closed = true;
  CloseStream(closed);
  if (!ok) Discard();
  return ok;
}

void TPendingFiles::Add(const std::string& temp, const std::string& path, int fd) {
  files_.push_back(TFile{temp, path, fd});
}

bool TPendingFiles::Publish(std::string& error) {
  bool ok = true;
  size_t i = 0;
  for (; i < files_.size() && ok; ++i) {
    TFile& f = files_[i];
    int reason = 0;
    ok = MoveIntoPlace(f.temp, f.path, true, reason);
    if (!ok) {
      error = f.path + ": " + SystemErrorText(reason);
      std::remove(f.temp.c_str());
    }
    ::close(f.fd);
  }
  files_.erase(files_.begin(), files_.begin() + static_cast<std::ptrdiff_t>(i));
  Discard();
  return ok;
}

void TPendingFiles::Discard() {
  for (TFile& f : files_) {
    std::remove(f.temp.c_str());
    ::close(f.fd);
  }
  files_.clear();
}

}  // namespace ork
