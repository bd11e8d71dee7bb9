#include "picture/picture_files_png_filter.h"

#include <bit>
#include <cstring>

namespace ork {

namespace {

constexpr size_t kBpp = 4;

// Sixteen samples at a time in 8-bit arithmetic, modulo 256 as the filters
// define it.
using TBytes = uint8_t __attribute__((vector_size(16)));
using TWords = uint16_t __attribute__((vector_size(16)));

TBytes Load(const uint8_t* p) {
  TBytes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
// Comparisons give lanes of all ones (true) or zeros, as signed bytes.
template <typename TCompared>
TBytes Mask(TCompared compared) {
  return std::bit_cast<TBytes>(compared);
}
TBytes Min(TBytes x, TBytes y) { return x < y ? x : y; }
TBytes Max(TBytes x, TBytes y) { return x < y ? y : x; }
// A filtered byte's signed magnitude: r below 128, else 256 - r.
TBytes Magnitude(TBytes r) { return Min(r, -r); }

// The Paeth predictor. Its distance pc = |a + b - 2c| can pass 255, but it
// is only compared with pa = |b - c| and pb = |a - c|: when b - c and a - c
// have the same sign it is pa + pb, not less than either, and 255 compares
// the same way; otherwise it is |pa - pb|.
TBytes Paeth(TBytes a, TBytes b, TBytes c) {
  const TBytes pa = Max(b, c) - Min(b, c), pb = Max(a, c) - Min(a, c);
  const TBytes pc = (Max(pa, pb) - Min(pa, pb)) | Mask((b < c) == (a < c));
  const TBytes takeA = Mask(pa <= pb) & Mask(pa <= pc);
  const TBytes takeB = ~takeA & Mask(pb <= pc);
  return (takeA & a) | (takeB & b) | (~(takeA | takeB) & c);
}

unsigned Magnitude(int v) {
  const unsigned u = static_cast<unsigned>(v) & 0xFFu;
  return u < 128 ? u : 256 - u;
}
int Paeth(int a, int b, int c) {
  const int pa = b > c ? b - c : c - b;
  const int pb = a > c ? a - c : c - a;
  const int pc = a + b > 2 * c ? a + b - 2 * c : 2 * c - a - b;
  return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

}  // namespace

std::array<uint64_t, 5> PngFilterSums(const uint8_t* row, const uint8_t* prev, size_t bytes) {
  std::array<uint64_t, 5> sum{};
  auto add = [&](int x, int a, int b, int c) {
    sum[0] += Magnitude(x);
    sum[1] += Magnitude(x - a);
    sum[2] += Magnitude(x - b);
    sum[3] += Magnitude(x - (a + b) / 2);
    sum[4] += Magnitude(x - Paeth(a, b, c));
  };
  size_t i = 0;
  for (; i < kBpp && i < bytes; ++i) add(row[i], 0, prev[i], 0);
  // The byte magnitudes are added pairwise into 16-bit lanes, which gain
  // at most 2 x 128 per step: folded into the totals before they overflow.
  constexpr int kStepsPerFold = 255;
  while (i + sizeof(TBytes) <= bytes) {
    TWords lanes[5] = {};
    auto gather = [&](int filter, TBytes magnitudes) {
      const TWords pairs = std::bit_cast<TWords>(magnitudes);
      lanes[filter] += (pairs & 0xFF) + (pairs >> 8);
    };
    for (int step = 0; step < kStepsPerFold && i + sizeof(TBytes) <= bytes;
         ++step, i += sizeof(TBytes)) {
      const TBytes x = Load(row + i), a = Load(row + i - kBpp);
      const TBytes b = Load(prev + i), c = Load(prev + i - kBpp);
      gather(0, Magnitude(x));
      gather(1, Magnitude(x - a));
      gather(2, Magnitude(x - b));
      gather(3, Magnitude(x - ((a & b) + ((a ^ b) >> 1))));
      gather(4, Magnitude(x - Paeth(a, b, c)));
    }
    for (int f = 0; f < 5; ++f)
      for (size_t k = 0; k < sizeof(TWords) / 2; ++k) sum[f] += lanes[f][k];
  }
  for (; i < bytes; ++i) add(row[i], row[i - kBpp], prev[i], prev[i - kBpp]);
  return sum;
}

int PngRowFilter(const uint8_t* row, const uint8_t* prev, size_t bytes) {
  const std::array<uint64_t, 5> sum = PngFilterSums(row, prev, bytes);
  int best = 0;
  for (int f = 1; f < 5; ++f)
    if (sum[f] < sum[best]) best = f;
  return best;
}

}  // namespace ork
