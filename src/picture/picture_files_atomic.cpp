#include "picture/picture_files_atomic.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace ork {

namespace {

// mkstemp creates the file with mode 0600; a saved picture should get the
// permissions any newly created file gets.
mode_t CreationMode() {
  static const mode_t mode = [] {
    mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

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

TAtomicFile::TAtomicFile(const std::string& path) : path_(path) {
  if (path.empty()) return;
  std::vector<char> name(path.begin(), path.end());
  const char suffix[] = ".XXXXXX";
  name.insert(name.end(), suffix, suffix + sizeof(suffix));  // includes the NUL
  int fd = mkstemp(name.data());
  if (fd < 0) return;
  temp_.assign(name.data());
  fchmod(fd, CreationMode());
  stream_ = fdopen(fd, "wb");
  if (!stream_) {
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
  if (std::fclose(stream_) != 0) ok = false;
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

bool TAtomicFile::Commit() {
  if (!stream_) return false;
  bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
  CloseStream(ok);
  if (ok) ok = std::rename(temp_.c_str(), path_.c_str()) == 0;
  if (ok) {
    temp_.clear();
  } else {
    Discard();
  }
  return ok;
}

}  // namespace ork
