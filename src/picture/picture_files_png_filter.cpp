#include "picture/picture_files_png_filter.h"

#include <cstring>

namespace ork {

namespace {

constexpr size_t kBpp = 4;

// Eight samples of a row at a time, widened to 16 bits so that the Paeth
// distances (up to 510) fit.
constexpr size_t kLanes = 8;
using TBytes = uint8_t __attribute__((vector_size(kLanes)));
using TShorts = int16_t __attribute__((vector_size(2 * kLanes)));

TShorts Load(const uint8_t* p) {
  TBytes b;
  std::memcpy(&b, p, sizeof b);
  return __builtin_convertvector(b, TShorts);
}
TShorts Abs(TShorts v) {
  const TShorts sign = v >> 15;
  return (v ^ sign) - sign;
}
// A filtered byte's signed magnitude: the low byte of v read as a signed
// byte, made positive (128 stays 128).
TShorts Magnitude(TShorts v) { return Abs(static_cast<TShorts>(v << 8) >> 8); }
TShorts Paeth(TShorts a, TShorts b, TShorts c) {
  const TShorts pa = Abs(b - c), pb = Abs(a - c), pc = Abs(a + b - c - c);
  const TShorts takeA = (pa <= pb) & (pa <= pc), takeB = ~takeA & (pb <= pc);
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
  // A lane gains at most 128 per step: folded into the totals (read as
  // unsigned) before it can pass 16 bits.
  constexpr int kStepsPerFold = 256;
  while (i + kLanes <= bytes) {
    TShorts lanes[5] = {};
    for (int step = 0; step < kStepsPerFold && i + kLanes <= bytes; ++step, i += kLanes) {
      const TShorts x = Load(row + i), a = Load(row + i - kBpp);
      const TShorts b = Load(prev + i), c = Load(prev + i - kBpp);
      lanes[0] += Magnitude(x);
      lanes[1] += Magnitude(x - a);
      lanes[2] += Magnitude(x - b);
      lanes[3] += Magnitude(x - ((a + b) >> 1));
      lanes[4] += Magnitude(x - Paeth(a, b, c));
    }
    for (int f = 0; f < 5; ++f)
      for (size_t k = 0; k < kLanes; ++k) sum[f] += static_cast<uint16_t>(lanes[f][k]);
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
