// Texts of the grid-size dialog.
#pragma once

#include "model/language.h"

namespace ork::grid_size_texts {

inline constexpr TText2 kTitle1{"Für ", "For "};
inline constexpr TText2 kTitle2{" - Gittergrössen neu einstellen", "- Setting Grid sizes"};
inline constexpr TText2 kHeight{"Gesamt-Bild-Höhe aktuell = ", "Total image HeightY = "};
inline constexpr TText2 kAuto{
    "Für Video/automatisch  dX = -1 oder -2                Schrift",
    "For Video/automatic dX = -1 or -2                          font"};
inline constexpr TText2 kSpacing{"Gitterabstand", "Lattice spacing"};
inline constexpr TText2 kDecimals{"angezeigte Kommastellen:", "Displaying decimal places:"};
inline constexpr TText2 kShift{"ZahlenShift in % (20..80):", "Number Shift in % (20..80):"};
inline constexpr TText2 kSize{"Zahlengröße (1..3):", "Number Size (1..3):"};
inline constexpr TText2 kOkAll{"OK für alle KEY", "OK for all KEY"};
inline constexpr TText2 kFor{"für", "for"};
inline constexpr TText2 kStandard{"Berechnen / Standard", "Calculate / Standard"};
inline constexpr TText2 kDelete{" Löschen", " Delete"};

}  // namespace ork::grid_size_texts
