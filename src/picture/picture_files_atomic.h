// A file that appears under its final name only when it was written
// completely: the bytes go to a temporary file beside the target
// ("<target>.XXXXXX"), and Commit() renames it over the target. A writer
// that fails (or is destroyed without Commit) removes the temporary file,
// so an existing file under the final name is never damaged by a failed
// save. A process killed while writing leaves its temporary file; the next
// write of the same target removes it (TLeftoverTemps).
#pragma once

#include <cstdio>
#include <string>

#include "model/file_io.h"

namespace ork {

class TAtomicFile;
struct TWriteContext;

// Tells context (when given) why a write failed: `file`'s reason when it
// knows one, else `otherwise`. Returns false, for `return Failed(...)`.
bool WriteFailed(TWriteContext* context, const TAtomicFile* file, const char* otherwise);

class TAtomicFile {
 public:
  // `path` is a native path (as fopen takes it). Stream() is null when the
  // temporary file cannot be created (missing or unwritable directory).
  // Leftovers of earlier writers of the same target are removed first,
  // through `leftovers` when given, else by listing the directory now.
  // A file is written and closed on the thread that made it: the first one
  // open on a thread writes through that thread's 64 KiB buffer.
  explicit TAtomicFile(const std::string& path, TLeftoverTemps* leftovers = nullptr);
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  FILE* Stream() const { return stream_; }

  // Flushes and closes the stream and renames the temporary file to the
  // final name. False when any write, the close or the rename failed; the
  // temporary file is gone afterwards either way.
  bool Commit();

  // Why creating or committing failed, as the system says it; after a
  // failed encoder call, the error its writes met. Empty when unknown.
  std::string Reason() const;

 private:
  void Discard();
  // Closes the stream (ok becomes false when that fails) and returns the
  // thread's buffer.
  void CloseStream(bool& ok);
  void Note(int error);

  std::string path_;
  std::string temp_;
  FILE* stream_ = nullptr;
  bool borrowed_ = false;  // the stream writes through the thread's buffer
  int error_ = 0;          // the first errno met
};

}  // namespace ork
