// The bilinear approximation table of a reference orbit: where a pixel's
// difference d stays small against the reference Z, the square d^2 of the
// step d <- 2 Z d + d^2 + dc drops below a double's rounding, the step is
// linear, and l steps together are d <- A d + B dc. Nodes of 2^k steps
// (k = 0, 1, ...) each hold A, B and the radius below which |d| keeps the
// dropped square negligible in every step they cover. Formula 1000
// uncoupled (Mandelbrot and Julia mode), differences held in doubles.
//
// Runs start where their length divides the index, so from a small index
// (a pixel starts again at the reference's start after every rebase) the
// runs could only double: 2, 4, 8, ... For every power of two 2^j the
// table also keeps those runs merged, from 2^j to each higher power of
// two, so that one run reaches as far as the whole ramp. Every other even
// index starts such a ramp too (each run ends where a longer one may
// start): the table keeps its first few runs merged, so that a pixel
// climbs it in one step rather than one per run.
//
// Index 1, where every rebased pixel goes on after its first step, starts
// a run to every later index: near a minibrot such a pixel takes its whole
// way back to the next rebase in one run.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/deep/deep_reference.h"

namespace ork::deep {

class TApproximationTable {
 public:
  struct TNode {
    double ax = 0, ay = 0, bx = 0, by = 0;  // complex A and B
    double radius = 0;                      // valid while |d| < radius
    double amax = 0, bmax = 0;  // largest |A|, |B| of the steps' prefixes
    // The smallest distance (1-norm, less rounding) of a reference value
    // the steps reach (and the cycle test's reach after them) from the
    // values a cycle test compares it with.
    double gap = 0;
    // The least linear radius of its steps, taken one by one: a difference
    // that stays below it in every step keeps the square negligible.
    double lin = 0;
  };

  // `dcMax`: the largest |dc| of the picture (0 in Julia mode);
  // `cycleTest`, `acc`: steps are taken at once only where no cycle can be
  // found within them (the reference does not come back near itself).
  void Build(const TReferenceOrbit& ref, double dcMax, int cycleTest, double acc);

  // The longest run of steps from index r valid for |d| = dAbs and at most
  // `most` steps long, as its node and length (0: none). `history` bounds
  // |d| of the values the cycle test looks back to before the run.
  int64_t Find(int64_t r, double dAbs, double history, int64_t most, const TNode*& node) const;
  // The same for a difference below the double range, held in the
  // extended type: |d|, |dc| and the history bound as magnitudes, `acc`
  // the cycle tolerance. A run is allowed where amax |d| + bmax |dc|, a
  // bound of every step's difference, stays below its least linear radius,
  // and where the cycle gap holds against that bound.
  int64_t FindTiny(int64_t r, const TFloatExp& d, const TFloatExp& dc, const TFloatExp& history,
                   const TFloatExp& acc, int64_t most, const TNode*& node) const;
  // The run from index 1 to e (2 <= e < the orbit's length) and where this
  // thread's last search from 1 ended, for vector lanes that test many pixels
  // against the same run at once; with Length(), DcMax() and Acc() what
  // Allows reads.
  const TNode& FromOne(int64_t e) const { return from_one_[static_cast<size_t>(e)]; }
  int64_t FromOneEnd() const;
  int64_t Length() const { return length_; }
  double DcMax() const { return dc_max_; }
  double Acc() const { return acc_; }
  // Whether the table offers runs from r at all (even r, and 1).
  static bool Starts(int64_t r) { return r > 0 && ((r & 1) == 0 || r == 1); }
  // Allows' factor of the differences in the cycle gap bound.
  static double GapFactor();
  // How many indices ReachRadiusAt covers: the orbit's length, or 0.
  int64_t ReachLength() const { return static_cast<int64_t>(reach_radius_.size()); }
  // Where ReachRadius(r) is kept, for r below ReachLength().
  const double* ReachRadiusAt(int64_t r) const { return reach_radius_.data() + r; }
  // The largest radius of the runs that start at r (0 where none does, or
  // where not even their first two steps are allowed): where |d| is not
  // below it, Find offers nothing.
  double ReachRadius(int64_t r) const {
    return r >= 0 && r < static_cast<int64_t>(reach_radius_.size()) ? reach_radius_[r] : 0.0;
  }

 private:
  // Node y's steps after node x's, as one node.
  static TNode Merge(const TNode& x, const TNode& y, double dcMax);
  // The node of the longest run that starts at r (2^k steps where 2^k
  // divides r), or null where none does.
  const TNode* Aligned(int64_t r) const;
  // The longest run from r of at most `most` steps that `allows` (node,
  // steps) takes: ramps, climbs, then the aligned levels; `screen` rules
  // out the longer ramps and climbs cheaply (monotone in their length).
  template <class TScreen, class TAllows>
  int64_t Search(int64_t r, int64_t most, const TScreen& screen, const TAllows& allows,
                 const TNode*& node) const;
  // Find from index 1: the longest run allowed, searched from where this
  // thread's last search ended (the answer does not depend on where it
  // starts).
  int64_t FindFromOne(double dAbs, double history, int64_t most, const TNode*& node) const;
  // Whether node n may take a pixel with |d| = dAbs from r on (len steps).
  bool Allows(const TNode& n, int64_t r, int64_t len, double dAbs, double history) const;

  // Level k: node j covers [j 2^k, (j+1) 2^k).
  std::vector<std::vector<TNode>> levels_;
  // ramps_[j][m]: the runs from 2^j to 2^(j + m + 2) merged.
  std::vector<std::vector<TNode>> ramps_;
  // From even r that is no power of two: climbs_[(r / 2) * kClimb + m],
  // the first m + 2 runs of its ramp merged (radius 0 where there are
  // fewer).
  static constexpr int kClimb = 4;
  std::vector<TNode> climbs_;
  // from_one_[e]: the steps from 1 to e merged (e >= 2), each no less
  // restricted than the one before, so that what Allows takes is a prefix.
  std::vector<TNode> from_one_;
  std::vector<double> reach_radius_;
  int cycle_test_ = 1;
  double dc_max_ = 0, acc_ = 0;
  int64_t length_ = 0;
};

}  // namespace ork::deep
