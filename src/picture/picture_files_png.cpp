// PNG through libpng. Writing uses the full interface because the simplified
// one cannot set the compression level; reading uses the simplified one,
// which converts every colour type and depth to 8-bit RGBA.
#include "picture/picture_files.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/picture_files_atomic.h"
#include "picture/picture_files_png_filter.h"

namespace ork {

namespace {

void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

constexpr size_t kBpp = 4;  // bytes per RGBA pixel
// libpng's filter types 0-4 as the masks png_set_filter takes.
constexpr png_byte kFilterMasks[5] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP,
                                      PNG_FILTER_AVG, PNG_FILTER_PAETH};

const uint8_t* RowBytes(const TPixmap& pixmap, int y) {
  return reinterpret_cast<const uint8_t*>(pixmap.Row(y));
}

// ARGB pixels to PNG's red, green, blue, alpha bytes. In memory a little-
// endian ARGB pixel is blue, green, red, alpha: only red and blue swap,
// four pixels at a time.
void ToRgba(const uint32_t* src, int w, uint8_t* out) {
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    using TPixels = uint32_t __attribute__((vector_size(16)));
    for (; x + 4 <= w; x += 4) {
      TPixels p;
      std::memcpy(&p, src + x, sizeof p);
      const TPixels q = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
      std::memcpy(out + 4 * x, &q, sizeof q);
    }
  }
  for (; x < w; ++x) {
    const uint32_t p = src[x];
    out[4 * x + 0] = static_cast<uint8_t>(p >> 16);
    out[4 * x + 1] = static_cast<uint8_t>(p >> 8);
    out[4 * x + 2] = static_cast<uint8_t>(p);
    out[4 * x + 3] = static_cast<uint8_t>(p >> 24);
  }
}

// Only plain C data lives in this frame, so the longjmp of an encoder error
// skips no destructor.
bool EncodePng(FILE* out, const TPixmap& pixmap, int level, uint8_t* row) {
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
  // Each row gets the filter libpng's own search would pick, found faster
  // (PngRowFilter) and set as the only one for that row. libpng keeps the
  // previous row only when it starts with the filters that need one, so
  // its search does the first row; pictures one pixel wide or high keep
  // the search throughout, libpng narrowing the candidates there.
  const bool chooseFilters = w > 1 && pixmap.Height() > 1;
  for (int y = 0; y < pixmap.Height(); ++y) {
    ToRgba(pixmap.Row(y), w, row);
    if (chooseFilters && y > 0) {
      const int filter = PngRowFilter(RowBytes(pixmap, y), RowBytes(pixmap, y - 1), rowBytes);
      png_set_filter(png, PNG_FILTER_TYPE_BASE, kFilterMasks[filter]);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool SavePng(const TPixmap& pixmap, const std::string& path, int compressionLevel,
             TWriteContext* context) {
  if (pixmap.Empty()) return WriteFailed(context, nullptr, "the picture is empty");
  if (compressionLevel < 0) compressionLevel = 0;
  if (compressionLevel > 9) compressionLevel = 9;
  std::vector<uint8_t> row(static_cast<size_t>(pixmap.Width()) * kBpp);
  TAtomicFile file(path, context ? context->leftovers : nullptr);
  if (!file.Stream()) return WriteFailed(context, &file, "cannot create the file");
  if (!EncodePng(file.Stream(), pixmap, compressionLevel, row.data()))
    return WriteFailed(context, &file, "the PNG encoder failed");
  return file.Commit() || WriteFailed(context, &file, "write error");
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
