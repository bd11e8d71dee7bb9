// A file that appears under its final name only when it was written
// completely: the bytes go to a temporary file beside the target, and
// Commit() renames it over the target. A writer that fails (or is
// destroyed without Commit) removes the temporary file, so an existing file
// under the final name is never damaged by a failed save.
#pragma once

#include <cstdio>
#include <string>

namespace ork {

class TAtomicFile {
 public:
  // `path` is a native path (as fopen takes it). Stream() is null when the
  // temporary file cannot be created (missing or unwritable directory).
  // A file is written and closed on the thread that made it: the first one
  // open on a thread writes through that thread's 64 KiB buffer.
  explicit TAtomicFile(const std::string& path);
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  FILE* Stream() const { return stream_; }

  // Flushes and closes the stream and renames the temporary file to the
  // final name. False when any write, the close or the rename failed; the
  // temporary file is gone afterwards either way.
  bool Commit();

 private:
  void Discard();
  // Closes the stream (ok becomes false when that fails) and returns the
  // thread's buffer.
  void CloseStream(bool& ok);

  std::string path_;
  std::string temp_;
  FILE* stream_ = nullptr;
  bool borrowed_ = false;  // the stream writes through the thread's buffer
};

}  // namespace ork
