#include "model/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace ork {

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
  std::string temp = nativePath + ".~" + std::to_string(static_cast<long>(getpid()));
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    openFailed = true;
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::ferror(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), nativePath.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace ork
