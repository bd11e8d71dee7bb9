// The real-to-integer conversion of all colour arithmetic, inline for the
// pixel loops: the integer part (towards zero); not-a-number, infinities
// and values outside the 32-bit range give -2147483648. It is the same rule
// as RealToInt of the number texts.
#pragma once

#include <cstdint>

namespace ork {

inline int32_t TruncInt(double v) {
  // The open interval keeps every value whose integer part fits; the
  // negated test also catches not-a-number.
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Integer remainder with the sign of the dividend. A modulus of 0 gives 0:
// such a pixel or table entry gets colour index 0 instead of an error.
inline int64_t ModOrZero(int64_t a, int64_t b) { return b == 0 ? 0 : a % b; }

}  // namespace ork
