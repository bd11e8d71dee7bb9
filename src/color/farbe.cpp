#include "color/farbe.h"

#include <cmath>

namespace ork {

namespace {
float LimitChannel(float v) {
  if (!(v > 0)) return 0;  // also not-a-number
  if (v > 255) return 255;
  return std::trunc(v);
}

int64_t TruncChannel(float v) {
  if (!(v > -2147483649.0f && v < 2147483648.0f)) return INT32_MIN;
  return static_cast<int64_t>(v);
}
}  // namespace

void TFarbe::Limit() {
  Alpha = LimitChannel(Alpha);
  Rot = LimitChannel(Rot);
  Gruen = LimitChannel(Gruen);
  Blau = LimitChannel(Blau);
}

uint32_t TFarbe::ARGB_Color() const {
  const uint64_t v = static_cast<uint64_t>(TruncChannel(Alpha)) * (1u << 24) +
                     static_cast<uint64_t>(TruncChannel(Rot)) * (1u << 16) +
                     static_cast<uint64_t>(TruncChannel(Gruen)) * (1u << 8) +
                     static_cast<uint64_t>(TruncChannel(Blau));
  return static_cast<uint32_t>(v);
}

}  // namespace ork
