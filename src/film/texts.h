// The two-language texts of the film preparation and production.
#pragma once

#include "model/language.h"

namespace ork::film_texts {

// Preparation of a film movie.
inline constexpr TText2 kStartKey1{"Achtung! Film von Movie ", "Attention! Movie from Movie "};
inline constexpr TText2 kStartKey2{" startet bei KEY ", " starts with KEY "};
inline constexpr TText2 kStartKey3{". Ist das OK ? Bei Abbrechen zurück auf KEY1.",
                                   ". Is that OK? If you cancel, it turnes back to KEY1."};
inline constexpr TText2 kFormula{
    ". Interpolation zwischen KEYs verschiedener NoOfFormula nicht möglich.",
    ". Interpolation between different NoOfFormula not available."};
inline constexpr TText2 kZeroBoth{
    "SecondsFor+ = 0.0 und FactorPerPictFor* = 0.0, es wird ersatzweise auf 1.01 gesetzt",
    "SecondsFor + = 0.0 and FactorPerPictFor * = 0.0, it is alternatively set to 1.01"};
inline constexpr TText2 kZeroValue{
    "Bei Start- oder Endwert Null Bitte mit + interpolieren, nicht mit * . SecondsFor+ wird "
    "ersatzweise auf 2 Sekunden gesetzt.",
    "At the start or end value zero please interpolate with +, not with *. SecondsFor + is "
    "alternatively set to 2 seconds."};
inline constexpr TText2 kSignChange1{"Parameter wechselt Vorzeichen: ",
                                     "Parameter changes the sign: "};
inline constexpr TText2 kSignChange2{" Rechnung unvollständig, Bitte aufteilen.",
                                     " Calculation incomplete, please divide."};
inline constexpr TText2 kFewFrames1{"Zu wenige Frames: ", "Too few frames: "};
inline constexpr TText2 kFewFrames2{" bei KEY ", " to KEY "};
inline constexpr TText2 kFewTick{". Eventuell Häkchen vergessen.", ". Checkmark may forget."};
inline constexpr TText2 kFewFactor{". Eventuell Häkchen vergessen oder FactorPerPictFor* falsch.",
                                   ". You may tick forgotten or FactorPerPictFor* is wrong."};
inline constexpr TText2 kSet{": SecondsFor+ wurde auf ", ": SecondsFor + was set to"};
inline constexpr TText2 kSetEnd{" gesetzt", ""};
inline constexpr TText2 kFilter{
    "Hinweis: Im Film wird ein Filter zum Weichzeichnen eingesetzt. Ist das Absicht ?",
    "Note: In the movie is used a filter for blurring. Is that intentional?"};
inline constexpr TText2 kCountError{"Fehler. Es erfolgt Abbruch.", "Error. It will break."};
inline constexpr TText2 kSaveFailed{"Die Animations Datei konnte nicht gespeichert werden !?",
                                    "Attention: The animation file could not be saved!?"};
// A film longer than the frame limit of the preparation.
inline constexpr TText2 kTooMany1{"Zu viele Frames: Der Film wäre länger als ",
                                  "Too many frames: the movie would be longer than "};
inline constexpr TText2 kTooMany2{" Bilder. Es erfolgt Abbruch.", " frames. It will break."};

// Progress line of a running film.
inline constexpr TText2 kRun{"Berechne Film ... Bild ", "Calculate movie ... pict. "};
inline constexpr TText2 kPreview{"Berechne Vorschau Film ... Bild ",
                                 "Calculating preview movie ... pict. "};
inline constexpr TText2 kEsc{" (für Abbruch Escape Taste halten)", "(for cancel hold Esc key)"};
inline constexpr TText2 kRest{"Rest Zeit ca. ", "Time around"};
inline constexpr TText2 kHours{" Std.", "h"};
inline constexpr TText2 kMinutes{" Min.", "min"};
inline constexpr TText2 kSeconds{" Sek.", "sec"};
inline constexpr TText2 kStill{" Standbild ", "stationary image"};

// A frame file or the film file could not be written; the file and the
// reason follow.
inline constexpr TText2 kWriteStopped{
    "Der Film wurde angehalten, eine Datei konnte nicht geschrieben werden:\n",
    "The movie was stopped, a file could not be written:\n"};

// Another run produces the same film; the lock file and the process follow.
inline constexpr TText2 kFilmBusy{"Der Film wird schon erzeugt, er bleibt unverändert:\n",
                                  "The movie is already being produced, it stays as it is:\n"};

}  // namespace ork::film_texts
