// The parallel picture loop against the sequential one, bit for bit.
#include "engine/parallel_calculate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/lane_kernels.h"
#include "engine/render.h"
#include "engine/worker_pool.h"

namespace ork {
namespace {

struct TCase {
  std::string name;
  TParameter key;
};

TParameter Base(int formula, int julia, int cycleTest) {
  TParameter k;
  k.OutputWidth = 64;
  k.OutputHeight = 64;
  k.GameNo = formula;
  k.julia = julia;
  k.CCx = -0.4;
  k.CCy = 0.6;
  k.vsx = k.vsp = -0.5;
  k.vsy = k.vst = 0.1;
  k.bry = 3;
  k.ianzmax = 150;
  k.zyctest = cycleTest;
  k.Accurate = 0;
  k.maxabs = 1e6;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

std::vector<TCase> Cases() {
  std::vector<TCase> cases;
  const int formulas[] = {1000, 1001, 1002, 149, 151, 152, 201, 202, 203,
                          204,  205,  206,  207, 208, 2031, 2032, 1003};
  int n = 0;
  for (int f : formulas) {
    for (int ct : {1, 8, 32}) {
      for (int julia : {0, 1}) {
        TParameter k = Base(f, julia, ct);
        k.par = (n++ % 3 == 0) ? 0.1 : 0;  // coupled now and then
        cases.push_back({std::to_string(f) + " ct" + std::to_string(ct) + " julia" +
                             std::to_string(julia) + " p" + std::to_string(k.par),
                         k});
      }
    }
  }
  TParameter k = Base(1000, 0, 32);
  k.Accurate = 0.5;  // cycles found against the neighbours' orbits all the time
  cases.push_back({"accurate near the picture height", k});
  k = Base(1000, 0, 8);
  k.ianzmax = 5;  // no pixel reaches a sampling iteration
  cases.push_back({"max iterations below 10", k});
  k = Base(201, 0, 8);
  k.ianzmax = 25;  // most pixels sample zval, some inherit it
  cases.push_back({"zval inherited", k});
  k = Base(1000, 1, 8);
  k.maxabs = std::numeric_limits<double>::infinity();  // orbits run to inf and NaN
  k.CCx = 0.4;
  cases.push_back({"no escape bound", k});
  for (int ct : {2, 3, 5}) {  // few slots: none, one or three beyond the two newest
    k = Base(ct == 3 ? 1001 : 1000, ct % 2, ct);
    k.Accurate = 1e-3;  // cycles found often
    cases.push_back({"few slots " + std::to_string(ct), k});
  }
  k = Base(1000, 0, 8);
  k.maxabs = 1e308;  // squares overflow: orbits turn NaN below the escape bound
  cases.push_back({"escape bound near overflow", k});
  k = Base(1002, 0, 8);
  k.Degree = 30;
  cases.push_back({"turned", k});
  for (int ct : {4095, 4096, 4097, 8192, 8193}) {  // either side of the long history's sizes
    k = Base(ct % 2 == 0 ? 1000 : 202, ct % 2, ct);
    k.ianzmax = 40;
    cases.push_back({"long cycle test " + std::to_string(ct), k});
  }
  k = Base(1000, 1, 1);
  k.CCy = -0.0;  // keeps the coupling terms' -0 alive: no lean step
  cases.push_back({"julia with c1y -0", k});
  k = Base(1000, 1, 1);
  k.vsp = -0.8;  // orbit 2 starts apart from orbit 1: no lean step
  k.Accurate = 1;  // the first step's cycle test sees the difference
  cases.push_back({"orbit 2 apart", k});
  k = Base(1000, 0, 1);
  k.ianzmax = 0;  // every pixel ends in its first step
  cases.push_back({"max iterations 0", k});
  k = Base(1000, 0, 1);
  k.maxabs = 4;  // idle lanes fail the screens
  k.Accurate = 2;
  cases.push_back({"escape bound 4, tolerance 2", k});
  for (int f : {1000, 1001, 1002}) {
    k = Base(f, 0, 1);
    k.Accurate = 1e-3;  // cycles of one step inside the set
    // One size screen for runs of four, two and three steps.
    k.maxabs = f == 1000 ? 1e9 : f == 1001 ? 1e4 : 1e6;
    cases.push_back({std::to_string(f) + " uncoupled cycles", k});
  }
  k = Base(1000, 0, 8);
  k.FileNameKey = "Stop! here";
  cases.push_back({"stop frame", k});
  return cases;
}

// Helpers from the second row on, however quick the picture.
class ParallelCalculate : public ::testing::Test {
 protected:
  void SetUp() override { SetParallelLeadIn(std::chrono::microseconds(0)); }
  void TearDown() override {
    SetParallelLeadIn(kParallelLeadIn);
    SetWorkerThreads(0);
    SetSimdCap(TSimd::kAvx512);
  }
};

// Buffers as the plain sequential loop leaves them (one thread, no lanes).
TRender Reference(TParameter k) {
  SetWorkerThreads(1);
  SetSimdCap(TSimd::kScalar);
  TRender r;
  r.Init(k);
  Calculate(k, &QuietHost(), r);
  EXPECT_EQ(LastParallelStats().threads, 0);  // not the picture loop's rows
  SetWorkerThreads(0);
  SetSimdCap(TSimd::kAvx512);
  return r;
}

template <class V>
bool SameBits(const V& a, const V& b, size_t& first) {
  for (first = 0; first < a.size(); ++first) {
    if (std::memcmp(&a[first], &b[first], sizeof(a[first])) != 0) return false;
  }
  return a.size() == b.size();
}

void ExpectSame(const TRender& want, const TRender& got, const std::string& what) {
  size_t at = 0;
  EXPECT_TRUE(SameBits(want.bildX, got.bildX, at)) << what << " bildX at " << at;
  EXPECT_TRUE(SameBits(want.bildY, got.bildY, at)) << what << " bildY at " << at;
  EXPECT_TRUE(SameBits(want.bildP, got.bildP, at)) << what << " bildP at " << at;
  EXPECT_TRUE(SameBits(want.bildT, got.bildT, at)) << what << " bildT at " << at;
  EXPECT_TRUE(SameBits(want.bildZ, got.bildZ, at)) << what << " bildZ at " << at;
  EXPECT_TRUE(SameBits(want.ibild, got.ibild, at)) << what << " ibild at " << at;
  EXPECT_TRUE(SameBits(want.zycbild, got.zycbild, at)) << what << " zycbild at " << at;
}

TEST_F(ParallelCalculate, EqualsTheSequentialLoopBitForBit) {
  int repaired = 0, alone = 0;
  for (const TCase& c : Cases()) {
    const TRender want = Reference(c.key);
    for (TSimd simd : {TSimd::kScalar, TSimd::kSse2, TSimd::kAvx2, TSimd::kAvx512}) {
      SetSimdCap(simd);
      if (ActiveSimd() != simd) continue;  // not on this processor
      if (simd != TSimd::kScalar && !UsesLaneKernel(c.key)) continue;
      for (int threads : {1, 2, 3, 7}) {
        SetWorkerThreads(threads);
        TParameter k = c.key;
        TRender got;
        got.Init(k);
        EXPECT_TRUE(Calculate(k, &QuietHost(), got));
        ExpectSame(want, got,
                   c.name + " " + SimdName(simd) + " threads " + std::to_string(threads));
        const TParallelStats stats = LastParallelStats();
        repaired += stats.segments_repaired;
        // Lanes on every thread count, one thread included.
        if (simd != TSimd::kScalar && c.name != "stop frame" && c.key.zyctest < 4096) {
          EXPECT_EQ(stats.threads, threads) << c.name;
        }
        alone += stats.went_alone || (stats.threads > 1 && stats.lead_in_rows == 64);
      }
    }
  }
  SetSimdCap(TSimd::kAvx512);
  SetWorkerThreads(0);
  // The checks must have had something to mend, and the hopeless case must
  // have kept the helpers away.
  EXPECT_GT(repaired, 0);
  EXPECT_GT(alone, 0);
}

// Results nobody will read are left untouched (their fresh memory never
// faulted in); the others are what a full computation gives, on every path.
TEST_F(ParallelCalculate, UnreadResultsStayUntouchedAndTheRestIsTheSame) {
  const unsigned all = TRender::kUnreadX | TRender::kUnreadY | TRender::kUnreadP |
                       TRender::kUnreadT | TRender::kUnreadZ | TRender::kUnreadPeriod;
  const unsigned some = TRender::kUnreadX | TRender::kUnreadP | TRender::kUnreadZ;
  TParameter zval = Base(201, 0, 8);
  zval.ianzmax = 25;
  const std::vector<TCase> cases = {{"1000 ct1", Base(1000, 0, 1)},
                                    {"1000 ct8", Base(1000, 1, 8)},
                                    {"202 ct8", Base(202, 0, 8)},
                                    {"zval inherited", zval}};
  for (const TCase& c : cases) {
    const TRender want = Reference(c.key);
    for (const TSimd simd : {TSimd::kScalar, TSimd::kAvx512}) {
      for (const int threads : {1, 2}) {
        for (const unsigned unread : {all, some}) {
          SetSimdCap(simd);
          SetWorkerThreads(threads);
          TParameter k = c.key;
          TRender got;
          got.Init(k);
          got.unread = unread;
          EXPECT_TRUE(Calculate(k, &QuietHost(), got));
          const std::string what = c.name + " " + SimdName(ActiveSimd()) + " threads " +
                                   std::to_string(threads) + " unread " + std::to_string(unread);
          const auto check = [&](const auto& wanted, const auto& result, unsigned bit,
                                 const char* name) {
            size_t at = 0;
            if (unread & bit) {
              std::remove_cvref_t<decltype(result)> zero(result.size());
              EXPECT_TRUE(SameBits(zero, result, at)) << what << " " << name << " at " << at;
            } else {
              EXPECT_TRUE(SameBits(wanted, result, at)) << what << " " << name << " at " << at;
            }
          };
          check(want.bildX, got.bildX, TRender::kUnreadX, "bildX");
          check(want.bildY, got.bildY, TRender::kUnreadY, "bildY");
          check(want.bildP, got.bildP, TRender::kUnreadP, "bildP");
          check(want.bildT, got.bildT, TRender::kUnreadT, "bildT");
          check(want.bildZ, got.bildZ, TRender::kUnreadZ, "bildZ");
          check(want.ibild, got.ibild, 0, "ibild");
          check(want.zycbild, got.zycbild, TRender::kUnreadPeriod, "zycbild");
        }
      }
    }
  }
}

// Pictures whose rows the calling thread used to compute alone: pixels that
// push nothing into the history (formula 202 in Mandelbrot mode ends every
// pixel in its first step, at the division guard) and long histories. The
// helpers share the rows and the results stay those of the plain loop.
TEST_F(ParallelCalculate, HelpersShareRowsWithoutPushesAndWithLongHistories) {
  std::vector<TCase> cases = {{"202 ct8 mandelbrot", Base(202, 0, 8)}};
  for (int ct : {4096, 8192}) {
    TParameter k = Base(1000, 0, ct);
    k.vsx = k.vsp = -0.745;  // long orbits: a few pixels refill the history
    k.vsy = k.vst = 0.11;
    k.bry = 0.05;
    k.ianzmax = 300;
    cases.push_back({"long cycle test " + std::to_string(ct), k});
  }
  for (const TCase& c : cases) {
    const TRender want = Reference(c.key);
    for (int threads : {2, 3, 7}) {
      SetWorkerThreads(threads);
      TParameter k = c.key;
      TRender got;
      got.Init(k);
      EXPECT_TRUE(Calculate(k, &QuietHost(), got));
      const std::string what = c.name + " threads " + std::to_string(threads);
      ExpectSame(want, got, what);
      const TParallelStats stats = LastParallelStats();
      EXPECT_EQ(stats.threads, threads) << what;
      EXPECT_GT(stats.segments_checked, 0) << what;
      EXPECT_FALSE(stats.went_alone) << what;
    }
  }
}

// Answers Q at row 5 and stops at row `at`; rows from there on keep what
// they held.
class TCancelAt : public THost {
 public:
  explicit TCancelAt(int at) : at_(at) {}
  int PollCancel() override {
    const int row = polls_++;
    return row == at_ ? -1 : row == 5 ? 1 : 0;
  }

 private:
  int at_;
  int polls_ = 0;
};

TEST_F(ParallelCalculate, CancelCommitsExactlyTheRowsBefore) {
  const TParameter key = Base(1000, 0, 8);
  const TRender want = Reference(key);
  for (int threads : {1, 2, 7}) {
    SetWorkerThreads(threads);
    TParameter k = key;
    TRender got;
    got.Init(k);
    std::fill(got.ibild.begin(), got.ibild.end(), -7);
    TCancelAt host(20);
    int shown = 0;
    // Painting the rows so far may change the keyframe's colours while the
    // helpers compute; the counts keep the colour count they started with.
    auto paint = [&] {
      ++shown;
      k.colz = 99;
      EXPECT_EQ(got.ibild[4 * 64], want.ibild[4 * 64]);
    };
    EXPECT_FALSE(Calculate(k, &host, got, paint));
    EXPECT_EQ(shown, 1);
    for (int i = 0; i < 64 * 64; ++i) {
      if (i < 20 * 64) {
        ASSERT_EQ(got.ibild[i], want.ibild[i]) << i;
        ASSERT_EQ(got.bildZ[i], want.bildZ[i]) << i;
      } else {
        ASSERT_EQ(got.ibild[i], -7) << i;
      }
    }
  }
  SetWorkerThreads(0);
}

}  // namespace
}  // namespace ork
