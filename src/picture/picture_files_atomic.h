// A file that appears under its final name only when it was written
// completely: the bytes go to a temporary file beside the target, and
// Commit() renames it over the target. A writer that fails (or is
// destroyed without Commit) removes the temporary file, so an existing file
// under the final name is never damaged by a failed save.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace ork {

class TAtomicFile {
 public:
  // `path` is a native path (as fopen takes it). Stream() is null when the
  // temporary file cannot be created (missing or unwritable directory).
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

  std::string path_;
  std::string temp_;
  std::unique_ptr<char[]> buffer_;  // the stream's; outlives it
  FILE* stream_ = nullptr;
};

}  // namespace ork
