#include "model/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <limits>
#include <random>

namespace ork {
namespace {

TEST(NumberFormat, FileFormOfReals) {
  EXPECT_EQ(RealText17(static_cast<double>(0.0001f)), "9.9999997473787516e-005");
  EXPECT_EQ(RealText17(4.0), "4.0000000000000000");
  EXPECT_EQ(RealText17(static_cast<double>(-0.55f)), "-0.55000001192092896");
  EXPECT_EQ(RealText17(1.0e9), "1000000000.0000000");
  EXPECT_EQ(RealText17(0.0), "0.0000000000000000");
  EXPECT_EQ(RealText17(-0.0), "-0.0000000000000000");
  EXPECT_EQ(RealText17(0.0001), "0.00010000000000000000");
  EXPECT_EQ(RealText17(1e16), "10000000000000000.");
  EXPECT_EQ(RealText17(1e17), "1.0000000000000000e+017");
  EXPECT_EQ(RealText17(1e300), "1.0000000000000001e+300");
  EXPECT_EQ(RealText17(-2.5e-310), "-2.5000000000000171e-310");
  EXPECT_EQ(RealText17(std::nan("")), "nan");
  EXPECT_EQ(RealText17(-std::numeric_limits<double>::infinity()), "-inf");
  // Rounding up to the next power of ten moves the decimal point.
  EXPECT_EQ(RealText17(9.99999999999999999e16), "1.0000000000000000e+017");
}

TEST(NumberFormat, FileFormReadsBackExactly) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = rng();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    ASSERT_EQ(TextToReal(RealText17(x)), x) << RealText17(x);
    // Same digits as the C library's "%#.17lg", exponent widened to three.
    char c[64];
    std::snprintf(c, sizeof c, "%#.17lg", x);
    std::string expect = c;
    size_t e = expect.find('e');
    if (e != std::string::npos && expect.size() - e == 4) expect.insert(e + 2, "0");
    ASSERT_EQ(RealText17(x), expect);
  }
  EXPECT_EQ(TextToReal(RealText17(static_cast<double>(1.01f))), static_cast<double>(1.01f));
}

TEST(NumberFormat, IntegerConversion) {
  EXPECT_EQ(TextToInt("  42abc"), 42);
  EXPECT_EQ(TextToInt("-17"), -17);
  EXPECT_EQ(TextToInt("+5"), 5);
  EXPECT_EQ(TextToInt("12.7"), 12);
  EXPECT_EQ(TextToInt("$ff"), 255);
  EXPECT_EQ(TextToInt("$FF0000FF"), static_cast<int>(0xFF0000FFu));
  EXPECT_EQ(TextToInt("%101"), 5);
  EXPECT_EQ(TextToInt("-1"), -1);
  EXPECT_EQ(TextToInt("abc"), 0);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("$"), 0);
  EXPECT_EQ(TextToInt("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt("4294967297"), 1);  // taken modulo 2^32
  EXPECT_EQ(TextToInt(std::string(100000, '9')), TextToInt(std::string(100000, '9')));
}

TEST(NumberFormat, RealConversion) {
  EXPECT_EQ(TextToReal("  0.25xyz"), 0.25);
  EXPECT_EQ(TextToReal("-1.5e3"), -1500.0);
  EXPECT_EQ(TextToReal("1e"), 1.0);
  EXPECT_EQ(TextToReal(".5"), 0.5);
  EXPECT_EQ(TextToReal("5."), 5.0);
  EXPECT_EQ(TextToReal("abc"), 0.0);
  EXPECT_EQ(TextToReal("."), 0.0);
  EXPECT_EQ(TextToReal("nan"), 0.0);
  EXPECT_EQ(TextToReal("inf"), 0.0);
  EXPECT_EQ(TextToReal("-infinity"), 0.0);
  EXPECT_EQ(TextToReal("0x10"), 0.0);
  EXPECT_EQ(TextToReal("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextToReal("1e-999"), 0.0);
  EXPECT_EQ(TextToReal("9.9999997473787516e-005"), static_cast<double>(0.0001f));

  EXPECT_EQ(RealToInt(12.9), 12);
  EXPECT_EQ(RealToInt(-12.9), -12);
  EXPECT_EQ(RealToInt(2147483647.5), 2147483647);
  EXPECT_EQ(RealToInt(2147483648.0), INT32_MIN);
  EXPECT_EQ(RealToInt(std::nan("")), INT32_MIN);
  EXPECT_EQ(RealToInt(-std::numeric_limits<double>::infinity()), INT32_MIN);
}

TEST(NumberFormat, FormatNumberTable) {
  struct Case {
    double x;
    int decimals;
    const char* text;
  } cases[] = {
      {123.456, 2, "123.45"},     {1234.5678, 3, "1234.567"}, {0.5, 0, "0."},
      {0.5, 5, "0.50000"},        {100, 3, "100.000"},        {2000, 1, "2000.0"},
      {15000, 1, "1.5E+04"},      {12345.678, 2, "1.23E+04"}, {0.000123, 3, "1.230E-04"},
      {0.001, 5, "1.00E-03"},     {-0.003, 2, "-3.00E-03"},   {1e-20, 5, "1.00E-20"},
      {1e40, 2, "1.00E"},         {0, 3, "0.0"},              {-0.0, 3, "0.0"},
      {std::nan(""), 2, "0.0"},   {0.5, -3, "0."},            {10000, 1, "1.0E+04"},
      {1.5e15, 6, "1.50E+15"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatNumber(c.x, c.decimals), c.text) << c.x << " / " << c.decimals;
  }
  // Absurd decimal counts neither hang nor change the exponent form.
  EXPECT_EQ(FormatNumber(15000, 1 << 30), FormatNumber(15000, 40));
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), 2), "inf");
}

TEST(NumberFormat, TruncateDecimals) {
  EXPECT_EQ(TruncateDecimals(2.75, 1), "2.7");
  EXPECT_EQ(TruncateDecimals(0.5, 0), "0.");
  EXPECT_EQ(TruncateDecimals(1e20, 2), "1.00");
  EXPECT_EQ(TruncateDecimals(std::nan(""), 2), "nan");
}

}  // namespace
}  // namespace ork
