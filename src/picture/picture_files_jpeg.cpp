// JPEG through libjpeg. Library errors end in error_exit; ours jumps back
// instead of terminating the program, and the library's messages are kept
// off the terminal (a failed save is reported by the return value).
#include "picture/picture_files.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <new>
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

// What the decoder may take beyond the picture itself (the whole-picture
// coefficients of a progressive file, for one; six bytes a pixel, where the
// file spends a fraction of a byte): a file that needs more is refused, not
// decoded from a backing store.
constexpr long long kLeastDecoderMemory = 48LL << 20;
constexpr long long kMostDecoderMemory = 1LL << 30;
constexpr long long kDecoderBytesPerFileByte = 256;
// Scans of a progressive file: the encoders' scripts use about ten; a file
// with thousands makes every scan a pass over the whole picture.
constexpr int kMaxScans = 256;
// Huffman coding spends at least one bit on every 8 x 8 block of the first
// component; arithmetic coding can spend much less.
constexpr double kHuffmanPixelsPerByte = 8 * 64;
constexpr double kArithmeticPixelsPerByte = 64 * kHuffmanPixelsPerByte;

void CountScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    d->err->msg_code = 0;  // the message is never shown
    d->err->error_exit(cinfo);
  }
}

// Decodes into the pixels `allocate` provides once the size is known (width
// * height * 4 bytes; none refuses the size).
bool DecodeJpeg(FILE* in, long long fileBytes, void (*allocate)(void*, int, int, uint8_t**),
                void* ctx) {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  jpeg_progress_mgr progress{};
  cinfo.err = &InitError(err)->mgr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = static_cast<long>(std::clamp(
      fileBytes * kDecoderBytesPerFileByte, kLeastDecoderMemory, kMostDecoderMemory));
  progress.progress_monitor = CountScans;
  cinfo.progress = &progress;
  jpeg_stdio_src(&cinfo, in);
  jpeg_read_header(&cinfo, TRUE);
  if (!PlausiblePictureSize(cinfo.image_width, cinfo.image_height, fileBytes,
                            cinfo.arith_code ? kArithmeticPixelsPerByte
                                             : kHuffmanPixelsPerByte)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  cinfo.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  uint8_t* pixels = nullptr;
  if (cinfo.output_components == 4 && cinfo.output_width == cinfo.image_width &&
      cinfo.output_height == cinfo.image_height) {
    allocate(ctx, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
             &pixels);
  }
  if (!pixels) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const size_t stride = static_cast<size_t>(cinfo.output_width) * 4;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {pixels + stride * cinfo.output_scanline};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

// The decoder writes blue, green, red and an opaque fourth byte: on this
// platform an ARGB word, so the pixmap takes the rows as they are.
void AllocatePixmap(void* ctx, int width, int height, uint8_t** pixels) {
  static_assert(std::endian::native == std::endian::little);
  auto* pixmap = static_cast<TPixmapPtr*>(ctx);
  try {
    *pixmap = std::make_shared<TPixmap>(width, height);
  } catch (const std::bad_alloc&) {
    return;
  }
  *pixels = reinterpret_cast<uint8_t*>((*pixmap)->Data());
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
  return file.Commit(context ? context->pending : nullptr) ||
         WriteFailed(context, &file, "write error");
}

TPixmapPtr LoadJpeg(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return nullptr;
  TPixmapPtr pixmap;
  const bool ok = DecodeJpeg(in, OpenFileSize(in), AllocatePixmap, &pixmap);
  std::fclose(in);
  return ok ? pixmap : nullptr;
}

}  // namespace ork
