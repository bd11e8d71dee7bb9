#include "film/film_range.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ork {
namespace {

TEST(FilmRange, ReadsRangesAndRefusesTheRest) {
  const struct {
    const char* text;
    bool ok;
    int first, last;
  } kCases[] = {{"3-17", true, 3, 17}, {"12-", true, 12, 0}, {"5", true, 5, 5},
                {"1-1", true, 1, 1},   {"0-4", false, 0, 0}, {"9-3", false, 0, 0},
                {"-4", false, 0, 0},   {"4-x", false, 0, 0}, {"", false, 0, 0},
                {"1 -2", false, 0, 0}, {"99999999999-", false, 0, 0}};
  for (const auto& c : kCases) {
    TFrameRange r;
    std::string error;
    EXPECT_EQ(ParseFrameRange(c.text, r, error), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(r.First, c.first) << c.text;
      EXPECT_EQ(r.Last, c.last) << c.text;
    } else {
      EXPECT_NE(error.find("--frames"), std::string::npos) << c.text;
    }
  }
}

// A film of `flags.size()` frames whose DoCalculate are the given flags.
TParameterAnim Film(const std::vector<int>& flags) {
  TParameterAnim film;
  film.Count = static_cast<int>(flags.size());
  for (int flag : flags) {
    TParameter p;
    p.DoCalculate = flag;
    film.Parameter.push_back(p);
  }
  return film;
}

TEST(FilmRange, PlanSharesTheComputedFramesAndStartsEachRangeOnOne) {
  // 4 computed frames, then 8 still frames, then 8 computed frames.
  std::vector<int> flags(20, 1);
  for (int i = 4; i < 12; ++i) flags[static_cast<size_t>(i)] = 0;
  const TParameterAnim film = Film(flags);
  const std::vector<TFrameRange> ranges = PlanFrameRanges(film, nullptr, 20, 3);
  ASSERT_EQ(ranges.size(), 3u);
  EXPECT_EQ(ranges[0].First, 1);
  EXPECT_EQ(ranges[2].Last, 20);
  for (size_t k = 0; k < ranges.size(); ++k) {
    int computed = 0;
    for (int i = ranges[k].First; i <= ranges[k].Last; ++i) computed += flags[size_t(i) - 1];
    EXPECT_EQ(computed, 4) << "range " << k;
    EXPECT_EQ(flags[size_t(ranges[k].First) - 1], 1) << "range " << k;
    if (k > 0) {
      EXPECT_EQ(ranges[k].First, ranges[k - 1].Last + 1);
    }
  }
  // Never more ranges than frames that compute.
  EXPECT_EQ(PlanFrameRanges(Film({1, 0, 0, 0}), nullptr, 4, 8).size(), 1u);
  EXPECT_TRUE(PlanFrameRanges(Film({}), nullptr, 0, 8).empty());
}

}  // namespace
}  // namespace ork
