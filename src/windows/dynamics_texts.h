// Two-language texts of the points window, the dynamics picture window and
// the dynamics commands.
#pragma once

#include "model/language.h"

namespace ork::dynamics_texts {

// Points window.
inline constexpr TText2 kPointsTitle{"Rechenergebnis am Punkt mit Click+p",
                                     "Computational result at the point with Click + p"};
inline constexpr TText2 kShowPoints{"Dynamik als Punkte anzeigen", "Show dynamic as points"};
inline constexpr TText2 kShowLines{"Dynamik als Linien anzeigen", "Show dynamic as lines"};
inline constexpr TText2 kNumberList{"Als Zahlenliste nach /Output/ZList.txt",
                                    "Print list for variables in /output/ZList.txt"};
inline constexpr TText2 kResult{"Endergebnis", "result"};
inline constexpr TText2 kIterations{"Iterationen", "iterations"};
inline constexpr TText2 kOfBetween{" von ", " from "};
inline constexpr TText2 kCycles{"Zyklenzahl", "Number of cycles"};
inline constexpr char kTolerance[] = "Genauigkeit";
inline constexpr TText2 kStepLength{"DeltaXY bei Max_It/10", "Delta XY at Max_It/10"};
inline constexpr TText2 kPictureCoordinate{"Bildkoordinate", "coordinate"};
inline constexpr TText2 kMousePosition{"Mausposition", "Mouse position"};
inline constexpr TText2 kOfLabel{"von", "from"};

// Dynamics picture window.
inline constexpr char kInitialTitle[] = "...";
inline constexpr char kPanelTitle[] = "Vorschau";
inline constexpr TText2 kSize{"Groesse", "Size"};
inline constexpr TText2 kChange{"Ändern", "Change"};
inline constexpr TText2 kToMainPicture{"Als Hauptbild anzeigen zum Speichern",
                                       "Display at Main Screen for Saving"};
inline constexpr TText2 kShift{"Verschiebung", "Shift"};
inline constexpr TText2 kShiftLeft{"Versch.Links", "Shift left"};
inline constexpr TText2 kStatusShiftUp{"Verschiebung nach oben: ", "Shift up"};
inline constexpr TText2 kStatusShiftLeft{"  Verschiebung nach Links: ", " Shift to the Left:"};

// Command 81.
inline constexpr TText2 kDynamicsAt{"Dynamik am Punkt", "Dynamics at the point"};
inline constexpr TText2 kZListWritten{
    "Die Datei ZList.txt wurde in das Verzeichnis Output geschrieben. Bitte umbenennen. Sie "
    "wird beim nächsten Mal überschrieben.",
    "The file ZList.txt was written to the directory /output. Please rename. It will be "
    "overwritten by the next action."};

}  // namespace ork::dynamics_texts
