// The text forms of numbers: the 17-digit file form of reals, the
// integer and real conversions used for every value read from a text, and
// the cut (not rounded) forms printed into pictures and shown in windows.
// None of these depend on the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ork {

// B(x): x as printf "%#.17lg" writes it (17 significant digits, trailing
// zeros kept, always a decimal point, exponent form when the decimal
// exponent is below -4 or at least 17), with the exponent written with its
// sign and at least three digits: 1e-4f gives "9.9999997473787516e-005".
// Not-a-number gives "nan", infinities "inf" / "-inf".
std::string RealText17(double x);

// The integer conversion of all texts: leading blanks and tabs, an optional
// sign, then "$" and hexadecimal digits, "%" and binary digits, or decimal
// digits; stops at the first other character; no digits gives 0. The value
// is taken modulo 2^32 into a 32-bit int, so "$FF0000FF" is the ARGB colour
// with alpha 255 and "-1" is 0xFFFFFFFF. Never fails.
int TextToInt(std::string_view text);

// The real conversion: leading blanks and tabs, optional sign, decimal
// digits with an optional point, optional exponent (e/E, sign, digits);
// stops at the first other character; no digits gives 0. Texts such as
// "nan", "inf" or hexadecimal floats read as 0. A value beyond the double
// range reads as +-infinity, one below it as 0.
double TextToReal(std::string_view text);

// The conversion of a real to a 32-bit integer: the integer part (towards
// zero); not-a-number, infinities and values outside the int range give
// -2147483648.
int RealToInt(double x);

// A fixed count of decimals, cut rather than rounded, with a short
// exponent form ("1.23E+04") outside 0.01 < |x| < 10000; 0 and
// not-a-number give "0.0". Negative decimals count as 0.
std::string FormatNumber(double x, int decimals);

// B(x) cut after the decimal point plus decimals characters (B(x) itself
// when it has no point); an exponent of B(x) is lost.
std::string TruncateDecimals(double x, int decimals);

}  // namespace ork
