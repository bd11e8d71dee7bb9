// Paths inside the program are written as the files and texts spell them,
// relative to the working directory with backslashes ("INI\Default.ini").
// NativePath() turns such a path into one the platform opens.
#pragma once

#include <string>

namespace ork {

// The working directory all relative paths are resolved against
// (default: the current directory).
const std::string& WorkDir();
void SetWorkDir(const std::string& dir);

// "INI\x.ini" -> "<workdir>/INI/x.ini"; absolute paths keep their root.
std::string NativePath(const std::string& programPath);

}  // namespace ork
