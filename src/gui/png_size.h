// The picture size stored in a PNG file's header, read without decoding the
// picture (the scripted back end needs only the number of toolbar icons).
#pragma once

#include <string>

namespace ork {

// True and the size when `path` is a readable file with a PNG signature and
// an IHDR chunk of positive size; false otherwise.
bool ReadPngSize(const std::string& path, int& width, int& height);

}  // namespace ork
