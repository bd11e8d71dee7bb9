// Feeds arbitrary bytes to the settings reader as Settings.ini: the
// start-up values, the repair that rewrites a file with missing entries,
// and the readers of single entries.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "model/ini_store.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "shell/settings.h"

using ork::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool inFuzzDir = (ork::SetWorkDir(ork::fuzz::FuzzDir()), true);
  (void)inFuzzDir;  // a repair writes INI\Settings.ini there, never elsewhere
  ork::ResetProcessState();
  ork::fuzz::TFuzzHost host(size ? data[0] : 0);
  ork::Settings().SettingsIni =
      ork::TINI::FromBytes("INI\\", "Settings.ini", ork::fuzz::Bytes(data, size));
  std::string startIni = "Default.ini", language = "English";
  int startPreview = 0, maximize = 0, toolbar = 1;
  ork::ReadSettings(startIni, startPreview, language, maximize, toolbar, host);
  Check(ork::Settings().SettingsIni != nullptr);
  ork::SaveImageFormats();
  ork::SettingsInt("Film", "FramesPerSecond", 25);
  ork::SettingsValue("Picture", "PicturePosX");
  return 0;
}
