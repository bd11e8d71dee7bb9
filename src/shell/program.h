// The program's entry as the desktop program runs it: fonts, the main
// window, MainLoop, releasing the fonts. The GUI back end must be installed
// (SetGui) and the working directory prepared before.
#pragma once

namespace ork {

// Returns the process exit status.
int RunProgram();

}  // namespace ork
