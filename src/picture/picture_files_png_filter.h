// The PNG row filter that libpng's own search picks for a row: the one
// whose filtered bytes, read as signed magnitudes, have the smallest sum,
// trying none, sub, up, average and Paeth in this order and keeping the
// first of equal sums (libpng 1.6 and the versions before it). libpng
// filters the row once per candidate with a branch per byte; this finds
// the same filter in one vectorised pass, so the PNG writer can hand libpng
// that filter alone and still write the bytes libpng's search would.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ork {

// For `row` of 8-bit samples with 4 bytes per pixel below `prev` (the row
// above; all zero above the first row), `bytes` bytes each: per filter
// type, 0 (none) to 4 (Paeth), the sum over the filtered bytes of
// min(v, 256 - v). The sums do not depend on the order of the channels
// within a pixel, so BGRA rows give the sums of their RGBA form.
std::array<uint64_t, 5> PngFilterSums(const uint8_t* row, const uint8_t* prev, size_t bytes);

// The filter type of the smallest sum, the first of equal ones.
int PngRowFilter(const uint8_t* row, const uint8_t* prev, size_t bytes);

}  // namespace ork
