// The two-language texts of the INI store and the movie loader.
#pragma once

#include "model/language.h"

namespace ork::model_texts {

inline constexpr TText2 kFileMissing1{"Die Datei ", "The file "};
inline constexpr TText2 kFileMissing2{" fehlt im Verzeichnis INI !", " is missing in the directory /INI! "};
inline constexpr TText2 kDefaultMissing{
    "Die Datei Default.ini Datei fehlt im Verzeichnis INI ! Schreibe eine Ersatzdatei als Default.ini",
    "The file Default.ini in the directory /INI is missing! Writing a replacement file as Default.ini ."};
inline constexpr TText2 kCreatePath1{"Der Pfad '", "The path '"};
inline constexpr TText2 kCreatePath2{"' ist nicht da , soll er erzeugt werden !?",
                                     "'is not there, he is to be generated!?"};
inline constexpr TText2 kCreateFailed{"Das ging aber nicht :(", "This was not :("};

inline constexpr TText2 kMore{"Es sind mehr KEY vorhanden, als in Count eingestellt. Count +1 vergrößern ?",
                              "There are more KEY exists, as set in Count. Count increment +1 ?"};
inline constexpr TText2 kIgnored1{"Die KEYs ab Count=", "The KEYs from Count ="};
inline constexpr TText2 kIgnored2{" werden ignoriert.", " are ignored."};
// Followed by the most keyframes a movie holds and kTooManyKeys2.
inline constexpr TText2 kTooManyKeys1{"Der Film hat mehr als ", "The movie has more than "};
inline constexpr TText2 kTooManyKeys2{" KEY; die weiteren werden ignoriert.",
                                      " KEYs; the others are ignored."};
inline constexpr TText2 kFewer1{
    "Es sind weniger KEY vorhanden, als in Count eingestellt. Count wird auf Count=",
    "There are a few KEY present, as listed in Count. Count will to Count="};
inline constexpr TText2 kFewer2{" verkleinert.", " reduced."};
inline constexpr TText2 kRepaired{
    "Bitte neu speichern. Es wurden Standard-Daten eingesetzt, weil die Daten fehlten für ",
    "Please save the ini-DataSet. Were used standard data because the data were missing for "};

}  // namespace ork::model_texts
