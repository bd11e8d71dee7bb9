// Small files that declare huge pictures are refused before decoding, within
// a small address space (how fast: bench_picture_files).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "picture/picture_files.h"

namespace ork {
namespace {

const char* const kBombs[] = {
    "png_bomb.png",               // 334 bytes, 16384 x 16384 RGBA
    "jpeg_progressive_bomb.jpg",  // progressive, 16384 x 16384
    "jpeg_wide_bomb.jpg",         // 161 bytes, 51209 x 193
    "bmp_bomb.bmp",               // 70 bytes, 16384 x 16384
};

std::string Bomb(const char* name) {
  return std::string(ORK_SOURCE_DIR) + "/tests/fuzz/corpus/picture/" + name;
}

// The address space this process uses now, in bytes.
long long AddressSpace() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmSize:", 0) == 0) return std::stoll(line.substr(7)) * 1024;
  }
  return -1;
}

TEST(PictureBombs, RefusedWithinSixtyFourMegabytes) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than any limit";
#endif
  const long long used = AddressSpace();
  ASSERT_GT(used, 0);
  for (const char* name : kBombs) {
    ASSERT_TRUE(std::ifstream(Bomb(name)).good()) << name;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlim_t limit = static_cast<rlim_t>(used + (64LL << 20));
      const rlimit space{limit, limit};
      setrlimit(RLIMIT_AS, &space);
      _exit(LoadPicture(Bomb(name)) == nullptr ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << name << (WIFEXITED(status) ? " was loaded" : " ended the reader");
  }
}

}  // namespace
}  // namespace ork
