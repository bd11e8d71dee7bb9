// Coordinates of any precision in a keyframe: the decimal texts beside the
// doubles of the centre, the Julia constant and the height ("MidPointXLong"
// and so on), their syntax check and their rounding. The model only checks
// and rounds texts; arithmetic on them lives in the deep computation.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/parameter.h"

namespace ork {

// A long coordinate text longer than this (characters), or with a decimal
// exponent beyond kMaxLongExponent in size, is not a coordinate but a
// broken file: a picture that deep would need a reference orbit of millions
// of bits.
inline constexpr size_t kMaxLongNumberText = 4096;
inline constexpr long kMaxLongExponent = 100000;

// True when text is a decimal number: optional sign, digits with an
// optional point (at least one digit), optional exponent (e or E, optional
// sign, digits), nothing else; within the two bounds above.
bool IsLongNumberText(std::string_view text);

// The double a valid long text stands for: its nearest double, for a height
// at least the smallest normal double (so that nothing divides by a zero
// height).
double LongTextRounded(std::string_view text, bool height);

// True when the long text is set, valid and still rounds to the double
// beside it. Code that knows only the doubles may change a double without
// touching its text; such a stale text then no longer counts.
bool LongTextCurrent(const std::string& text, double value, bool height);

// The five long coordinates of a keyframe, with their key, the text, the
// double beside it and whether it is the height.
struct TLongCoordinate {
  const char* Key;        // movie-file key of the text
  const char* DoubleKey;  // key of the double beside it
  std::string TParameter::*Text;
  double TParameter::*Value;
  bool Height;
};
extern const std::array<TLongCoordinate, 5> kLongCoordinates;

// The long coordinate of a parameter number (4 HeightY, 5 MidPointX,
// 6 MidPointY, 9 CxPoint, 10 CyPoint), or null for any other.
const TLongCoordinate* LongCoordinateOfParameter(int index);

// True when any long text of the keyframe is current.
bool HasLongCoordinates(const TParameter& p);

// Clears the long texts that are no longer current.
void DropStaleLongTexts(TParameter& p);

// Sets the double of a coordinate and clears its long text: for code that
// moves a coordinate to a value a double holds exactly.
void SetShortCoordinate(TParameter& p, double TParameter::*value, double v);

}  // namespace ork
