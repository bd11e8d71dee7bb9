#include "model/long_coordinates.h"

#include <cfloat>

#include "model/number_format.h"

namespace ork {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

const std::array<TLongCoordinate, 5> kLongCoordinates = {{
    {"MidPointXLong", "MidPointX", &TParameter::vsxLong, &TParameter::vsx, false},
    {"MidPointYLong", "MidPointY", &TParameter::vsyLong, &TParameter::vsy, false},
    {"CxPointLong", "CxPoint", &TParameter::CCxLong, &TParameter::CCx, false},
    {"CyPointLong", "CyPoint", &TParameter::CCyLong, &TParameter::CCy, false},
    {"HeightYLong", "HeightY", &TParameter::bryLong, &TParameter::bry, true},
}};

bool IsLongNumberText(std::string_view text) {
  if (text.empty() || text.size() > kMaxLongNumberText) return false;
  size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    long exponent = 0;
    size_t expDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > kMaxLongExponent) return false;
      ++i, ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  return i == text.size();
}

double LongTextRounded(std::string_view text, bool height) {
  // TextToReal reads exactly this syntax with strtod, correctly rounded.
  double v = TextToReal(text);
  if (height && v < DBL_MIN) v = DBL_MIN;
  return v;
}

bool LongTextCurrent(const std::string& text, double value, bool height) {
  return !text.empty() && IsLongNumberText(text) && LongTextRounded(text, height) == value;
}

const TLongCoordinate* LongCoordinateOfParameter(int index) {
  switch (index) {
    case 4: return &kLongCoordinates[4];
    case 5: return &kLongCoordinates[0];
    case 6: return &kLongCoordinates[1];
    case 9: return &kLongCoordinates[2];
    case 10: return &kLongCoordinates[3];
    default: return nullptr;
  }
}

bool HasLongCoordinates(const TParameter& p) {
  for (const TLongCoordinate& c : kLongCoordinates)
    if (LongTextCurrent(p.*c.Text, p.*c.Value, c.Height)) return true;
  return false;
}

void DropStaleLongTexts(TParameter& p) {
  for (const TLongCoordinate& c : kLongCoordinates)
    if (!LongTextCurrent(p.*c.Text, p.*c.Value, c.Height)) (p.*c.Text).clear();
}

void SetShortCoordinate(TParameter& p, double TParameter::*value, double v) {
  p.*value = v;
  for (const TLongCoordinate& c : kLongCoordinates)
    if (c.Value == value) (p.*c.Text).clear();
}

}  // namespace ork
