// Uncompressed AVI output of a film: one video stream of 32-bit bottom-up
// bitmaps, no audio.
//
// A film whose planned size stays within 1 GiB (the limit of AVI 1.0
// readers) is written in the plain layout: the fixed 216-byte header, the
// frame chunks, no index. A longer film is one file as well, in the OpenDML
// layout: the header also holds a super index ("indx") and the "odml" list
// with the total frame count; the frames fill RIFF chunks of at most 1 GiB,
// the first "RIFF AVI ", the others "RIFF AVIX", each with its standard
// index ("ix00") at the start of its "movi" list.
//
// The file is written under a temporary name beside the target and renamed
// into place on Close, once every header describes exactly the frames that
// are present (fewer than planned when the film stopped early) and the
// file is on the disk. A process killed while writing leaves the old film
// untouched. After a failed write (disk full, file too large) the frames
// already complete are kept: the partial frame is cut off and the headers
// are set to the frames present, but the file takes the target's name only
// where no film of that name exists, and not at all without a frame: a
// failed film never replaces an older one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "model/file_io.h"
#include "model/host.h"

namespace ork {

constexpr int kAviHeaderBytes = 216;
// Largest planned size of a film in the plain layout, and largest RIFF
// chunk of a film in the OpenDML layout (bytes).
constexpr uint64_t kAviFileLimit = uint64_t{1} << 30;

// The 216 header bytes of the plain layout for frames of width x height
// pixels, `frames` frames and `fps` frames per second. The caller keeps
// 208 + (width*height*4 + 8) * frames within 32 bits; fps below 1 is
// written as 1.
std::array<uint8_t, kAviHeaderBytes> AviHeaderBytes(int width, int height, uint32_t frames,
                                                    int fps);

// An AVI film being written. Frames go out with one write each. Not
// copyable; the destructor closes as Close does.
class TAviStream {
 public:
  explicit TAviStream(THost& host = QuietHost());
  ~TAviStream();
  TAviStream(const TAviStream&) = delete;
  TAviStream& operator=(const TAviStream&) = delete;

  // Starts the film that will be `path` (a native path): removes leftover
  // temporary files of that target and creates a new one beside it. False
  // (Error says why) when it cannot be created. `limit` replaces the 1 GiB
  // of kAviFileLimit (tests use small limits).
  bool Create(const std::string& path, uint64_t limit = kAviFileLimit);
  // True from Create until Close or the first failed write.
  bool IsOpen() const { return fd_ >= 0 && !failed_; }

  // Completes the headers and renames the file into place: over an older
  // film, or after a failed write only where none exists. False when a
  // write had failed (what was complete may still have been kept, see
  // above) or the completion failed. Closing twice is harmless.
  bool Close();
  // Close in two steps, for a film that ends several files together:
  // Finish completes the headers and syncs the file, which keeps its
  // temporary name (false when that failed); Publish then names it as
  // `keep` says (a failed film with no frame is never kept) and closes it.
  bool Finish();
  bool Publish(TKeepFile keep);
  // Takes back the last frame written, whose siblings in other files
  // could not be written. False when there is none.
  bool DropLastFrame();

  bool Failed() const { return failed_; }
  // After a failure: the target's path and the reason, e.g.
  // "Output/F.avi: No space left on device".
  const std::string& Error() const { return error_; }
  int FramesWritten() const { return static_cast<int>(frames_); }
  const std::string& Path() const { return path_; }
  // True after a Close that put the film under its name.
  bool Kept() const { return kept_; }
  // True when the header chose the OpenDML layout.
  bool Extended() const { return extended_; }

 private:
  friend bool WriteAviHeader(TAviStream&, int, int, int, int);
  friend bool WriteAviFrame(TAviStream&, const TPixmap&);

  // One RIFF chunk of the OpenDML layout.
  struct TRiff {
    uint64_t start = 0;     // offset of "RIFF"
    uint64_t list = 0;      // offset of its "movi" LIST
    uint64_t index = 0;     // offset of its "ix00" chunk
    uint32_t capacity = 0;  // index entries reserved
    uint32_t frames = 0;
  };

  // Frames one RIFF chunk takes after `overhead` bytes; at least one.
  uint32_t RiffCapacity(uint64_t overhead) const;
  bool BeginExtended(int frames);
  bool BeginRiff();          // appends "RIFF AVIX", its movi list and index
  bool FinishRiff(const TRiff& riff);
  bool Complete();           // every header set to the frames present
  bool Append(const void* data, size_t size);
  bool Put(const void* data, size_t size, uint64_t offset);
  bool PutU32(uint32_t value, uint64_t offset);
  bool Fail(int error);
  bool Fail(const std::string& reason);

  THost& host_;
  int fd_ = -1;
  std::string path_, temp_;
  uint64_t limit_ = kAviFileLimit;
  bool failed_ = false;
  std::string error_;
  bool headerDone_ = false;
  bool finished_ = false, finishedOk_ = false;
  bool extended_ = false;
  bool kept_ = false;
  int width_ = 0, height_ = 0, fps_ = 1;
  uint32_t planned_ = 0;  // frames the film expects
  uint32_t frames_ = 0;   // frames written completely
  uint64_t end_ = 0;      // file size after the last complete piece
  // Plain layout: the frames the header announces; the largest count that
  // keeps the file within the limit.
  uint32_t announced_ = 0;
  uint32_t plainCapacity_ = 0;
  // OpenDML layout.
  std::vector<TRiff> riffs_;
  uint32_t superEntries_ = 0;  // "indx" entries reserved in the header
  uint64_t dmlhAt_ = 0;        // offset of the total frame count in "dmlh"
  std::vector<uint8_t> chunk_;  // one frame chunk, reused
};

// Writes the header for `frames` planned frames of width x height pixels
// at `fps` frames per second, and the diagnostic line "ChunkSize =" + the
// (first) RIFF size. The planned size chooses the layout. False for a
// stream that is not open, a second header, an empty size or a frame too
// large for 32-bit sizes (nothing written), or a failed write; fps below
// 1 counts as 1.
bool WriteAviHeader(TAviStream& stream, int width, int height, int frames, int fps);

// Appends one frame chunk: "00db", its size, the rows from the bottom row
// up, each pixel as the bytes blue, green, red, alpha. The picture must have
// the header's size; a picture of another size is refused (false, nothing
// written) because it would break the stream for every reader. False also
// when the write failed or the film outgrew the size planned for it.
bool WriteAviFrame(TAviStream& stream, const TPixmap& picture);

}  // namespace ork
