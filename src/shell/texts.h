// The application shell's user-interface texts in both languages. Every
// two-language text of the shell lives here as a TText2 constant; Tr()
// (model/language.h) picks the language chosen once at start-up. Texts that
// exist in one form only are plain constants.
#pragma once

#include "model/language.h"

namespace ork::shell_texts {

// The application and main window title; doubles as the short help of the
// mouse tools (four blanks between the items).
inline constexpr const char* kAppTitle =
    "Orkelund    Zoom=Z+Mouse    Center=C+Click    Point=P+Click    Julia=J+Click";

// Settings.ini missing at start: English in both languages, because the
// language has not been read yet.
inline constexpr const char* kSettingsMissing =
    "The file Settings.ini was missing in the directory /INI. It was rewritten. "
    "Please refresh program settings in the menue File.";

// Settings.ini lacked a section or key and was rewritten with defaults.
// During start-up (before the language texts are assigned) the English text
// is shown.
inline constexpr TText2 kSettingsRepaired{
    "Die Datei Settings.ini vom Verzeichnis INI\\ war fehlerhaft. Sie wurde neu "
    "geschrieben. Bitte Programm-Einstellungen erneuern im Menü Datei.",
    "The file Settings.ini from the directory /INI was incorrect. It was rewritten. "
    "Please refresh program settings in the File menu."};

// The picture name that asks for the beginner picture instead of a
// computation; the English word is recognised in both languages.
inline constexpr TText2 kBeginnerWord{"nurFuerAnfaenger", "onlyForBeginners"};

// A help item without a web browser to open its address: where the help
// is, followed by the address.
inline constexpr TText2 kNoBrowser{
    "Es konnte kein Web-Browser geöffnet werden. Die Hilfe steht in der Datei README.md, "
    "die mit dem Programm installiert wird (share/doc/orkelund, Abschnitt \"Using the "
    "program\"), und im Internet unter:\n",
    "No web browser could be opened. The help is in the file README.md that is installed "
    "with the program (share/doc/orkelund, section \"Using the program\"), and on the "
    "web at:\n"};

}  // namespace ork::shell_texts
