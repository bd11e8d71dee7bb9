// A compressed video file of a film's frames: MP4 with H.264 or WebM with
// VP9, encoded by FFmpeg's libraries (the encoders "libx264" and
// "libvpx-vp9", looked up by name when the file is opened).
//
// Frames are stored as yuv420p, the pixel format every player takes; a
// picture of odd width or height is padded to even size by repeating its
// last column or row. Every frame lasts exactly 1 / fps seconds. The
// quality is constant (no bit rate target), high enough that every decoded
// frame keeps at least 40 dB luma PSNR against the picture.
//
// The file is written under a temporary name beside the target and renamed
// by Close, so a film stopped early still leaves a complete, playable file
// of the frames written, and a failed film never leaves half a file under
// the final name. Open removes the temporary files that writers of the
// same target left when they were killed (not those of a writer at work).
#pragma once

#include <memory>
#include <string>

#include "engine/pixmap.h"
#include "model/file_io.h"

namespace ork {

enum class TVideoFormat { None, Mp4, WebM };

// The format a file name's extension asks for (".mp4", ".webm", any case).
TVideoFormat VideoFormatOfPath(const std::string& path);

class TVideoWriter {
 public:
  TVideoWriter();
  ~TVideoWriter();  // closes an open file as Close does
  TVideoWriter(const TVideoWriter&) = delete;
  TVideoWriter& operator=(const TVideoWriter&) = delete;

  // Starts the file `path` (native) for frames of width x height pixels at
  // fps frames per second (at least 1), in the format of its extension.
  // False with the reason in error (unknown extension, encoder missing from
  // this FFmpeg, the file cannot be created, ...); errors never repeat the
  // path, the caller names it.
  bool Open(const std::string& path, int width, int height, int fps, std::string& error);
  bool IsOpen() const { return state_ != nullptr; }

  // Encodes the next frame. A picture of another size than the first is
  // refused. After a failure the file is abandoned (Close removes it).
  bool Write(const TPixmap& picture, std::string& error);

  // Flushes the encoder, completes the file and gives it its final name.
  // False with the reason when any of it failed or a write had failed
  // before; the temporary file is gone afterwards either way. Closing a
  // writer that is not open returns true.
  bool Close(std::string& error);
  // Close in two steps, for a film that ends several files together:
  // Finish completes the file and syncs it, under its temporary name;
  // Publish then names it as `keep` says (false with the reason when the
  // name could not be given; an older file kept by WhereNone is no
  // failure, Kept tells) and the temporary file is gone afterwards.
  bool Finish(std::string& error);
  bool Publish(TKeepFile keep, std::string& error);
  bool Kept() const { return kept_; }

  int Frames() const { return frames_; }
  // The encoded picture size (the picture's size rounded up to even).
  int EncodedWidth() const { return encodedWidth_; }
  int EncodedHeight() const { return encodedHeight_; }

 private:
  struct TState;
  std::unique_ptr<TState> state_;
  int frames_ = 0;
  bool kept_ = false;
  int encodedWidth_ = 0, encodedHeight_ = 0;
};

}  // namespace ork
