// Texts of the overlay, line-style and filter commands.
#pragma once

#include "model/language.h"

namespace ork::overlay_command_texts {

inline constexpr TText2 kComputeFirst{"Bitte erst ein Bild rechnen.",
                                      "First calculate a picture, please."};
inline constexpr TText2 kDoubleFirst{"Bitte erst ein Doppelbild erzeugen.",
                                     "First calculate a double picture, please."};
inline constexpr TText2 kDeleteAll{
    "Achtung ! Alle Einstellungen zu Text, Farben und Gittergrößen werden gelöscht oder auf "
    "Standard gestellt. Linienarten G,M,A,C,N usw. einzeln entfernen im Datenfenster.",
    "Attention ! All settings to text, colors and grid sizes will be deleted or placed on a "
    "standard. Line types G, M, A, C, N, etc. you can remove individually in the data window."};
inline constexpr TText2 kFilterDeleted{"Filter gelöscht", "filter deleted"};

}  // namespace ork::overlay_command_texts
