#include "shell/program.h"

#include "picture/bmp_font_registry.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"

namespace ork {

int RunProgram() {
  const TBMPFontsLoaded fonts;
  CreateMainWindow();
  MainLoop();
  return 0;
}

}  // namespace ork
