// The reference the deep computation is checked against: every pixel
// iterated on its own in MPFR at the view's precision plus a margin, with
// the escape test and the cycle test of the double iteration (each pixel
// starting from a fresh cycle history). Slow: for tiny pictures.
#pragma once

#include <string>
#include <vector>

#include "model/parameter.h"

namespace ork::test {

struct TOraclePixel {
  int count = 0;
  int period = 0;
  bool escaped = false;
};

// The picture of a deep keyframe (formulas 1000, 1001, 1002), row by row;
// with `stride` > 1 only every stride-th pixel of every stride-th row (the
// others stay empty), to time it on pictures too large for all of it.
std::vector<TOraclePixel> OraclePicture(const TParameter& keyframe, long extraBits = 64,
                                        int stride = 1);

// Newton's method for the nucleus of period `period` near (x, y) (decimal
// texts) at `bits`; returns the nucleus as decimal texts and its size
// estimate (the minibrot's radius, as log10).
struct TNucleus {
  std::string x, y;
  double log10_size = 0;
  bool found = false;
};
TNucleus FindNucleus(const std::string& x, const std::string& y, int period, long bits);

// The atom-domain period at (x, y): the iteration n <= limit at which |z_n|
// reached its smallest value so far last (0 when the orbit escapes first).
int AtomPeriod(const std::string& x, const std::string& y, int limit, long bits);

}  // namespace ork::test
