#include "shell/settings_startup.h"

#include <algorithm>

#include "model/host.h"
#include "model/parameter.h"
#include "shell/settings.h"
#include "shell/texts.h"

namespace ork {

TLanguage LanguageFromCode(const std::string& code) {
  return code == "DE" ? TLanguage::German : TLanguage::English;
}

TStartSettings StartUpSettings(THost& host) {
  TStartSettings start;
  if (!LoadSettingsIni(host)) {
    WriteSettings(host);
    if (!LoadSettingsIni(host)) {
      Settings().SettingsIni = TINI::FromBytes("INI\\", "Settings.ini", DefaultSettingsText());
    }
    host.Information(shell_texts::kSettingsMissing);
  }
  ReadSettings(start.StartIni, start.StartPreview, start.Language, start.Maximize,
               start.Toolbar, host);
  SetUiLanguage(LanguageFromCode(start.Language));
  Settings().TextsAssigned = true;
  return start;
}

int FirstCommand(const TParameter* keyframe, int startPreview, std::string& beginnerName) {
  if (keyframe) {
    const std::string& name = keyframe->FileNameKey;
    const std::string word = Tr(shell_texts::kBeginnerWord);
    if (name == shell_texts::kBeginnerWord.en || name == word) {
      beginnerName = name;
      return kCmdLoadPngPicture;
    }
  }
  return startPreview ? kCmdPreview1M1 : kCmdComputeMain;
}

bool FitWindowToDesktop(int& x, int& y, int& width, int& height, int desktopWidth,
                        int desktopHeight) {
  bool change = false;
  if (width > desktopWidth) {
    width = desktopWidth;
    change = true;
  }
  if (height > desktopHeight) {
    height = desktopHeight;
    change = true;
  }
  if (!change && x >= 0 && y >= 0) return false;
  x = std::max(x, 0);
  y = std::max(y, 0);
  return true;
}

}  // namespace ork
