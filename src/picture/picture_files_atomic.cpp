#include "picture/picture_files_atomic.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "picture/picture_files.h"

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

constexpr size_t kTempSuffix = 7;  // "." and six letters or digits, as mkstemp makes them

bool LooksLikeTemp(const std::string& name) {
  if (name.size() <= kTempSuffix || name[name.size() - kTempSuffix] != '.') return false;
  for (size_t i = name.size() - kTempSuffix + 1; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

}  // namespace

void TLeftoverTemps::RemoveFor(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string target = slash == std::string::npos ? path : path.substr(slash + 1);
  auto [at, fresh] = listed_.try_emplace(dir);
  std::vector<std::string>& names = at->second;
  if (fresh) {
    if (DIR* d = opendir(dir.c_str())) {
      while (const dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (LooksLikeTemp(name)) names.push_back(std::move(name));
      }
      closedir(d);
    }
  }
  for (auto it = names.begin(); it != names.end();) {
    if (it->size() == target.size() + kTempSuffix && it->compare(0, target.size(), target) == 0) {
      std::remove((slash == std::string::npos ? *it : dir + *it).c_str());
      it = names.erase(it);
    } else {
      ++it;
    }
  }
}

int CreateTempBeside(const std::string& path, std::string& temp) {
  std::vector<char> name(path.begin(), path.end());
  const char suffix[] = ".XXXXXX";
  name.insert(name.end(), suffix, suffix + sizeof(suffix));  // includes the NUL
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  temp.assign(name.data());
  fchmod(fd, CreationMode());
  return fd;
}

std::string SystemErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r may return a static text instead of filling buffer.
  const auto text = strerror_r(error, buffer, sizeof buffer);
  if constexpr (std::is_same_v<decltype(text), const int>) return buffer;
  else return text;
}

bool WriteFailed(TWriteContext* context, const TAtomicFile* file, const char* otherwise) {
  if (context) {
    context->reason = file ? file->Reason() : std::string();
    if (context->reason.empty()) context->reason = otherwise;
  }
  return false;
}

TAtomicFile::TAtomicFile(const std::string& path, TLeftoverTemps* leftovers) : path_(path) {
  if (path.empty()) return;
  if (leftovers) {
    leftovers->RemoveFor(path);
  } else {
    TLeftoverTemps once;
    once.RemoveFor(path);
  }
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
