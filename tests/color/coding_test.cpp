#include "color/coding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "color/real_int.h"
#include "model/number_format.h"

namespace ork {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A one-pixel render object and keyframe: n = 2048 usable colours.
struct TOnePixel {
  TParameter key;
  TRender render;
  TOnePixel(int coding, double F1, double F2, double F4 = 2048) {
    key.OutputWidth = 1;
    key.OutputHeight = 1;
    render.Init(key);
    key.SelectPicture = coding;
    key.fact1 = F1;
    key.fact2 = F2;
    key.fact4 = F4;
  }
  int At(double x, double y, double p = 0, double z = 0, int it = 0, int zyc = 0) {
    render.bildX[0] = x;
    render.bildY[0] = y;
    render.bildP[0] = p;
    render.bildZ[0] = z;
    render.ibild[0] = it;
    render.zycbild[0] = zyc;
    return CodePixel(0, 0, key, render);
  }
  int Count(int it) { return At(0, 0, 0, 0, it); }
};

TEST(RealToInteger, TruncatesAndMapsTheUnrepresentableToMinimum) {
  EXPECT_EQ(TruncInt(2.9), 2);
  EXPECT_EQ(TruncInt(-2.9), -2);
  EXPECT_EQ(TruncInt(2147483647.5), 2147483647);
  EXPECT_EQ(TruncInt(-2147483648.5), INT32_MIN);
  EXPECT_EQ(TruncInt(2147483648.0), INT32_MIN);
  EXPECT_EQ(TruncInt(kNaN), INT32_MIN);
  EXPECT_EQ(TruncInt(kInf), INT32_MIN);
  EXPECT_EQ(TruncInt(-kInf), INT32_MIN);
  for (double v : {0.0, 1e9, -1e9, 3e9, -3e9, 12.75, kNaN, -kInf}) EXPECT_EQ(TruncInt(v), RealToInt(v));
}

TEST(CodePixel, CountCodings) {
  // Coding 3, F1 = 30: (ianzmax + 1) mod 30 for an interior pixel.
  EXPECT_EQ(TOnePixel(3, 30, 0).Count(1000 + 1 + 2048), 1001 % 30);
  EXPECT_EQ(TOnePixel(1003, 30, 0).Count(1000 + 1 + 2048), 1001 % 30);
  // Coding 1, n = 2048 > 60: 30 * ((k - F2) mod 68).
  EXPECT_EQ(TOnePixel(1, 30, 0).Count(2048 + 100), 30 * (100 % 68));
  // Coding 1 with n <= 2 * F1: k - F2 itself.
  EXPECT_EQ(TOnePixel(1, 1500, 5).Count(2048 + 100), 95);
  EXPECT_EQ(TOnePixel(2, 10, 0).Count(2048 + 7), 30);
  EXPECT_EQ(TOnePixel(16, 7, 0).Count(2048 + 100), 14);
  EXPECT_EQ(TOnePixel(17, 3, 0).Count(2048 + 100), 300);
  EXPECT_EQ(TOnePixel(17, 3, 0).Count(2048 + 1000), 3000 % 2047);
  // Negative results clamp to 0, results beyond the table to n - 1.
  EXPECT_EQ(TOnePixel(1, 1500, 0).Count(10), 0);
  EXPECT_EQ(TOnePixel(1, 1500, 0).Count(2048 + 5000), 2047);
}

TEST(CodePixel, ModulusOfZeroGivesIndexZero) {
  EXPECT_EQ(TOnePixel(3, 0.5, 0).Count(2048 + 77), 0);
  EXPECT_EQ(TOnePixel(16, 0.5, 0).Count(2048 + 77), 0);
  EXPECT_EQ(TOnePixel(3, -0.9, 0).Count(2048 + 77), 0);
  EXPECT_EQ(TOnePixel(17, 3, 0, 1).Count(1 + 77), 0);  // n = 1
  // Coding 1 with F1 = -1e9: trunc(n / F1) = 0.
  EXPECT_EQ(TOnePixel(1, -1e9, 0).Count(2048 + 77), 0);
  // F1 = 0 in coding 1: n / 0 is infinite, the modulus becomes the minimum
  // integer, the remainder is the value itself and 0 * value is 0.
  EXPECT_EQ(TOnePixel(1, 0, 0).Count(2048 + 77), 0);
}

TEST(CodePixel, UnknownCodingsAndNoColours) {
  EXPECT_EQ(TOnePixel(0, 30, 0).Count(2048 + 500), 0);
  EXPECT_EQ(TOnePixel(18, 30, 0).Count(2048 + 500), 0);
  EXPECT_EQ(TOnePixel(2003, 30, 0).Count(2048 + 500), 0);  // reduced once only
  EXPECT_EQ(TOnePixel(13, 1, 0, 0).At(0, 0, 0, 50), 0);    // F4 0: n = 0
  EXPECT_EQ(TOnePixel(13, 1, 0, -5).At(0, 0, 0, 50), 0);
  EXPECT_EQ(TOnePixel(13, 1, 0, 1e300).At(0, 0, 0, 50), 0);
  // n is bounded by the render object's 4096 colours.
  EXPECT_EQ(TOnePixel(13, 1, 0, 9000).At(0, 0, 0, 5000), 4095);
}

TEST(CodePixel, CoordinateCodings) {
  // Coding 4: x < 0 gives n - 1 unless |x| < 1; |x| > 1 gives F1 ln|x - F2|.
  EXPECT_EQ(TOnePixel(4, 10, 0).At(-1, 0), 2047);
  EXPECT_EQ(TOnePixel(4, 10, 0).At(-0.5, 0), 0);
  EXPECT_EQ(TOnePixel(4, 10, 0).At(-5, 0), 16);  // 10 ln 5 = 16.09
  EXPECT_EQ(TOnePixel(4, 10, 0).At(100, 0), 46);
  EXPECT_EQ(TOnePixel(4, 10, 0).At(kNaN, 0), 0);
  EXPECT_EQ(TOnePixel(4, 10, 0).At(kInf, 0), 0);
  EXPECT_EQ(TOnePixel(4, 10, 100).At(100, 0), 0);  // ln 0
  EXPECT_EQ(TOnePixel(5, 10, 0).At(0, -1), 2047);
  EXPECT_EQ(TOnePixel(5, 10, 0).At(0, kNaN), 0);
  // Coding 11: x < 0 (or not a number) gives q = 512.
  EXPECT_EQ(TOnePixel(11, 10, 0).At(-0.5, 0), 512);
  EXPECT_EQ(TOnePixel(11, 10, 0).At(kNaN, 0), 512);
  EXPECT_EQ(TOnePixel(11, 10, 0).At(0.5, 0), 0);
  EXPECT_EQ(TOnePixel(11, 10, 0).At(100, 0), 46);
  EXPECT_EQ(TOnePixel(11, 10, 0).At(-kInf, 0), 512);
  EXPECT_EQ(TOnePixel(12, 10, 0).At(0, -3), 512);
  EXPECT_EQ(TOnePixel(12, 10, 0).At(0, 100), 46);
}

TEST(CodePixel, RadiusCodings) {
  // r = 5 for (3, 4).
  EXPECT_EQ(TOnePixel(6, 10, 0).At(3, 4), 16);  // 10 ln 5
  EXPECT_EQ(TOnePixel(6, 10, 0).At(0.3, 0.4), 0);
  EXPECT_EQ(TOnePixel(6, 10, 5).At(3, 4), 0);   // ln 0
  EXPECT_EQ(TOnePixel(6, 10, 7).At(3, 4), 0);   // ln of a negative number
  EXPECT_EQ(TOnePixel(6, 10, 0).At(kNaN, 4), 0);
  EXPECT_EQ(TOnePixel(7, 30, 0).At(3, 4), 0);   // r below F1: 0, not 1
  EXPECT_EQ(TOnePixel(7, 2, 0).At(30, 40), 3);  // ln 50
  EXPECT_EQ(TOnePixel(9, 10, 0).At(3, 0), 60);
  EXPECT_EQ(TOnePixel(9, 10, 0).At(20, 0), 2047);
  EXPECT_EQ(TOnePixel(9, 10, 0).At(10, 0), 0);
  EXPECT_EQ(TOnePixel(9, 10, 0).At(kNaN, 0), 0);
  EXPECT_EQ(TOnePixel(9, 10, 0).At(kInf, 0), 2047);
  EXPECT_EQ(TOnePixel(10, 10, 0).At(0.5, 0), 6);  // 10 ln 2
  EXPECT_EQ(TOnePixel(10, 10, 0).At(3, 0), 30);
  EXPECT_EQ(TOnePixel(10, 10, 0).At(1, 0), 0);
  EXPECT_EQ(TOnePixel(10, 10, 0).At(0, 0), 0);    // ln of infinity
  EXPECT_EQ(TOnePixel(15, 10, 0).At(3, 4, 12), 25);  // 10 ln 13
  EXPECT_EQ(TOnePixel(15, 10, 0).At(0.1, 0.1, 0.1), 0);
  EXPECT_EQ(TOnePixel(15, 10, 0).At(0, 0, kNaN), 0);
}

TEST(CodePixel, AngleStepAndCycleCodings) {
  EXPECT_EQ(TOnePixel(14, 1, 0).At(-1, 0), 180);
  EXPECT_EQ(TOnePixel(14, 1, 0).At(-1, -0.0), 180);
  EXPECT_EQ(TOnePixel(14, 10, 0).At(0, -1), 900);
  EXPECT_EQ(TOnePixel(14, 1, 0).At(kInf, kInf), 45);
  EXPECT_EQ(TOnePixel(14, 1, 0).At(kNaN, 1), 0);
  EXPECT_EQ(TOnePixel(13, 10, 0).At(0, 0, 0, 2.5), 25);
  EXPECT_EQ(TOnePixel(13, 10, 0).At(0, 0, 0, 1e6), 2047);
  EXPECT_EQ(TOnePixel(13, 10, 0).At(0, 0, 0, 1e12), 0);  // beyond 32 bits
  EXPECT_EQ(TOnePixel(13, 10, 0).At(0, 0, 0, kNaN), 0);
  EXPECT_EQ(TOnePixel(8, 3, 1).At(0, 0, 0, 0, 0, 5), 18);
}

TEST(CodePixel, DescriptionTexts) {
  TOnePixel one(1, 30, 0);
  one.Count(0);
  EXPECT_EQ(one.render.Coding[1],
            "gr = It-F2; If 2048 > 2*F1 Then gr = F1*mod((it-F2),Int(2048/F1))");
  TOnePixel seventeen(1017, 30, 0, 300);
  seventeen.Count(0);
  EXPECT_EQ(seventeen.render.Coding[17], "gr = mod(it*F1,299)");
  EXPECT_EQ(seventeen.render.Coding[1], "");
  EXPECT_EQ(CodingText(7, 2048),
            "Br=Sqr(Bx*Bx+By*By); If Br<F1 Then gr=1; If Br>F1 Then gr=Int(Log(Br-F2))");
  EXPECT_EQ(CodingText(18, 2048), "");
  // Outside the picture: index 0.
  EXPECT_EQ(CodePixel(5, 0, one.key, one.render), 0);
}

TEST(CodeRun, MatchesSinglePixelsAndPadsBeyondTheBuffers) {
  TParameter key;
  key.OutputWidth = 7;
  key.OutputHeight = 3;
  TRender render;
  render.Init(key);
  for (int i = 0; i < 21; ++i) {
    render.bildX[i] = i * 0.7 - 5;
    render.bildY[i] = 3 - i * 0.4;
    render.bildZ[i] = i * 1.5;
    render.ibild[i] = 2048 + i * 13;
  }
  key.fact1 = 3;
  key.fact2 = 0.5;
  key.fact4 = 2048;
  for (int coding = 0; coding <= 18; ++coding) {
    key.SelectPicture = coding;
    const TCoder coder = PrepareCoder(key, render);
    int32_t run[25];
    CodeRun(coder, 0, 25, run);
    for (int i = 0; i < 21; ++i) {
      EXPECT_EQ(run[i], CodePixel(i % 7, i / 7, key, render)) << coding << " " << i;
    }
    for (int i = 21; i < 25; ++i) EXPECT_EQ(run[i], 0);
  }
}

// What a coding leaves unread may hold anything: every coding gives the
// same indices when those results are replaced, and the ones it reads
// change them (for these values).
TEST(CodingLeavesUnread, NamesExactlyWhatTheCodingDoesNotRead) {
  TOnePixel one(0, 3, 0.5);
  const double base[] = {2.5, -3.5, 4.5, 7.0};  // x, y, p, z
  const auto code = [&](int coding, unsigned changed) {
    one.key.SelectPicture = coding;
    const auto pick = [&](unsigned bit, double v) { return (changed & bit) ? -v * 13 - 1 : v; };
    return one.At(pick(TRender::kUnreadX, base[0]), pick(TRender::kUnreadY, base[1]),
                  pick(TRender::kUnreadP, base[2]), pick(TRender::kUnreadZ, base[3]),
                  2048 + 77, (changed & TRender::kUnreadPeriod) ? 9 : 3);
  };
  for (int coding = 0; coding <= 18; ++coding) {
    const unsigned unread = CodingLeavesUnread(coding);
    EXPECT_EQ(code(coding, unread), code(coding, 0)) << coding;
    for (const unsigned bit : {TRender::kUnreadX, TRender::kUnreadY, TRender::kUnreadP,
                               TRender::kUnreadZ, TRender::kUnreadPeriod}) {
      if (!(unread & bit)) {
        EXPECT_NE(code(coding, bit), code(coding, 0)) << coding << " " << bit;
      }
    }
  }
}

}  // namespace
}  // namespace ork
