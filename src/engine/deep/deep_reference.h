// The reference orbit of a deep picture: one orbit of the formula iterated
// at high precision and kept as doubles (and, for values below the double
// range, as extended-exponent doubles), so that every pixel can iterate its
// difference from it in double precision.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/deep/deep_numbers.h"

namespace ork::deep {

// The formula and its constants as the deep path iterates them (formulas
// 1000, 1001 and 1002 of two coupled orbits).
struct TDeepFormula {
  int game_no = 1000;
  double p = 0;          // coupling ParamA
  bool coupled = false;  // p != 0
};

// Exact difference of two reference values k iterations apart, kept where
// their doubles would lose it (the orbit comes back close to itself).
struct TReferenceDiff {
  int k = 0;          // the older value is k iterations back
  bool sum = false;   // d holds Z[r] + Z[r - k] (values of opposite sign)
  TFloatExp d[4];     // Z[r] - Z[r - k], components x1, y1, x2, y2
};

class TReferenceOrbit {
 public:
  // The most values an orbit keeps (96 bytes each).
  static constexpr int64_t kMaxLength = int64_t{1} << 23;

  // Called now and then with the iterations done; false stops the orbit
  // (the computation was cancelled).
  using TPoll = std::function<bool(int done)>;

  // Iterates from z0 (x1, y1, x2, y2) with constant (cx, cy) until the
  // escape bound is passed or `maxLength` values are stored (value 0 is
  // z0). `cycleSlots` is the cycle test's slot count: differences up to
  // that many iterations back are kept exactly where needed. False when
  // the poll cancelled.
  bool Compute(const TDeepFormula& f, const TBigFloat z0[4], const TBigFloat& cx,
               const TBigFloat& cy, long bits, double maxAbs, int64_t maxLength,
               int cycleSlots, const TPoll& poll);

  int64_t Length() const { return length_; }
  const double* Double(int64_t r) const { return &zd_[4 * r]; }
  const TFloatExp* Extended(int64_t r) const { return &zf_[4 * r]; }
  // The exact difference Z[r] - Z[r - k] (or, `sum`, the exact sum) when
  // it is kept, else null.
  const TReferenceDiff* Diff(int64_t r, int k, bool sum = false) const {
    for (uint32_t i = diff_first_[r]; i < diff_first_[r + 1]; ++i) {
      if (diffs_[i].k == k && diffs_[i].sum == sum) return &diffs_[i];
    }
    return nullptr;
  }

 private:
  int64_t length_ = 0;
  std::vector<double> zd_;
  std::vector<TFloatExp> zf_;
  std::vector<uint32_t> diff_first_;
  std::vector<TReferenceDiff> diffs_;
};

}  // namespace ork::deep
