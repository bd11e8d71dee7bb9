// Picture files: writing a picture as JPEG, PNG or uncompressed 24-bit BMP,
// and reading PNG, JPEG and BMP pictures back into 32-bit ARGB pixmaps.
//
// All paths here are native paths (as fopen takes them; see NativePath in
// model/paths.h for turning a program path into one). The writers replace
// an existing file only after the new one has been written completely: on
// any failure (directory missing, disk full, encoder error) they return
// false, leave an existing file under that name untouched and leave no
// partial file behind. An empty pixmap is never written (false). Leftover
// temporary files of writers killed while writing the same target are
// removed (see picture_files_atomic.h).
#pragma once

#include <cstdio>
#include <string>

#include "engine/pixmap.h"

namespace ork {

class TLeftoverTemps;
class TPendingFiles;

// What a run of writes shares, and what a failed write tells its caller.
struct TWriteContext {
  // Lists each directory once for leftover temporary files; null: the
  // target's directory is listed for this one write.
  TLeftoverTemps* leftovers = nullptr;
  // When given, a file written completely waits there under its temporary
  // name instead of taking its name (TPendingFiles::Publish gives it).
  TPendingFiles* pending = nullptr;
  // Set by a failed write: why, as the system says it ("No space left on
  // device"), or what was wrong with the picture.
  std::string reason;
};

// JPEG, 8 bits per colour channel, the alpha byte dropped. Quality 0-100.
bool SaveJpeg(const TPixmap& pixmap, const std::string& path, int quality = 90,
              TWriteContext* context = nullptr);

// PNG, 8-bit RGBA (colour type 6), alpha written as it is in the pixmap.
// Compression level is zlib's 0-9.
bool SavePng(const TPixmap& pixmap, const std::string& path, int compressionLevel = 5,
             TWriteContext* context = nullptr);

// Uncompressed 24-bit BMP: 54-byte header (file header and 40-byte
// information header, no colour table), rows bottom-up, each row blue,
// green, red per pixel and zero-padded to a multiple of 4 bytes.
bool SaveBmp24(const TPixmap& pixmap, const std::string& path, TWriteContext* context = nullptr);

// Readers: null when the file is missing, unreadable, damaged or of a kind
// the reader does not know. Every read pixel gets its alpha from the file
// (255 for formats without alpha).
TPixmapPtr LoadPng(const std::string& path);   // any PNG colour type and depth
TPixmapPtr LoadJpeg(const std::string& path);  // greyscale or colour JPEG
TPixmapPtr LoadBmp(const std::string& path);   // uncompressed 24- or 32-bit BMP
// Chooses the reader by the file's first bytes, not by its extension.
TPixmapPtr LoadPicture(const std::string& path);

// Pictures larger than this many pixels, or with a side longer than the
// largest picture the program computes, are refused by the readers before
// anything is decoded; so is a header that asks for more pixels than the
// file's bytes can hold at the format's best compression. A damaged or
// hostile file thus costs what its own size costs, not what it declares.
inline constexpr long long kMaxPicturePixels = 1LL << 28;
inline constexpr int kMaxPictureSide = 16384;
// The readers' size check; `fileBytes` times `pixelsPerByte` (the format's
// best compression) bounds the pixels a file of that size can hold.
bool PlausiblePictureSize(long long width, long long height, long long fileBytes,
                          double pixelsPerByte);
// The size of an open file in bytes (its position kept), -1 when unknown.
long long OpenFileSize(std::FILE* file);

}  // namespace ork
