// How finely the colouring, the blur and the compositions split a picture
// into row bands for the worker pool (ParallelRows).
#pragma once

#include <algorithm>

namespace ork {

// Rows of `width` pixels that make a band worth handing to another thread:
// about 32 768 pixels, so that small pictures (previews, samples) stay on
// the calling thread.
inline int MinBandRows(int width) { return std::max(1, 32768 / std::max(width, 1)); }

}  // namespace ork
