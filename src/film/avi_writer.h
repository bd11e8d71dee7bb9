// Uncompressed AVI output of a film: one video stream of 32-bit bottom-up
// bitmaps, no audio, no index, a fixed 216-byte header.
//
// Sizes in the header are 32-bit, and AVI 1.0 readers accept files of at
// most 1 GiB. A film that would grow beyond the file limit continues in
// further files of the same layout, "<name>-2.avi", "<name>-3.avi", ...
// Every file's header describes exactly the frames that file holds: it is
// planned for the frames the film still expects and rewritten on closing
// when fewer (a stopped film) or more frames arrived.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "model/host.h"

namespace ork {

constexpr int kAviHeaderBytes = 216;
constexpr uint64_t kAviFileLimit = uint64_t{1} << 30;  // bytes per file (1 GiB)

// The 216 header bytes for frames of width x height pixels, `frames` frames
// and `fps` frames per second. The caller keeps 208 + (width*height*4 + 8)
// * frames within 32 bits; fps below 1 is written as 1.
std::array<uint8_t, kAviHeaderBytes> AviHeaderBytes(int width, int height, uint32_t frames,
                                                    int fps);

// An AVI film being written: one file, or a chain of files when the film
// outgrows the file limit. Frames go out with one write each. Not copyable;
// the destructor closes (and so completes the header of) an open file.
class TAviStream {
 public:
  explicit TAviStream(THost& host = QuietHost());
  ~TAviStream();
  TAviStream(const TAviStream&) = delete;
  TAviStream& operator=(const TAviStream&) = delete;

  // Creates the first file at `path` (a native path, normally ending in
  // ".avi"); false when it cannot be created. `fileLimit` is the largest
  // size of one file in bytes (tests use small limits); it is capped so that
  // no size field overflows 32 bits.
  bool Create(const std::string& path, uint64_t fileLimit = kAviFileLimit);
  bool IsOpen() const { return file_ != nullptr; }

  // Completes the open file's header and closes it. False when any write or
  // the header rewrite failed since Create. Closing twice is harmless.
  bool Close();

  // True after a write failed; the stream is closed then and takes no
  // further frames.
  bool Failed() const { return failed_; }
  int FramesWritten() const { return framesTotal_; }
  // Every file created so far, in film order.
  const std::vector<std::string>& Files() const { return files_; }
  // Largest number of frames one file of this stream takes (0 before the
  // header is written).
  uint32_t FramesPerFile() const { return perFile_; }

 private:
  friend bool WriteAviHeader(TAviStream&, int, int, int, int);
  friend bool WriteAviFrame(TAviStream&, const TPixmap&);

  bool BeginFile();       // writes the header of the current file
  bool FinishFile();      // rewrites the header when the count differs, closes
  bool OpenNextFile();
  bool WriteBytes(const void* data, size_t size);
  void Fail();

  THost& host_;
  std::FILE* file_ = nullptr;
  std::string base_;      // path without ".avi"
  uint64_t limit_ = kAviFileLimit;
  bool failed_ = false;
  bool headerDone_ = false;
  int width_ = 0, height_ = 0, fps_ = 1;
  uint32_t planned_ = 0;      // frames the whole film expects
  uint32_t perFile_ = 0;      // capacity of one file
  uint32_t filePlanned_ = 0;  // frames the current header announces
  uint32_t fileFrames_ = 0;   // frames in the current file
  int framesTotal_ = 0;
  std::vector<std::string> files_;
  std::vector<uint8_t> chunk_;  // one frame chunk, reused
};

// Writes the header for `frames` planned frames of width x height pixels at
// `fps` frames per second to the stream's first file, and the diagnostic
// line "ChunkSize =" + RIFF size. False (nothing written) for a stream that
// is not open, a second header, an empty size or a frame too large for
// 32-bit sizes; fps below 1 counts as 1.
bool WriteAviHeader(TAviStream& stream, int width, int height, int frames, int fps);

// Appends one frame chunk: "00db", its size, the rows from the bottom row
// up, each pixel as the bytes blue, green, red, alpha. The picture must have
// the header's size; a picture of another size is refused (false, nothing
// written) because it would break the stream for every reader. False also
// when the write failed.
bool WriteAviFrame(TAviStream& stream, const TPixmap& picture);

}  // namespace ork
