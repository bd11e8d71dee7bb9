// The bilinear approximation table of a reference orbit: for ranges of
// iterations where a pixel's difference stays small against the reference,
// the difference after l steps is A * d + B * dc (complex, per orbit), so
// those l steps are taken at once.
#pragma once

namespace ork::deep {

class TApproximationTable {};

}  // namespace ork::deep
