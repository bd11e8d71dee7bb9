// Interpolation of keyframe parameters between two keys of a movie: the
// frame counts a "*" factor implies, the per-frame factors, and the value of
// every interpolated parameter in one film frame.
//
// Parameters are addressed by their parameter number (the index of the
// InterpP / InterpM marks): 4 HeightY, 5 MidPointX, 6 MidPointY, 7 Degree,
// 9 CxPoint, 10 CyPoint, 11 Param1, 12 Param2, 13 Param3, 14 ParamA,
// 15 Accurate (reals); 16 Max_Iterat, 17 Max_(X+Y), 18 CycleTest, 20 first
// colour table, 21 first colour shift (integers).
#pragma once

#include <array>

#include "model/host.h"
#include "model/parameter.h"

namespace ork {

// Per-frame factors of the "*" parameters, indexed by parameter number.
using TFactorTable = std::array<double, 22>;

// The sixteen interpolated parameter numbers in the order the chains run.
inline constexpr std::array<int, 16> kInterpolatedParameters = {4,  5,  6,  7,  9,  10, 11, 12,
                                                                13, 14, 15, 16, 17, 18, 20, 21};

// The most frames one film may hold; FramesForFactor never returns more.
inline constexpr int kMaxFilmFrames = 100000;

// True for the integer parameters (16, 17, 18, 20, 21).
bool IsIntegerParameter(int index);

// The key's value of parameter index (integer parameters as their integer
// value; Max_(X+Y) by its integer part); 0 for numbers outside the table.
double ParameterValue(const TParameter& key, int index);

// Frames needed for a "*" parameter to go from start to end with the given
// per-frame factor; the larger of that and running. mark other than 1:
// running. A start or end of 0: message, 50. Start and end of different
// signs: message, the magnitudes count. A factor of magnitude exactly 1
// implies no count (running comes back). At least 1, at most kMaxFilmFrames.
double FramesForFactor(double factor, double running, int mark, double start, double end,
                       THost& host);

// table[index] = (end / start) ^ (1 / h) when marks[index] is exactly 1,
// start and end are not 0 and h > 0; otherwise the entry stays. A sign
// change is reported (sign-change message) and leaves the entry, so the
// parameter runs linearly (see InterpolateReal).
void ComputeFactor(TFactorTable& table, double h,
                   const std::array<int, TParameter::kParamIndices>& marks, double start,
                   double end, int index, THost& host);

// The value of one real parameter in a frame at fraction x (0..1) of the
// interval. P > 0 ("+"): linear start + x (end - start). Otherwise M > 0
// ("*"): previous * table[index]; without a usable factor (entry not a
// positive number: start or end 0, a sign change, no factors computed) the
// parameter runs linearly instead. Neither: start. `same` is cleared when
// the value differs from previous.
double InterpolateReal(double x, int M, int P, double start, double end, double previous,
                       const TFactorTable& table, int index, bool& same);

// The same for integers: geometric values are cut to integers, linear ones
// are start + integer part of (end - start) x. A "+" mark P = 10 m + r with
// m >= 1 is a step rule: a value whose remainder modulo m is not r keeps
// the previous frame's value. Marks 2..9 (modulus 0) count as plain "+".
int InterpolateInt(double x, int M, int P, int start, int end, int previous,
                   const TFactorTable& table, int index, bool& same);

// Fills every interpolated parameter of g from the start key e (its marks
// and values), the end key f and the previous frame, then brx = bry *
// e.OutputWidth / e.OutputHeight. Other fields of g are left alone.
void InterpolateFrame(double x, const TParameter& e, const TParameter& f, TParameter& g,
                      const TParameter& previous, const TFactorTable& table, bool& same);

}  // namespace ork
