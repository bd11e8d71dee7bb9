#include "engine/deep/deep_reference.h"

#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace ork::deep {
namespace {

mpfr_srcptr M(const TBigFloat& x) { return static_cast<mpfr_srcptr>(x.Raw()); }

// The formula step at high precision, with its temporaries kept.
class TBigStep {
 public:
  TBigStep(const TDeepFormula& f, const TBigFloat& cx, const TBigFloat& cy, long bits)
      : f_(f) {
    for (mpfr_t* v : {&cx_, &cy_, &p_, &a_, &b_, &t_, &n1_, &n2_, &s1_, &s2_}) mpfr_init2(*v, bits);
    mpfr_set(cx_, M(cx), MPFR_RNDN);
    mpfr_set(cy_, M(cy), MPFR_RNDN);
    mpfr_set_d(p_, f.p, MPFR_RNDN);
  }
  ~TBigStep() {
    for (mpfr_t* v : {&cx_, &cy_, &p_, &a_, &b_, &t_, &n1_, &n2_, &s1_, &s2_}) mpfr_clear(*v);
  }
  TBigStep(const TBigStep&) = delete;
  TBigStep& operator=(const TBigStep&) = delete;

  // z = (x1, y1, x2, y2) advanced by one step; without coupling only x1
  // and y1 (orbit 2 is their copy).
  void operator()(mpfr_t* z) {
    switch (f_.game_no) {
      case 1000:
        // n1 = x1^2 - y1^2 + cx (+ p x2), n2 = 2 x1 y1 + cy (+ p y2)
        Square(z[0], z[1], n1_, n2_);
        if (f_.coupled) {
          mpfr_mul(t_, p_, z[2], MPFR_RNDN), mpfr_add(n1_, n1_, t_, MPFR_RNDN);
          mpfr_mul(t_, p_, z[3], MPFR_RNDN), mpfr_add(n2_, n2_, t_, MPFR_RNDN);
          Square(z[2], z[3], a_, b_);
          mpfr_mul(t_, p_, z[0], MPFR_RNDN), mpfr_sub(a_, a_, t_, MPFR_RNDN);
          mpfr_mul(t_, p_, z[1], MPFR_RNDN), mpfr_sub(b_, b_, t_, MPFR_RNDN);
          mpfr_set(z[2], a_, MPFR_RNDN), mpfr_set(z[3], b_, MPFR_RNDN);
        }
        break;
      case 1001:
        SumOfSquares(z[0], z[1], n1_);
        mpfr_set(n2_, cy_, MPFR_RNDN);
        if (f_.coupled) {
          mpfr_mul(t_, p_, z[2], MPFR_RNDN), mpfr_add(n1_, n1_, t_, MPFR_RNDN);
          mpfr_mul(t_, p_, z[3], MPFR_RNDN), mpfr_add(n2_, n2_, t_, MPFR_RNDN);
          SumOfSquares(z[2], z[3], a_);
          mpfr_mul(t_, p_, z[0], MPFR_RNDN), mpfr_sub(a_, a_, t_, MPFR_RNDN);
          mpfr_mul(t_, p_, z[1], MPFR_RNDN), mpfr_sub(b_, cy_, t_, MPFR_RNDN);
          mpfr_set(z[2], a_, MPFR_RNDN), mpfr_set(z[3], b_, MPFR_RNDN);
        }
        break;
      default:  // 1002: x <- 2 x y + cy, y <- x^2 - y^2 + cx
        Square(z[0], z[1], n2_, n1_);
        if (f_.coupled) {
          Square(z[2], z[3], b_, a_);
          mpfr_mul(t_, p_, n2_, MPFR_RNDN), mpfr_sub(a_, a_, t_, MPFR_RNDN);
          mpfr_mul(t_, p_, n1_, MPFR_RNDN), mpfr_sub(b_, b_, t_, MPFR_RNDN);
          mpfr_set(z[2], a_, MPFR_RNDN), mpfr_set(z[3], b_, MPFR_RNDN);
        }
        break;
    }
    // Without coupling orbit 2 is orbit 1's copy after the step; z[2] and
    // z[3] are left as they are (the caller takes orbit 1's values).
    mpfr_swap(z[0], n1_);
    mpfr_swap(z[1], n2_);
  }

 private:
  // (re, im) = (x^2 - y^2 + cx, 2 x y + cy)
  void Square(mpfr_srcptr x, mpfr_srcptr y, mpfr_ptr re, mpfr_ptr im) {
    mpfr_sqr(s1_, x, MPFR_RNDN);
    mpfr_sqr(s2_, y, MPFR_RNDN);
    mpfr_mul(im, x, y, MPFR_RNDN);
    mpfr_mul_2ui(im, im, 1, MPFR_RNDN);
    mpfr_add(im, im, cy_, MPFR_RNDN);
    mpfr_sub(re, s1_, s2_, MPFR_RNDN);
    mpfr_add(re, re, cx_, MPFR_RNDN);
  }
  void SumOfSquares(mpfr_srcptr x, mpfr_srcptr y, mpfr_ptr out) {
    mpfr_sqr(s1_, x, MPFR_RNDN);
    mpfr_sqr(s2_, y, MPFR_RNDN);
    mpfr_add(out, s1_, s2_, MPFR_RNDN);
    mpfr_add(out, out, cx_, MPFR_RNDN);
  }

