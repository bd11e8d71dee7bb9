#include "model/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace ork {

std::string RealText17(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  // The 17 correctly rounded significant digits and the decimal exponent
  // after rounding decide the form, exactly as printf's %g does.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 16);
  std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
  bool negative = s.front() == '-';
  if (negative) s.remove_prefix(1);
  std::string digits;
  digits.reserve(17);
  size_t epos = s.find('e');
  for (size_t i = 0; i < epos; ++i) {
    if (s[i] != '.') digits.push_back(s[i]);
  }
  int exp10 = std::atoi(std::string(s.substr(epos + 1)).c_str());

  std::string out = negative ? "-" : "";
  if (exp10 >= -4 && exp10 < 17) {
    if (exp10 >= 0) {
      out.append(digits, 0, static_cast<size_t>(exp10) + 1);
      out.push_back('.');
      out.append(digits, static_cast<size_t>(exp10) + 1, std::string::npos);
    } else {
      out += "0.";
      out.append(static_cast<size_t>(-exp10 - 1), '0');
      out += digits;
    }
    return out;
  }
  out.push_back(digits[0]);
  out.push_back('.');
  out.append(digits, 1, std::string::npos);
  out.push_back('e');
  out.push_back(exp10 < 0 ? '-' : '+');
  std::string e = std::to_string(exp10 < 0 ? -exp10 : exp10);
  if (e.size() < 3) out.append(3 - e.size(), '0');
  out += e;
  return out;
}

namespace {

size_t SkipLeadingBlanks(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  return i;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

int TextToInt(std::string_view text) {
  size_t i = SkipLeadingBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  // Unsigned arithmetic wraps, so any length of digits is defined; the low
  // 32 bits are the result.
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i]);
    if (d >= static_cast<int>(base)) break;
    value = value * base + static_cast<unsigned>(d);
  }
  if (negative) value = 0 - value;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

double TextToReal(std::string_view text) {
  size_t i = SkipLeadingBlanks(text);
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t mant_digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++mant_digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++mant_digits;
  }
  if (mant_digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t k = j;
    while (k < text.size() && text[k] >= '0' && text[k] <= '9') ++k;
    if (k > j) i = k;
  }
  // strtod in the "C" locale on exactly the accepted characters: the
  // program's locale (a GUI toolkit may set one) must not change the
  // decimal point.
  static locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  std::string number(text.substr(start, i - start));
  return strtod_l(number.c_str(), nullptr, c_locale);
}

int RealToInt(double x) {
  if (!(x > -2147483649.0 && x < 2147483648.0)) return std::numeric_limits<int>::min();
  return static_cast<int>(x);
}

namespace {

// Characters of b up to and including the decimal point and decimals more;
// the whole text when it has no point.
std::string CutAfterPoint(const std::string& b, int decimals) {
  size_t point = b.find('.');
  if (point == std::string::npos) return b;
  size_t len = point + 1 + static_cast<size_t>(decimals < 0 ? 0 : decimals);
  return b.substr(0, len < b.size() ? len : b.size());
}

// Longer requests change nothing: B has 16 digits after its point at most
// and the zero trimming below always stops at two decimals.
constexpr int kMaxDecimals = 40;

}  // namespace

std::string FormatNumber(double x, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (x == 0 || std::isnan(x)) return "0.0";
  if (std::isinf(x)) return RealText17(x);
  double ax = std::fabs(x);
  if (ax > static_cast<double>(0.01f) && ax < 10000) return CutAfterPoint(RealText17(x), decimals);

  x = x * (1 + 1 / std::pow(10.0, decimals + 4));
  if (std::fabs(x) < static_cast<double>(1.0e-10f)) x = x * 1.000000000000001;
  int m = 0;
  for (int n = -32; n <= 32; ++n) {
    if (std::fabs(x) < std::pow(10.0, n + 1)) {
      m = n;
      break;
    }
  }
  std::string exponent;
  if (m >= 1 && m <= 9) {
    exponent = "+0" + std::to_string(m);
  } else if (m >= 10) {
    exponent = "+" + std::to_string(m);
  } else if (m <= -1 && m >= -9) {
    exponent = "-0" + std::to_string(-m);
  } else if (m <= -10) {
    exponent = "-" + std::to_string(-m);
  }
  std::string b = RealText17(x / std::pow(10.0, m));
  std::string r = CutAfterPoint(b, decimals);
  if (decimals >= 4) {
    std::string t = CutAfterPoint(b, decimals - 2);
    std::string last8 = t.size() > 8 ? t.substr(t.size() - 8) : t;
    if (last8 == "00000000") {
      r = t;
      decimals -= 2;
    }
    for (int k = decimals - 2; k > 0; --k) {
      if (!r.empty() && r.back() == '0') --decimals;
      r = CutAfterPoint(b, decimals);
    }
  }
  return r + "E" + exponent;
}

std::string TruncateDecimals(double x, int decimals) {
  return CutAfterPoint(RealText17(x), decimals);
}

}  // namespace ork
