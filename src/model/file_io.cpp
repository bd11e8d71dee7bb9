#include "model/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace ork {

namespace {

// mkstemp creates the file with mode 0600; a saved file should get the
// permissions any newly created file gets.
mode_t CreationMode() {
  static const mode_t mode = [] {
    mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

constexpr size_t kTempSuffix = 7;  // "." and six letters or digits, as mkstemp makes them

bool LooksLikeTemp(const std::string& name) {
  if (name.size() <= kTempSuffix || name[name.size() - kTempSuffix] != '.') return false;
  for (size_t i = name.size() - kTempSuffix + 1; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

thread_local std::string t_saveError;

// Removes the temporary file `path` when no writer holds its lock. The
// lock taken here proves the writer gone (a lock dies with its process);
// the file is removed only while it is still the one locked, not a newer
// file that took the name meanwhile.
void RemoveIfAbandoned(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return;
  struct stat locked, named;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 &&
      ::lstat(path.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
      locked.st_ino == named.st_ino)
    ::unlink(path.c_str());
  ::close(fd);
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
      RemoveIfAbandoned(slash == std::string::npos ? *it : dir + *it);
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
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::vector<char> candidate = name;
    const int fd = mkostemp(candidate.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    // A sweep may take a file in the moment between its creation and its
    // lock; such a file has lost its name and is replaced by a new one. A
    // file system without locks still gets its file.
    struct stat st;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (locked && ::fstat(fd, &st) == 0 && st.st_nlink == 0) {
      ::close(fd);
      continue;
    }
    temp.assign(candidate.data());
    fchmod(fd, CreationMode());
    return fd;
  }
  errno = EEXIST;
  return -1;
}

bool SyncDirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  ::close(fd);
  return ok;
}

bool MoveIntoPlace(const std::string& temp, const std::string& path, bool replace, int& error) {
  error = 0;
  if (replace) {
    if (std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  } else if (::link(temp.c_str(), path.c_str()) == 0) {
    ::unlink(temp.c_str());
  } else {
    error = errno;
    // File systems without hard links may still rename without replacing.
    if (error != EEXIST &&
        ::syscall(SYS_renameat2, AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), 1 /*NOREPLACE*/) == 0)
      error = 0;
    else if (error != EEXIST)
      error = errno;
  }
  if (error != 0) return false;
  SyncDirectoryOf(path);
  return true;
}

std::string SystemErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r may return a static text instead of filling buffer.
  const auto text = strerror_r(error, buffer, sizeof buffer);
  if constexpr (std::is_same_v<decltype(text), const int>) return buffer;
  else return text;
}

bool ReadFileBytes(const std::string& nativePath, size_t maxBytes, std::string& bytes,
                   bool& truncated) {
  bytes.clear();
  truncated = false;
  struct stat st;
  if (stat(nativePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::FILE* f = std::fopen(nativePath.c_str(), "rb");
  if (!f) return false;
  char buf[65536];
  for (;;) {
    size_t want = sizeof buf;
    if (bytes.size() + want > maxBytes) want = maxBytes - bytes.size();
    if (want == 0) {
      truncated = std::fgetc(f) != EOF;
      break;
    }
    size_t got = std::fread(buf, 1, want, f);
    bytes.append(buf, got);
    if (got < want) break;
  }
  std::fclose(f);
  return true;
}

bool ReplaceFileBytes(const std::string& nativePath, std::string_view bytes, bool& openFailed) {
  openFailed = false;
  t_saveError.clear();
  TLeftoverTemps().RemoveFor(nativePath);
  std::string temp;
  const int fd = CreateTempBeside(nativePath, temp);
  std::FILE* f = fd < 0 ? nullptr : fdopen(fd, "wb");
  if (!f) {
    t_saveError = SystemErrorText(errno);
    if (fd >= 0) {
      close(fd);
      std::remove(temp.c_str());
    }
    openFailed = true;
    return false;
  }
  int error = 0;
  auto check = [&](bool done) {
    if (!done && error == 0) error = errno ? errno : EIO;
    return done;
  };
  bool ok = check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  ok = check(std::fflush(f) == 0) && ok;
  ok = check(std::ferror(f) == 0) && ok;
  // On the disk before it takes the name: after a power loss the name holds
  // the old file or the new one, never an empty one. Renamed while still
  // open, so that its lock keeps sweeps away until it has its name.
  ok = ok && check(::fsync(fd) == 0);
  int renameError = 0;
  if (ok) ok = MoveIntoPlace(temp, nativePath, true, renameError);
  if (!ok && error == 0) error = renameError;
  if (std::fclose(f) != 0 && !ok && error == 0) error = errno;
  if (!ok) {
    t_saveError = SystemErrorText(error ? error : EIO);
    std::remove(temp.c_str());
  }
  return ok;
}

const std::string& LastSaveError() { return t_saveError; }

void SetLastSaveError(const std::string& reason) { t_saveError = reason; }

std::string LastSaveReason() { return t_saveError.empty() ? "" : ": " + t_saveError; }

}  // namespace ork