  TDeepFormula f_;
  mpfr_t cx_, cy_, p_, a_, b_, t_, n1_, n2_, s1_, s2_;
};

TFloatExp FromMpfr(mpfr_srcptr v) {
  if (mpfr_zero_p(v)) return TFloatExp();
  long e = 0;
  const double m = mpfr_get_d_2exp(&e, v, MPFR_RNDN);
  TFloatExp r;
  r.m = m;
  r.e = e;
  return r;
}

// Whether the doubles of two values would lose their difference.
bool LosesDifference(double a, double b) {
  const double scale = std::fabs(a) + std::fabs(b);
  return scale < 1e-270 || std::fabs(a - b) <= scale * 0x1p-40;
}

}  // namespace

bool TReferenceOrbit::Compute(const TDeepFormula& f, const TBigFloat z0[4], const TBigFloat& cx,
                              const TBigFloat& cy, long bits, double maxAbs, int64_t maxLength,
                              int cycleSlots, const TPoll& poll) {
  length_ = 0;
  zd_.clear();
  zf_.clear();
  diffs_.clear();
  diff_first_.assign(1, 0);
  const int slots = cycleSlots < 1 ? 1 : cycleSlots;
  // The last `slots` + 1 values, a ring, for the exact differences.
  std::vector<mpfr_t> ring(4 * static_cast<size_t>(slots + 1));
  for (auto& v : ring) mpfr_init2(v, bits);
  mpfr_t diff;
  mpfr_init2(diff, bits);
  TBigStep step(f, cx, cy, bits);
  mpfr_t z[4];
  for (int k = 0; k < 4; ++k) {
    mpfr_init2(z[k], bits);
    mpfr_set(z[k], M(z0[k]), MPFR_RNDN);
  }
  bool completed = true;
  // Beyond kMaxLength values (or the memory there is) the orbit stops:
  // pixels that get that far rebase onto its start, which stays exact
  // algebra but keeps only a double's precision from there on.
  const int64_t most = std::min<int64_t>(maxLength, kMaxLength);
  for (int64_t r = 0; r < most; ++r) {
    if ((r & 1023) == 1023 && poll && !poll(static_cast<int>(r))) {
      completed = false;
      break;
    }
    if (r > 0) step(z);
    // Without coupling orbit 2 is orbit 1's copy from the first step on.
    const bool copy = r > 0 && !f.coupled;
    double d[4];
    try {
      for (int k = 0; k < 4; ++k) {
        if (copy && k >= 2) {
          d[k] = d[k - 2];
          zd_.push_back(d[k]);
          zf_.push_back(zf_[zf_.size() - 2]);
          continue;
        }
        d[k] = mpfr_get_d(z[k], MPFR_RNDN);
        zd_.push_back(d[k]);
        zf_.push_back(FromMpfr(z[k]));
      }
      diff_first_.reserve(diff_first_.size() + 1 > diff_first_.capacity()
                              ? 2 * diff_first_.capacity() + 16
                              : diff_first_.capacity());
    } catch (const std::bad_alloc&) {
      zd_.resize(4 * static_cast<size_t>(r));
      zf_.resize(4 * static_cast<size_t>(r));
      break;
    }
    // Exact differences to the values up to `slots` back where needed.
    const size_t here = static_cast<size_t>(r % (slots + 1));
    for (int k = 0; k < (copy ? 2 : 4); ++k) mpfr_set(ring[4 * here + k], z[k], MPFR_RNDN);
    for (int back = 1; back <= slots && back <= r; ++back) {
      const double* old = &zd_[4 * (r - back)];
      const size_t there = static_cast<size_t>((r - back) % (slots + 1));
      for (const bool sum : {false, true}) {
        bool needed = false;
        for (int k = 0; k < 4; ++k) {
          needed = needed || LosesDifference(d[k], sum ? -old[k] : old[k]);
        }
        if (!needed) continue;
        TReferenceDiff entry;
        entry.k = back;
        entry.sum = sum;
        // (Both values orbit 1's copies: orbit 2's difference is orbit 1's.)
        const bool copies = copy && r - back > 0;
        for (int k = 0; k < 4; ++k) {
          if (copies && k >= 2) {
            entry.d[k] = entry.d[k - 2];
            continue;
          }
          const mpfr_srcptr now = copy && k >= 2 ? z[k - 2] : z[k];
          if (sum) {
            mpfr_add(diff, now, ring[4 * there + k], MPFR_RNDN);
          } else {
            mpfr_sub(diff, now, ring[4 * there + k], MPFR_RNDN);
          }
          entry.d[k] = FromMpfr(diff);
        }
        try {
          diffs_.push_back(entry);
        } catch (const std::bad_alloc&) {
          // Without it the doubles' difference stands in (less exact).
        }
      }
    }
    diff_first_.push_back(static_cast<uint32_t>(diffs_.size()));
    ++length_;
    const double sum = std::fabs(d[0]) + std::fabs(d[1]) + std::fabs(d[2]) + std::fabs(d[3]);
    // The last value stored is the escaped one (two at least, so that a
    // pixel can always take a step from value 0).
    if (r > 0 && !(sum <= maxAbs)) break;
  }
  for (auto& v : ring) mpfr_clear(v);
  mpfr_clear(diff);
  for (auto& v : z) mpfr_clear(v);
  return completed;
}

}  // namespace ork::deep
