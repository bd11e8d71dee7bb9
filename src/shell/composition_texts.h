// The texts of the two-movie compositions (commands 85-96) and of the
// insert-position dialog, in both languages. Texts that exist in one form
// only are plain constants.
#pragma once

#include "model/language.h"

namespace ork::composition_texts {

// Refusals when a composition is chosen.
inline constexpr TText2 kSameSize{
    "Bitte bei beiden Bildern gleiche Pixel-Größe (Bildformat) einstellen.",
    "Please set the same resolution in pixels for both images."};
inline constexpr TText2 kUseInsertA{"Bitte Einfügen A benutzen oder M2 vergrößern.",
                                    "Please use InsertA or increase M2."};

// Stage 1.
inline constexpr TText2 kLoadMovie1{"Bitte laden Sie eine Movie 1 - Datei (Hauptbild).",
                                    "Load a ini-file for M1 (MainSreen), please."};
inline constexpr TText2 kLoadMovie2{"Bitte laden Sie eine Movie 2 - Datei.",
                                    "Load a ini-file for M2, please."};
inline constexpr const char* kInsertTitle = "Startpunkt Movie 2 in Movie 1 und Durchsichtigkeit";
// "...KEY: " + key 1 + " und " + key 2 + ". KEY" + key 2 + " von Movie 2 ...".
inline constexpr TText2 kKeysDiffer1{
    "Achtung ! Movie 1 und Movie 2 stehen auf verschiedenen aktuellen KEY: ",
    "Attention ! Movie 1 and Movie 2 are on different current KEY: "};
inline constexpr TText2 kKeysDiffer2{" und ", " and "};
inline constexpr const char* kKeysDiffer3 = ". KEY";
inline constexpr TText2 kKeysDiffer4{" von Movie 2 wird für beide gesetzt.",
                                     " from Movie 2 is set for both."};
inline constexpr TText2 kMovie1TooShort{
    "Movie 1 ist zu kurz, bitte KEYs in M1 einfügen durch Duplizieren.",
    "Movie 1 is too short, please insert KEYs in M1 by duplicating."};

// Stage 2.
inline constexpr TText2 kMovie2TooShortJulia{
    "Movie 2 ist zu kurz. Es erfolgt Kopie von Movie 1. JuliaSet wird in M2 auf 1 gesetzt.",
    "Movie 2 is too short. M1 is duplicated and overwrites M2. New: JuliaSet=1 for M2."};
inline constexpr TText2 kTransferQuestion{
    "Anfangs sollte Movie 1 auf Movie 2 überspielt werden, danach M2 anpassen im "
    "Datenfenster M2, oder z.B. MidPoint durch C+Click. Falls schon geändert, dann "
    "Abbrechen. Jetzt überspielen ? (Die Daten M2 sind dann identisch mit M1, aber das "
    "geklickte C wird als Juliamenge in M2 gerechnet.)",
    "At the beginning should be Movie 1 transferred to Movie 2. After that, you can change "
    "MidPoint or HeightY or Degree of M2. Now transfer ? (The data for M2 will be identical "
    "to M1, but with the clicked (Cx,Cy) is calculated the JuliaSet in M2.) If you already "
    "changed, then Cancel. "};
inline constexpr TText2 kMovie2TooShortCopy{"Movie 2 ist zu kurz. Es erfolgt Kopie von Movie 1.",
                                            "Movie 2 is too short. There is a copy of movie first"};
inline constexpr TText2 kGameNoDiffer{"Achtung ! Beide Movies haben verschiedene Programm-Nummern !",
                                      "Attention ! Both movies have different program numbers!"};
inline constexpr TText2 kStatusCalculatingM2{
    "Berechnung Movie 2 ... (für Abbruch Escape Taste halten)",
    "Calculation M2... (Cancel: hold Esc-Key)"};

// Status lines of the two-movie pictures. The new-C line is the same in
// both languages: "1+2[KEY " + key + "] li: No " + formula 1 + " re: No " +
// formula 2 + " als Juliamenge bei C=(" + Cx + ", " + Cy + ")".
inline constexpr const char* kNewCStatus1 = "1+2[KEY ";
inline constexpr const char* kNewCStatus2 = "] li: No ";
inline constexpr const char* kNewCStatus3 = " re: No ";
inline constexpr const char* kNewCStatus4 = " als Juliamenge bei C=(";
inline constexpr TText2 kInsertStatus{"Movie 2 in Movie 1 fuer", "Movie 2 in Movie 1 for"};
inline constexpr TText2 kBesideStatus{"Movie 2 neben Movie 1 fuer", "Movie 2 beside movie 1 for"};
inline constexpr TText2 kBesideTwoStatus{"Movie 2 neben Movie 1, je zwei fuer",
                                         "Movie 2 beside movie 1, two each for"};

// The new-C picture with Julia preview (command 91).
inline constexpr TText2 kLeftAsSingle{"Linkes Bild nun als Einzelbild", "Left image now as single"};
inline constexpr TText2 kMovie2TooShortOverridden{
    "Movie 2 ist zu kurz. Wird überschrieben mit Movie 1.",
    "Movie 2 is too short. Overridden with movie 1"};
// Julia window titles: number + this.
inline constexpr const char* kJuliaTitleM2 = " M2 JuliaSet=1";

// The insert-position dialog.
inline constexpr TText2 kPoint{"Punkt", "Point"};
inline constexpr const char* kXPix = " X Pix";
inline constexpr const char* kYPix = " Y Pix";
inline constexpr TText2 kOpacity{"Undurchsichtigkeit  0...255", "Opacity 0 .. 255"};
inline constexpr const char* kOk = "OK";

}  // namespace ork::composition_texts
