// The cycle test's distances of a deep pixel: a pixel's orbit state, and
// the difference of the orbit from itself a lag back, kept exact (as a
// product that advances with the orbit) where the doubles would lose it.
#pragma once

#include <cstdint>

#include "engine/deep/deep_numbers.h"
#include "engine/deep/deep_reference.h"

namespace ork::deep {

// One entry of a pixel's cycle history: where its orbit was.
struct TDeepState {
  const TReferenceOrbit* ref = nullptr;
  int64_t r = 0;
  bool ext = false;   // the difference is held in f, else in d
  double d[4] = {0, 0, 0, 0};
  TFloatExp f[4];
  double z[4] = {0, 0, 0, 0};  // the full value rounded to double
  double scale = 0;            // |Z| + |difference|, for the rounding bound
};

// z(n) - z(n - lag) of one cycle-test slot as a scaled double: value =
// m * 2^s. It advances by a product with the orbit (no subtraction of
// nearby values), so it keeps its relative precision however small it gets.
// Only while the difference is small against the orbit (`tracked`): a
// large one is read off the orbit's doubles directly.
struct TLagDifference {
  double m[4] = {0, 0, 0, 0};
  int64_t s = 0;
  bool tracked = false;
};

// A lag difference is tracked as a product below this share of the orbit's
// size (where the doubles' own difference keeps fewer than 20 bits) and
// read off the doubles again above the other one.
constexpr double kTrackBelow = 0x1p-33;
constexpr double kUntrackAbove = 0x1p-25;

// z(now) - z(old) as exact as the reference keeps it.
void Difference(const TDeepState& now, const TDeepState& old, int cycleTest, TFloatExp out[4]);
// Advances the lag difference w by the step from orbit state `now`, with
// `old` the state the lag back.
void AdvanceLag(int game, bool coupled, double p, const TDeepState& now, const TDeepState& old,
                int cycleTest, TLagDifference& w);
// The scaled double of an extended difference.
TLagDifference FromExtended(const TFloatExp d[4]);

}  // namespace ork::deep
