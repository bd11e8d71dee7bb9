#include "gui/png_size.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace ork {

bool ReadPngSize(const std::string& path, int& width, int& height) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  unsigned char head[24];
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (got != sizeof head || std::memcmp(head, kSignature, 8) != 0 ||
      std::memcmp(head + 12, "IHDR", 4) != 0)
    return false;
  auto be32 = [&](int at) {
    return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
           (std::uint32_t{head[at + 2]} << 8) | std::uint32_t{head[at + 3]};
  };
  const std::uint32_t w = be32(16), h = be32(20);
  if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace ork
