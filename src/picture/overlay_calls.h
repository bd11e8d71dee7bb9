// The overlay and text-printing routines that the compositions call at
// fixed points. They belong to the overlay drawing (overlay_show.cpp) and
// the bitmap-font output (text_output.cpp).
//
// Every routine does nothing when one of its pointers is null. They draw
// into the picture of `render` that ShownImage names (Image below 2, ImageD
// at 2, ImageV at 4) and read CompositionMode, InsertPosX and InsertPosY to
// place Movie 2's overlays: 222 shifts them right by render.Width - 1 (the
// right half of a double picture), -111 shifts them by (InsertPosX,
// InsertPosY) and clips them to the insert, 101 clips them to the insert.
#pragma once

#include "engine/render.h"
#include "model/host.h"
#include "model/movie.h"
#include "model/parameter.h"

namespace ork {

// Applies the keyframe's blur filter (Filter with keyframe->Filter), then
// draws all overlays of its line list, with the movie's keyframes for the
// C points and next-key frames, then its text list (DrawTextOutput).
// `state` is the caller's next-key index: 0 for a single call, one variable
// kept across the frames of a film. May write the keyframe's follow fields,
// pox, poy and GridSizes.
void ShowLines(int& state, TParameter* keyframe, TRender* render, TParameterAnim* movie,
               THost& host);

// The keyframe's overlays when no movie is at hand (single picture):
// nothing while CompositionMode is 2 or more or -1000; the movie-bound kinds
// ("CA", "CB", "N", "NA") are requested as shell commands through
// host.PostCommand.
void DrawAllGrids(TParameter* keyframe, TRender* render, THost& host);

// Prints the keyframe's text list (TextOutputList) with the bitmap fonts
// into the picture ShownImage names; with CompositionMode 222 every text is
// shifted right by render.Width - 1.
void DrawTextOutput(TParameter* keyframe, TRender* render);

// Drops a pending grid-size change (the grid's GridDialogText) so that it
// is not stored into the wrong movie's keyframe.
void DropPendingGridChange();

}  // namespace ork
