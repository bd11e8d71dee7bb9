// Two-language texts of the fractal engine.
#pragma once

#include "model/language.h"

namespace ork::engine_texts {

// Progress text of the picture loop, followed by row + "/" + height.
inline constexpr TText2 kPleaseWaitLine{"Bitte warten, Zeile ", "Please wait, line "};

// A buffer that could not be had: kNoMemory + size + kFor + purpose +
// kNotAllocated + kAbandoned; without a known size kNoMemoryPlain +
// kAbandoned.
inline constexpr TText2 kNoMemory{"Nicht genug Speicher: ", "Not enough memory: "};
inline constexpr TText2 kFor{" für ", " for "};
inline constexpr TText2 kNotAllocated{" konnten nicht belegt werden.",
                                      " could not be allocated."};
inline constexpr TText2 kNoMemoryPlain{"Nicht genug Speicher.", "Not enough memory."};
inline constexpr TText2 kAbandoned{" Der Befehl wurde abgebrochen.",
                                   " The command was abandoned."};

// What the buffers were for, followed by the picture size "W x H".
inline constexpr TText2 kPictureBuffers{"die Bildpuffer ", "the picture buffers "};
inline constexpr TText2 kDoublePicture{"das Doppelbild ", "the double picture "};
inline constexpr TText2 kFourfoldPicture{"das Vierfachbild ", "the fourfold picture "};
// Followed by CycleTest and kEntries.
inline constexpr TText2 kCycleHistory{"die Zyklus-Historie von ", "the cycle history of "};
inline constexpr TText2 kEntries{" Einträgen", " entries"};
// Followed by the number of points.
inline constexpr TText2 kOrbitRecord{"die Orbit-Aufzeichnung von ", "the orbit record of "};
inline constexpr TText2 kPoints{" Punkten", " points"};

// Deep zoom: kDeepFormulaOnly + formula number + kDeepInDouble.
inline constexpr TText2 kDeepFormulaOnly{
    "Tiefenzoom rechnet nur die Formeln 1000, 1001 und 1002; Formel ",
    "Deep zoom computes formulas 1000, 1001 and 1002 only; formula "};
inline constexpr TText2 kDeepInDouble{" wird mit doppelter Genauigkeit gerechnet.",
                                      " is computed in double precision."};
// Progress of the reference orbit, followed by the iterations done.
inline constexpr TText2 kReferenceOrbit{"Bitte warten, Referenz-Orbit ",
                                        "Please wait, reference orbit "};

}  // namespace ork::engine_texts
