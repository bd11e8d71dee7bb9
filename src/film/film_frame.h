// One film frame's colouring and composition, the same code for the frames
// a film writes and for the frames before a range that a range job only
// replays (film_range.h): the process-wide values the compositions carry
// from frame to frame (GridAutoMode and the grid's lock, InsertOpacity
// that a filter leaves, KeepLeftPicture) come out the same either way.
#pragma once

#include "engine/render.h"
#include "model/host.h"
#include "model/movie.h"
#include "model/parameter.h"

namespace ork {

// Frame p before anything is computed or drawn: colour variant 0, its grid
// spacing parsed into GridSettings and GridAutoMode set from it (1 for a
// fixed spacing dX > 0, 0 for -1 <= dX < 0, 2 below -1, unchanged for 0).
void BeginFilmFrame(TParameter& p);

// Colours and composes frame p of film1 (made film1's current key) into
// render1's pictures as composition `mode` (FilmCompositionMode) shows it;
// the two-movie compositions take frame q of film2 and render2 as well (q
// null otherwise). linesState is ShowLines' next-key index, kept across
// the frames of a film. Leaves ShownImage naming the picture to write.
void ComposeFilmFrame(int mode, TParameter& p, TRender& render1, TParameter* q, TRender& render2,
                      TParameterAnim& film1, TParameterAnim& film2, int& linesState, THost& host);

}  // namespace ork
