// Texts of the keyframe data windows and the picture format window in both
// languages, and their language-independent texts.
#pragma once

#include "model/language.h"

namespace ork::data_texts {

// Window titles; the part-2 variants append kPart2Suffix.
inline constexpr TText2 kTitleM1{"Datensatz M1 (Hauptbild)", "Data collection of Movie1 (Main)"};
inline constexpr TText2 kTitleM2{"Datensatz Movie 2", "Data collection of Movie2"};
inline constexpr TText2 kPart2Suffix{" Zusatzfenster kleine Bildschirme",
                                     " Additional window small screens"};
inline constexpr TText2 kPart2Info{
    "            Sie sind hier im Zusatzfenster für kleine Bildschirmhöhen",
    "            You are here in an extra window for small heights of screen"};

// Buttons.
inline constexpr TText2 kDuplicate{"KEY Duplizieren", "KEY Duplicate"};
inline constexpr TText2 kFormat{"Bildformat", "Pixel Sizes"};
inline constexpr const char* kOk = "OK";
inline constexpr TText2 kExchange{"M2-M1 Tauschen", "Exchange M2-M1"};
inline constexpr TText2 kDelete{"KEY Löschen", "Delete KEY"};
inline constexpr TText2 kInsertA{"EinfügenA", "InsertA"};
inline constexpr TText2 kFirst{"Anfang", "First"};
inline constexpr TText2 kPast{"Zurück", "Past"};
inline constexpr TText2 kNext{"Vor", "Next"};
inline constexpr TText2 kLast{"Ende", "Last"};
inline constexpr TText2 kPreview{"Vorschau", "Preview"};
inline constexpr TText2 kCalculate{"Berechnen", "Calculate"};
inline constexpr TText2 kBesideM1{"Neben M1", "M2 beside M1"};
inline constexpr TText2 kUpdate{"Aktualisieren", "Update display"};
inline constexpr const char* kStartVideo = "Start Video";
// The deep switch of the keyframe ("DeepZoom"); the status line names it.
inline constexpr TText2 kDeepSwitch{"Tiefenzoom (DeepZoom)", "Deep zoom (DeepZoom)"};

// Labels.
inline constexpr const char* kHeadMarks = "Animation   +   *";
inline constexpr const char* kHeadText = "Text";
inline constexpr const char* kNavigation = "Navigation:";
inline constexpr const char* kIteration = "Iteration:";
inline constexpr const char* kDisplay = "Display:";
inline constexpr const char* kVideo = "Video:";
inline constexpr const char* kBeforeFill = "..steht in Fill..";
inline constexpr const char* kEmpty = "Empty";

// The picture name shown while a repaired movie is not saved yet; the same
// in both languages.
inline constexpr const char* kNotSaved = "Stop! Sie haben noch nicht gespeichert.";

// Asked by "1", "2", "4" and "Aktualisieren" when no fitting picture exists.
inline constexpr TText2 kRecalcM1{
    "Das berechnete Bild passt nicht zum eingestellten KEY. Bitte neu berechnen.",
    "The calculated image has not the actual KEY. Re-calculate please."};
inline constexpr TText2 kRecalcM2{
    "Das rechte Bild hat nicht denselben KEY wie das linke. Bitte neu berechnen.",
    "The right image has not the same KEY as the left. Re-calculate please."};

// Diagnostic lines (prefix + the movie's Run).
inline constexpr const char* kDiagFillM1 = "WParameterMov1   2  UsedAnim.Run=";
inline constexpr const char* kDiagFillM2 = "WParameterMov1   2  UsedAnim2.Run=";
inline constexpr const char* kDiagNameM1 = "WParameterMov1   1  UsedAnim.Run=";
inline constexpr const char* kDiagNameM2 = "WParameterMov1   1  UsedAnim2.Run=";

// Commands 17, 1017 and 15 without both movies.
inline constexpr TText2 kBothMoviesNeeded{"Movie 1 und Movie 2 müssen geladen sein.",
                                          "Movie 1 and Movie 2 must be loaded."};

// ---- Picture format window -------------------------------------------------
inline constexpr TText2 kFormatTitleM1{"M1: Bildformat, Name etc. (Hauptbild)",
                                       "M1: Format of image, name, etc. (MainScreen)"};
inline constexpr TText2 kFormatTitleM2{"M2: Bildformat, Name etc. ",
                                       "M2: Format of image, name, etc."};
inline constexpr TText2 kFormatTitleBoth{"Bildformat Movie 1 + Movie 2   (beide)",
                                         "Both M1 and M2 Format of image "};
inline constexpr const char* kFormatInitialTitle = "...";
inline constexpr const char* kWidthPixel = "Width  Pixel";
inline constexpr const char* kHeightPixel = "Height Pixel";
inline constexpr const char* kFileName = "FileName";
inline constexpr const char* kWeb = "Web";
inline constexpr const char* kEmail = "Email";
inline constexpr const char* kAuthor = "Author";
inline constexpr const char* kUser = "User";
inline constexpr const char* kQuickMenu = "Hier Click für Schnellauswahl";  // UTF-8

}  // namespace ork::data_texts
