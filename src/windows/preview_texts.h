// Two-language texts of the preview and Julia windows and their commands.
#pragma once

#include "model/language.h"

namespace ork::preview_texts {

inline constexpr char kInitialTitle[] = "...";
inline constexpr char kJuliaInitialTitle[] = "Julia ...";
inline constexpr char kPixelSuffix[] = " Pixel";  // after "    " + size
inline constexpr char kPreviewPanel[] = "Vorschau";
inline constexpr char kJuliaPanel[] = "Julia-Menge";
inline constexpr TText2 kCancelled{"Abgebrochen", "Cancelled"};
inline constexpr TText2 kAccept{"Uebernehmen", "Accept"};
inline constexpr char kCxLabel[] = "Cx=";
inline constexpr char kCyLabel[] = "Cy=";
inline constexpr TText2 kJuliaQuestion1{"In Movie2 ist jetzt in KEY ", "In Movie2 now in KEY"};
inline constexpr TText2 kJuliaQuestion2{" der Wert", " the value"};
inline constexpr TText2 kJuliaQuestion3{") eingetragen. Auch nach Movie1 kopieren ?",
                                        ") entered copying. Even the value copy to Movie1 ?"};

// Commands.
inline constexpr TText2 kFileMissing{"Datei fehlt !", "File is missing!"};
inline constexpr TText2 kPreviewM1{"Vorschau M1", "Preview M1"};
inline constexpr TText2 kPreviewM2{"Vorschau M2", "Preview M2"};

}  // namespace ork::preview_texts
