#include "picture/picture_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace ork {

TPixmapPtr LoadPicture(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return nullptr;
  uint8_t head[8] = {};
  size_t n = std::fread(head, 1, sizeof head, in);
  std::fclose(in);
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (n == 8 && std::memcmp(head, kPngSignature, 8) == 0) return LoadPng(path);
  if (n >= 2 && head[0] == 'B' && head[1] == 'M') return LoadBmp(path);
  if (n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return LoadJpeg(path);
  return nullptr;
}

}  // namespace ork
