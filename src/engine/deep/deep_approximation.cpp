#include "engine/deep/deep_approximation.h"

#include <algorithm>
#include <cmath>

namespace ork::deep {
namespace {

// The square of a step stays below this share of its linear part.
constexpr double kLinear = 0x1p-53;
// The rounding of the reference's doubles, relative.
constexpr double kRounding = 0x1p-50;
// Margin of the distance bound: the cycle test's reach after a run is
// iterated plainly, its differences growing by a bounded factor.
constexpr double kMargin = 1024;

// Where the last search from index 1 ended, per thread (so that no cache
// line goes back and forth between cores) and for the last two tables
// searched (a Julia picture has two).
struct TFromOneEnds {
  const TApproximationTable* table[2] = {nullptr, nullptr};
  int64_t end[2] = {0, 0};
};
thread_local TFromOneEnds t_from_one_ends;

int64_t& FromOneEndOf(const TApproximationTable* table) {
  TFromOneEnds& e = t_from_one_ends;
  if (e.table[0] == table) return e.end[0];
  if (e.table[1] == table) return e.end[1];
  e.table[1] = e.table[0];
  e.end[1] = e.end[0];
  e.table[0] = table;
  e.end[0] = 0;
  return e.end[0];
}

}  // namespace

int64_t TApproximationTable::FromOneEnd() const { return FromOneEndOf(this); }

void TApproximationTable::Build(const TReferenceOrbit& ref, double dcMax, int cycleTest,
                                double acc) {
  cycle_test_ = std::max(cycleTest, 1);
  length_ = ref.Length();
  dc_max_ = dcMax;
  acc_ = acc;
  levels_.clear();
  ramps_.clear();
  climbs_.clear();
  from_one_.clear();
  reach_radius_.clear();
  // gap[r]: how far value r lies from the values up to CycleTest back.
  std::vector<double> gap(static_cast<size_t>(length_) + 1, 0.0);
  for (int64_t r = 0; r < length_; ++r) {
    const double* Z = ref.Double(r);
    double g = r >= cycle_test_ ? HUGE_VAL : 0.0;  // the orbit's start: no runs
    for (int k = 1; k <= cycle_test_ && k <= r && g > 0; ++k) {
      if (const TReferenceDiff* exact = ref.Diff(r, k)) {
        double dist = 0;
        for (int c = 0; c < 4; ++c) dist += std::fabs(exact->d[c].ToDouble());
        g = std::min(g, dist);
        continue;
      }
      const double* O = ref.Double(r - k);
      double dist = 0, scale = 0;
      for (int c = 0; c < 4; ++c) {
        dist += std::fabs(Z[c] - O[c]);
        scale += std::fabs(Z[c]) + std::fabs(O[c]);
      }
      g = std::min(g, dist - scale * kRounding);
    }
    gap[r] = std::isfinite(g) || g > 0 ? std::max(g, 0.0) : 0.0;
  }
  // Over the cycle test's reach after each value as well.
  std::vector<double> reach(gap.size(), 0.0);
  for (int64_t r = 0; r < length_; ++r) {
    double g = HUGE_VAL;
    for (int64_t q = r; q < length_ && q <= r + cycle_test_ + 1; ++q) g = std::min(g, gap[q]);
    reach[r] = g;
  }
  if (length_ < 2) return;
  // Level 0: one step from r to r + 1 (the last value has no step).
  std::vector<TNode> level(static_cast<size_t>(length_ - 1));
  for (int64_t r = 0; r + 1 < length_; ++r) {
    const double* Z = ref.Double(r);
    TNode& n = level[r];
    n.ax = 2 * Z[0];
    n.ay = 2 * Z[1];
    n.bx = 1;
    n.by = 0;
    n.radius = kLinear * std::hypot(n.ax, n.ay);
    n.lin = n.radius;
    n.amax = std::max(1.0, std::hypot(n.ax, n.ay));
    n.bmax = 1;
    n.gap = std::min(reach[r], reach[r + 1]);
  }
  levels_.push_back(std::move(level));
  while (levels_.back().size() >= 2) {
    const std::vector<TNode>& low = levels_.back();
    std::vector<TNode> up(low.size() / 2);
    for (size_t j = 0; j < up.size(); ++j) up[j] = Merge(low[2 * j], low[2 * j + 1], dcMax);
    levels_.push_back(std::move(up));
  }
  // The ramps: node 1 of level j covers [2^j, 2^(j+1)), and so on upwards.
  ramps_.assign(levels_.size(), {});
  for (size_t j = 1; j < levels_.size(); ++j) {
    if (levels_[j].size() < 2) continue;
    TNode ramp = levels_[j][1];
    for (size_t k = j + 1; k < levels_.size() && levels_[k].size() >= 2; ++k) {
      ramp = Merge(ramp, levels_[k][1], dcMax);
      if (!(ramp.radius > 0)) break;
      ramps_[j].push_back(ramp);
    }
  }
  // The climbs: from r, each run ends where the next, longer one starts.
  climbs_.assign(static_cast<size_t>(length_ / 2 + 1) * kClimb, TNode{});
  for (int64_t r = 2; r < length_; r += 2) {
    if ((r & (r - 1)) == 0) continue;
    const TNode* first = Aligned(r);
    if (first == nullptr) continue;
    TNode climb = *first;
    int64_t at = r + (r & -r);
    for (int m = 0; m < kClimb; ++m) {
      const TNode* next = Aligned(at);
      if (next == nullptr) break;
      climb = Merge(climb, *next, dcMax);
      if (!(climb.radius > 0)) break;
      climbs_[static_cast<size_t>(r / 2) * kClimb + m] = climb;
      at += at & -at;
    }
  }
  // From 1: the run to e is a shorter one from 1 and one aligned node, so
  // that each is a few merges deep.
  from_one_.assign(static_cast<size_t>(length_), TNode{});
  for (int64_t e = 2; e < length_; ++e) {
    TNode& n = from_one_[static_cast<size_t>(e)];
    if (e == 2) {
      n = levels_[0][1];
      continue;
    }
    // [at, e) is one aligned node: at is e without its lowest bit, or half
    // of e where that is all of it.
    const int64_t rest = e & (e - 1), at = rest != 0 ? rest : e / 2;
    const size_t k = static_cast<size_t>(__builtin_ctzll(static_cast<uint64_t>(e - at)));
    n = Merge(from_one_[static_cast<size_t>(at)], levels_[k][static_cast<size_t>(at >> k)], dcMax);
    // No less restricted than the run one step shorter.
    const TNode& shorter = from_one_[static_cast<size_t>(e - 1)];
    n.radius = std::min(n.radius, shorter.radius);
    n.lin = std::min(n.lin, shorter.lin);
    n.gap = std::min(n.gap, shorter.gap);
    n.amax = std::max(n.amax, shorter.amax);
    n.bmax = std::max(n.bmax, shorter.bmax);
  }
  reach_radius_.assign(static_cast<size_t>(length_), 0.0);
  for (size_t k = 1; k < levels_.size(); ++k) {
    for (size_t j = 1; j < levels_[k].size(); ++j) {
      double& reach = reach_radius_[j << k];
      reach = std::max(reach, levels_[k][j].radius);
    }
  }
  // Every run from r begins with the two steps of level 1 there and allows
  // no more than they do: where they are not allowed even without a
  // difference and history (the reference comes back onto itself), none
  // starts, and the reach says so before any search.
  for (size_t j = 1; j < levels_[1].size(); ++j) {
    const int64_t r = static_cast<int64_t>(2 * j);
    if (!Allows(levels_[1][j], r, 2, 0.0, 0.0)) reach_radius_[static_cast<size_t>(r)] = 0;
  }
  // From 1 the same with its run of two steps.
  if (length_ > 3 && Allows(from_one_[3], 1, 2, 0.0, 0.0)) reach_radius_[1] = from_one_[3].radius;
}

TApproximationTable::TNode TApproximationTable::Merge(const TNode& x, const TNode& y,
                                                      double dcMax) {
  TNode n;
  n.ax = y.ax * x.ax - y.ay * x.ay;
  n.ay = y.ax * x.ay + y.ay * x.ax;
  n.bx = y.ax * x.bx - y.ay * x.by + y.bx;
  n.by = y.ax * x.by + y.ay * x.bx + y.by;
  const double ax = std::hypot(x.ax, x.ay);
  const double inner = (y.radius - std::hypot(x.bx, x.by) * dcMax) / ax;
  n.radius = std::max(0.0, std::min(x.radius, std::isfinite(inner) ? inner : 0.0));
  n.amax = std::max(x.amax, y.amax * ax);
  n.bmax = std::max(x.bmax, y.amax * std::hypot(x.bx, x.by) + y.bmax);
  n.gap = std::min(x.gap, y.gap);
  n.lin = std::min(x.lin, y.lin);
  if (!std::isfinite(n.ax) || !std::isfinite(n.bx) || !std::isfinite(n.amax) ||
      !std::isfinite(n.bmax)) {
    n.radius = n.lin = 0;
  }
  return n;
}

const TApproximationTable::TNode* TApproximationTable::Aligned(int64_t r) const {
  if (r <= 0) return nullptr;
  const size_t k = static_cast<size_t>(__builtin_ctzll(static_cast<uint64_t>(r)));
  if (k >= levels_.size() || static_cast<size_t>(r >> k) >= levels_[k].size()) return nullptr;
  return &levels_[k][static_cast<size_t>(r >> k)];
}

bool TApproximationTable::Allows(const TNode& n, int64_t r, int64_t len, double dAbs,
                                 double history) const {
  if (!(dAbs < n.radius)) return false;
  // Never onto the last value: the reference may have escaped there, and
  // the steps taken at once are not tested for escape.
  if (r + len >= length_ - 1) return false;
  // No cycle can be found in the steps taken at once nor in the cycle
  // test's reach after them (the history starts again there): the pixel's
  // differences, now, inside and before, cannot close the gap.
  const double inside = n.amax * dAbs + n.bmax * dc_max_;
  return n.gap > GapFactor() * (inside + history) + 2 * acc_;
}

template <class TScreen, class TAllows>
int64_t TApproximationTable::Search(int64_t r, int64_t most, const TScreen& screen,
                                    const TAllows& allows, const TNode*& node) const {
  const int align = __builtin_ctzll(static_cast<uint64_t>(r));
  if ((r & (r - 1)) == 0 && static_cast<size_t>(align) < ramps_.size()) {
    // From a power of two: the longest ramp allowed. A longer ramp never
    // passes the screen where a shorter one fails, so the search starts at
    // the longest one that passes it.
    const std::vector<TNode>& ramps = ramps_[align];
    const auto admits = std::partition_point(ramps.begin(), ramps.end(), screen);
    for (int m = static_cast<int>(admits - ramps.begin()) - 1; m >= 0; --m) {
      const int64_t len = (int64_t{1} << (align + m + 2)) - r;
      if (len > most || !allows(ramps[m], len)) continue;
      node = &ramps[m];
      return len;
    }
  }
  if ((r & (r - 1)) != 0) {
    // Elsewhere: the longest climb allowed.
    const TNode* climbs = climbs_.data() + static_cast<size_t>(r / 2) * kClimb;
    int64_t ends[kClimb];
    int64_t at = r + (r & -r);
    for (int m = 0; m < kClimb; ++m) {
      at += at & -at;
      ends[m] = at;
    }
    // Climbs pass the screen up to some length, as ramps do.
    int pass = 0;
    while (pass < kClimb && screen(climbs[pass])) ++pass;
    for (int m = pass - 1; m >= 0; --m) {
      const int64_t len = ends[m] - r;
      if (len > most || !allows(climbs[m], len)) continue;
      node = &climbs[m];
      return len;
    }
  }
  const int top = std::min({static_cast<int>(levels_.size()) - 1, align,
                            63 - __builtin_clzll(static_cast<uint64_t>(most))});
  for (int k = top; k >= 1; --k) {
    const int64_t len = int64_t{1} << k;
    const size_t j = static_cast<size_t>(r >> k);
    if (j >= levels_[k].size()) continue;
    const TNode& n = levels_[k][j];
    if (!allows(n, len)) continue;
    node = &n;
    return len;
  }
  return 0;
}

int64_t TApproximationTable::Find(int64_t r, double dAbs, double history, int64_t most,
                                  const TNode*& node) const {
  // Nodes of 2^k steps start where r is a multiple of 2^k: at odd r (half
  // of all calls) there is none but from 1.
  if (!Starts(r) || most < 2) return 0;
  // No run from r has a radius above its reach.
  if (!(dAbs < ReachRadius(r))) return 0;
  if (r == 1) return FindFromOne(dAbs, history, most, node);
  return Search(
      r, most, [&](const TNode& n) { return dAbs < n.radius; },
      [&](const TNode& n, int64_t len) { return Allows(n, r, len, dAbs, history); }, node);
}

int64_t TApproximationTable::FindFromOne(double dAbs, double history, int64_t most,
                                         const TNode*& node) const {
  // Runs of two steps and more, short of the last value; what is allowed
  // is a prefix of them.
  const int64_t last = std::min(length_ - 2, most + 1);
  const auto allows = [&](int64_t e) {
    return Allows(from_one_[static_cast<size_t>(e)], 1, e - 1, dAbs, history);
  };
  if (last < 3) return 0;
  // lo is allowed (or 2: none is), hi is not (or beyond last); gallop from
  // where this thread's last search ended.
  int64_t lo = 2, hi = last + 1;
  int64_t& end = FromOneEndOf(this);
  const int64_t guess = std::clamp<int64_t>(end, 3, last);
  if (allows(guess)) {
    lo = guess;
    for (int64_t step = 1; lo + step <= last; step *= 2) {
      if (!allows(lo + step)) {
        hi = lo + step;
        break;
      }
      lo += step;
    }
  } else {
    hi = guess;
    for (int64_t step = 1; hi - step > lo; step *= 2) {
      if (allows(hi - step)) {
        lo = hi - step;
        break;
      }
      hi -= step;
    }
  }
  while (hi - lo > 1) {
    const int64_t mid = lo + (hi - lo) / 2;
    (allows(mid) ? lo : hi) = mid;
  }
  if (lo == 2) return 0;
  // (An end cut short by the iteration limit is no guess for other pixels.)
  if (lo < most + 1) end = lo;
  node = &from_one_[static_cast<size_t>(lo)];
  return lo - 1;
}

int64_t TApproximationTable::FindTiny(int64_t r, const TFloatExp& d, const TFloatExp& dc,
                                      const TFloatExp& history, const TFloatExp& acc,
                                      int64_t most, const TNode*& node) const {
  if (r <= 0 || (r & 1) != 0 || most < 2) return 0;
  // Every run from r begins with the two steps of level 1 there, and no
  // run allows more than its beginning: where those are not allowed,
  // nothing is (as where the reference comes back onto itself).
  const size_t first = static_cast<size_t>(r >> 1);
  if (levels_.size() < 2 || first >= levels_[1].size()) return 0;
  // Every step's difference stays below amax |d| + bmax |dc|; that bound
  // and the sums below are rounded, hence the margin.
  const TFloatExp margin(1 + 0x1p-40);
  const auto bound = [&](const TNode& n) { return (d * n.amax + dc * n.bmax) * margin; };
  const auto linear = [&](const TNode& n) { return bound(n) < TFloatExp(n.lin); };
  const TFloatExp factor(GapFactor());
  const auto allows = [&](const TNode& n, int64_t len) {
    // (The bounds are positive: a node without gap or linear range is out
    // before any arithmetic in the extended type.)
    if (r + len >= length_ - 1 || !(n.gap > 0) || !(n.lin > 0) || !linear(n)) return false;
    const TFloatExp reach = (factor * (bound(n) + history) + acc + acc) * margin;
    return reach < TFloatExp(n.gap);
  };
  if (!allows(levels_[1][first], 2)) return 0;
  return Search(r, most, linear, allows, node);
}

double TApproximationTable::GapFactor() { return kMargin * 4; }

}  // namespace ork::deep
