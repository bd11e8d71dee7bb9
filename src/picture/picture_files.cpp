#include "picture/picture_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/movie.h"

namespace ork {

static_assert(kMaxPictureSide == kMaxOutputSide, "a picture the program computes can be read");

bool PlausiblePictureSize(long long width, long long height, long long fileBytes,
                          double pixelsPerByte) {
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    return false;
  }
  const double pixels = static_cast<double>(width) * static_cast<double>(height);
  return pixels <= static_cast<double>(kMaxPicturePixels) && fileBytes >= 0 &&
         pixels <= static_cast<double>(fileBytes) * pixelsPerByte;
}

long long OpenFileSize(std::FILE* file) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(file);
  std::fseek(file, here, SEEK_SET);
  return size;
}

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
