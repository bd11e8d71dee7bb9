// The line-style dialog: the colours (alpha, red, green, blue) and
// thicknesses of the seven overlay kinds G, M, A, CA, CB, C, N of one
// keyframe, shown as numbers, a "*" beside the kinds the keyframe draws.
#pragma once

#include <array>

#include "model/parameter.h"

namespace ork {

using TLineArray = std::array<int, TParameter::kLineKinds>;

// Result codes left in element 9 of the colour and thickness arrays.
enum : int {
  kLineCodeUpdate = 1,       // values taken from the fields
  kLineCodeForAllKeys = 2,   // thickness code: as 1, for every keyframe
  kLineCodeClosed = 3,       // colour code: window closed, nothing changed
  kLineCodeInsertAll = 50,   // nothing changed, all kinds into the list
  kLineCodeDefaults = 100,   // every value at its default
};

// Modal; runs at (32, 32), 370 x 345 pixels, titled for movie `movieNo`.
// "Aktualisieren" and "Akt.für alle [KEY]" take every field's integer value
// (thicknesses limited to 0..3; the codes become 100 / 100 and 100 / 101
// when all fourteen values are the defaults), "Standard = kein Eintrag"
// sets the defaults, "Alle Linien ins Bild" and the close box change
// nothing (close box: colour code 3, thickness code unchanged).
void LineStyleDialog(int movieNo, TLineArray& colours, TLineArray& thicknesses,
                     const TLineArray& flags);

}  // namespace ork
