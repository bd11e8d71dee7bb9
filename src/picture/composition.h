// The compositions: a render object's buffers painted into one of its
// pictures as a single picture, a double or fourfold picture of colour
// variants of Movie 1, or Movie 1 and Movie 2 side by side, in four
// quadrants, inserted or blended. Each routine writes the process-wide
// composition state (Composition(): CompositionMode, ShownImage,
// KeepLeftPicture; ShowInsert reads InsertPosX, InsertPosY, InsertOpacity)
// and calls the overlays and text output of overlay_calls.h at fixed
// points. Buffers are only read, so any composition can be repeated with
// other colours without recomputing.
//
// Every routine returns 0 and changes nothing (pictures, state) when a
// keyframe, render object or movie it takes is null, or the render object
// lacks the picture it writes or its colour tables; otherwise 1. Two-movie
// routines write into Movie 1's render object; Movie 2's supplies buffers
// and colour tables. Writes are clipped to the picture, so a Movie 2 larger
// than the shell's size rules allow cannot write outside Movie 1's picture.
//
// Sizes: W, H are render.Width and render.Height (W1, H1 those of Movie 1).
// Image is W x H, ImageD 2W x H, ImageV 2W x 2H. `host` receives the
// diagnostic lines and the filter's status text.
#pragma once

#include "engine/render.h"
#include "model/host.h"
#include "model/movie.h"
#include "model/parameter.h"

namespace ork {

// Every pixel into Image with the keyframe's current coding and the colour
// tables as they are; BeginnerName becomes empty.
int PaintCalculated(TParameter* keyframe, TRender* render, THost& host = QuietHost());

// Variant 0 with fresh tables into Image, blurred by the keyframe's filter,
// then its overlays (DrawAllGrids) and texts unless CompositionMode is
// -1000. ShownImage 1, KeepLeftPicture cleared; CompositionMode untouched.
int ShowCalculated(TParameter* keyframe, TRender* render, THost& host = QuietHost());

// Variants 0 and 1 into ImageD at x = 0 and x = W - 1; column W - 1 black,
// W - 2 white; the last column (2W - 1) is not written. CompositionMode 2,
// ShownImage 2, texts printed; no filter, no overlays.
int ShowDoubleM1(TParameter* keyframe, TRender* render, THost& host = QuietHost());

// Variants 0..3 into ImageV at (0, 0), (W - 1, 0), (0, H - 1), (W - 1, H - 1);
// the colour list texts are rebuilt before variant 3. White lines at x = W - 1
// and y = H - 1, black at x = W and y = H. CompositionMode 4, ShownImage 4.
int ShowFourfoldM1(TParameter* keyframe, TRender* render, THost& host = QuietHost());

// Movie 1 (left, with its ShowLines) and Movie 2 (from x = W1 - 1, with its
// ShowLines under CompositionMode 222) into Movie 1's ImageD; separator
// white at W1 - 2, black at W1 - 1. Ends with CompositionMode 222.
int ShowDoubleM1M2(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                   TParameterAnim* movie1, TParameterAnim* movie2, THost& host = QuietHost());

// As ShowDoubleM1M2 for a new C point: KeepLeftPicture set, CompositionMode
// not set to 22 at the start, Movie 1's columns W1 - 3 and W1 - 2 take
// colour index 0 and W1 - 1 index 128 (under the separators), a pending
// grid change is kept.
int ShowDoubleNewC(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                   TParameterAnim* movie1, TParameterAnim* movie2, THost& host = QuietHost());

// Movie 1 variants 0 and 1 on the left, Movie 2 variants 0 and 1 on the
// right of Movie 1's ImageV, separators as ShowFourfoldM1 (Movie 1's size).
// Movie 1's texts are printed into the fourfold picture before Movie 2's
// lower quadrant is painted, Movie 2's at the end. CompositionMode 44.
int ShowFourfoldM1M2(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                     THost& host = QuietHost());

// Movie 2 laid into Movie 1's Image at (ox, oy) = (InsertPosX, InsertPosY),
// each less 1 when above 0, at most (W1 - 1, H1 - 1). CompositionMode -1
// (insert A) and -12 (colour addition) shift Movie 2 by (ox, oy); 0
// (insert B) keeps Movie 2's pixels in place from (ox, oy) on. Opacity 255
// replaces, otherwise Movie 2's colour with alpha InsertOpacity is blended
// over Movie 1 (BlendArgb). Clipped to Movie 1's picture and Movie 2's
// buffers. CompositionMode is -111 / 101 while Movie 2's ShowLines runs and
// restored afterwards.
int ShowInsert(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
               TParameterAnim* movie1, TParameterAnim* movie2, THost& host = QuietHost());

// The redisplay by CompositionMode (set to 3 first while KeepLeftPicture is
// set): 1 ShowCalculated, 2 ShowDoubleM1, 3 and 21 ShowDoubleNewC, 4
// ShowFourfoldM1, 22 and 222 ShowDoubleM1M2, 44 ShowFourfoldM1M2, -1, 0 and
// -12 ShowInsert; nothing (0) for -1000 and other values. Returns the
// routine's result; the caller repaints the picture area.
int Redisplay(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
              TParameterAnim* movie1, TParameterAnim* movie2, THost& host = QuietHost());

}  // namespace ork
