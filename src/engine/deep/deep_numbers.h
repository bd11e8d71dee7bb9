// The number types of the deep computation: a high-precision real for the
// reference orbit, the coordinates and their interpolation, and (beside it)
// the extended-exponent double of the per-pixel differences. MPFR's header
// stays in the .cpp files; code above the engine uses these types only.
#pragma once

#include <cstdint>
#include <string>

namespace ork::deep {

// A real of a chosen binary precision (bits of mantissa), rounded to
// nearest after every operation. The result of an operation on two numbers
// has the larger of their precisions. Copies are independent.
class TBigFloat {
 public:
  static constexpr long kDefaultBits = 64;
  // Precisions are kept within these bounds (the upper one is about
  // 300 000 decimal digits, far beyond any picture).
  static constexpr long kMinBits = 53;
  static constexpr long kMaxBits = 1L << 20;

  TBigFloat();  // 0 at kDefaultBits
  explicit TBigFloat(double value, long bits = kDefaultBits);
  TBigFloat(const TBigFloat& other);
  TBigFloat(TBigFloat&& other) noexcept;
  TBigFloat& operator=(const TBigFloat& other);
  TBigFloat& operator=(TBigFloat&& other) noexcept;
  ~TBigFloat();

  // Reads a decimal text such as "-0.75", "1.5e-1000" or "+3" (blanks
  // around it allowed). False, with `out` unchanged, when the text is not
  // a finite number. `bits` 0 takes a precision that keeps every digit of
  // the text (about 3.33 bits per digit, at least kDefaultBits).
  static bool Parse(const std::string& text, long bits, TBigFloat& out);

  long Bits() const;
  // Rounds to the new precision (clamped to kMinBits..kMaxBits).
  void SetBits(long bits);

  // The nearest double: 0 below the double range, +-infinity above.
  double ToDouble() const;
  // As frexp: the value is mantissa * 2^exponent, 0.5 <= |mantissa| < 1
  // (mantissa and exponent 0 for zero). Exact in range for any precision.
  double Frexp(int64_t& exponent) const;
  // Decimal text that reads back to the same value at this precision
  // (`digits` 0), or with `digits` significant digits; "0" for zero, else
  // "[-]d.ddd…e±x", no blanks.
  std::string ToString(int digits = 0) const;

  bool IsZero() const;
  int Sign() const;  // -1, 0 or 1

  TBigFloat operator-() const;
  TBigFloat operator+(const TBigFloat& b) const;
  TBigFloat operator-(const TBigFloat& b) const;
  TBigFloat operator*(const TBigFloat& b) const;
  TBigFloat operator/(const TBigFloat& b) const;  // division by 0 gives 0
  TBigFloat operator*(double b) const;
  TBigFloat operator+(double b) const;
  bool operator<(const TBigFloat& b) const;
  bool operator==(const TBigFloat& b) const;

  TBigFloat Abs() const;
  TBigFloat Log() const;  // natural logarithm; 0 for values <= 0
  TBigFloat Exp() const;

  // The MPFR number (an mpfr_ptr) for the deep .cpp files that include
  // MPFR themselves.
  void* Raw() { return storage_; }
  const void* Raw() const { return storage_; }

 private:
  alignas(8) unsigned char storage_[32];
};

// a + (b - a) * t in the larger precision of a and b.
TBigFloat Lerp(const TBigFloat& a, const TBigFloat& b, double t);
// a * (b / a)^t for a, b > 0 (geometric steps, e.g. a zoom); linear when
// either is not positive.
TBigFloat GeometricLerp(const TBigFloat& a, const TBigFloat& b, double t);

}  // namespace ork::deep
