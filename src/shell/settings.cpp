#include "shell/settings.h"

#include <filesystem>
#include <system_error>

#include "model/file_io.h"
#include "model/host.h"
#include "model/number_format.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "shell/texts.h"

namespace ork {

namespace {

constexpr const char* kIniDir = "INI\\";
constexpr const char* kSettingsFile = "Settings.ini";

void ResetSettings() { Settings() = TSettingsState{}; }

constexpr const char* kDefaultLines[] = {
    "[Window]",      "Maximize=1", "Toolbar=1", "",
    "[User]",        "Language=EN", "",
    "[Load]",        "Start-ini=Default.ini", "StartVorschau=1", "PositionX=9999",
    "PositionY=9999", "",
    "[AnimMode]",    "Preview=1", "",
    "[Anim]",        "FPS=25", "JPG=0", "PNG=0", "BMP=0", "AVI=1", "",
    "[AnimPreview]", "FPS=25", "PNG=0", "JPG=0", "BMP=0", "AVI=0", "Width=70", "",
    "[SaveImage]",   "JPG=1", "PNG=1", "BMP=1", "",
};
static_assert(sizeof(kDefaultLines) / sizeof(kDefaultLines[0]) == 36);

const TINIVar* FindVar(const TINIGroup* group, std::string_view key) {
  return group ? group->Find(key) : nullptr;
}

// Toolbar and Maximize: 1 unless present with the integer value 0.
int FlagDefaultOn(const TINIGroup* group, std::string_view key, bool& rewrite) {
  const TINIVar* var = FindVar(group, key);
  if (!var) {
    rewrite = true;
    return 1;
  }
  return TextToInt(var->Value) == 0 ? 0 : 1;
}

std::string NormalisedLanguage(std::string value) {
  if (value == "en") value = "EN";
  if (value == "de") value = "DE";
  if (value.empty()) value = "EN";
  if (value != "DE" && value != "EN") value = "DE";
  return value;
}

}  // namespace

TSettingsState& Settings() {
  static TSettingsState state;
  static const bool registered = (RegisterStateReset(&ResetSettings), true);
  (void)registered;
  return state;
}

std::string DefaultSettingsText() {
  std::string text;
  for (const char* line : kDefaultLines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool WriteSettings(THost& host) {
  namespace fs = std::filesystem;
  const std::string dir = NativePath(kIniDir);
  std::error_code ec;
  if (!fs::exists(fs::absolute(dir, ec), ec)) {
    host.Diagnostic(std::string("WriteSettings(): can't find Path '") + kIniDir +
                    "' for saving !?");
    host.Diagnostic(std::string("WriteSettings(): create Path '") + kIniDir + "'");
    fs::create_directory(dir, ec);
  }
  bool openFailed = false;
  const bool ok = ReplaceFileBytes(NativePath(std::string(kIniDir) + kSettingsFile),
                                   DefaultSettingsText(), openFailed);
  if (!ok) {
    host.Diagnostic(std::string("WriteSettings(): can't open '") + kIniDir + kSettingsFile +
                    "' for saving !?");
  }
  return ok;
}

bool LoadSettingsIni(THost& host) {
  std::string file = kSettingsFile;
  std::unique_ptr<TINI> ini = TINI::Load(kIniDir, file, host);
  if (!ini) return false;
  Settings().SettingsIni = std::move(ini);
  return true;
}

void ReadSettings(std::string& startIni, int& startPreview, std::string& language,
                  int& maximize, int& toolbar, THost& host) {
  TSettingsState& state = Settings();
  const TINI& ini = *state.SettingsIni;
  bool rewrite = false;
  for (const char* section :
       {"Window", "User", "Load", "AnimMode", "Anim", "AnimPreview", "SaveImage"}) {
    if (!ini.Find(section)) rewrite = true;
  }
  if (!rewrite) {
    const TINIGroup* load = ini.Find("Load");
    if (const TINIVar* var = load->Find("Start-ini")) {
      startIni = var->Value;
    } else {
      startIni = "Default.ini";
      if (const TINIVar* old = load->Find("Datei")) startIni = old->Value;
      rewrite = true;
    }

    std::string preview = "1";
    if (const TINIVar* var = load->Find("StartVorschau")) {
      preview = var->Value;
    } else {
      rewrite = true;
    }
    startPreview = TextToInt(preview) != 0 ? 1 : 0;

    std::string xText = "Mid", yText = "Mid";
    if (const TINIVar* var = load->Find("PositionX")) xText = var->Value; else rewrite = true;
    if (const TINIVar* var = load->Find("PositionY")) yText = var->Value; else rewrite = true;
    if (xText == "Mid") {
      state.PicturePosX = state.PicturePosY = kPictureCentred;
    } else {
      state.PicturePosX = TextToInt(xText);
    }
    if (yText == "Mid") {
      state.PicturePosX = state.PicturePosY = kPictureCentred;
    } else {
      state.PicturePosY = TextToInt(yText);
    }
    if (state.PicturePosX < 0 || state.PicturePosX > 2000)
      state.PicturePosX = state.PicturePosY = kPictureCentred;
    if (state.PicturePosY < 0 || state.PicturePosY > 2000)
      state.PicturePosX = state.PicturePosY = kPictureCentred;

    std::string lang = "EN";
    if (const TINIVar* var = ini.Find("User")->Find("Language")) {
      lang = var->Value;
    } else {
      rewrite = true;
    }
    host.Diagnostic("Tools1023 Language=" + lang);
    language = NormalisedLanguage(lang);

    const TINIGroup* window = ini.Find("Window");
    toolbar = FlagDefaultOn(window, "Toolbar", rewrite);
    maximize = FlagDefaultOn(window, "Maximize", rewrite);

    if (!rewrite) {
      const struct {
        const char* section;
        std::initializer_list<const char*> keys;
      } required[] = {
          {"Anim", {"FPS", "JPG", "PNG", "BMP", "AVI"}},
          {"AnimPreview", {"FPS", "PNG", "JPG", "BMP", "AVI", "Width"}},
          {"SaveImage", {"PNG", "JPG", "BMP"}},
      };
      for (const auto& r : required) {
        const TINIGroup* group = ini.Find(r.section);
        for (const char* key : r.keys) {
          if (!group->Find(key)) rewrite = true;
        }
      }
    }
  }
  if (!rewrite) return;

  // A store that cannot be written or read back keeps its previous content,
  // so the values of this run stay available.
  if (WriteSettings(host)) LoadSettingsIni(host);
  host.Information(state.TextsAssigned ? Tr(shell_texts::kSettingsRepaired)
                                       : std::string(shell_texts::kSettingsRepaired.en));
}

const std::string* SettingsValue(std::string_view section, std::string_view key) {
  const TINIGroup* group = SettingsIni().Find(section);
  const TINIVar* var = group ? group->Find(key) : nullptr;
  return var ? &var->Value : nullptr;
}

int SettingsInt(std::string_view section, std::string_view key, int fallback) {
  const std::string* value = SettingsValue(section, key);
  return value ? TextToInt(*value) : fallback;
}

TSaveImageFormats SaveImageFormats() {
  TSaveImageFormats formats;
  formats.JPG = SettingsInt("SaveImage", "JPG", 0) != 0;
  formats.PNG = SettingsInt("SaveImage", "PNG", 0) != 0;
  formats.BMP = SettingsInt("SaveImage", "BMP", 0) != 0;
  return formats;
}

}  // namespace ork
