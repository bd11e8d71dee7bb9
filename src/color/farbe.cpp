#include "color/farbe.h"

#include <cmath>

#include "color/real_int.h"

namespace ork {

namespace {
float LimitChannel(float v) {
  if (!(v > 0)) return 0;  // also not-a-number
  if (v > 255) return 255;
  return std::trunc(v);
}
}  // namespace

void TFarbe::Limit() {
  Alpha = LimitChannel(Alpha);
  Rot = LimitChannel(Rot);
  Gruen = LimitChannel(Gruen);
  Blau = LimitChannel(Blau);
}

uint32_t TFarbe::ARGB_Color() const {
  const uint64_t v = static_cast<uint64_t>(TruncInt(Alpha)) * (1u << 24) +
                     static_cast<uint64_t>(TruncInt(Rot)) * (1u << 16) +
                     static_cast<uint64_t>(TruncInt(Gruen)) * (1u << 8) +
                     static_cast<uint64_t>(TruncInt(Blau));
  return static_cast<uint32_t>(v);
}

}  // namespace ork
