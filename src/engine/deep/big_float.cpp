#include "engine/deep/deep_numbers.h"

#include <mpfr.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace ork::deep {
namespace {

static_assert(sizeof(mpfr_t) <= 32 && alignof(__mpfr_struct) <= 8,
              "TBigFloat's storage holds one mpfr_t");

mpfr_ptr P(TBigFloat& x) { return static_cast<mpfr_ptr>(x.Raw()); }
mpfr_srcptr P(const TBigFloat& x) { return static_cast<mpfr_srcptr>(x.Raw()); }

long Clamp(long bits) { return std::clamp(bits, TBigFloat::kMinBits, TBigFloat::kMaxBits); }

TBigFloat Sized(long bits) {
  TBigFloat r;
  r.SetBits(bits);
  return r;
}

// Only "[blanks][sign]digits[.digits][e[sign]digits][blanks]": MPFR itself
// would also take "inf", "nan", hexadecimal and other bases.
bool IsDecimal(const std::string& s, size_t& first, size_t& last, size_t& digits) {
  size_t i = 0, n = s.size();
  while (i < n && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  while (n > i && std::isspace(static_cast<unsigned char>(s[n - 1]))) --n;
  first = i;
  last = n;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
    // Exponents beyond what MPFR's exponent range can take are no numbers.
    if (expDigits == 0 || expDigits > 15) return false;
  }
  return i == n;
}

}  // namespace

TBigFloat::TBigFloat() {
  mpfr_init2(P(*this), kDefaultBits);
  mpfr_set_zero(P(*this), 1);
}

TBigFloat::TBigFloat(double value, long bits) {
  mpfr_init2(P(*this), Clamp(bits));
  mpfr_set_d(P(*this), value, MPFR_RNDN);
}

TBigFloat::TBigFloat(const TBigFloat& other) {
  mpfr_init2(P(*this), mpfr_get_prec(P(other)));
  mpfr_set(P(*this), P(other), MPFR_RNDN);
}

TBigFloat::TBigFloat(TBigFloat&& other) noexcept {
  mpfr_init2(P(*this), mpfr_get_prec(P(other)));
  mpfr_swap(P(*this), P(other));
}

TBigFloat& TBigFloat::operator=(const TBigFloat& other) {
  if (this != &other) {
    mpfr_set_prec(P(*this), mpfr_get_prec(P(other)));
    mpfr_set(P(*this), P(other), MPFR_RNDN);
  }
  return *this;
}

TBigFloat& TBigFloat::operator=(TBigFloat&& other) noexcept {
  if (this != &other) mpfr_swap(P(*this), P(other));
  return *this;
}

TBigFloat::~TBigFloat() { mpfr_clear(P(*this)); }

bool TBigFloat::Parse(const std::string& text, long bits, TBigFloat& out) {
  size_t first = 0, last = 0, digits = 0;
  if (!IsDecimal(text, first, last, digits)) return false;
  if (bits <= 0) bits = std::max<long>(kDefaultBits, static_cast<long>(digits * 3.33) + 8);
  TBigFloat r = Sized(bits);
  const std::string body = text.substr(first, last - first);
  if (mpfr_set_str(P(r), body.c_str(), 10, MPFR_RNDN) != 0 || !mpfr_number_p(P(r))) return false;
  out = std::move(r);
  return true;
}

long TBigFloat::Bits() const { return mpfr_get_prec(P(*this)); }

void TBigFloat::SetBits(long bits) { mpfr_prec_round(P(*this), Clamp(bits), MPFR_RNDN); }

double TBigFloat::ToDouble() const { return mpfr_get_d(P(*this), MPFR_RNDN); }

double TBigFloat::Frexp(int64_t& exponent) const {
  if (mpfr_zero_p(P(*this))) {
    exponent = 0;
    return 0.0;
  }
  long e = 0;
  const double m = mpfr_get_d_2exp(&e, P(*this), MPFR_RNDN);
  exponent = e;
  return m;
}

namespace {

// Mantissa digits and decimal exponent as "[-]d.ddde+x", trailing zeros
// dropped.
std::string Decimal(mpfr_srcptr x, long digits) {
  mpfr_exp_t exp10 = 0;
  char* raw = mpfr_get_str(nullptr, &exp10, 10, static_cast<size_t>(digits), x, MPFR_RNDN);
  if (raw == nullptr) return "0";
  std::string m = raw;
  mpfr_free_str(raw);
  std::string out;
  if (!m.empty() && m[0] == '-') {
    out = "-";
    m.erase(0, 1);
  }
  while (m.size() > 1 && m.back() == '0') m.pop_back();
  out += m.substr(0, 1);
  if (m.size() > 1) out += "." + m.substr(1);
  char e[32];
  std::snprintf(e, sizeof e, "e%+ld", static_cast<long>(exp10 - 1));
  return out + e;
}

}  // namespace

