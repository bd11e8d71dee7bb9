#include "picture/picture_files_png_filter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace ork {
namespace {

// The filters as the PNG format defines them, byte by byte.
std::array<uint64_t, 5> DefinedSums(const std::vector<uint8_t>& row,
                                    const std::vector<uint8_t>& prev) {
  std::array<uint64_t, 5> sums{};
  for (size_t i = 0; i < row.size(); ++i) {
    const int x = row[i], b = prev[i];
    const int a = i >= 4 ? row[i - 4] : 0, c = i >= 4 ? prev[i - 4] : 0;
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    const int predicted[5] = {0, a, b, (a + b) / 2, paeth};
    for (int f = 0; f < 5; ++f) {
      const int8_t v = static_cast<int8_t>(static_cast<uint8_t>(x - predicted[f]));
      sums[f] += static_cast<uint64_t>(std::abs(int{v}));
    }
  }
  return sums;
}

TEST(PngRowFilter, SumsAreThoseOfTheDefinedFilters) {
  // Narrow value ranges give many ties inside the Paeth predictor; the
  // lengths cover the pixel before the vector steps, the ragged end and
  // rows long enough to fold the lane sums.
  uint32_t seed = 99;
  for (int range : {2, 3, 17, 256}) {
    for (size_t bytes : {4u, 12u, 36u, 404u, 2800u, 9000u}) {
      std::vector<uint8_t> row(bytes), prev(bytes);
      for (size_t i = 0; i < bytes; ++i) {
        seed = seed * 1103515245u + 12345u;
        row[i] = static_cast<uint8_t>((seed >> 16) % range * (256 / range));
        prev[i] = static_cast<uint8_t>((seed >> 8) % range * (256 / range) + (i % 2));
      }
      EXPECT_EQ(PngFilterSums(row.data(), prev.data(), bytes), DefinedSums(row, prev))
          << range << " " << bytes;
    }
  }
  // Every byte at the largest magnitude, 128, for as long a row as a film takes.
  const std::vector<uint8_t> row(16384, 0x80), prev(16384, 0);
  EXPECT_EQ(PngFilterSums(row.data(), prev.data(), row.size()), DefinedSums(row, prev));
}

}  // namespace
}  // namespace ork
