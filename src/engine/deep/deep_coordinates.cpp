#include "engine/deep/deep_coordinates.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace ork::deep {

TBigFloat LongOr(const std::string& longText, double value, long bits) {
  TBigFloat v;
  // A text whose rounding is no longer the double was left behind by code
  // that moved only the double: the double is the coordinate then.
  if (!longText.empty() && TBigFloat::Parse(longText, bits, v) &&
      (v.ToDouble() == value || (value == DBL_MIN && v.ToDouble() < DBL_MIN)))
    return v;
  return TBigFloat(value, bits > 0 ? bits : TBigFloat::kDefaultBits);
}

void SetLong(std::string& longText, double& value, const TBigFloat& v, bool positive) {
  longText = v.ToString();
  value = v.ToDouble();
  if (positive && value < DBL_MIN) value = DBL_MIN;
}

TLongView ReadLongView(const TParameter& k, long bits) {
  return {LongOr(k.vsxLong, k.vsx, bits), LongOr(k.vsyLong, k.vsy, bits),
          LongOr(k.CCxLong, k.CCx, bits), LongOr(k.CCyLong, k.CCy, bits),
          LongOr(k.bryLong, k.bry, bits)};
}

namespace {

// log2 of the pixel spacing and of the largest coordinate the pixels are
// told apart against.
void Scales(const TParameter& k, double& log2Pixel, double& log2Size) {
  const TLongView v = ReadLongView(k);
  int64_t e = 0;
  const double m = v.bry.Abs().Frexp(e);
  log2Pixel = (m > 0 ? std::log2(m) + static_cast<double>(e) : -1e9) -
              std::log2(std::max(1, k.OutputHeight));
  log2Size = -1e9;
  for (const TBigFloat* c : {&v.vsx, &v.vsy, &v.CCx, &v.CCy}) {
    const double cm = c->Abs().Frexp(e);
    if (cm > 0) log2Size = std::max(log2Size, std::log2(cm) + static_cast<double>(e));
  }
  log2Size = std::max(log2Size, 1.0);  // the set itself has size 2
}

}  // namespace

long PrecisionBits(const TParameter& k) {
  double log2Pixel = 0, log2Size = 0;
  Scales(k, log2Pixel, log2Size);
  const double need = log2Size - log2Pixel + 48;
  return std::clamp(static_cast<long>(std::ceil(need)), 64L, TBigFloat::kMaxBits);
}

bool PastDoubleLimit(const TParameter& k) {
  double log2Pixel = 0, log2Size = 0;
  Scales(k, log2Pixel, log2Size);
  // About 1e-15 of the centre's size, or near the smallest normal double.
  return log2Pixel < log2Size - 49 || log2Pixel < -1000;
}

}  // namespace ork::deep
