// The program settings: the store SettingsIni loaded from "INI\Settings.ini",
// its default content, reading and repairing it, and the picture position.
//
// SettingsIni stays in memory for the whole run; the film settings, the
// picture saving and the settings window read and change its entries
// directly. The state is one object (Settings()), reset to its start values
// by ResetProcessState().
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/ini_store.h"
#include "picture/picture_files_save.h"

namespace ork {

class THost;

// PicturePosX above this value means: centre the picture.
inline constexpr int kPictureCentreLimit = 9000;
inline constexpr int kPictureCentred = 9999;

struct TSettingsState {
  // Never null once LoadSettingsIni or StartUpSettings ran; an empty store
  // before that.
  std::unique_ptr<TINI> SettingsIni = std::make_unique<TINI>("INI\\", "Settings.ini");
  int PicturePosX = kPictureCentred;  // picture's left edge in the picture area, pixels
  int PicturePosY = kPictureCentred;  // top edge
  // Set once the two-language texts were assigned (after start-up); until
  // then the settings messages are shown in English.
  bool TextsAssigned = false;
};

TSettingsState& Settings();
inline TINI& SettingsIni() { return *Settings().SettingsIni; }

// The 36 lines of the default Settings.ini, each ended by CR LF.
std::string DefaultSettingsText();

// Writes the default Settings.ini into "INI\" (creating that one directory
// when missing), through a temporary file that replaces the old one only
// when complete. Failures are reported as diagnostic lines only; the result
// says whether the file was written.
bool WriteSettings(THost& host);

// Loads "INI\Settings.ini" into SettingsIni. False (store unchanged) when
// the file cannot be read.
bool LoadSettingsIni(THost& host);

// Reads, validates and delivers the start-up values from SettingsIni into
// the five in/out arguments (the caller's presets stay where nothing is
// read) and into PicturePosX/PicturePosY. When a section or key is missing
// the file is rewritten with defaults, the store reloaded and the user told
// (host.Information). The values determined before the rewrite are kept.
void ReadSettings(std::string& startIni, int& startPreview, std::string& language,
                  int& maximize, int& toolbar, THost& host);

// The value of [section] key from SettingsIni, or null when either is missing.
const std::string* SettingsValue(std::string_view section, std::string_view key);
// The integer value (integer conversion of texts) or fallback when missing.
int SettingsInt(std::string_view section, std::string_view key, int fallback);

// The [SaveImage] switches: a format is on when its value is non-zero
// (a missing key counts as off).
TSaveImageFormats SaveImageFormats();

}  // namespace ork
