// The start-up steps between the program's entry and the first command:
// loading or repairing Settings.ini, choosing the user-interface language
// once, choosing the first command, and keeping a window on the desktop.
// Window creation and the event loop belong to the GUI.
#pragma once

#include <string>

#include "model/language.h"

namespace ork {

class THost;
class TParameter;

// The values ReadSettings delivers to the start sequence, with the presets
// used when the settings file lacks them.
struct TStartSettings {
  std::string StartIni = "Default.ini";  // movie file in "INI\" loaded as Movie 1
  int StartPreview = 1;                  // 1: start with preview 1, 0: with the main picture
  std::string Language = "EN";           // "DE" or "EN"
  int Maximize = 1;
  int Toolbar = 1;
};

// German exactly for "DE", English otherwise.
TLanguage LanguageFromCode(const std::string& code);

// Loads SettingsIni from "INI\Settings.ini"; when that fails writes the
// default file, loads it again and tells the user (in English). When even
// that fails the store holds the default content in memory, so the rest of
// the run still finds every setting. Then ReadSettings with the presets,
// and the language is chosen (SetUiLanguage) and fixed for the run.
TStartSettings StartUpSettings(THost& host);

// Command numbers of the first command.
inline constexpr int kCmdLoadPngPicture = 4;
inline constexpr int kCmdPreview1M1 = 42;
inline constexpr int kCmdComputeMain = 83;

// The first command after start-up: the beginner picture (4) when the
// current keyframe's picture name is "onlyForBeginners" or the current
// language's beginner word (that word goes to beginnerName), else preview 1
// (42) when startPreview is set, else the main picture (83). A null
// keyframe counts as an ordinary one.
int FirstCommand(const TParameter* keyframe, int startPreview, std::string& beginnerName);

// Moves and shrinks a window rectangle so that it lies on the desktop:
// width and height at most the desktop's client size, x and y not
// negative. True when the window must be reshaped to the new rectangle.
bool FitWindowToDesktop(int& x, int& y, int& width, int& height, int desktopWidth,
                        int desktopHeight);

}  // namespace ork
