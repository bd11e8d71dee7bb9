// The number types of the deep computation: a high-precision real for the
// reference orbit, the coordinates and their interpolation, and (beside it)
// the extended-exponent double of the per-pixel differences. MPFR's header
// stays in the .cpp files; code above the engine uses these types only.
#pragma once

#include <bit>
#include <cmath>
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

// frexp and ldexp by the bits where the double and the result are normal
// (the same values: scaling by a power of two is exact there), the
// library's elsewhere; the extended type below calls them on every
// operation.
inline double FastFrexp(double v, int* exponent) {
  const uint64_t b = std::bit_cast<uint64_t>(v);
  const int biased = static_cast<int>((b >> 52) & 0x7ff);
  if (biased == 0 || biased == 0x7ff) return std::frexp(v, exponent);
  *exponent = biased - 1022;
  return std::bit_cast<double>((b & ~(uint64_t{0x7ff} << 52)) | (uint64_t{1022} << 52));
}
inline double FastLdexp(double m, int exponent) {
  const uint64_t b = std::bit_cast<uint64_t>(m);
  const int biased = static_cast<int>((b >> 52) & 0x7ff);
  if (biased == 0 || biased == 0x7ff || exponent <= -biased || exponent >= 0x7ff - biased) {
    return std::ldexp(m, exponent);
  }
  return std::bit_cast<double>((b & ~(uint64_t{0x7ff} << 52)) |
                               (static_cast<uint64_t>(biased + exponent) << 52));
}

// A double with an exponent of its own: value = m * 2^e with 0.5 <= |m| < 1
// (m = 0 and e = 0 for zero), so that values far below (or above) the
// double range keep their 53 bits. Used where a pixel's difference from the
// reference orbit is smaller than the smallest double (views below 1e-300).
// Not a number and infinities are not represented.
struct TFloatExp {
  double m = 0;
  int64_t e = 0;

  TFloatExp() = default;
  explicit TFloatExp(double v) { Set(v); }
  static TFloatExp Raw(double mantissa, int64_t exponent) {
    TFloatExp r;
    r.m = mantissa;
    r.e = exponent;
    r.Normalize();
    return r;
  }

  void Set(double v) {
    int x = 0;
    m = FastFrexp(v, &x);
    e = m == 0 ? 0 : x;
    if (!std::isfinite(v)) m = 0, e = 0;
  }
  void Normalize() {
    if (m == 0 || !std::isfinite(m)) {
      m = 0;
      e = 0;
      return;
    }
    int x = 0;
    m = FastFrexp(m, &x);
    e += x;
  }
  // The nearest double: 0 below the double range, +-infinity above.
  double ToDouble() const {
    if (e < -1100) return 0.0;
    if (e > 1100) return m > 0 ? HUGE_VAL : -HUGE_VAL;
    return FastLdexp(m, static_cast<int>(e));
  }
  // log2 of the magnitude (a very low number for zero).
  double Log2() const { return m == 0 ? -1e18 : std::log2(std::fabs(m)) + static_cast<double>(e); }
  bool IsZero() const { return m == 0; }

  TFloatExp operator-() const {
    TFloatExp r = *this;
    r.m = -r.m;
    return r;
  }
  friend TFloatExp Abs(const TFloatExp& a) {
    TFloatExp r = a;
    r.m = std::fabs(r.m);
    return r;
  }
  friend TFloatExp operator*(const TFloatExp& a, const TFloatExp& b) {
    TFloatExp r;
    r.m = a.m * b.m;
    r.e = a.e + b.e;
    if (r.m == 0) {
      r.e = 0;
    } else if (std::fabs(r.m) < 0.5) {
      r.m *= 2;
      r.e -= 1;
    }
    return r;
  }
  friend TFloatExp operator*(const TFloatExp& a, double b) { return a * TFloatExp(b); }
  friend TFloatExp operator+(const TFloatExp& a, const TFloatExp& b) {
    if (a.m == 0) return b;
    if (b.m == 0) return a;
    const TFloatExp& big = a.e >= b.e ? a : b;
    const TFloatExp& small = a.e >= b.e ? b : a;
    const int64_t shift = small.e - big.e;
    if (shift < -64) return big;
    TFloatExp r;
    r.m = big.m + FastLdexp(small.m, static_cast<int>(shift));
    r.e = big.e;
    r.Normalize();
    return r;
  }
  friend TFloatExp operator-(const TFloatExp& a, const TFloatExp& b) { return a + (-b); }
  TFloatExp& operator+=(const TFloatExp& b) { return *this = *this + b; }
  TFloatExp& operator-=(const TFloatExp& b) { return *this = *this - b; }
  TFloatExp& operator*=(const TFloatExp& b) { return *this = *this * b; }
  // Magnitudes compared (both non-negative expected by callers that order).
  friend bool operator<(const TFloatExp& a, const TFloatExp& b) {
    if (a.m == 0 || b.m == 0 || (a.m < 0) != (b.m < 0)) return a.m < b.m;
    if (a.e != b.e) return a.m > 0 ? a.e < b.e : a.e > b.e;
    return a.m < b.m;
  }
  friend bool operator>(const TFloatExp& a, const TFloatExp& b) { return b < a; }
  friend TFloatExp Ldexp(const TFloatExp& a, int64_t k) {
    TFloatExp r = a;
    if (r.m != 0) r.e += k;
    return r;
  }
};

// The value of `x` as extended-exponent double (53 bits, exponent kept).
TFloatExp ToFloatExp(const TBigFloat& x);

// a + (b - a) * t in the larger precision of a and b.
TBigFloat Lerp(const TBigFloat& a, const TBigFloat& b, double t);
// a * (b / a)^t for a, b > 0 (geometric steps, e.g. a zoom); linear when
// either is not positive.
TBigFloat GeometricLerp(const TBigFloat& a, const TBigFloat& b, double t);

}  // namespace ork::deep