std::string TBigFloat::ToString(int digits) const {
  if (mpfr_zero_p(P(*this))) return "0";
  if (digits > 0) return Decimal(P(*this), digits);
  // The fewest digits that read back to this very value: a value parsed
  // from "1.5e-1000" prints as that again, not with its binary tail.
  const long most = static_cast<long>(std::ceil(Bits() * 0.30103)) + 2;
  for (long n = std::max(1L, static_cast<long>(Bits() * 0.30103) - 1); n < most; ++n) {
    std::string text = Decimal(P(*this), n);
    TBigFloat back;
    if (Parse(text, Bits(), back) && back == *this) return text;
  }
  return Decimal(P(*this), most);
}

bool TBigFloat::IsZero() const { return mpfr_zero_p(P(*this)) != 0; }

int TBigFloat::Sign() const {
  const int s = mpfr_sgn(P(*this));
  return (s > 0) - (s < 0);
}

TBigFloat TBigFloat::operator-() const {
  TBigFloat r = Sized(Bits());
  mpfr_neg(P(r), P(*this), MPFR_RNDN);
  return r;
}

#define ORK_BIG_BINARY(op, fn)                                       \
  TBigFloat TBigFloat::operator op(const TBigFloat& b) const {       \
    TBigFloat r = Sized(std::max(Bits(), b.Bits()));                 \
    fn(P(r), P(*this), P(b), MPFR_RNDN);                             \
    return r;                                                        \
  }
ORK_BIG_BINARY(+, mpfr_add)
ORK_BIG_BINARY(-, mpfr_sub)
ORK_BIG_BINARY(*, mpfr_mul)
#undef ORK_BIG_BINARY

TBigFloat TBigFloat::operator/(const TBigFloat& b) const {
  TBigFloat r = Sized(std::max(Bits(), b.Bits()));
  if (!b.IsZero()) mpfr_div(P(r), P(*this), P(b), MPFR_RNDN);
  return r;
}

TBigFloat TBigFloat::operator*(double b) const {
  TBigFloat r = Sized(Bits());
  mpfr_mul_d(P(r), P(*this), b, MPFR_RNDN);
  return r;
}

TBigFloat TBigFloat::operator+(double b) const {
  TBigFloat r = Sized(Bits());
  mpfr_add_d(P(r), P(*this), b, MPFR_RNDN);
  return r;
}

bool TBigFloat::operator<(const TBigFloat& b) const { return mpfr_less_p(P(*this), P(b)) != 0; }
bool TBigFloat::operator==(const TBigFloat& b) const { return mpfr_equal_p(P(*this), P(b)) != 0; }

TBigFloat TBigFloat::Abs() const {
  TBigFloat r = Sized(Bits());
  mpfr_abs(P(r), P(*this), MPFR_RNDN);
  return r;
}

TBigFloat TBigFloat::Log() const {
  TBigFloat r = Sized(Bits());
  if (Sign() > 0) mpfr_log(P(r), P(*this), MPFR_RNDN);
  return r;
}

TBigFloat TBigFloat::Exp() const {
  TBigFloat r = Sized(Bits());
  mpfr_exp(P(r), P(*this), MPFR_RNDN);
  return r;
}

TBigFloat Lerp(const TBigFloat& a, const TBigFloat& b, double t) {
  if (t == 0) return a;
  if (t == 1) return b;
  TBigFloat r = a + (b - a) * t;
  return r;
}

TBigFloat GeometricLerp(const TBigFloat& a, const TBigFloat& b, double t) {
  if (a.Sign() <= 0 || b.Sign() <= 0) return Lerp(a, b, t);
  if (t == 0) return a;
  if (t == 1) return b;
  // exp(log a + (log b - log a) t): exponents of any size stay exact enough,
  // where a power of the quotient would lose the small end's digits.
  const long bits = std::max(a.Bits(), b.Bits()) + 32;
  TBigFloat la = a, lb = b;
  la.SetBits(bits);
  lb.SetBits(bits);
  TBigFloat r = Lerp(la.Log(), lb.Log(), t).Exp();
  r.SetBits(std::max(a.Bits(), b.Bits()));
  return r;
}

}  // namespace ork::deep

namespace ork::deep {

TFloatExp ToFloatExp(const TBigFloat& x) {
  int64_t e = 0;
  const double m = x.Frexp(e);
  TFloatExp r;
  r.m = m;
  r.e = m == 0 ? 0 : e;
  return r;
}

}  // namespace ork::deep
