#include "film/interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace ork {
namespace {

class TMessageHost : public THost {
 public:
  std::vector<std::string> messages;
  void Information(const std::string& text) override { messages.push_back(text); }
  void Diagnostic(const std::string&) override {}
};

TEST(FramesForFactor, CountsFromRatioAndFactor) {
  TMessageHost host;
  // HeightY from 4 to 0.04 at 0.9 per frame: ln 0.01 / ln 0.9.
  const double h = FramesForFactor(0.9, 0, 1, 4, 0.04, host);
  EXPECT_NEAR(h, 43.708690653, 1e-6);
  EXPECT_DOUBLE_EQ(h, std::log(0.04 / 4) / std::log(0.9));
  // The factor is turned to point in the direction of the change.
  EXPECT_NEAR(FramesForFactor(1 / 0.9, 0, 1, 4, 0.04, host), h, 1e-9);
  EXPECT_NEAR(FramesForFactor(0.9, 0, 1, 0.04, 4, host), h, 1e-9);
  // The running count wins when larger; other marks leave it.
  EXPECT_EQ(FramesForFactor(0.9, 60, 1, 4, 0.04, host), 60);
  EXPECT_EQ(FramesForFactor(0.9, 7, 0, 4, 0.04, host), 7);
  EXPECT_EQ(FramesForFactor(0.9, 7, 21, 4, 0.04, host), 7);
  // Tiny changes still take one frame.
  EXPECT_EQ(FramesForFactor(0.5, 0, 1, 4, 3.99, host), 1);
  EXPECT_TRUE(host.messages.empty());

  // A zero value replaces the running count by 50, with a message.
  EXPECT_EQ(FramesForFactor(0.9, 80, 1, 0, 5, host), 50);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("Bei Start- oder Endwert Null", 0), 0u);

  // A sign change is reported and the magnitudes count.
  host.messages.clear();
  EXPECT_NEAR(FramesForFactor(0.9, 0, 1, 4, -0.04, host), h, 1e-9);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "Parameter wechselt Vorzeichen: 4.0000000000000000 --> -0.040000000000000001"
            " Rechnung unvollst\xE4ndig, Bitte aufteilen.");

  // Equal values, a factor of exactly 1 and factors close to 1 stay bounded.
  host.messages.clear();
  EXPECT_EQ(FramesForFactor(0.9, 3, 1, 2, 2, host), 3);
  EXPECT_EQ(FramesForFactor(1.0, 3, 1, 4, 0.04, host), 3);
  EXPECT_EQ(FramesForFactor(-1.0, 3, 1, 4, 0.04, host), 3);
  EXPECT_EQ(FramesForFactor(1 + 1e-12, 0, 1, 4, 0.04, host), kMaxFilmFrames);
  EXPECT_EQ(FramesForFactor(std::nan(""), 0, 1, 4, 0.04, host), 1);
  EXPECT_TRUE(host.messages.empty());
}

TEST(ComputeFactor, PerFrameFactorOfMarkedParameters) {
  TMessageHost host;
  std::array<int, TParameter::kParamIndices> marks{};
  marks[4] = 1;
  marks[7] = 21;  // not a "*" mark of 1
  TFactorTable table{};
  const double h = std::log(0.01) / std::log(0.9);
  ComputeFactor(table, h, marks, 4, 0.04, 4, host);
  EXPECT_DOUBLE_EQ(table[4], std::pow(0.01, 1 / h));
  EXPECT_NEAR(table[4], 0.9, 1e-12);
  ComputeFactor(table, h, marks, 4, 0.04, 7, host);
  ComputeFactor(table, h, marks, 4, 0.04, 5, host);
  EXPECT_EQ(table[7], 0);
  EXPECT_EQ(table[5], 0);
  // Zero values, no frames and a sign change leave the entry.
  marks[6] = marks[9] = marks[10] = 1;
  ComputeFactor(table, 10, marks, 0, 1, 6, host);
  ComputeFactor(table, 0, marks, 1, 2, 9, host);
  EXPECT_TRUE(host.messages.empty());
  ComputeFactor(table, 10, marks, -1, 2, 10, host);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(table[6], 0);
  EXPECT_EQ(table[9], 0);
  EXPECT_EQ(table[10], 0);
}

