// The computing settings from the environment: what is understood, and a
// warning naming every value that is not.
#include "engine/environment.h"

#include <gtest/gtest.h>

#include "engine/lane_kernels.h"

namespace ork {
namespace {

TEST(Environment, ThreadCountsOutsideOneTo1024AreIgnoredWithAWarning) {
  const struct {
    const char* text;
    int threads;
  } cases[] = {{nullptr, 0}, {"", 0},       {"1", 1},     {"3", 3},    {"1024", 1024},
               {"0", 0},     {"-3", 0},     {"3x", 0},    {"abc", 0},  {" 3", 0},
               {"1025", 0},  {"99999999999999999999", 0}, {"+2", 0}};
  for (const auto& c : cases) {
    const std::string shown = c.text ? c.text : "(unset)";
    std::string problem;
    EXPECT_EQ(ThreadsSetting(c.text, problem), c.threads) << shown;
    const bool quiet = c.threads > 0 || c.text == nullptr || *c.text == '\0';
    if (quiet) {
      EXPECT_EQ(problem, "") << shown;
    } else {
      EXPECT_NE(problem.find(std::string("ORK_THREADS='") + c.text + "'"), std::string::npos)
          << problem;
    }
  }
}

TEST(Environment, SimdCapsAcceptTheNamesVerbosePrints) {
  const struct {
    const char* text;
    int cap;
  } cases[] = {{nullptr, -1},
               {"", -1},
               {"scalar", static_cast<int>(TSimd::kScalar)},
               {"sse2", static_cast<int>(TSimd::kSse2)},
               {"avx2", static_cast<int>(TSimd::kAvx2)},
               {"avx512", static_cast<int>(TSimd::kAvx512)},
               {SimdName(TSimd::kScalar), static_cast<int>(TSimd::kScalar)},
               {SimdName(TSimd::kSse2), static_cast<int>(TSimd::kSse2)},
               {SimdName(TSimd::kAvx2), static_cast<int>(TSimd::kAvx2)},
               {SimdName(TSimd::kAvx512), static_cast<int>(TSimd::kAvx512)},
               {"foo", -1},
               {"avx", -1},
               {"avx2 ", -1}};
  for (const auto& c : cases) {
    const std::string shown = c.text ? c.text : "(unset)";
    std::string problem;
    EXPECT_EQ(SimdSetting(c.text, problem), c.cap) << shown;
    if (c.cap >= 0 || c.text == nullptr || *c.text == '\0') {
      EXPECT_EQ(problem, "") << shown;
    } else {
      EXPECT_NE(problem.find(std::string("ORK_SIMD='") + c.text + "'"), std::string::npos)
          << problem;
    }
  }
}

}  // namespace
}  // namespace ork
