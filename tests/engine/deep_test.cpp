#include "engine/deep/deep_calculate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/deep/deep_approximation.h"
#include "engine/deep/deep_coordinates.h"
#include "engine/deep/deep_lean.h"
#include "engine/deep/deep_reference.h"
#include "engine/deep_oracle.h"
#include "engine/lane_kernels.h"
#include "engine/worker_pool.h"
#include "engine/render.h"
#include "model/host.h"
#include "model/language.h"
#include "model/process_state.h"

namespace ork {
namespace {

using deep::TBigFloat;
constexpr long kBits = 4000;

TBigFloat Big(const std::string& text) {
  TBigFloat t;
  EXPECT_TRUE(TBigFloat::Parse(text, kBits, t)) << text;
  return t;
}

struct TView {
  int game = 1000;
  int julia = 0;
  TBigFloat x, y;    // centre
  TBigFloat cx, cy;  // Julia constant
  std::string height;
  double p = 0;
  double accurate = 0;
  int width = 16, height_px = 12, max_iter = 1000, cycle_test = 4;
};

TParameter Keyframe(const TView& v) {
  TParameter k;
  k.OutputWidth = v.width;
  k.OutputHeight = v.height_px;
  k.GameNo = v.game;
  k.julia = v.julia;
  k.par = v.p;
  k.ianzmax = v.max_iter;
  k.zyctest = v.cycle_test;
  k.Accurate = v.accurate;
  k.maxabs = 100;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  k.Deep = 1;
  deep::SetLong(k.vsxLong, k.vsx, v.x);
  deep::SetLong(k.vsyLong, k.vsy, v.y);
  k.vsp = k.vsx;
  k.vst = k.vsy;
  deep::SetLong(k.CCxLong, k.CCx, v.cx);
  deep::SetLong(k.CCyLong, k.CCy, v.cy);
  deep::SetLong(k.bryLong, k.bry, Big(v.height), true);
  return k;
}

// A view near the minibrot whose atom domain holds (x, y): centred a tenth
// of the view beside its nucleus, a few of its sizes high.
TView NearMinibrot(const std::string& x, const std::string& y, long bits) {
  const int period = test::AtomPeriod(x, y, 100000, bits);
  const test::TNucleus n = test::FindNucleus(x, y, period, bits);
  EXPECT_TRUE(n.found);
  TView v;
  const int e = static_cast<int>(std::floor(n.log10_size));
  v.height = "4e" + std::to_string(e);
  v.x = Big(n.x) + Big("3.1e" + std::to_string(e - 1));
  v.y = Big(n.y) + Big("2.3e" + std::to_string(e - 1));
  v.cycle_test = period + 1;
  return v;
}

struct TAgreement {
  double share = 0;
  std::string blocks;  // first neighbouring rows/columns equal only here
};

TAgreement Compare(const TRender& r, const std::vector<test::TOraclePixel>& o, int W, int H) {
  TAgreement a;
  int same = 0;
  for (size_t i = 0; i < o.size(); ++i) {
    if (r.ibild[i] == o[i].count && r.zycbild[i] == o[i].period) ++same;
  }
  a.share = static_cast<double>(same) / o.size();
  auto rowEqual = [&](auto get, int r0, int r1) {
    for (int c = 0; c < W; ++c) {
      if (get(static_cast<size_t>(r0) * W + c) != get(static_cast<size_t>(r1) * W + c)) return false;
    }
    return true;
  };
  auto colEqual = [&](auto get, int c0, int c1) {
    for (int row = 0; row < H; ++row) {
      if (get(static_cast<size_t>(row) * W + c0) != get(static_cast<size_t>(row) * W + c1)) return false;
    }
    return true;
  };
  auto mine = [&](size_t i) { return r.ibild[i]; };
  auto theirs = [&](size_t i) { return o[i].count; };
  for (int row = 0; row + 1 < H && a.blocks.empty(); ++row) {
    if (rowEqual(mine, row, row + 1) && !rowEqual(theirs, row, row + 1)) {
      a.blocks = "rows " + std::to_string(row);
    }
  }
  for (int c = 0; c + 1 < W && a.blocks.empty(); ++c) {
    if (colEqual(mine, c, c + 1) && !colEqual(theirs, c, c + 1)) {
      a.blocks = "columns " + std::to_string(c);
    }
  }
  return a;
}

// A point within `digits` decimal digits of the boundary of the set the
// view's formula draws (Mandelbrot or Julia mode): bisection between a
// point whose orbit stays and one whose orbit escapes, each probe a
// one-pixel oracle picture.
TBigFloat Bisect(TView v, TBigFloat inside, TBigFloat outside, int digits,
                 const TBigFloat& fixed, bool alongX) {
  v.width = v.height_px = 1;
  // Far more than the view's limit: what stays this long lies inside (or
  // so near the boundary that the view's pixels around it escape early).
  v.max_iter = 3 * v.max_iter;
  v.height = "1e-" + std::to_string(digits + 20);
  for (int i = 0; i < digits * 10 / 3 + 4; ++i) {
    TBigFloat mid = Lerp(inside, outside, 0.5);
    mid.SetBits(kBits);
    v.x = alongX ? mid : fixed;
    v.y = alongX ? fixed : mid;
    const std::vector<test::TOraclePixel> o = test::OraclePicture(Keyframe(v), 16);
    (o[0].escaped ? outside : inside) = mid;
  }
  return inside;
}

void ExpectOracle(const TView& v, const char* name, bool periods = false) {
  TParameter k = Keyframe(v);
  ASSERT_TRUE(deep::DeepComputes(k));
  TRender render;
  render.Init(k);
  ASSERT_TRUE(Calculate(k, &QuietHost(), render));
  const std::vector<test::TOraclePixel> o = test::OraclePicture(k);
  const TAgreement a = Compare(render, o, k.OutputWidth, k.OutputHeight);
  EXPECT_GE(a.share, 0.995) << name;
  EXPECT_EQ(a.blocks, "") << name;
  // The view is no flat picture: the check above means something.
  int distinct = 0;
  for (size_t i = 1; i < o.size(); ++i) distinct += o[i].count != o[0].count;
  EXPECT_GT(distinct, 0) << name << ": every count " << o[0].count;
  int cycles = 0;
  for (const test::TOraclePixel& p : o) cycles += p.period != 0;
  if (periods) {
    EXPECT_GT(cycles, 0) << name;
  }
  if (a.share < 0.995) {
    for (int row = 0; row < k.OutputHeight; ++row) {
      std::string line;
      for (int c = 0; c < k.OutputWidth; ++c) {
        const size_t i = static_cast<size_t>(row) * k.OutputWidth + c;
        line += std::to_string(render.ibild[i] - 2048) + "/" + std::to_string(o[i].count - 2048) +
                (render.zycbild[i] != o[i].period ? "p" : "") + " ";
      }
      ADD_FAILURE() << line;
    }
  }
}

TEST(DeepZoom, MandelbrotNearMinibrotsAgreesWithTheOracle) {
  struct TCase {
    const char *x, *y;
    long bits;
    int max_iter;
    double accurate;  // cycle tolerance: converging to HeightY / 1000 takes long
  } cases[] = {
      {"1e-10", "1.00000000013", 200, 2000, 0},
      {"1e-50", "1.0000000000000000000000000000000000000000000000000013", 600, 1500, 0},
  };
  for (const TCase& c : cases) {
    TView v = NearMinibrot(c.x, c.y, c.bits);
    v.width = 10;
    v.height_px = 8;
    v.max_iter = c.max_iter;
    v.accurate = c.accurate;
    ExpectOracle(v, c.x, true);
  }
}

TEST(DeepZoom, SpiralsAtEveryDepthAgreeWithTheOracle) {
  // c = i is a Misiurewicz point: spirals at every depth. Its reference
  // comes back onto itself every second step, so with CycleTest 2 the
  // table stays idle; with CycleTest 1 it takes most steps, below the
  // double range too.
  for (const int cycleTest : {2, 1}) {
    for (const char* depth : {"1e-20", "1e-100", "1e-300", "1e-1000"}) {
      const std::string e = std::string(depth).substr(1);
      TView v;
      v.x = Big("3.1" + e);
      v.y = Big("1") + Big("1.7" + e);
      v.height = "8" + e;
      v.width = 10;
      v.height_px = 8;
      v.max_iter = 4000;
      v.cycle_test = cycleTest;
      ExpectOracle(v, (std::string(depth) + " CycleTest " + std::to_string(cycleTest)).c_str());
    }
  }
}

// A view centred a little beside a boundary point found on the segment
// from a to b (the other coordinate `at`), 8 * 10^-digits high.
TView OnBoundary(TView v, const char* a, const char* b, const char* at, int digits,
                 bool alongX = true) {
  const TBigFloat fixed = Big(at);
  const TBigFloat t = Bisect(v, Big(a), Big(b), digits, fixed, alongX);
  const std::string e = "e-" + std::to_string(digits);
  v.x = (alongX ? t : fixed) + Big("3.1" + e);
  v.y = (alongX ? fixed : t) + Big("1.7" + e);
  v.height = "8" + e;
  return v;
}

TEST(DeepZoom, JuliaSetsAgreeWithTheOracle) {
  // The dendrite of c = i at z = i.
  TView dendrite;
  dendrite.julia = 1;
  dendrite.cx = Big("0");
  dendrite.cy = Big("1");
  dendrite.x = Big("2.7e-100");
  dendrite.y = Big("1") + Big("1.3e-100");
  dendrite.height = "7e-100";
  ExpectOracle(dendrite, "dendrite");
  // The rabbit's boundary on the real axis: its interior finds period 3.
  TView rabbit;
  rabbit.julia = 1;
  rabbit.cx = Big("-0.122561166876654");
  rabbit.cy = Big("0.744861766619744");
  rabbit.max_iter = 3000;
  ExpectOracle(OnBoundary(rabbit, "0", "2", "0", 100), "rabbit", true);
}

TEST(DeepZoom, CouplingAndTheOtherFormulasAgreeWithTheOracle) {
  // Coupling as small as the view: it moves the spirals at c = i by a
  // fraction of a pixel, which the orbits amplify.
  TView coupled;
  coupled.p = 3e-33;
  coupled.x = Big("3.1e-30");
  coupled.y = Big("1") + Big("1.7e-30");
  coupled.height = "8e-30";
  ExpectOracle(coupled, "1000 coupled");
  TView julia;
  julia.p = 0.01;
  julia.max_iter = 2000;
  julia.julia = 1;
  julia.cx = Big("-0.12");
  julia.cy = Big("0.74");
  ExpectOracle(OnBoundary(julia, "0", "2", "0.1", 30), "1000 coupled Julia");
  for (const double p : {0.0, 0.05}) {
    TView f1001;
    f1001.game = 1001;
    f1001.p = p / 5;
    f1001.max_iter = 2000;
    ExpectOracle(OnBoundary(f1001, "-1", "-3", "0.2", 30), p == 0 ? "1001" : "1001 coupled");
    // Just beyond the tip of 1002's set at c = (2, 0).
    TView f1002;
    f1002.game = 1002;
    f1002.p = p * 1e-30;
    f1002.x = Big("2") + Big("5.1e-30");
    f1002.y = Big("1.3e-31");
    f1002.height = "8e-30";
    ExpectOracle(f1002, p == 0 ? "1002" : "1002 coupled");
  }
}

// A keyframe of double coordinates computed both ways.
struct TBothWays {
  TRender deep, plain;
};
void CalculateBothWays(TParameter k, TBothWays& out, THost* host = &QuietHost()) {
  k.Deep = 0;
  out.plain.Init(k);
  ASSERT_TRUE(Calculate(k, host, out.plain));
  k.Deep = 1;
  out.deep.Init(k);
  ASSERT_TRUE(Calculate(k, host, out.deep));
}

TEST(DeepZoom, ShallowViewsGiveTheDoublePathsCounts) {
  struct TCase {
    int game, julia;
    double x, y, height, p;
  } cases[] = {
      {1000, 0, 2.1e-10, 1.0000000001, 1e-10, 0},
      {1000, 0, -0.743643887037151, 0.131825904205330, 3e-4, 0},
      {1000, 1, 0.3, 0.2, 1e-10, 0},  // the rabbit's boundary
      {1000, 0, 0.001, 0.9, 0.05, 0.01},
      {1001, 0, 0.3, 0.2, 0.5, 0},
      {1002, 0, 2.0, 0.0, 1e-3, 0.02},
  };
  for (const TCase& c : cases) {
    TParameter k;
    k.OutputWidth = 48;
    k.OutputHeight = 36;
    k.GameNo = c.game;
    k.julia = c.julia;
    k.CCx = -0.122561166876654;
    k.CCy = 0.744861766619744;
    k.vsx = k.vsp = c.x;
    k.vsy = k.vst = c.y;
    k.bry = c.height;
    k.par = c.p;
    k.ianzmax = 2000;
    k.zyctest = 8;
    k.maxabs = 16;
    k.colz = 2048;
    k.colzh = 1024;
    k.colzv = 512;
    if (c.julia != 0) {  // a boundary point of the rabbit near the view
      k.vsx = k.vsp = -0.3127;
      k.vsy = k.vst = 0.4312;
    }
    TBothWays both;
    CalculateBothWays(k, both);
    int same = 0;
    const size_t n = both.plain.ibild.size();
    for (size_t i = 0; i < n; ++i) {
      same += both.plain.ibild[i] == both.deep.ibild[i] &&
              both.plain.zycbild[i] == both.deep.zycbild[i];
    }
    EXPECT_GE(same, 0.995 * n) << c.game << " at " << c.x << ", " << c.y;
    // The final values are the same orbit's (where amplified rounding has
    // not carried them apart).
    size_t close = 0;
    for (size_t i = 0; i < n; ++i) {
      close += std::fabs(both.plain.bildX[i] - both.deep.bildX[i]) <=
               1e-6 * (1 + std::fabs(both.plain.bildX[i]));
    }
    EXPECT_GE(close, 0.8 * n) << c.game;
  }
}

class TMessageHost : public THost {
 public:
  std::vector<std::string> lines;
  void Diagnostic(const std::string& line) override { lines.push_back(line); }
};

TEST(DeepZoom, OtherFormulasSayDeepZoomDoesNotApplyAndComputeAsBefore) {
  TParameter k;
  k.OutputWidth = 8;
  k.OutputHeight = 6;
  k.GameNo = 149;
  k.vsx = k.vsp = 0.2;
  k.bry = 1;
  k.ianzmax = 50;
  k.zyctest = 2;
  k.maxabs = 16;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  TMessageHost host;
  TBothWays both;
  CalculateBothWays(k, both, &host);
  EXPECT_EQ(both.deep.ibild, both.plain.ibild);
  EXPECT_EQ(both.deep.bildX, both.plain.bildX);
  bool said = false;
  for (const std::string& line : host.lines) said = said || line.find("149") != std::string::npos;
  EXPECT_TRUE(said);
  k.Deep = 1;
  EXPECT_FALSE(deep::DeepComputes(k));
}

// Cancels at its first poll and keeps the status texts.
class TCancelHost : public THost {
 public:
  std::vector<std::string> status;
  int polls = 0;
  void StatusText(const std::string& text) override { status.push_back(text); }
  int PollCancel() override { return ++polls == 1 ? -1 : 0; }
};

TEST(DeepZoom, EscapeStopsALongReferenceOrbitAndKeepsThePicture) {
  TView v;  // inside the set: the reference runs to the limit
  v.x = Big("-0.1") + Big("1e-25");
  v.y = Big("0.1");
  v.height = "1e-20";
  v.width = 4;
  v.height_px = 3;
  v.max_iter = 50000000;
  TParameter k = Keyframe(v);
  TRender r;
  r.Init(k);
  std::fill(r.ibild.begin(), r.ibild.end(), 7);
  TCancelHost host;
  const TLanguage language = UiLanguage();
  SetUiLanguage(TLanguage::English);
  EXPECT_FALSE(Calculate(k, &host, r));
  SetUiLanguage(language);
  EXPECT_EQ(host.polls, 1);
  ASSERT_FALSE(host.status.empty());
  EXPECT_EQ(host.status[0].rfind("Please wait, reference orbit ", 0), 0u) << host.status[0];
  EXPECT_TRUE(std::all_of(r.ibild.begin(), r.ibild.end(), [](int32_t v) { return v == 7; }));
}

TEST(DeepZoom, PickedPixelRecordsItsTrueOrbit) {
  ResetProcessState();
  TView v;
  v.x = Big("3.1e-40");
  v.y = Big("1") + Big("1.7e-40");
  v.height = "8e-40";
  v.width = 4;
  v.height_px = 3;
  v.max_iter = 400;
  TParameter k = Keyframe(v);
  k.Mpox = 1;
  k.Mpoy = 2;
  TRender r;
  r.Init(k);
  Dynamics().DynamicsMode = 1;
  ASSERT_TRUE(Calculate(k, nullptr, r));
  Dynamics().DynamicsMode = 0;
  // The oracle's pixel escapes at the same iteration as the record ends;
  // the orbit starts 0, c, c^2 + c with c near i.
  const std::vector<test::TOraclePixel> o = test::OraclePicture(k);
  const int escapedAt = o[2 * 4 + 1].count - k.colz - k.colzh;
  EXPECT_EQ(static_cast<int>(r.DynY[0]), escapedAt);
  EXPECT_EQ(r.DynX[1], 0.0);
  EXPECT_NEAR(r.DynY[2], 1.0, 1e-15);
  EXPECT_NEAR(r.DynX[3], -1.0, 1e-15);
  ResetProcessState();
}

}  // namespace
}  // namespace ork

