// JPEG through libjpeg. Library errors end in error_exit; ours jumps back
// instead of terminating the program, and the library's messages are kept
// off the terminal (a failed save is reported by the return value).
#include "picture/picture_files.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

#include "picture/picture_files_atomic.h"

namespace ork {

namespace {

struct TJpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->jump, 1);
}
void JpegMessage(j_common_ptr) {}

TJpegError* InitError(TJpegError& err) {
  jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  err.mgr.output_message = JpegMessage;
  return &err;
}

// Only plain C data lives in these frames, so the longjmp skips no destructor.
bool EncodeJpeg(FILE* out, const TPixmap& pixmap, int quality, uint8_t* row) {
  jpeg_compress_struct cinfo;
  TJpegError err;
  cinfo.err = &InitError(err)->mgr;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = static_cast<JDIMENSION>(pixmap.Width());
  cinfo.image_height = static_cast<JDIMENSION>(pixmap.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  const int w = pixmap.Width();
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint32_t* src = pixmap.Row(static_cast<int>(cinfo.next_scanline));
    for (int x = 0; x < w; ++x) {
      uint32_t p = src[x];
      row[3 * x + 0] = static_cast<uint8_t>(p >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(p);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

// Decodes into `out` (width * height * 3 bytes, allocated by the caller once
// the size is known through `allocate`).
bool DecodeJpeg(FILE* in, void (*allocate)(void*, int, int, uint8_t**), void* ctx) {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  cinfo.err = &InitError(err)->mgr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, in);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  uint8_t* pixels = nullptr;
  if (cinfo.output_components == 3 && cinfo.output_width > 0 && cinfo.output_height > 0 &&
      static_cast<long long>(cinfo.output_width) * cinfo.output_height <= kMaxPicturePixels) {
    allocate(ctx, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
             &pixels);
  }
  if (!pixels) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const size_t stride = static_cast<size_t>(cinfo.output_width) * 3;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {pixels + stride * cinfo.output_scanline};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

struct TDecodeTarget {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bytes;
};

void AllocateTarget(void* ctx, int width, int height, uint8_t** pixels) {
  auto* t = static_cast<TDecodeTarget*>(ctx);
  t->width = width;
  t->height = height;
  t->bytes.assign(static_cast<size_t>(width) * height * 3, 0);
  *pixels = t->bytes.data();
}

}  // namespace

bool SaveJpeg(const TPixmap& pixmap, const std::string& path, int quality,
              TWriteContext* context) {
  if (pixmap.Empty()) return WriteFailed(context, nullptr, "the picture is empty");
  if (pixmap.Width() > JPEG_MAX_DIMENSION || pixmap.Height() > JPEG_MAX_DIMENSION)
    return WriteFailed(context, nullptr, "the picture is too large for a JPEG file");
  if (quality < 0) quality = 0;
  if (quality > 100) quality = 100;
  std::vector<uint8_t> row(static_cast<size_t>(pixmap.Width()) * 3);
  TAtomicFile file(path, context ? context->leftovers : nullptr);
  if (!file.Stream()) return WriteFailed(context, &file, "cannot create the file");
  if (!EncodeJpeg(file.Stream(), pixmap, quality, row.data()))
    return WriteFailed(context, &file, "the JPEG encoder failed");
  return file.Commit() || WriteFailed(context, &file, "write error");
}

TPixmapPtr LoadJpeg(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return nullptr;
  TDecodeTarget target;
  bool ok = DecodeJpeg(in, AllocateTarget, &target);
  std::fclose(in);
  if (!ok) return nullptr;
  auto pixmap = std::make_shared<TPixmap>(target.width, target.height);
  const uint8_t* p = target.bytes.data();
  for (int y = 0; y < target.height; ++y) {
    uint32_t* dst = pixmap->Row(y);
    for (int x = 0; x < target.width; ++x, p += 3) {
      dst[x] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  return pixmap;
}

}  // namespace ork
