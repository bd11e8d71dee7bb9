#include "color/color_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ork {
namespace {

// Three 4096-entry tables pre-filled with a marker, built from the given
// table number, F3, F4 and shift.
struct TTables {
  static constexpr int kMarker = 777;
  std::vector<int> r = std::vector<int>(4096, kMarker);
  std::vector<int> g = std::vector<int>(4096, kMarker);
  std::vector<int> b = std::vector<int>(4096, kMarker);
  TParameter key;
  TTables(int tab, double F3, double F4, int shift = 0) {
    key.farbtab = tab;
    key.fact3 = F3;
    key.fact4 = F4;
    key.fact1 = 30;
    key.ColShift = shift;
    BuildColorTable(key, r.data(), g.data(), b.data(), 4096);
  }
};

TEST(BuildColorTable, DefaultsAreWrittenBack) {
  TTables t(25, 0, 0);
  EXPECT_EQ(t.key.fact3, 1);
  EXPECT_EQ(t.key.fact4, 2048);
  TParameter key;
  key.farbtab = 1;
  BuildColorTable(key, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(key.fact1, 30);
  EXPECT_EQ(key.fact3, 1);
  EXPECT_EQ(key.fact4, 2048);
}

TEST(BuildColorTable, GreyRampAndNormalisation) {
  TTables small(25, 1, 255);
  for (int i = 0; i <= 254; ++i) ASSERT_EQ(small.r[i], i) << i;
  EXPECT_EQ(small.r[255], TTables::kMarker);  // beyond n: untouched
  TTables big(25, 1, 2048);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(big.g[i], i / 8) << i;
  EXPECT_EQ(big.b[2047], 255);
  EXPECT_EQ(big.b[2048], TTables::kMarker);
}

TEST(BuildColorTable, FunctionTables) {
  // Table 1 at i = 0: R = G = n - 2m = 0, B = n - m = 1024 -> 128.
  TTables one(1, 1, 2048);
  EXPECT_EQ(one.r[0], 0);
  EXPECT_EQ(one.g[0], 0);
  EXPECT_EQ(one.b[0], 128);
  TTables seven(7, 1, 2048);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(seven.b[i], 0);
  EXPECT_EQ(seven.r[0], 255);  // clamp(2m) = 2047 -> 255
  // Any other number: F4 sin(2 pi F3 i / F4), clamped.
  TTables grey(0, 1, 2048);
  EXPECT_EQ(grey.r[512], 255);
  EXPECT_EQ(grey.r[1024], 0);
  EXPECT_EQ(grey.r[1536], 0);
  EXPECT_EQ(grey.r[256], 1448 / 8);  // 2048 sin(pi / 4) = 1448.2
  // Table 18's blue is not clamped: n - F3 i.
  TTables t18(18, 1, 2048);
  EXPECT_EQ(t18.b[0], 255);  // 2048 / 8 = 256, capped
  EXPECT_EQ(t18.b[2047], 0);
  TTables t18neg(18, 2, 2048);
  EXPECT_EQ(t18neg.b[2047], (2048 - 4094) / 8);  // negative entries stay
  // Table 17: red runs down below m, then up.
  TTables t17(17, 1, 2048);
  EXPECT_EQ(t17.r[1], 2047 / 8);
  EXPECT_EQ(t17.r[1500], 1500 / 8);
  EXPECT_EQ(t17.g[1500], 1500 / 8);
  EXPECT_EQ(t17.b[3], 12 / 8);
}

TEST(BuildColorTable, FewColoursAreSafe) {
  // Below 255 colours the function tables have no divisor: white.
  TTables few(4, 1, 100);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(few.r[i], 255);
  EXPECT_EQ(few.r[100], TTables::kMarker);
  // Tables 17..22 with F4 below 4: moduli of 0, no fault.
  for (int tab = 17; tab <= 22; ++tab) {
    TTables tiny(tab, 1, 3);
    EXPECT_EQ(tiny.g[2], 255) << tab;
    EXPECT_EQ(tiny.g[3], TTables::kMarker) << tab;
  }
  // F4 below 1 fills nothing.
  TTables none(25, 1, -5);
  EXPECT_EQ(none.r[0], TTables::kMarker);
  TTables nan(14, 1, NAN);
  EXPECT_EQ(nan.r[0], TTables::kMarker);
  // A gradient with fewer than one key is black; one with n < 255 is
  // scaled up.
  TTables dark(14, 0.05, 2048);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(dark.r[i] + dark.g[i] + dark.b[i], 0) << i;
  TTables smallGradient(14, 1, 100);
  EXPECT_EQ(smallGradient.r[9], 252);  // key 1: 99 / (100 / 255)
  for (int n : {1, 2, 3, 11}) {
    TTables g14(14, 1, n), g15(15, 1, n), s23(23, 1, n);
    EXPECT_EQ(g14.r[n], TTables::kMarker);
    EXPECT_EQ(g15.r[n], TTables::kMarker);
    EXPECT_EQ(s23.r[n - 1], TTables::kMarker);
  }
}

TEST(BuildColorTable, GradientTables) {
  // Table 14, F3 0.5: five keys, segments of 2047 / 5 = 409 entries.
  TTables t(14, 0.5, 2048);
  const double L = 2048 / 255.0;
  auto norm = [&](int v) { return std::min(static_cast<int>(v / L), 255); };
  EXPECT_EQ(t.r[0], 0);
  EXPECT_EQ(t.r[409], norm(2047));  // key 1 white
  EXPECT_EQ(t.g[409], norm(2047));
  EXPECT_EQ(t.b[818], norm(2047));  // key 2 blue
  EXPECT_EQ(t.r[818], 0);
  EXPECT_EQ(t.g[1227], norm(2047));  // key 3 green
  EXPECT_EQ(t.r[1636], norm(2047));  // key 4 red
  // Within a segment: steps of trunc(2047 / 409) = 5.
  EXPECT_EQ(t.r[1], norm(5));
  EXPECT_EQ(t.r[100], norm(500));
  // The last segment runs from red towards black; 2045 .. 2047 repeat 2044.
  EXPECT_EQ(t.r[2044], norm(2047 - 5 * 408));
  EXPECT_EQ(t.r[2047], t.r[2044]);
  EXPECT_EQ(t.r[2045], t.r[2044]);

  // Table 15, F3 1: eight keys beginning with key 1 and ending with key 0.
  TTables u(15, 1, 2048);
  EXPECT_EQ(u.r[0], 0);
  EXPECT_EQ(u.g[0], norm(2047));
  EXPECT_EQ(u.b[0], norm(2047));
  const int s = 2047 / 8;
  EXPECT_EQ(u.r[s], norm(2047));  // key 2 red
  EXPECT_EQ(u.b[3 * s], norm(160));  // key 4 (0, 0, 160)
  EXPECT_EQ(u.r[7 * s] + u.g[7 * s] + u.b[7 * s], 0);  // key 0 black
}

TEST(BuildColorTable, SteppedTable) {
  TTables t(23, 1, 256);
  EXPECT_EQ(t.r[255], TTables::kMarker);  // entry n - 1 is not written
  // Entry 0 is key 1 (half, full, full) = (127, 254, 254) scaled by 255/256.
  EXPECT_EQ(t.r[0], 126);
  EXPECT_EQ(t.g[0], 253);
  // Entry 12 is key 0 with the first offset 3: (254, 3, 254) limited.
  EXPECT_EQ(t.r[12], 253);
  EXPECT_EQ(t.g[12], 2);
  // Entry 13 is key 1 again with offset 3: (130, 254, 254).
  EXPECT_EQ(t.r[13], 129);
  // Key 6 (black) at entry 5, and at entry 18 with offset 3.
  EXPECT_EQ(t.r[5], 0);
  EXPECT_EQ(t.r[18], 2);
}

TEST(BuildColorTable, ColourShift) {
  TTables plain(25, 1, 2048);
  TTables shifted(25, 1, 2048, 10);
  EXPECT_EQ(shifted.r[0], plain.r[10]);
  EXPECT_EQ(shifted.r[2047], plain.r[9]);
  EXPECT_EQ(shifted.b[2048], TTables::kMarker);
  TTables back(25, 1, 2048, -1);
  EXPECT_EQ(back.r[0], plain.r[2047]);
  EXPECT_EQ(back.r[1], plain.r[0]);
  TTables around(25, 1, 2048, 2048 * 3 + 10);
  EXPECT_EQ(around.g[0], plain.g[10]);
  TTables huge(25, 1, 2048, INT32_MIN);
  EXPECT_EQ(huge.g[0], plain.g[(2048 - (2147483648LL % 2048)) % 2048]);
}

}  // namespace
}  // namespace ork