namespace ork {
namespace {

// The lean steps (several pixels side by side, in vector lanes) change
// nothing: every buffer equals the plain loop's, with the table's runs,
// near and below the double range, in both modes, for every formula and
// for short and longer cycle tests.
TEST(DeepZoom, LeanStepsGiveThePlainLoopsBuffers) {
  std::vector<std::pair<std::string, TView>> views;
  for (const char* e : {"e-20", "e-320"}) {
    TView spiral;
    spiral.x = Big(std::string("3.1") + e);
    spiral.y = Big("1") + Big(std::string("1.7") + e);
    spiral.height = std::string("8") + e;
    views.push_back({std::string("spiral ") + e, spiral});
  }
  views.push_back({"minibrot", NearMinibrot("1e-50", "1.0000000000000000000000000000000000000000000000000013", 600)});
  TView dendrite;
  dendrite.julia = 1;
  dendrite.cy = Big("1");
  dendrite.x = Big("2.7e-100");
  dendrite.y = Big("1") + Big("1.3e-100");
  dendrite.height = "7e-100";
  views.push_back({"dendrite", dendrite});
  TView f1001;
  f1001.game = 1001;
  f1001.x = Big("-1.4");
  f1001.y = Big("1.3e-24");
  f1001.height = "3e-24";
  views.push_back({"1001", f1001});
  TView f1002;
  f1002.game = 1002;
  f1002.x = Big("2") + Big("5.1e-30");
  f1002.y = Big("1.3e-31");
  f1002.height = "8e-30";
  views.push_back({"1002", f1002});
  // Inside the set at 1e-20, with a tolerance of its own.
  const auto inside = [](const char* x, const char* y, double accurate) {
    TView v;
    v.x = Big(x) + Big("3e-21");
    v.y = Big(y) + Big("2e-21");
    v.height = "1e-20";
    v.accurate = accurate;
    return v;
  };
  // Inside the period-3 bulb near its root, where orbits settle slowly:
  // the cycle test's last slot finds the period.
  views.push_back({"bulb", inside("-0.125", "0.66", 1e-6)});
  // Inside the main cardioid, a tolerance so small that the fixed point is
  // found only after runs of the table: the plain loop takes over from
  // them with the history started again.
  views.push_back({"cardioid", inside("0.24", "0.01", 1e-12)});
  for (auto [view, v] : views) {
   for (const int cycleTest : {1, 3}) {
    v.width = 45;  // more pixels than lanes: lanes take new pixels
    v.height_px = 12;
    v.max_iter = 1500;
    v.cycle_test = cycleTest;
    const std::string name = view + " CycleTest " + std::to_string(cycleTest);
    TParameter k = Keyframe(v);
    const auto same = [](const auto& a, const auto& b) {
      return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0;
    };
    TRender plain;
    plain.Init(k);
    deep::SetLeanSteps(false);
    SetWorkerThreads(1);
    const bool done = Calculate(k, &QuietHost(), plain);
    deep::SetLeanSteps(true);
    ASSERT_TRUE(done);
    // Vector lanes of each width, and side by side in scalar code; rows
    // on one, three and two threads.
    for (const auto& [simd, threads] : {std::pair{TSimd::kSse2, 1}, std::pair{TSimd::kAvx2, 3},
                                       std::pair{TSimd::kAvx512, 2}}) {
      SetSimdCap(simd);
      SetWorkerThreads(threads);
      TRender lean;
      lean.Init(k);
      ASSERT_TRUE(Calculate(k, &QuietHost(), lean));
      const std::string what = name + " " + SimdName(ActiveSimd());
      EXPECT_TRUE(same(lean.ibild, plain.ibild) && same(lean.zycbild, plain.zycbild)) << what;
      EXPECT_TRUE(same(lean.bildX, plain.bildX) && same(lean.bildY, plain.bildY) &&
                  same(lean.bildP, plain.bildP) && same(lean.bildT, plain.bildT) &&
                  same(lean.bildZ, plain.bildZ))
          << what;
    }
    SetSimdCap(TSimd::kAvx512);
    SetWorkerThreads(0);
    // Results nobody will read stay untouched; the counts are the same.
    TRender counts;
    counts.Init(k);
    counts.unread = TRender::kUnreadX | TRender::kUnreadY | TRender::kUnreadP |
                    TRender::kUnreadT | TRender::kUnreadZ | TRender::kUnreadPeriod;
    ASSERT_TRUE(Calculate(k, &QuietHost(), counts));
    const TBigVector<double> zero(counts.bildZ.size());
    EXPECT_TRUE(same(counts.ibild, plain.ibild) && same(counts.bildZ, zero) &&
                same(counts.bildX, zero))
        << name;
   }
  }
}

// The table's runs, the merged ramps from powers of two, the climbs from
// elsewhere and the runs from index 1 included, follow the plain
// difference step d <- 2 Z d + d^2 + dc to a double's accuracy (an orbit
// inside the rabbit's bulb, so that the reference is long).
TEST(DeepZoom, TableRunsFollowThePlainDifferenceStep) {
  const TBigFloat zero(0.0);
  const TBigFloat z0[4] = {zero, zero, zero, zero};
  deep::TReferenceOrbit ref;
  ASSERT_TRUE(ref.Compute(deep::TDeepFormula(), z0, Big("-0.122"), Big("0.745"), 128, 1e9, 4096,
                          1, nullptr));
  ASSERT_EQ(ref.Length(), 4096);
  const double dcx = 3e-31, dcy = -7e-31;
  deep::TApproximationTable table;
  table.Build(ref, 1e-30, 1, 1e-45);
  int ramps = 0, climbs = 0, fromOne = 0;
  for (const auto& [scale, start] : {std::pair{1e-29, 2}, std::pair{1e-31, 2}, std::pair{1e-31, 6},
                                     std::pair{1e-31, 1}}) {
    double d0 = 3 * scale, d1 = 2 * scale;  // at r = start
    for (int64_t r = start; r + 2 < ref.Length();) {
      const deep::TApproximationTable::TNode* n = nullptr;
      const int64_t len = table.Find(r, deep::Magnitude(d0, d1), 0.0, 1 << 20, n);
      double p0 = d0, p1 = d1;  // the plain steps over the run (or one)
      for (int64_t i = 0; i < std::max<int64_t>(len, 1); ++i) {
        const double* Z = ref.Double(r + i);
        const double a = 2 * (Z[0] * p0 - Z[1] * p1) + (p0 * p0 - p1 * p1) + dcx;
        p1 = 2 * (Z[0] * p1 + Z[1] * p0) + 2 * p0 * p1 + dcy;
        p0 = a;
      }
      if (len == 0) {
        d0 = p0, d1 = p1;
        ++r;
        continue;
      }
      deep::ApplyRun(*n, dcx, dcy, d0, d1);
      EXPECT_NEAR(d0, p0, 1e-9 * deep::Magnitude(p0, p1)) << "run of " << len << " from " << r;
      EXPECT_NEAR(d1, p1, 1e-9 * deep::Magnitude(p0, p1)) << "run of " << len << " from " << r;
      // Longer than the node that starts there.
      (r == 1 ? fromOne : (r & (r - 1)) == 0 ? ramps : climbs) += len > (r & -r);
      r += len;
    }
  }
  EXPECT_GT(ramps, 0);
  EXPECT_GT(climbs, 0);
  EXPECT_GT(fromOne, 0);
}

}  // namespace
}  // namespace ork
