#include "windows/settings_overlay_commands.h"

#include "windows/film_window.h"
#include "windows/overlay_commands.h"
#include "windows/settings_window.h"

namespace ork {

void RegisterSettingsFilmAndOverlays() {
  RegisterSettingsWindow();
  RegisterFilmWindow();
  RegisterOverlayCommands();
}

}  // namespace ork
