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
#include <vector>

#include "model/file_io.h"

namespace ork {

class TAtomicFile;
struct TWriteContext;

// Files written completely that wait under their temporary names (synced,
// their writers' locks held) until every file of a group is written: a
// film frame takes its names only when all its files could be written.
// The destructor discards what was not published.
class TPendingFiles {
 public:
  TPendingFiles() = default;
  ~TPendingFiles() { Discard(); }
  TPendingFiles(const TPendingFiles&) = delete;
  TPendingFiles& operator=(const TPendingFiles&) = delete;

  // Takes over the temporary file `temp` of `path` with its open
  // descriptor fd (closed by Publish or Discard).
  void Add(const std::string& temp, const std::string& path, int fd);
  // Renames every file into place, in the order added. False with error
  // "<path>: <reason>" when one fails; the files not yet renamed are
  // discarded then.
  bool Publish(std::string& error);
  // Removes every waiting file.
  void Discard();
  bool Empty() const { return files_.empty(); }

 private:
  struct TFile {
    std::string temp, path;
    int fd;
  };
  std::vector<TFile> files_;
};

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

  // Flushes the stream, syncs the file to the disk and renames it to the
  // final name (the directory synced too), then closes it. False when any
  // write, the sync or the rename failed; the temporary file is gone
  // afterwards either way. With `pending`, the synced file waits there
  // under its temporary name instead of being renamed.
  bool Commit(TPendingFiles* pending = nullptr);

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
