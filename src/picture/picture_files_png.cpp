// PNG through libpng. Writing uses the full interface because the simplified
// one cannot set the compression level; reading uses the simplified one,
// which converts every colour type and depth to 8-bit RGBA.
#include "picture/picture_files.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "picture/picture_files_atomic.h"

namespace ork {

namespace {

void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

// libpng chooses a row's filter by the smallest sum of the filtered bytes
// read as signed magnitudes, trying none, sub, up, average and Paeth in
// this order and keeping the first of equal sums. Its search filters the
// row once per candidate with a branch per byte, which costs more than the
// compression. RowFilter makes the same choice in one vectorised pass; the
// encoder then gives libpng that filter alone for the row, so the file
// holds the bytes libpng's own search would have written.
constexpr size_t kBpp = 4;  // bytes per RGBA pixel
constexpr png_byte kFilterMasks[5] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP,
                                      PNG_FILTER_AVG, PNG_FILTER_PAETH};

constexpr size_t kLanes = 8;
using TBytes = uint8_t __attribute__((vector_size(kLanes)));
using TShorts = int16_t __attribute__((vector_size(2 * kLanes)));

TShorts LoadLanes(const uint8_t* p) {
  TBytes b;
  std::memcpy(&b, p, sizeof b);
  return __builtin_convertvector(b, TShorts);
}
TShorts AbsLanes(TShorts v) {
  const TShorts sign = v >> 15;
  return (v ^ sign) - sign;
}
// |v| of the low byte taken as a signed byte (128 stays 128).
TShorts MagnitudeLanes(TShorts v) { return AbsLanes(static_cast<TShorts>(v << 8) >> 8); }

unsigned Magnitude(int v) {
  const unsigned u = static_cast<unsigned>(v) & 0xFFu;
  return u < 128 ? u : 256 - u;
}
int Paeth(int a, int b, int c) {
  const int pa = b > c ? b - c : c - b;
  const int pb = a > c ? a - c : c - a;
  const int pc = a + b > 2 * c ? a + b - 2 * c : 2 * c - a - b;
  return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

// The filter type (0 none ... 4 Paeth) for `row` of `bytes` bytes below
// `prev`.
int RowFilter(const uint8_t* row, const uint8_t* prev, size_t bytes) {
  uint64_t sum[5] = {};
  auto add = [&](int x, int a, int b, int c) {
    sum[0] += Magnitude(x);
    sum[1] += Magnitude(x - a);
    sum[2] += Magnitude(x - b);
    sum[3] += Magnitude(x - (a + b) / 2);
    sum[4] += Magnitude(x - Paeth(a, b, c));
  };
  size_t i = 0;
  for (; i < kBpp && i < bytes; ++i) add(row[i], 0, prev[i], 0);
  // kLanes bytes at a time; a lane gains at most 128 per step, so the
  // lanes are folded into the totals before 16 bits overflow.
  constexpr int kStepsPerFold = 256;
  while (i + kLanes <= bytes) {
    TShorts lane[5] = {};
    for (int step = 0; step < kStepsPerFold && i + kLanes <= bytes; ++step, i += kLanes) {
      const TShorts x = LoadLanes(row + i), a = LoadLanes(row + i - kBpp);
      const TShorts b = LoadLanes(prev + i), c = LoadLanes(prev + i - kBpp);
      const TShorts pa = AbsLanes(b - c), pb = AbsLanes(a - c), pc = AbsLanes(a + b - c - c);
      const TShorts takeA = (pa <= pb) & (pa <= pc), takeB = ~takeA & (pb <= pc);
      const TShorts paeth = (takeA & a) | (takeB & b) | (~(takeA | takeB) & c);
      lane[0] += MagnitudeLanes(x);
      lane[1] += MagnitudeLanes(x - a);
      lane[2] += MagnitudeLanes(x - b);
      lane[3] += MagnitudeLanes(x - ((a + b) >> 1));
      lane[4] += MagnitudeLanes(x - paeth);
    }
    for (int f = 0; f < 5; ++f)
      for (size_t k = 0; k < kLanes; ++k) sum[f] += static_cast<uint16_t>(lane[f][k]);
  }
  for (; i < bytes; ++i) add(row[i], row[i - kBpp], prev[i], prev[i - kBpp]);
  int best = 0;
  for (int f = 1; f < 5; ++f)
    if (sum[f] < sum[best]) best = f;
  return best;
}

// Only plain C data lives in this frame, so the longjmp of an encoder error
// skips no destructor. `rows` holds two rows of RGBA bytes: the one being
// written and the one before it.
bool EncodePng(FILE* out, const TPixmap& pixmap, int level, uint8_t* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, static_cast<png_uint_32>(pixmap.Width()),
               static_cast<png_uint_32>(pixmap.Height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const int w = pixmap.Width();
  const size_t rowBytes = static_cast<size_t>(w) * kBpp;
  uint8_t* row = rows;
  uint8_t* prev = rows + rowBytes;
  // libpng keeps the previous row only when it starts with the filters that
  // need one, so its own search does the first row; pictures one pixel
  // wide or high keep it throughout, libpng narrowing the candidates there.
  const bool chooseFilters = w > 1 && pixmap.Height() > 1;
  for (int y = 0; y < pixmap.Height(); ++y) {
    const uint32_t* src = pixmap.Row(y);
    for (int x = 0; x < w; ++x) {
      uint32_t p = src[x];
      row[4 * x + 0] = static_cast<uint8_t>(p >> 16);
      row[4 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[4 * x + 2] = static_cast<uint8_t>(p);
      row[4 * x + 3] = static_cast<uint8_t>(p >> 24);
    }
    if (chooseFilters && y > 0)
      png_set_filter(png, PNG_FILTER_TYPE_BASE, kFilterMasks[RowFilter(row, prev, rowBytes)]);
    png_write_row(png, row);
    std::swap(row, prev);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool SavePng(const TPixmap& pixmap, const std::string& path, int compressionLevel) {
  if (pixmap.Empty()) return false;
  if (compressionLevel < 0) compressionLevel = 0;
  if (compressionLevel > 9) compressionLevel = 9;
  std::vector<uint8_t> rows(static_cast<size_t>(pixmap.Width()) * kBpp * 2);
  TAtomicFile file(path);
  if (!file.Stream()) return false;
  if (!EncodePng(file.Stream(), pixmap, compressionLevel, rows.data())) return false;
  return file.Commit();
}

TPixmapPtr LoadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return nullptr;
  if (image.width == 0 || image.height == 0 ||
      static_cast<long long>(image.width) * image.height > kMaxPicturePixels) {
    png_image_free(&image);
    return nullptr;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  auto pixmap = std::make_shared<TPixmap>(static_cast<int>(image.width),
                                          static_cast<int>(image.height));
  const uint8_t* p = bytes.data();
  for (int y = 0; y < pixmap->Height(); ++y) {
    uint32_t* dst = pixmap->Row(y);
    for (int x = 0; x < pixmap->Width(); ++x, p += 4) {
      dst[x] = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  return pixmap;
}

}  // namespace ork