TEST(InterpolateReal, LinearGeometricAndFixed) {
  TFactorTable table{};
  table[4] = 0.5;
  bool same = true;
  EXPECT_DOUBLE_EQ(InterpolateReal(0.25, 0, 1, 2, 10, 2, table, 4, same), 4);
  EXPECT_FALSE(same);
  same = true;
  EXPECT_DOUBLE_EQ(InterpolateReal(0, 0, 1, 2, 10, 2, table, 4, same), 2);
  EXPECT_TRUE(same) << "the first frame equals the key";
  // "*": previous times the factor; "+" wins over "*".
  EXPECT_DOUBLE_EQ(InterpolateReal(0.5, 1, 0, 8, 1, 8, table, 4, same), 4);
  EXPECT_DOUBLE_EQ(InterpolateReal(0.5, 1, 1, 8, 1, 8, table, 4, same), 4.5);
  // Not marked: the start value.
  same = true;
  EXPECT_DOUBLE_EQ(InterpolateReal(0.5, 0, 0, 8, 1, 8, table, 4, same), 8);
  EXPECT_TRUE(same);
  // A "*" parameter without a usable factor runs linearly instead of
  // collapsing to 0.
  EXPECT_DOUBLE_EQ(InterpolateReal(0.5, 1, 0, 0, 4, 0, table, 5, same), 2);
  table[6] = std::nan("");
  EXPECT_DOUBLE_EQ(InterpolateReal(0.5, 1, 0, -2, 4, -2, table, 6, same), 1);
}

TEST(InterpolateInt, CutValuesAndStepRule) {
  TFactorTable table{};
  table[16] = 1.5;
  bool same = true;
  EXPECT_EQ(InterpolateInt(0.5, 0, 1, 100, 201, 100, table, 16, same), 150);
  EXPECT_EQ(InterpolateInt(0.999, 0, 1, 100, 200, 100, table, 16, same), 199) << "cut, not rounded";
  EXPECT_EQ(InterpolateInt(0.5, 0, 1, 200, 100, 200, table, 16, same), 150);
  EXPECT_EQ(InterpolateInt(0.0, 1, 0, 100, 1000, 101, table, 16, same), 151);
  // Step rule 21: only odd values are taken, others keep the previous one.
  same = true;
  EXPECT_EQ(InterpolateInt(0.4, 0, 21, 0, 10, 3, table, 18, same), 3);
  EXPECT_TRUE(same);
  EXPECT_EQ(InterpolateInt(0.5, 0, 21, 0, 10, 3, table, 18, same), 5);
  EXPECT_FALSE(same);
  // Step rule 30: multiples of 3.
  EXPECT_EQ(InterpolateInt(0.6, 0, 30, 0, 10, 3, table, 18, same), 6);
  EXPECT_EQ(InterpolateInt(0.7, 0, 30, 0, 10, 6, table, 18, same), 6);
  // Marks 2..9 have no modulus: plain "+".
  for (int p = 2; p <= 9; ++p) EXPECT_EQ(InterpolateInt(0.7, 0, p, 0, 10, 6, table, 18, same), 7);
  // Not marked: the start value; "*" without a factor: linear.
  EXPECT_EQ(InterpolateInt(0.7, 0, 0, 4, 10, 6, table, 18, same), 4);
  EXPECT_EQ(InterpolateInt(0.5, 1, 0, 4, 10, 4, table, 18, same), 7);
}

TEST(InterpolateFrame, FillsTheTableParametersAndFollowsWidth) {
  TParameter e;
  e.OutputWidth = 200;
  e.OutputHeight = 100;
  e.bry = 4;
  e.vsx = -1;
  e.Degree = 10;
  e.maxabs = 100.75;
  e.Cfarbtab = {2, 9, 9, 9, 0};
  e.farbtab = 2;
  e.ianzmax = 100;
  e.GameNo = 7;
  TParameter f = e;
  f.bry = 2;
  f.vsx = 1;
  f.Degree = 90;
  f.maxabs = 200.5;
  f.Cfarbtab[0] = 12;
  f.ianzmax = 900;
  f.GameNo = 8;
  e.InterpP[4] = e.InterpP[5] = e.InterpP[17] = e.InterpP[20] = 1;
  e.InterpM[7] = 1;
  TFactorTable table{};
  table[7] = 2;
  TParameter g = e;
  bool same = true;
  InterpolateFrame(0.5, e, f, g, e, table, same);
  EXPECT_FALSE(same);
  EXPECT_DOUBLE_EQ(g.bry, 3);
  EXPECT_DOUBLE_EQ(g.brx, 6);
  EXPECT_DOUBLE_EQ(g.vsx, 0);
  EXPECT_DOUBLE_EQ(g.Degree, 20);
  EXPECT_DOUBLE_EQ(g.maxabs, 150) << "integer parts interpolated";
  EXPECT_EQ(g.Cfarbtab[0], 7);
  EXPECT_EQ(g.farbtab, 7);
  EXPECT_EQ(g.Cfarbtab[1], 9);
  EXPECT_EQ(g.ianzmax, 100) << "not marked";
  EXPECT_EQ(g.GameNo, 7) << "not interpolated";
  // The first frame of an interval repeats the key exactly.
  TParameter first = e;
  same = true;
  InterpolateFrame(0, e, f, first, e, TFactorTable{}, same);
  EXPECT_DOUBLE_EQ(first.bry, 4);
  EXPECT_EQ(first.Degree, 10) << "no factor: linear from the start";
  EXPECT_TRUE(same);
}

}  // namespace
}  // namespace ork
