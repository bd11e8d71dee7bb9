// The deep computation of a picture: chosen by Calculate for keyframes with
// the deep switch on whose formula it knows (1000, 1001 and 1002, both
// modes, with and without coupling). It fills the same render buffers as
// the double path, with the same meaning.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/iteration.h"
#include "engine/render.h"
#include "model/host.h"
#include "model/parameter.h"

namespace ork::deep {

// Whether the formula has a deep computation.
bool DeepFormula(int gameNo);
// Whether Calculate computes this keyframe the deep way.
bool DeepComputes(const TParameter& keyframe);
// Bits of mantissa the reference orbit of this keyframe is computed with.
long DeepBits(const TParameter& keyframe);
// The message for a deep keyframe whose formula has no deep computation
// (in the user-interface language).
std::string DeepFormulaMessage(int gameNo);

// How the last deep computation of the process went (--verbose, benchmarks).
struct TDeepStats {
  long bits = 0;
  int64_t reference_length = 0;  // values of the orbit pixels start on
  double reference_seconds = 0;  // both reference orbits
  double pixel_seconds = 0;
  long long iterations = 0;  // summed over the pixels
  long long skipped = 0;     // of those, taken at once by the approximation table
};
TDeepStats LastDeepStats();

// Whether the approximation table skips iterations (on; tests and
// benchmarks compare without it).
void SetApproximation(bool on);
// Whether uncoupled pixels with CycleTest 1 take their ordinary iterations
// in the lean steps, several side by side (on; tests compare without).
void SetLeanSteps(bool on);
bool ApproximationEnabled();

// The picture loop of the deep path. `beforeRow` is called on the calling
// thread before each row (false: cancelled, the rows not reached keep their
// old values); the reference orbit polls `status` itself. In dynamics mode
// only the pixel `selected` is iterated, its orbit going to `recording`.
// Returns false when cancelled.
bool CalculateDeep(const TParameter& keyframe, THost* status, TRender& render,
                   const std::function<bool(int row)>& beforeRow,
                   TOrbitRecording* recording, long long selected);

}  // namespace ork::deep
