// Overlays drawn over a composed picture: the coordinate grid ("G", also
// "GV"), the centre cross ("M"), the axes through 0 ("A"), the crosses at
// C points ("C" the keyframe's own, "CA"/"CB" the point in pox/poy) and the
// frame of the next keyframe's area ("N", from the follow fields).
#pragma once

#include <string_view>

#include "engine/render.h"
#include "model/host.h"
#include "model/parameter.h"

namespace ork {

// The shell's commands that draw the movie-bound kinds; DrawAllGrids
// requests them for "N", "NA", "CA" and "CB".
inline constexpr int kCommandNextKeyFrame = 65;      // "N     Next-KEY Rahmen"
inline constexpr int kCommandAllNextKeyFrames = 66;  // "NA   All-Next-KEY Rahmen"
inline constexpr int kCommandCPointsToKey = 75;      // C points of keys 1..current
inline constexpr int kCommandCPointsFromKey = 77;    // C points of keys current..last

// Draws one overlay kind with the colour and thickness of its index
// (CLinesColor, CLinesThick) into the render object's current picture:
// Image when ShownImage < 2, else ImageD; nothing for the fourfold picture
// (ShownImage 4), a missing keyframe, render object or Image, or an unknown
// token. Plane points are mapped with the keyframe's OutputWidth x
// OutputHeight picture, centre (vsx, vsy), height bry and rotation Degree;
// the clip rectangle and the shifts of Movie 2's overlays follow
// CompositionMode (OverlayClipRect). "G" parses the keyframe's GridSizes
// first and may leave a new text in GridDialogText and a status text on
// `host`.
void DrawOverlay(std::string_view kind, TParameter* keyframe, TRender* render,
                 THost& host = QuietHost());

}  // namespace ork
