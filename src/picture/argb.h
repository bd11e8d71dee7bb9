// Operations on 32-bit ARGB colour values (alpha in bits 24-31, red 16-23,
// green 8-15, blue 0-7). Arithmetic wraps modulo 2^32, so channel values
// outside 0..255 (colour tables can hold entries below 0) mix into the
// neighbouring channels instead of trapping.
#pragma once

#include <cstdint>

namespace ork {

// a * 2^24 + r * 2^16 + g * 2^8 + b.
constexpr uint32_t ComposeArgb(int64_t a, int64_t r, int64_t g, int64_t b) {
  return static_cast<uint32_t>(static_cast<uint64_t>(a) * (1u << 24) +
                               static_cast<uint64_t>(r) * (1u << 16) +
                               static_cast<uint64_t>(g) * (1u << 8) + static_cast<uint64_t>(b));
}

constexpr int AlphaOf(uint32_t c) { return static_cast<int>(c >> 24); }
constexpr int RedOf(uint32_t c) { return static_cast<int>((c >> 16) & 0xFFu); }
constexpr int GreenOf(uint32_t c) { return static_cast<int>((c >> 8) & 0xFFu); }
constexpr int BlueOf(uint32_t c) { return static_cast<int>(c & 0xFFu); }

// top over bottom with t = top's alpha, u = 255 - t: each colour channel
// t * top / 255 + u * bottom / 255 (each quotient truncated), alpha
// t + u * bottom's alpha / 255; every result cut to its low 8 bits.
constexpr uint32_t BlendArgb(uint32_t top, uint32_t bottom) {
  const int t = AlphaOf(top);
  const int u = 255 - t;
  const int r = (t * RedOf(top) / 255 + u * RedOf(bottom) / 255) & 0xFF;
  const int g = (t * GreenOf(top) / 255 + u * GreenOf(bottom) / 255) & 0xFF;
  const int b = (t * BlueOf(top) / 255 + u * BlueOf(bottom) / 255) & 0xFF;
  const int a = (t + u * AlphaOf(bottom) / 255) & 0xFF;
  return ComposeArgb(a, r, g, b);
}

// Opaque colour with every colour channel inverted.
constexpr uint32_t InvertArgb(uint32_t c) {
  return ComposeArgb(255, 255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c));
}

inline constexpr uint32_t kOpaqueBlack = 0xFF000000u;
inline constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

}  // namespace ork
