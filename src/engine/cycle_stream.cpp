#include "engine/cycle_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/allocation.h"
#include "engine/iteration.h"

namespace ork {

namespace {

// The stream's first size in values; it doubles from there.
constexpr int64_t kFirstValues = 1024;
// Buckets narrower than this would make the x1 keys of a deep zoom's
// orbits too large to count in; wider ones only hold more candidates.
constexpr double kNarrowestBucket = 1e-12;
// Keys up to this size: x1 / width is then exact enough that values within
// the tolerance of each other lie at most two buckets apart.
constexpr double kLargestKey = 1125899906842624.0;  // 2^50

bool AllFinite(const double* v) {
  return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]) &&
         std::isfinite(v[3]);
}


size_t Hash(int64_t key, size_t size) {
  return static_cast<size_t>((static_cast<uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> 20) &
         (size - 1);
}

}  // namespace

void TCycleStream::Start(int64_t slots, std::string purpose) {
  slots_ = slots;
  purpose_ = std::move(purpose);
  Clear();
}

void TCycleStream::Clear() {
  base_ = pushed_ = 0;
  loose_ = kNone;
  std::fill(buckets_.begin(), buckets_.end(), TBucket{});
  used_buckets_ = 0;
}

int64_t TCycleStream::Oldest() const { return std::max(base_, pushed_ - slots_); }

int64_t TCycleStream::Key(double x1) const {
  // Far-out values share the outermost buckets, so that values within the
  // tolerance of each other still lie at most two buckets apart.
  const double q = std::floor(x1 / width_);
  return q >= kLargestKey ? static_cast<int64_t>(kLargestKey)
         : q <= -kLargestKey ? -static_cast<int64_t>(kLargestKey)
                             : static_cast<int64_t>(q);
}

const TCycleStream::TBucket* TCycleStream::Find(int64_t key) const {
  if (buckets_.empty()) return nullptr;
  for (size_t i = Hash(key, buckets_.size());; i = (i + 1) & (buckets_.size() - 1)) {
    const TBucket& b = buckets_[i];
    if (b.newest == kNone) return nullptr;
    if (b.key == key) return &b;
  }
}

TCycleStream::TBucket& TCycleStream::Place(int64_t key) {
  if (2 * (used_buckets_ + 1) > buckets_.size()) {
    const size_t size = std::max<size_t>(1024, 2 * buckets_.size());
    CheckAllocation(static_cast<double>(sizeof(TBucket) * size), purpose_);
    std::vector<TBucket> old(size);
    old.swap(buckets_);
    used_buckets_ = 0;
    for (const TBucket& b : old) {
      if (b.newest != kNone) Place(b.key) = b;
    }
  }
  for (size_t i = Hash(key, buckets_.size());; i = (i + 1) & (buckets_.size() - 1)) {
    TBucket& b = buckets_[i];
    if (b.newest == kNone) {
      ++used_buckets_;
      b.key = key;
      return b;
    }
    if (b.key == key) return b;
  }
}

// Chains the value at `index` (the newest so far) where a search finds it.
void TCycleStream::Link(int64_t index) {
  ++links_;
  const double* v = At(index);
  int64_t& next = next_[index - base_];
  if (AllFinite(v) && key_acc_ > 0) {
    TBucket& b = Place(Key(v[0]));
    next = b.newest;
    b.newest = index;
  } else if (AllFinite(v) && key_acc_ <= 0) {
    next = kNone;  // no finite distance is below a tolerance of 0 or less
  } else {
    next = loose_;
    loose_ = index;
  }
}

void TCycleStream::Rebuild() {
  width_ = std::max(key_acc_, kNarrowestBucket);
  std::fill(buckets_.begin(), buckets_.end(), TBucket{});
  used_buckets_ = 0;
  loose_ = kNone;
  for (int64_t i = base_; i < pushed_; ++i) Link(i);
}

