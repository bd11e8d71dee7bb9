// The main window's menu tree, toolbar tooltips and the texts of its status
// line and of the commands of the event loop, in both languages. The menu
// texts are shown exactly as written here, blanks included.
#pragma once

#include "model/language.h"

namespace ork::menu_texts {

// One row of the menu tree. Top-level menus start a new menu; items and
// separators belong to the last menu or, between SubMenu and EndSubMenu,
// to that submenu.
enum class TMenuRow { TopMenu, Item, Separator, SubMenu, EndSubMenu };

struct TMenuEntry {
  TMenuRow row;
  int command;  // 0 for separators and menus without number
  TText2 text;
};

// Prefixes of the colour menus' items ("M1" + suffix, no blank between).
inline constexpr const char* kPrefixM1 = "M1";
inline constexpr const char* kPrefixM2 = "M2";

// clang-format off
inline constexpr TMenuEntry kMenuTree[] = {
  {TMenuRow::TopMenu, 0, {"     Datei ", "      File "}},
  {TMenuRow::Item, 2, {"Movie 1 (Hauptbild) Laden", "Load Movie 1 (MainScreen)"}},
  {TMenuRow::Item, 3, {"Movie 2 Laden", "Load Movie 2"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 7, {"Movie 1 (Hauptbild) Speichern unter...", "Save as ... Movie 1 (MainScreen) "}},
  {TMenuRow::Item, 8, {"Movie 2 Speichern unter...", "Save as ... Movie 2"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 6, {"Neue Startdatei auswählen", "Select new start file"}},
  {TMenuRow::Item, 5, {"Programm-Einstellungen", "Program Settings"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 4, {"PNG-Bild laden", "Load PNG Image"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 11, {"Beenden", "Exit"}},

  {TMenuRow::TopMenu, 0, {"     Zurück", "       Back"}},
  {TMenuRow::Item, 100, {"1 Bild zurück als Vorschau", "1 picture back as a preview"}},
  {TMenuRow::Item, 101, {"Mehrere Bilder zurück als Vorschau", "Several images back as a preview"}},
  {TMenuRow::Item, 97, {"Letzes Zurückbild als Hauptbild Laden (KEY wie früher)",
                        "Load the last back picture as main image (KEY as before)"}},
  {TMenuRow::Item, 98, {"Letzes Zurückbild als Movie 2 Laden (KEY wie früher)",
                        "Load the last back picture as M2 image (KEY as before)"}},

  {TMenuRow::TopMenu, 0, {" Datensätze ", "   Data Windows"}},
  {TMenuRow::Item, 16, {"Datensatz Movie 1", "Data collection of basic sizes of Movie1"}},
  {TMenuRow::Item, 13, {"Bildformat M1", "Pixel sizes of Movie1"}},
  {TMenuRow::Item, 1013, {"Datensatz M1 nur Teil2", "2th part of Data M1 for short screen"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 17, {"Datensatz Movie 2", "Data collection of basic sizes of Movie2"}},
  {TMenuRow::Item, 14, {"Bildformat M2", "Pixel sizes of Movie2"}},
  {TMenuRow::Item, 1017, {"Datensatz M2 nur Teil2", "2th part of Data M2 for short screen"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 15, {"Bildformat M1+M2 gleichzeitig ändern", "Change PixelSizes both M1 and M2"}},
  {TMenuRow::Item, 1, {"Aktualisieren Darstellung", "Update display"}},

  {TMenuRow::TopMenu, 38, {"        Vorschau ", "        Preview "}},
  {TMenuRow::Item, 42, {"Vorschau 1 für aktuelles M1", "Preview 1 for M1 current KEY"}},
  {TMenuRow::Item, 43, {"Vorschau 2 für aktuelles M1", "Preview 2 for M1 current KEY"}},
  {TMenuRow::Item, 44, {"Vorschau 3 für aktuelles M1", "Preview 3 for M1 current KEY"}},
  {TMenuRow::Item, 45, {"Vorschau 4 für aktuelles M1", "Preview 4 for M1 current KEY"}},
  {TMenuRow::SubMenu, 39, {"Vorschau-Größe einstellen", "Set calculating Size for Preview"}},
  {TMenuRow::Item, 52, {"100 Pixel Width", "100 Pixel Width"}},
  {TMenuRow::Item, 54, {"200 Pixel Width", "200 Pixel Width"}},
  {TMenuRow::Item, 55, {"300 Pixel Width", "300 Pixel Width"}},
  {TMenuRow::Item, 56, {"400 Pixel Width", "400 Pixel Width"}},
  {TMenuRow::Item, 57, {" 50 Pixel Width", " 50 Pixel Width"}},
  {TMenuRow::EndSubMenu, 0, {"", ""}},

  {TMenuRow::TopMenu, 0, {"Berechnen ", "Calculate"}},
  {TMenuRow::Item, 83, {"Berechne Hauptbild (aktuelles KEY)", "Calculate M1 current KEY"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 88, {"Berechne Doppelbild   aus M1 ..", "Calculate double image of M1 .."}},
  {TMenuRow::Item, 92, {"Berechne Vierfachbild aus M1 ..", "Calculate quadruple image of M1 .."}},
  {TMenuRow::Item, 93, {"Drehe Vierfachbild aus M1 um 1 weiter", "Turn quadruple image of M1 one Step"}},
  {TMenuRow::Item, 89, {"Berechne Doppelbild   aus M1 und M2 ..", "Calculate double image from M1 and M2 .."}},
  {TMenuRow::Item, 94, {"Berechne Vierfachbild aus M1 und M2 ..", "Calculate quadruple image of M1 and M2 .."}},
  {TMenuRow::Item, 85, {"EinfügenA von M2 in M1 ..", "Insert A of M2 in M1 .."}},
  {TMenuRow::Item, 86, {"EinfügenB von M2 in M1 ..", "Insert B of M2 in M1 .."}},
  {TMenuRow::Item, 87, {"M1 und M2 farblich addieren ..", "Add Color of M1 and M2 .."}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 120, {"Bild als Image speichern ..", "Save image as IMG .."}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 122, {"Film erzeugen ..", "Produce Movie"}},
};

// The seven items of the two colour menus: command numbers of Movie 1 and
// Movie 2 and the suffix after "M1" / "M2"; command 0 is a separator.
struct TColourItem {
  int commandM1;
  int commandM2;
  TText2 suffix;
};
inline constexpr TText2 kColourMenuM1{"    M1:Cod+Farb ", "    M1: Cod+Color"};
inline constexpr TText2 kColourMenuM2{"M2:Cod+Farb ", "M2: Cod+Color"};
inline constexpr TColourItem kColourItems[] = {
  {28, 31, {" Codierungs Auswahl", "Select Coding"}},
  {24, 32, {" ColFact F1 einzeln", "Color Fact F1 individually"}},
  {25, 33, {" ColFact F2 einzeln", "Color Fact F2 individually"}},
  {0, 0, {"", ""}},
  {22, 34, {" Farbtabellen Auswahl", "Select Color Table"}},
  {23, 35, {" ColShift einzeln", "Color Shift individually"}},
  {26, 36, {" ColFact F3 einzeln", "Color Fact F3 individually"}},
  {27, 37, {" ColFact F4 einzeln", "Color Fact F4 individually"}},
};

inline constexpr TMenuEntry kMenuTreeTail[] = {
  {TMenuRow::TopMenu, 0, {" Einfügen ", "Insert"}},
  {TMenuRow::Item, 1, {"Aktualisieren Darstellung", "Update display"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::SubMenu, 110, {"Filter Weichzeichnen", "blur filter"}},
  {TMenuRow::Item, 111, {"Stufe 1", "step1"}},
  {TMenuRow::Item, 112, {"Stufe 2", "step2"}},
  {TMenuRow::Item, 113, {"Stufe 3", "step3"}},
  {TMenuRow::Item, 114, {"Stufe 4", "step4"}},
  {TMenuRow::Item, 115, {"Stufe 5", "step5"}},
  {TMenuRow::Item, 116, {"kein Filter", "no filter"}},
  {TMenuRow::EndSubMenu, 0, {"", ""}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 71, {"M     Mittelkreuz einfügen", "M     Insert center cross"}},
  {TMenuRow::Item, 67, {"A     Achsen der Koordinaten X,Y", "A     Insert coordinate axes X, Y"}},
  {TMenuRow::Item, 68, {"G     Gitter X,Y einfügen", "G     Insert coordinate lines X, Y"}},
  {TMenuRow::Item, 65, {"N     Next-KEY Rahmen", "N     Insert frames of next KEY"}},
  {TMenuRow::Item, 66, {"NA   All-Next-KEY Rahmen", "NA   Insert frames of all Key"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 72, {"C-Punkt am KEY für Movie 1 anzeigen", "C-point of KEY for M1"}},
  {TMenuRow::Item, 75, {"alle C-Punkte bis KEY für M1 einfügen", "all C-points from KEY1 to KEYi"}},
  {TMenuRow::Item, 77, {"alle C-Punkte ab KEY für M1", "all C-points from KEYi to last KEY"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 118, {"Linienfarben neu einstellen", "Setting new colors for lines"}},
  {TMenuRow::Item, 70, {"Gittergrössen neu einstellen", "Setting new sizes of coordinate grid"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 119, {"Loeschen von Linien, Text, Filter", "Delete lines, text, filter"}},

  {TMenuRow::TopMenu, 0, {"JuliaSet", "JuliaSet"}},
  {TMenuRow::Item, 90, {"NewC=j+Click..+Click", "Newc = j +Click +Click .."}},
  {TMenuRow::Item, 73, {"M2:C-Punkt von KEYi als Kreuz anzeigen", "M2:C-point of KEYi"}},
  {TMenuRow::Item, 76, {"M2:alle C-Punkte von KEY1 bis KEYi", "M2:all C-points from KEY1 to KEYi"}},
  {TMenuRow::Item, 78, {"M2:alle C-Punkte von KEYi bis zum letzetn KEY", "M2:all C-points from KEYi to last KEY"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 79, {"Dynamik-Punkt p als C in M1 speichern", "M1:Dynamic Point p store as C"}},
  {TMenuRow::Item, 80, {"C von M1 als Dynamik-Punkt anzeigen", "M1:Display C as Dynamic Point p"}},
  {TMenuRow::Separator, 0, {"", ""}},
  {TMenuRow::Item, 91, {"NewC=k+Click mit Vorschaubild", "Newc = k + Click to preview image"}},
  {TMenuRow::SubMenu, 58, {"JuliaSet-Vorschau Bildbgröße einstellen", "Set Size of Preview of JuliaSet"}},
  {TMenuRow::Item, 59, {"100 Pixel", "100 Pixel"}},
  {TMenuRow::Item, 60, {"200 Pixel", "200 Pixel"}},
  {TMenuRow::Item, 61, {"300 Pixel", "300 Pixel"}},
  {TMenuRow::Item, 62, {"400 Pixel", "400 Pixel"}},
  {TMenuRow::Item, 63, {" 50 Pixel", " 50 Pixel"}},
  {TMenuRow::EndSubMenu, 0, {"", ""}},
  {TMenuRow::Item, 64, {"Vorschaubild M1 als Juliamenge", "Preview M1 as JuliaSet"}},

  {TMenuRow::TopMenu, 0, {"Fenster", "Window"}},
  {TMenuRow::Item, 41, {"Alle Vorschaubilder anzeigen", "Display all preview pictures"}},
  {TMenuRow::Item, 40, {"Alle Vorschaubilder löschen", "Delete all preview pictures"}},

  {TMenuRow::TopMenu, 0, {"Hilfe", "Help"}},
  {TMenuRow::Item, 125, {"orkelund.example.org/manual.html", "orkelund.example.org/manual.html"}},
  {TMenuRow::Item, 126, {"forum.orkelund.example.org", "forum.orkelund.example.org"}},
};

// Tooltips and commands of the 25 toolbar buttons, in button order.
struct TToolbarEntry {
  TText2 tooltip;
  int command;
};
inline constexpr int kBeginnerButton = 24;  // sets the beginner picture name first
inline constexpr int kBackButton = 3;       // counts its repeated uses
inline constexpr TToolbarEntry kToolbar[] = {
  {{"Datensatz M1 Laden", "M1 Load ini-file"}, 2},
  {{"Datensatz M1 Speichern", "M1 Save ini-file"}, 7},
  {{"Bild als Image speichern", "Save picture as Image"}, 120},
  {{"1 Bild zurück nach M1", "One image back to M1"}, 103},
  {{"Datensatz M1", "Date collection M1"}, 16},
  {{"Bildformat M1 und M2 gleichzeitig ändern", "Change Pixel Size both M1 and M2"}, 15},
  {{"Datensatz M2", "Date collection M2"}, 17},
  {{"Aktualisieren Darstellung", "Update display"}, 1},
  {{"Vorschau M1", "Preview M1"}, 42},
  {{"Vorschau M2", "Preview M2"}, 51},
  {{"M1 Berechnen", "M1 Calculate"}, 83},
  {{"Doppelbild M1 M2 Berechnen", "Double picture M1 M2 Calculate"}, 89},
  {{"Film starten", "Start movie"}, 122},
  {{"M1:FarbCodierung", "M1:Color Coding"}, 28},
  {{"M1:FarbPalette", "M1:Color Table"}, 22},
  {{"M1:FarbPalette rotiert", "M1:Color Table Rotate"}, 23},
  {{"M2:FarbCodierung", "M2:Color Coding"}, 31},
  {{"M2:FarbPalette", "M2:Color Table"}, 34},
  {{"M2:FarbPalette rotiert", "M2:Color Table Rotate"}, 35},
  {{"Einfügen Koordinatengitter", "Insert coordinates and axes"}, 69},
  {{"Gittergrößen ändern", "Change grid sizes"}, 70},
  {{"Löschen Linien+Schrift", "Delete lines and text"}, 119},
  {{"Alle Vorschaubilder anzeigen", "Display all preview pictures"}, 41},
  {{"Alle Vorschaubilder löschen", "Delete all preview pictures"}, 40},
  {{"Hilfe für Anfänger", "Help for beginners"}, 4},
};
// clang-format on

// ---- Status line ----------------------------------------------------------
inline constexpr TText2 kDoubleStatus{"Movie 2 neben Movie 1 fuer", "M2 beside M1 for"};
inline constexpr TText2 kMovieMissing{"Bitte laden Sie eine Datei als Movie",
                                      "Please upload a file as Movie"};
inline constexpr const char* kStatusInit = "Init...";
inline constexpr TText2 kStatusCalculating{"Berechnung... (für Abbruch Esc-Taste halten)",
                                           "Calculation ... (Cancel: hold Esc-Key)"};
// Added to the status line after a deep picture (followed by the bits and
// kStatusDeepBits) and after a picture past the double limit without the
// deep switch.
inline constexpr TText2 kStatusDeep{"   Tiefenzoom mit ", "   Deep zoom with "};
inline constexpr TText2 kStatusDeepBits{" Bit", " bits"};
inline constexpr TText2 kStatusPastDoubleLimit{
    "   Achtung: jenseits der Double-Genauigkeit, das Bild wird grob. Bitte Tiefenzoom (DeepZoom) "
    "im Datensatz einschalten.",
    "   Attention: beyond double precision, the picture turns coarse. Please switch on Deep zoom "
    "(DeepZoom) in the data collection."};

// Painted into the picture area while the main render object has no image.
inline constexpr const char* kNoImage = "Kein Image";

// ---- Questions and messages of the event loop --------------------------------
inline constexpr TText2 kCloseReally{"Wirklich beenden ?", "Close really ?"};
inline constexpr TText2 kKeyResetTo{"] wird zurückgestellt auf [KEY", "] is reset to [KEY"};
inline constexpr TText2 kComputeFirst{
    "Bitte erst ein Bild Rechnen, um alle Einstellungen zu speichern.",
    "Please just save an image arithmetic to all settings."};
inline constexpr TText2 kBeginnerMissing{
    "Der Name des Bildes (ohne .PNG) im Verzeichnis Output muss als PictNameOrNotice im "
    "aktuellen KEY von M1 eingetragen sein.",
    "The name of the image (without. PNG) in the directory /output must be the value of "
    "PictNameOrNotice in the current KEY of M1."};
inline constexpr TText2 kLoadFileFirst{"Bitte erst eine Datei laden ...",
                                       "Load an ini-file for M1, please."};
inline constexpr TText2 kSelectStartFile{"Neue Startdatei auswählen", "Select new start file"};
// The Cancel button of the chooser, the back-steps dialog and the questions.
inline constexpr TText2 kCancelButton{"Abbruch", "Cancel"};
inline constexpr TText2 kSaveFailed{"Das Bild konnte nicht gespeichert werden: ",
                                    "The picture could not be saved: "};

}  // namespace ork::menu_texts
