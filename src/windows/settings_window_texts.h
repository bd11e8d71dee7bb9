// Texts of the program settings window.
#pragma once

#include "model/language.h"

namespace ork::settings_window_texts {

inline constexpr TText2 kTitle{"Programm-Einstellungen", "Program Settings"};
inline constexpr TText2 kPicturePos{"Bild-Position", "Image-Position"};
inline constexpr TText2 kMidHint{"Für Bildmitte eintragen das Wort   Mid",
                                 "For center-position take the word    Mid"};
inline constexpr TText2 kPoint{"Punkt", "Point"};
inline constexpr TText2 kLanguagePanel{"Sprache", "Language"};
inline constexpr TText2 kLanguageLabel{"Sprache DE oder EN", "Language EN or DE"};
inline constexpr TText2 kStartPanel{"Starten nach Load", "Starting after Load"};
inline constexpr TText2 kWithPreview{"mit Vorschaubild", "with preview"};
inline constexpr TText2 kMainPicture{"Hauptbild", "main picture"};
inline constexpr TText2 kFilmPreview{"Vorschau    Startwerte im Fenster für Film",
                                     "Preview     start values window for movie"};
inline constexpr TText2 kPreviewPanel{"Vorschau", "Preview"};
inline constexpr TText2 kSaveImage{"Bild Speichern", "Save Image"};
inline constexpr TText2 kAs{"als", "as"};
inline constexpr TText2 kToolbarPanel{"Toolbar AN / AUS", "Toolbar On / Off"};
inline constexpr TText2 kToolbarVisible{"Toolbar sichtbar", "Toolbar visible"};
inline constexpr TText2 kSave{"Speichern", "Save"};
inline constexpr TText2 kCancel{"Abbruch", "Cancel"};
inline constexpr TText2 kRestartDe{
    "Wenn Sie die Änderung nicht sofort sehen können, bitte das Programm neu starten.",
    "Wenn Sie die Änderung nicht sofort sehen können, bitte das Programm neu starten."};
inline constexpr TText2 kRestartEn{
    "If you can not immediately see the change, please restart the program.",
    "If you can not immediately see the change, please restart the program."};

}  // namespace ork::settings_window_texts
