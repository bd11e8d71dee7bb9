// One colour with four single-precision channels, the working value of the
// blur filter. Channels are nominally 0..255; mixing may leave them outside
// (an opaque pixel reads with alpha -1, see ReadFarbe).
#pragma once

#include <cstdint>

namespace ork {

struct TFarbe {
  float Alpha = 0;
  float Rot = 0;
  float Gruen = 0;
  float Blau = 0;

  // A new colour, all channels 0.
  static TFarbe Create() { return TFarbe{}; }
  // All channels back to 0.
  void New() { *this = TFarbe{}; }
  // Each channel truncated to an integer and limited to 0..255.
  void Limit();
  // trunc(Alpha) * 2^24 + trunc(Rot) * 2^16 + trunc(Gruen) * 2^8 + trunc(Blau),
  // as a 32-bit pattern (wrapping, so out-of-range channels never trap).
  uint32_t ARGB_Color() const;
};

// A pixel as the filter reads it: alpha is (c AND $FF000000) / 2^24 as a
// signed 32-bit division, so alpha values from 128 on read 256 less (an
// opaque pixel gives -1); the colour channels read as they are.
inline TFarbe ReadFarbe(uint32_t c) {
  TFarbe f;
  f.Alpha = static_cast<float>(static_cast<int32_t>(c & 0xFF000000u) / (1 << 24));
  f.Rot = static_cast<float>((c >> 16) & 0xFFu);
  f.Gruen = static_cast<float>((c >> 8) & 0xFFu);
  f.Blau = static_cast<float>(c & 0xFFu);
  return f;
}

// a * (1 - t) + t * b for one channel, in single precision; the planar blur
// loops mix with this too, so both forms give the same bits.
inline float MixChannel(float a, float b, float t) { return a * (1.0f - t) + t * b; }

// MixChannel per channel.
inline TFarbe Mix(const TFarbe& a, const TFarbe& b, float t) {
  return TFarbe{MixChannel(a.Alpha, b.Alpha, t), MixChannel(a.Rot, b.Rot, t),
                MixChannel(a.Gruen, b.Gruen, t), MixChannel(a.Blau, b.Blau, t)};
}

inline TFarbe Avg(const TFarbe& a, const TFarbe& b) { return Mix(a, b, 0.5f); }

}  // namespace ork
