// The texts of the movie-file, history and keyframe commands and of the
// back-step dialog. Chooser titles exist in one form only.
#pragma once

#include "model/language.h"

namespace ork::movie_texts {

// Titles of the movie file chooser (the same in both languages; two blanks
// in the Movie 2 save title).
inline constexpr const char* kLoadMovie1Title = "Laden Movie 1 (Hauptbild)";
inline constexpr const char* kLoadMovie2Title = "Laden Movie 2";
inline constexpr const char* kSaveMovie1Title = "Movie 1 Speichern als ...";
inline constexpr const char* kSaveMovie2Title = "Movie 2  Speichern als ...";

inline constexpr TText2 kNoSettings{"Die Settings.ini sollte aber nicht ausgewählt werden ;-)",
                                    "The Settings.ini should not be selected ;-)"};
// A chosen name must name a file inside the movie directory.
inline constexpr TText2 kNoDirectory{"Der Name darf kein Verzeichnis enthalten: ",
                                     "The name must not contain a directory: "};

// "KEY" + number + this.
inline constexpr TText2 kDeleteReally{" wirklich loeschen ?", " delete really ?"};
inline constexpr TText2 kOnlyKey{"Der einzige KEY kann nicht gelöscht werden.",
                                 "The only KEY cannot be deleted."};

// A history file that was never written (or is gone): first part + file
// name + second part.
inline constexpr TText2 kHistoryMissing1{"Das Bild ", "The picture "};
inline constexpr TText2 kHistoryMissing2{" gibt es nicht im Verzeichnis TEMP.",
                                         " does not exist in the directory /TEMP."};

// Titles of the previews these commands open: "1 " + one of these.
inline constexpr TText2 kPreviewM1{"Vorschau M1", "Preview M1"};
inline constexpr TText2 kPreviewM2{"Vorschau M2", "Preview M2"};

// The back-step dialog.
inline constexpr TText2 kBackTitle{"Rueckspruenge Vorschau", "Jump back with preview"};
inline constexpr TText2 kBackLine1{"Es wurden nur Bilder gespeichert, die im",
                                   "There were only saved pictures, who"};
inline constexpr TText2 kBackLine2{"Hauptfenster gerechnet wurden.", "calculated in main screen."};
inline constexpr TText2 kBackHowMany{"Wieviele Bilder zurück ?", "Back how many pictures ?"};
inline constexpr TText2 kBackCalculate{"Bild Berechnen", "Calculate image"};

}  // namespace ork::movie_texts
