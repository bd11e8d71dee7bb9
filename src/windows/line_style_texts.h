// Texts of the line-style dialog.
#pragma once

#include "model/language.h"

namespace ork::line_style_texts {

inline constexpr TText2 kTitle1{"Für Movie ", "For Movie "};
inline constexpr TText2 kTitle2{" - Linienfarben neu einstellen", "- setting line colors"};
inline constexpr const char* kHeader1 = "  LinesThickness                 LinesColor (0..255)";
inline constexpr const char* kHeader2 =
    "           (0..3)        Alpha        Red      Green      Blue";
inline constexpr TText2 kRows[7] = {
    {"G = Größen-Gitter", "G = Grid coordinates"},
    {"M = Mittelkreuz", "M = Center cross"},
    {"A = Achsenkreuz", "A = Axes at null"},
    {"CA= alle C bis akt.KEY", "CA = all C to curr.KEY"},
    {"CB= alle C ab akt.KEY", "CB = all C from cu.KEY"},
    {"C = C-Punkt", "C = C-Point"},
    {"N = Nächstes Bild", "N = Next Frame KEY"},
};
inline constexpr TText2 kUpdate{"Aktualisieren", "Update display"};
inline constexpr TText2 kForAll{"Akt.für alle [KEY]", "For all [KEY]"};
inline constexpr TText2 kStandard{"Standard = kein Eintrag", "Standard = empty"};
inline constexpr TText2 kInsertAll{"Alle Linien ins Bild", "Insert all lines"};
inline constexpr TText2 kNote1{
    "Hinweise: Linien hier löschen mit Thickness = 0 . Oder bei Datensätze ..",
    "Notes: Delete lines here with Thickness = 0. .. or at data window."};
inline constexpr TText2 kNote2{"Für Linie als inverse Hintergrundfarbe gib Alpha = 0 ein",
                               "For a line with inverse background color, set Alpha = 0"};

}  // namespace ork::line_style_texts
