#include "picture/picture_files_atomic.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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
  // The writers hand over a row or a few kilobytes at a time; stdio's
  // default block-sized buffer would make a system call of each.
  constexpr size_t kBufferBytes = 1 << 16;
  buffer_ = std::make_unique_for_overwrite<char[]>(kBufferBytes);
  std::setvbuf(stream_, buffer_.get(), _IOFBF, kBufferBytes);
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() {
  if (stream_) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temp_.empty()) {
    std::remove(temp_.c_str());
    temp_.clear();
  }
}

bool TAtomicFile::Commit() {
  if (!stream_) return false;
  bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
  ok = (std::fclose(stream_) == 0) && ok;
  stream_ = nullptr;
  if (ok) ok = std::rename(temp_.c_str(), path_.c_str()) == 0;
  if (ok) {
    temp_.clear();
  } else {
    Discard();
  }
  return ok;
}

}  // namespace ork
