// The 24-bit BMP writer and a reader for uncompressed 24- and 32-bit BMPs
// (the bitmap fonts are such files).
#include "picture/picture_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "picture/picture_files_atomic.h"

namespace ork {

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t Get16(const uint8_t* p) { return p[0] | (uint32_t{p[1]} << 8); }
uint32_t Get32(const uint8_t* p) {
  return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

constexpr size_t kHeaderSize = 54;

}  // namespace

bool SaveBmp24(const TPixmap& pixmap, const std::string& path, TWriteContext* context) {
  if (pixmap.Empty()) return WriteFailed(context, nullptr, "the picture is empty");
  const int w = pixmap.Width();
  const int h = pixmap.Height();
  const uint64_t rowBytes = (3ull * w + 3) / 4 * 4;
  const uint64_t dataBytes = rowBytes * h;
  if (dataBytes + kHeaderSize > 0xFFFFFFFFull)  // sizes must fit the header
    return WriteFailed(context, nullptr, "the picture is too large for a BMP file");

  uint8_t header[kHeaderSize] = {};
  Put16(header + 0, 19778);  // "BM"
  Put32(header + 2, static_cast<uint32_t>(dataBytes + kHeaderSize));
  Put32(header + 10, kHeaderSize);
  Put32(header + 14, 40);
  Put32(header + 18, static_cast<uint32_t>(w));
  Put32(header + 22, static_cast<uint32_t>(h));
  Put16(header + 26, 1);
  Put16(header + 28, 24);
  Put32(header + 34, static_cast<uint32_t>(dataBytes));

  TAtomicFile file(path, context ? context->leftovers : nullptr);
  if (!file.Stream()) return WriteFailed(context, &file, "cannot create the file");
  if (std::fwrite(header, 1, kHeaderSize, file.Stream()) != kHeaderSize)
    return WriteFailed(context, &file, "write error");
  std::vector<uint8_t> row(rowBytes, 0);  // the padding bytes stay zero
  for (int y = h - 1; y >= 0; --y) {
    const uint32_t* src = pixmap.Row(y);
    uint8_t* d = row.data();
    for (int x = 0; x < w; ++x, d += 3) {
      d[0] = static_cast<uint8_t>(src[x]);
      d[1] = static_cast<uint8_t>(src[x] >> 8);
      d[2] = static_cast<uint8_t>(src[x] >> 16);
    }
    if (std::fwrite(row.data(), 1, row.size(), file.Stream()) != row.size())
      return WriteFailed(context, &file, "write error");
  }
  return file.Commit(context ? context->pending : nullptr) ||
         WriteFailed(context, &file, "write error");
}

TPixmapPtr LoadBmp(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return nullptr;
  // The header first: the pixels are read only when the file holds all
  // that it declares.
  std::vector<uint8_t> bytes(kHeaderSize);
  const long long fileBytes = OpenFileSize(in);
  if (std::fread(bytes.data(), 1, kHeaderSize, in) != kHeaderSize || bytes[0] != 'B' ||
      bytes[1] != 'M') {
    std::fclose(in);
    return nullptr;
  }
  const uint8_t* b = bytes.data();
  const uint32_t offset = Get32(b + 10);
  const uint32_t infoSize = Get32(b + 14);
  const int32_t width = static_cast<int32_t>(Get32(b + 18));
  const int32_t rawHeight = static_cast<int32_t>(Get32(b + 22));
  const uint32_t bits = Get16(b + 28);
  const uint32_t compression = Get32(b + 30);
  const bool bottomUp = rawHeight > 0;
  const int64_t height = bottomUp ? rawHeight : -static_cast<int64_t>(rawHeight);
  const uint64_t bytesPerPixel = bits / 8;
  const uint64_t rowBytes = (bytesPerPixel * std::max<int32_t>(width, 0) + 3) / 4 * 4;
  // Uncompressed: a pixel takes at least three bytes of the file.
  if (infoSize < 40 || (bits != 24 && bits != 32) || compression != 0 ||
      !PlausiblePictureSize(width, height, fileBytes, 1.0 / 3) || offset < kHeaderSize ||
      offset + rowBytes * height > static_cast<uint64_t>(fileBytes)) {
    std::fclose(in);
    return nullptr;
  }
  bytes.resize(offset + rowBytes * height);
  const size_t rest = bytes.size() - kHeaderSize;
  const bool complete = std::fread(bytes.data() + kHeaderSize, 1, rest, in) == rest;
  std::fclose(in);
  if (!complete) return nullptr;
  b = bytes.data();

  auto pixmap = std::make_shared<TPixmap>(width, static_cast<int>(height));
  for (int64_t r = 0; r < height; ++r) {
    const uint8_t* s = b + offset + rowBytes * r;
    uint32_t* dst = pixmap->Row(static_cast<int>(bottomUp ? height - 1 - r : r));
    for (int32_t x = 0; x < width; ++x, s += bytesPerPixel) {
      // The fourth byte of 32-bit files is unused by many writers, so the
      // pixels are taken as opaque.
      dst[x] = 0xFF000000u | (uint32_t{s[2]} << 16) | (uint32_t{s[1]} << 8) | s[0];
    }
  }
  return pixmap;
}

}  // namespace ork
