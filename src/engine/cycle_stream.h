// The cycle history of a long cycle test, kept as the stream of orbit values
// pushed into slot 2 so far (the newest is slot 2, the one before slot 3,
// and so on). Slots beyond the values pushed still hold the start values,
// all alike, so the first of them decides the test for all of them. Memory
// follows the values pushed, never the CycleTest.
//
// The search for the first slot within the tolerance looks only at values
// whose x1 lies near the orbit's: with every value finite, a slot whose x1
// alone differs by the tolerance or more cannot match (adding finite
// non-negative terms never lowers a rounded sum). Finite values are chained
// by a bucket of x1 / tolerance; the others (which no finite orbit value can
// match unless the tolerance is infinite) are always looked at.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/formulas.h"

namespace ork {

// The cycle distance of a history slot (x1, y1, x2, y2) from z, added in
// the written order.
inline double CycleDistance(const double* slot, const TOrbit& z) {
  return std::fabs(slot[0] - z.x1) + std::fabs(slot[1] - z.y1) + std::fabs(slot[2] - z.x2) +
         std::fabs(slot[3] - z.y2);
}

class TCycleStream {
 public:
  // `slots` = CycleTest - 1 (slots 2 ... CycleTest); `purpose` names the
  // history when its growth cannot get memory (TAllocationError).
  void Start(int64_t slots, std::string purpose);
  void Clear();

  // The slot (2 ... CycleTest) of the first value within `acc` of z by the
  // cycle distance, the start values included; 0 when none is.
  int Period(const TOrbit& z, double acc);
  void Push(const TOrbit& h);

  // The slots 2 ... CycleTest as four doubles each (x1, y1, x2, y2), slot 2
  // first, the start values where nothing was pushed yet (`slots` * 4
  // doubles); Load makes a stream that answers as the saved one did.
  void Save(double* out) const;
  void Load(const double* in);

  // Values chained so far, rebuilds included: what the pushes cost.
  int64_t Links() const { return links_; }

 private:
  static constexpr int64_t kNone = -1;
  struct TBucket {
    int64_t key = 0;
    int64_t newest = kNone;  // absolute index, kNone: free
  };

  const double* At(int64_t index) const { return &values_[4 * (index - base_)]; }
  int64_t Oldest() const;  // the oldest index that is still a slot
  int64_t Key(double x1) const;  // the bucket of a finite x1
  const TBucket* Find(int64_t key) const;
  TBucket& Place(int64_t key);
  void Link(int64_t index);
  void Grow();
  void Rebuild();
  int64_t Newest(int64_t from, int64_t stop, const TOrbit& z, double acc) const;

  int64_t slots_ = 0;
  std::string purpose_;
  std::vector<double> values_;   // four doubles each, from absolute index base_ on
  std::vector<int64_t> next_;    // the previous index of the same chain
  std::vector<TBucket> buckets_; // open addressing, a power of two
  size_t used_buckets_ = 0;
  int64_t base_ = 0, pushed_ = 0;  // absolute indices: values base_ ... pushed_ - 1
  int64_t loose_ = kNone;          // newest value that is not finite
  double key_acc_ = 0;             // the tolerance the chains were made for
  double width_ = 1;               // of a bucket: the tolerance, or more
  int64_t links_ = 0;
};

}  // namespace ork
