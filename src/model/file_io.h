// Whole-file reading and safe replacement for the text files of the model.
// Paths are native (see model/paths.h for program paths).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ork {

// Reads at most maxBytes of the file into bytes. False when the file
// cannot be opened (or is not a regular file); truncated is set when the
// file was longer than maxBytes.
bool ReadFileBytes(const std::string& nativePath, size_t maxBytes, std::string& bytes,
                   bool& truncated);

// Writes bytes to a temporary file beside nativePath and renames it over
// nativePath only when every byte was written and the file closed cleanly.
// On failure the old file is untouched, the temporary file removed, and
// openFailed tells whether the temporary file could not even be created.
bool ReplaceFileBytes(const std::string& nativePath, std::string_view bytes, bool& openFailed);

}  // namespace ork
