#include "model/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
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
  ok = check(std::fclose(f) == 0) && ok;
  if (ok) ok = check(std::rename(temp.c_str(), nativePath.c_str()) == 0);
  if (!ok) {
    t_saveError = SystemErrorText(error);
    std::remove(temp.c_str());
  }
  return ok;
}

const std::string& LastSaveError() { return t_saveError; }

void SetLastSaveError(const std::string& reason) { t_saveError = reason; }

std::string LastSaveReason() { return t_saveError.empty() ? "" : ": " + t_saveError; }

}  // namespace ork
