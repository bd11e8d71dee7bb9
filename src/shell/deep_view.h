// The mouse tools and the status line for keyframes whose view is kept in
// high precision (deep keyframes and keyframes with long coordinates): new
// centres, boxes and points from pixel offsets without losing digits, and
// the status text that says how a picture was computed.
#pragma once

#include <string>

#include "model/parameter.h"

namespace ork {

// True when the keyframe's view is kept in high precision.
bool LongView(const TParameter& key);

// The mouse tools' arithmetic (mode 1 centre, 2 zoom, 3 Julia constant,
// 4 point) in high precision, for pixel offsets a, d of the click and ga,
// gd of the box centre from the picture centre (rotation applied) and the
// box height in pixels. Sets the long texts and their doubles as the double
// arithmetic sets the doubles.
void ApplyLongClick(int mode, TParameter& key, double a, double d, double ga, double gd,
                    int boxHeight);

// Pixels from the picture centre to the Julia constant (x right, y up),
// taken in high precision where the doubles cannot tell them apart.
void LongCPointOffset(const TParameter& key, double& dx, double& dy);

// What the status line adds after a picture of `key` was computed: that it
// was computed deep and with how many bits, or, for a keyframe without the
// deep switch past the double limit, that it turned coarse and which switch
// helps; empty otherwise.
std::string DeepStatusText(const TParameter& key);

}  // namespace ork
