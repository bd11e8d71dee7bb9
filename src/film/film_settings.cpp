#include "film/film_settings.h"

#include <string_view>

#include "model/ini_store.h"
#include "model/number_format.h"

namespace ork {

namespace {

int IntSetting(const TINI& settings, std::string_view section, std::string_view key) {
  const TINIGroup* group = settings.Find(section);
  const TINIVar* var = group ? group->Find(key) : nullptr;
  return var ? TextToInt(var->Value) : 0;
}

}  // namespace

TFilmSettings ReadFilmSettings(const TINI& settings) {
  TFilmSettings s;
  s.Preview = IntSetting(settings, "AnimMode", "Preview") != 0;
  const std::string_view section = s.Preview ? "AnimPreview" : "Anim";
  // The settings dialog does not check its fields; 0 frames per second
  // would divide by zero in every frame count and in the AVI header.
  s.Fps = IntSetting(settings, section, "FPS");
  if (s.Fps < 1) s.Fps = 1;
  s.Jpg = IntSetting(settings, section, "JPG") != 0;
  s.Png = IntSetting(settings, section, "PNG") != 0;
  s.Bmp = IntSetting(settings, section, "BMP") != 0;
  s.Avi = IntSetting(settings, section, "AVI") != 0;
  s.Mp4 = IntSetting(settings, section, "MP4") != 0;
  s.PreviewWidth = IntSetting(settings, "AnimPreview", "Width");
  if (s.PreviewWidth < 8) s.PreviewWidth = 8;
  return s;
}

}  // namespace ork
