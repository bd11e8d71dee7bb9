// PNG through libpng's full interface: writing because the simplified one
// cannot set the compression level, reading because only the full one takes
// limits on the picture size and the memory of ancillary chunks. Reading
// converts every colour type and depth to 8-bit ARGB.
#include "picture/picture_files.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>
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
  return file.Commit(context ? context->pending : nullptr) ||
         WriteFailed(context, &file, "write error");
}

namespace {

// Bounds libpng applies while it reads: the largest side the program
// computes, and ancillary chunks (text, profiles) that a picture never needs
// big or many.
constexpr png_uint_32 kMaxChunkBytes = 1 << 20;
constexpr png_uint_32 kMaxCachedChunks = 256;
// Deflate's best ratio: one byte of compressed data never yields more.
constexpr double kDeflateMostBytesPerByte = 1032;

// Reads the picture into `rows` once `allocate` has set them up for the
// size the header declares (null rows refuse the size). Pixels come as
// blue, green, red, alpha bytes, an ARGB word in memory on this platform.
// Only plain C data lives in this frame, so the longjmp of a decoder error
// skips no destructor.
bool DecodePng(FILE* in, long long fileBytes, uint32_t** (*allocate)(void*, int, int),
               void* target) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
  png_init_io(png, in);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  const int bitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);
  if (!PlausiblePictureSize(w, h, fileBytes, kDeflateMostBytesPerByte * 8 / bitsPerPixel)) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_expand(png);  // palette and low depths to 8 bits, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  uint32_t** rows = allocate(target, static_cast<int>(w), static_cast<int>(h));
  if (!rows || png_get_rowbytes(png, info) != static_cast<size_t>(w) * kBpp) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < h; ++y) {
      png_read_row(png, reinterpret_cast<png_bytep>(rows[y]), nullptr);
    }
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

struct TPngTarget {
  TPixmapPtr pixmap;
  std::vector<uint32_t*> rows;
};

uint32_t** AllocatePng(void* target, int width, int height) {
  auto* t = static_cast<TPngTarget*>(target);
  try {
    t->pixmap = std::make_shared<TPixmap>(width, height);
    t->rows.resize(static_cast<size_t>(height));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  for (int y = 0; y < height; ++y) t->rows[y] = t->pixmap->Row(y);
  return t->rows.data();
}

}  // namespace

TPixmapPtr LoadPng(const std::string& path) {
  static_assert(std::endian::native == std::endian::little,
                "blue, green, red, alpha bytes are an ARGB word");
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return nullptr;
  TPngTarget target;
  const bool ok = DecodePng(in, OpenFileSize(in), AllocatePng, &target);
  std::fclose(in);
  return ok ? target.pixmap : nullptr;
}

}  // namespace ork
