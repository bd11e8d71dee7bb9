// Texts of the four colour windows (coding, colour factor, colour table,
// colour shift) in both languages, and their language-independent texts.
#pragma once

#include "model/language.h"

namespace ork::colour_texts {

inline constexpr TText2 kCodingTitle{"Codierungs-Art und F1", "Encoding type and F1"};
inline constexpr TText2 kFrom{"von", "from"};
inline constexpr TText2 kTo{"bis", "to"};
inline constexpr TText2 kOldF1{"  Altes F1 = ", "  Old F1 ="};
// "Farb-Faktor F" + number + " verändern"
inline constexpr TText2 kFactorTitleHead{"Farb-Faktor F", "Color factor F"};
inline constexpr TText2 kFactorTitleTail{" verändern", " change"};
inline constexpr TText2 kTableTitleSamples{"FarbPalette und ColShift",
                                           "Color Table Picture and Color Shift"};
inline constexpr TText2 kTableTitleGradient{"FarbPalette-Keil und ColShift",
                                            "Color Table Gradient and Color Shift"};
inline constexpr TText2 kGradientButton{"Keil An/Aus", "Gradient On / Off"};
inline constexpr TText2 kOldColShift{"  Altes ColShift = ", "  Old Color Shift ="};
inline constexpr TText2 kShiftTitle{"Farben im Kreis verschieben", "Colors move in a circle"};
inline constexpr TText2 kF3Message{"F3 darf nicht kleiner als 0.2 sein",
                                   "F3 shall not be less than 0.2"};
inline constexpr TText2 kF4Message{
    "F4 darf nicht kleiner als 255 sein. F4=0 steht für 2048 Farben",
    "F4 shall not be less than 255. F4=0 stands for 2048 colors"};
inline constexpr TText2 kCloseHint{"    Bitte schließen wenn fertig.", "    Please close, when done."};

inline constexpr const char* kActual = "actual";
inline constexpr const char* kF3Label = "F3:";
inline constexpr const char* kF4Label = "F4:";
inline constexpr const char* kStandard = "Standard: F3=1  F4=0";
inline constexpr const char* kSelectPict = " SelectPict = ";
inline constexpr const char* kF1Part = "  //  F1 = ";
inline constexpr const char* kF2Part = "  //  F2 = ";
inline constexpr const char* kColFactF1 = " ColFact F1= ";
inline constexpr const char* kColFactF2 = "  //   F2= ";
inline constexpr const char* kColFactF3 = " ColFact F3= ";
inline constexpr const char* kColFactF4 = "  //   F4= ";
inline constexpr const char* kOldColFact = "  Old ColFact F";
inline constexpr const char* kEquals = "= ";
inline constexpr const char* kColTabNo = " ColTabNo = ";
inline constexpr const char* kColShiftPart = "  //  ColShift = ";

}  // namespace ork::colour_texts
