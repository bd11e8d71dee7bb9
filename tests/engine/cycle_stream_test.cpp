#include "engine/cycle_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <vector>

#include "engine/iteration.h"

namespace ork {
namespace {

// The history as written: slot i + 1 holds the value pushed i pushes ago,
// slots beyond the pushes hold the start values.
int PlainPeriod(const std::vector<TOrbit>& pushed, long long slots, const TOrbit& z, double acc) {
  const long long n = static_cast<long long>(pushed.size());
  for (long long i = 1; i <= slots; ++i) {
    const TOrbit h = i <= n ? pushed[n - i]
                            : TOrbit{kHistoryStart[0], kHistoryStart[1], kHistoryStart[2],
                                     kHistoryStart[3]};
    const double value[4] = {h.x1, h.y1, h.x2, h.y2};
    if (!(CycleDistance(value, z) >= acc)) return static_cast<int>(i + 1);
  }
  return 0;
}

// Orbit values that repeat after many pushes (near each other, far out,
// infinite, the start values), checked against the history as written
// while the tolerance changes once and the history is now and then saved
// and loaded into a new stream.
TEST(CycleStream, FindsTheSlotThePlainHistoryFinds) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<TOrbit> pool;
  for (int i = 0; i < 40; ++i) {
    const double x = 0.01 * (i % 13) - 0.2 + 1e-7 * (i % 3);
    pool.push_back({x, 0.3 * (i % 7), -x, 0.1 * (i % 5)});
  }
  for (double edge : {0.05, 0.3, 1e-4 * 3001}) {  // values either side of a bucket edge
    for (double off : {-3e-7, 2e-7, -0.01, 0.02, -3e-5, 4e-5}) pool.push_back({edge + off, 0.5, 0.1, 0.2});
  }
  pool.push_back({1e200, 1, 2, 3});
  pool.push_back({1e200 + 1e185, 1, 2, 3});
  pool.push_back({-3e15, 1, 2, 3});
  pool.push_back({inf, 1, 2, 3});
  pool.push_back({kHistoryStart[0], kHistoryStart[1], kHistoryStart[2], kHistoryStart[3]});
  for (long long slots : {1, 2, 5, 37, 700}) {
    for (double acc : {1e-6, 0.05, 0.0, -1.0, inf}) {
      std::mt19937 random(static_cast<unsigned>(slots * 7 + 3));
      TCycleStream stream;
      stream.Start(slots, "test");
      std::vector<TOrbit> pushed;
      for (int step = 0; step < 6000; ++step) {
        const double a = step < 3000 ? acc : 1e-4;  // as formulas 202 and 205 do
        const TOrbit z = pool[random() % pool.size()];
        ASSERT_EQ(stream.Period(z, a), PlainPeriod(pushed, slots, z, a))
            << "slots " << slots << " acc " << a << " step " << step;
        if (random() % 4 != 0) {
          stream.Push(z);
          pushed.push_back(z);
        }
        if (step % 700 == 350) {  // a saved history loaded into another stream answers alike
          std::vector<double> saved(4 * slots);
          stream.Save(saved.data());
          TCycleStream loaded;
          loaded.Start(slots, "test");
          loaded.Load(saved.data());
          stream = std::move(loaded);
        }
      }
    }
  }
}

}  // namespace
}  // namespace ork

namespace ork {
namespace {

// Every cycle test costs about the same per push: around each power of two
// the stream grows once and compacts rarely, instead of rebuilding its
// chains on nearly every push once it holds the slots.
TEST(CycleStream, PushesCostTheSameAroundPowersOfTwo) {
  for (long long slots : {1023, 1024, 1025, 2047, 2048, 4095, 4096, 4097, 8191, 8192, 8193}) {
    TCycleStream stream;
    stream.Start(slots, "test");
    const long long pushes = 6 * slots + 1000;
    for (long long i = 0; i < pushes; ++i) {
      stream.Push({0.001 * static_cast<double>(i % 977), 0.5, 0.25, 0.125});
    }
    EXPECT_LE(stream.Links(), 3 * pushes) << "slots " << slots;
  }
}

}  // namespace
}  // namespace ork
