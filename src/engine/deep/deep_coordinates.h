// A keyframe's coordinates at full precision: the long texts beside the
// doubles (centre, Julia constant, height), read and written together so
// that the double always holds the rounded long value.
#pragma once

#include <string>

#include "engine/deep/deep_numbers.h"
#include "model/parameter.h"

namespace ork::deep {

// The long text when it is set, readable and still rounds to the double
// (code that knows only doubles may have moved the double), else the double
// (at `bits`; 0 takes a precision that keeps every digit of the text).
TBigFloat LongOr(const std::string& longText, double value, long bits = 0);

// Stores `v` as long text and its rounded value as the double. A height
// (`positive` true) below the double range keeps the smallest normal
// double, so that nothing divides by a zero height.
void SetLong(std::string& longText, double& value, const TBigFloat& v, bool positive = false);

// Full-precision centre, constant and height of a keyframe.
struct TLongView {
  TBigFloat vsx, vsy, CCx, CCy, bry;
};
TLongView ReadLongView(const TParameter& k, long bits = 0);

// Bits of mantissa a view needs: enough to tell the pixels apart at its
// centre and constant, plus a safety margin (at least 64).
long PrecisionBits(const TParameter& k);

// True when the keyframe's pixel spacing (HeightY / picture height) comes
// so close to the resolution of a double at its centre (or to the bottom
// of the double range) that a double computation turns into blocks.
bool PastDoubleLimit(const TParameter& k);

}  // namespace ork::deep
