// Whole-file reading and safe replacement for the text files of the model.
// Paths are native (see model/paths.h for program paths).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ork {

// Reads at most maxBytes of the file into bytes. False when the file
// cannot be opened (or is not a regular file); truncated is set when the
// file was longer than maxBytes.
bool ReadFileBytes(const std::string& nativePath, size_t maxBytes, std::string& bytes,
                   bool& truncated);

// The temporary files that writers killed while writing left beside their
// targets. Each directory is listed once, when a target in it is first
// written through this object; a film keeps one object for all its frames,
// so that a directory of thousands of frames is not listed per frame.
class TLeftoverTemps {
 public:
  // Removes every "<path>.XXXXXX" (six letters or digits) beside path whose
  // writer is gone: a writer, in this process or another, holds a lock on
  // its temporary file while it writes (CreateTempBeside), so the file of a
  // writer that is still at work is left alone. A file that cannot be
  // opened or locked (another user's, a file system without locks) stays.
  void RemoveFor(const std::string& path);

 private:
  // Per directory: the names that look like temporary files.
  std::map<std::string, std::vector<std::string>> listed_;
};

// Creates an empty temporary file "<path>.XXXXXX" with the permissions a
// new file gets, locked (flock) for as long as the descriptor or a
// duplicate of it stays open: keep it open until the file is renamed into
// place or removed, so that no sweep of leftovers takes it meanwhile.
// Returns the descriptor and sets temp to its name, or -1 with errno set.
int CreateTempBeside(const std::string& path, std::string& temp);

// What becomes of a finished temporary file: it takes its name over any
// older file (Replace), only where no file of that name exists (WhereNone:
// a failed film never replaces an older one), or it is removed (Discard).
enum class TKeepFile { Replace, WhereNone, Discard };

// Makes a rename into the directory of `path` durable (fsync of the
// directory). False when that failed; file systems that cannot sync a
// directory count as done.
bool SyncDirectoryOf(const std::string& path);

// Gives the complete (and synced) temporary file `temp` the name `path`.
// replace: over an existing file, atomically. Otherwise only where no file
// of that name exists (the existing one wins, error EEXIST). The directory
// is synced afterwards. False with error (an errno value) when the file
// did not get the name; temp is left for the caller to remove then.
bool MoveIntoPlace(const std::string& temp, const std::string& path, bool replace, int& error);

// The system's text for an errno value ("No space left on device").
std::string SystemErrorText(int error);

// Writes bytes to a temporary file beside nativePath and renames it over
// nativePath only when every byte was written and the file closed cleanly.
// On failure the old file is untouched, the temporary file removed, and
// openFailed tells whether the temporary file could not even be created.
// Leftovers of writers killed while writing nativePath are removed first.
bool ReplaceFileBytes(const std::string& nativePath, std::string_view bytes, bool& openFailed);

// Why the last file save on this thread failed, as the system says it
// ("No space left on device"); empty after one that succeeded. Set by
// ReplaceFileBytes and by the INI store's Save; callers whose messages pass
// through layers that return a bare status (movie saves) read it.
const std::string& LastSaveError();
void SetLastSaveError(const std::string& reason);
// ": " + LastSaveError(), or nothing when it is empty.
std::string LastSaveReason();

}  // namespace ork
