// Checks of the renderer's command line that need the file system or the
// file-name rules: the movie files given, and the names of the files to
// write. Each fails with a message that names the argument.
#pragma once

#include <iosfwd>
#include <string>

namespace ork {

// The movie file `given` (as typed; `path` its absolute form) can be used:
// it is a readable regular file with at least one keyframe section. Returns
// 0, or an exit status with a line on err: kRenderUsage when it does not
// exist or is not a file, kRenderFailed when it cannot be read or is not a
// movie (no keyframe section: a file of another kind, or an empty one).
int CheckMovieFile(const std::string& given, const std::string& path, std::ostream& err);

// The file name part of `path` (after the last '/') has a base before its
// extension: "dir/", ".png" and "dir/.mp4" have none, ".x.png" has ".x".
bool HasFileBase(const std::string& path);

// An --out name: "-" (a PNG to standard output), a name without extension
// (the [SaveImage] formats) or one ending in .png, .jpg, .jpeg or .bmp (any
// case), with a base. False with a message in error otherwise.
bool CheckPictureName(const std::string& path, std::string& error);

}  // namespace ork