void TCycleStream::Grow() {
  const int64_t held = pushed_ - base_;
  if (held >= 2 * slots_) {
    // Only the newest slots - 1 stay (the push makes them slots). The
    // stream holds twice the slots before it compacts, so that a compaction
    // and its rebuild come once per slots + 1 pushes; compacting as soon as
    // it holds the slots would rebuild on nearly every push.
    const int64_t stay = slots_ - 1;
    std::memmove(values_.data(), At(pushed_ - stay), sizeof(double) * 4 * stay);
    base_ = pushed_ - stay;
    Rebuild();  // chains them anew
    return;
  }
  const int64_t size = std::min(std::max(2 * held, kFirstValues), 2 * slots_);
  CheckAllocation(static_cast<double>(size) * (4 * sizeof(double) + sizeof(int64_t)), purpose_);
  values_.resize(4 * static_cast<size_t>(size));
  next_.resize(static_cast<size_t>(size));
}

void TCycleStream::Push(const TOrbit& h) {
  if (slots_ == 0) return;
  if (4 * (pushed_ - base_) == static_cast<int64_t>(values_.size())) Grow();
  double* v = &values_[4 * (pushed_ - base_)];
  v[0] = h.x1, v[1] = h.y1, v[2] = h.x2, v[3] = h.y2;
  Link(pushed_++);
}

void TCycleStream::Save(double* out) const {
  const int64_t oldest = Oldest();
  int64_t slot = 0;
  for (int64_t i = pushed_ - 1; i >= oldest; --i, ++slot) {
    std::memcpy(out + 4 * slot, At(i), 4 * sizeof(double));
  }
  for (; slot < slots_; ++slot) std::memcpy(out + 4 * slot, kHistoryStart, 4 * sizeof(double));
}

void TCycleStream::Load(const double* in) {
  Clear();
  // Trailing start values stay implicit, as in a stream that never pushed
  // them: the first of them answers for all (see Period).
  int64_t n = slots_;
  while (n > 0 && std::memcmp(in + 4 * (n - 1), kHistoryStart, 4 * sizeof(double)) == 0) --n;
  for (int64_t slot = n - 1; slot >= 0; --slot) {
    const double* v = in + 4 * slot;
    Push(TOrbit{v[0], v[1], v[2], v[3]});
  }
}

int64_t TCycleStream::Newest(int64_t from, int64_t stop, const TOrbit& z, double acc) const {
  for (int64_t i = from; i != kNone && i >= stop; i = next_[i - base_]) {
    if (!(CycleDistance(At(i), z) >= acc)) return i;
  }
  return kNone;
}

int TCycleStream::Period(const TOrbit& z, double acc) {
  if (acc != key_acc_ && !(std::isnan(acc) && std::isnan(key_acc_))) {
    // Formulas 202 and 205 set their own tolerance once they start.
    key_acc_ = acc;
    Rebuild();
  }
  const int64_t oldest = Oldest();
  int64_t found = kNone;
  const double zv[4] = {z.x1, z.y1, z.x2, z.y2};
  if (AllFinite(zv) && acc > 0) {
    const int64_t key = Key(z.x1);
    found = Newest(loose_, oldest, z, acc);
    for (int64_t k = key - 2; k <= key + 2; ++k) {
      if (const TBucket* b = Find(k)) {
        found = std::max(found, Newest(b->newest, std::max(found + 1, oldest), z, acc));
      }
    }
  } else if (AllFinite(zv) && acc <= 0) {
    found = Newest(loose_, oldest, z, acc);
  } else {
    for (int64_t i = pushed_ - 1; i >= oldest; --i) {
      if (!(CycleDistance(At(i), z) >= acc)) {
        found = i;
        break;
      }
    }
  }
  if (found != kNone) return static_cast<int>(pushed_ - found + 1);  // the newest is slot 2
  const int64_t real = pushed_ - oldest;
  if (real < slots_ && !(CycleDistance(kHistoryStart, z) >= acc)) return static_cast<int>(real + 2);
  return 0;
}

}  // namespace ork
