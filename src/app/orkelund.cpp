// The desktop program: prepares the working directory, installs the Qt back
// end of the GUI adapter and runs the program.
#include <cstdio>
#include <cstring>
#include <string>

#include "gui/gui.h"
#include "gui/qt/qt_gui.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "shell/shell_state.h"
#include "shell/workdir.h"
#include "windows/tool_windows.h"

int main(int argc, char** argv) {
  std::string workdir = ".";
  bool smoke = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--workdir" && i + 1 < argc) {
      workdir = argv[++i];
    } else if (a.rfind("--workdir=", 0) == 0) {
      workdir = a.substr(std::strlen("--workdir="));
    } else if (a == "--smoke") {
      // Ends the program once the first picture is shown (start-up check).
      smoke = true;
    } else if (a == "--help" || a == "-h") {
      std::printf("Usage: orkelund [--workdir DIR]\n");
      return 0;
    }
  }
  const ork::TWorkDirReport report = ork::PrepareWorkDir(workdir, ork::ShippedDataDir());
  for (const std::string& e : report.Errors) std::fprintf(stderr, "orkelund: %s\n", e.c_str());
  if (!report.Ok()) return 1;
  ork::TQtGui gui(argc, argv);
  ork::SetGui(&gui);
  ork::RegisterToolWindows();
  if (smoke) {
    ork::SetCommandHandler(105, [](int command) {
      ork::RunComputeCommand(command);
      const ork::TRender* r = ork::Shell().RenderM1.get();
      std::printf("smoke: shown %dx%d\n", r ? r->Width : 0, r ? r->Height : 0);
      ork::Shell().Ending = true;
    });
  }
  const int status = ork::RunProgram();
  ork::SetGui(nullptr);
  return status;
}
