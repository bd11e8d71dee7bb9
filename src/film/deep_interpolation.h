// Interpolation of the long coordinates (centre, Julia constant, height)
// between two keys of a deep zoom, in high precision: the height with "*"
// geometrically in the logarithm, the centres without loss of digits. The
// double interpolation of the other parameters stays as it is; this only
// replaces the five coordinates of a frame (texts and their rounded doubles).
#pragma once

#include "film/interpolation.h"
#include "model/host.h"
#include "model/parameter.h"

namespace ork {

// True when the interval from e to f is interpolated in high precision:
// either key computes deep or carries long coordinates.
bool LongInterval(const TParameter& e, const TParameter& f);

// True for the parameter numbers of the long coordinates (4, 5, 6, 9, 10).
bool IsLongParameter(int index);

// FramesForFactor for a long coordinate, with the ratio of end to start
// taken from the long values, so that a height far below the double range
// still gives its frame count.
double LongFramesForFactor(double factor, double running, int mark, const TParameter& e,
                           const TParameter& f, int index, THost& host);

// Sets the five long coordinates of frame g at fraction x of the interval
// ("+" marks) and, for "*" marks, after `steps` factor steps of an interval
// of h steps (the frame is start * (end / start)^(steps / h), as the double
// path multiplies the previous frame's value by the per-frame factor). A
// coordinate without mark keeps e's value. brx follows from bry. `same` is
// cleared when a coordinate differs from the previous frame's.
void InterpolateLongFrame(double x, double steps, double h, const TParameter& e,
                          const TParameter& f, TParameter& g, const TParameter& previous,
                          bool& same);

// The frame's deep switch: e's, raised to 1 when the interval involves a
// deep key and the frame (at width x height pixels) lies below the double
// limit.
int FrameDeep(const TParameter& e, const TParameter& f, const TParameter& g, int width,
              int height);

}  // namespace ork
