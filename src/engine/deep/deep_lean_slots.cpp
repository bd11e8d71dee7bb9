// The lean steps' test of many cycle-test slots at once.
#include <cmath>
#include <cstring>

#include "engine/deep/deep_lag.h"

namespace ork::deep {
namespace {

typedef double v4df __attribute__((vector_size(32)));
typedef long long v4di __attribute__((vector_size(32)));

v4df Abs(v4df v) {
  return reinterpret_cast<v4df>(reinterpret_cast<v4di>(v) & 0x7FFFFFFFFFFFFFFFLL);
}

}  // namespace

// The same sums in the same order as the scalar slot test, four slots at a
// time (one AVX2 vector, or two SSE2 ones where AVX2 is missing).
__attribute__((target_clones("avx2", "default"))) bool SlotsLarge(
    const double* o0, const double* o1, const double* oscale, int n, double w0, double w1,
    double scale, double acc) {
  const auto large = [&](double a, double b, double s) {
    const double e0 = std::fabs(w0 - a), e1 = std::fabs(w1 - b);
    const double est = ((e0 + e1) + e0) + e1;
    const double a0 = std::fabs(w0) + std::fabs(a), a1 = std::fabs(w1) + std::fabs(b);
    const double cscale = (((a0 + a1) + a0) + a1) + (scale + s);
    return est >= cscale * kTrackBelow && !(est < acc);
  };
  int i = 0;
  const v4df W0 = {w0, w0, w0, w0}, W1 = {w1, w1, w1, w1};
  const v4df AW0 = Abs(W0), AW1 = Abs(W1);
  const v4df S = {scale, scale, scale, scale}, ACC = {acc, acc, acc, acc};
  const v4df K = {kTrackBelow, kTrackBelow, kTrackBelow, kTrackBelow};
  v4di ok = {-1, -1, -1, -1};
  for (; i + 4 <= n; i += 4) {
    v4df a, b, s;
    std::memcpy(&a, o0 + i, sizeof a);
    std::memcpy(&b, o1 + i, sizeof b);
    std::memcpy(&s, oscale + i, sizeof s);
    const v4df e0 = Abs(W0 - a), e1 = Abs(W1 - b);
    const v4df est = ((e0 + e1) + e0) + e1;
    const v4df a0 = AW0 + Abs(a), a1 = AW1 + Abs(b);
    const v4df cscale = (((a0 + a1) + a0) + a1) + (S + s);
    ok &= (est >= cscale * K) & ~(est < ACC);
  }
  bool all = (ok[0] & ok[1] & ok[2] & ok[3]) != 0;
  for (; i < n && all; ++i) all = large(o0[i], o1[i], oscale[i]);
  return all;
}

}  // namespace ork::deep
