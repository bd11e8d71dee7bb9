// The two-movie compositions. A choosing command (85-90, 92, 94) sets
// CompositionMode, checks the picture sizes and posts stage 1 (95), which
// asks what has to be asked, computes Movie 1 and posts the show command or
// stage 2 (96); stage 2 brings Movie 2 into line with Movie 1, computes it,
// saves both movies to the history and posts the redisplay (1). ClickSide
// (set by the mouse tools) lets a stage skip the side that did not change.
// 91 shows the new-C constant of Movie 1 as a Julia preview of Movie 2, 93
// turns the fourfold picture of Movie 1 one place.
#pragma once

#include <functional>
#include <string>

#include "model/parameter.h"

namespace ork {

class TParameterAnim;

// Opens the Julia window `number` (1..4) when its slot is empty, with kind
// (0 Movie 1, 1 Movie 2), picture width and height in pixels, and fills it
// with `movie`, the same size and `title`. The Julia windows register it;
// without one, command 91 prepares Movie 2 and brings the open Julia
// windows to the front but opens none.
using TJuliaPreviewOpener = std::function<void(int kind, int number, int width, int height,
                                               TParameterAnim& movie, const std::string& title)>;
void SetJuliaPreviewOpener(TJuliaPreviewOpener opener);

// The modal dialog "Startpunkt Movie 2 in Movie 1 und Durchsichtigkeit":
// the insert position x, y (pixels) and InsertOpacity as decimal fields.
// OK stores the three integer values (0 for text that is not a number, no
// range check) and returns true; the close box returns false and changes
// nothing. Events of other windows are consumed without effect meanwhile.
bool AskInsertPosition(const std::string& title, int& x, int& y);

// Stage 1 and stage 2 (commands 95 and 96).
void CompositionStage1();
void CompositionStage2();
// Command 91.
void NewCJuliaPreview();

// Keyframe n (1..Count) of the movie, or null outside that range.
TParameter* MovieKeyAt(TParameterAnim* movie, int n);

// Movie 2 replaced by a copy of Movie 1; its keyframe and render object
// are released (they belonged to the old movie).
void CopyMovie1IntoMovie2();

}  // namespace ork
