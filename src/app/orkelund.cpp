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

namespace {

void PrintHelp() {
  std::printf(
      "Usage: orkelund [--workdir DIR | --user-folder]\n"
      "\n"
      "Computes, colours and animates escape-time fractals.\n"
      "\n"
      "  --workdir DIR   working directory (default: the current directory); its\n"
      "                  INI/, Output/, TEMP/ and BMPFont/ are created when missing\n"
      "                  and the shipped files are copied in when absent; existing\n"
      "                  files are never replaced.\n"
      "  --user-folder   work in the folder Orkelund in the home folder, made and\n"
      "                  filled the same way on the first start (here:\n"
      "                  %s). The desktop menu entry starts the\n"
      "                  program so; --workdir overrides it.\n"
      "  --help          this text.\n"
      "\n"
      "%s",
      ork::UserWorkDir().c_str(), ork::ShippedDataHelp().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string workdir;
  bool userFolder = false;
  bool smoke = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--workdir" && i + 1 < argc) {
      workdir = argv[++i];
    } else if (a.rfind("--workdir=", 0) == 0) {
      workdir = a.substr(std::strlen("--workdir="));
    } else if (a == "--user-folder") {
      userFolder = true;
    } else if (a == "--smoke") {
      // Ends the program once the first picture is shown (start-up check).
      smoke = true;
    } else if (a == "--help" || a == "-h") {
      PrintHelp();
      return 0;
    }
  }
  if (workdir.empty() && userFolder) {
    workdir = ork::UserWorkDir();
    if (workdir.empty()) {
      std::fprintf(stderr, "orkelund: no home folder is known for --user-folder\n");
      return 1;
    }
  }
  if (workdir.empty()) workdir = ".";
  const ork::TWorkDirReport report = ork::PrepareWorkDir(workdir, ork::ShippedDataDir());
  std::string errors;
  for (const std::string& e : report.Errors) {
    std::fprintf(stderr, "orkelund: %s\n", e.c_str());
    errors += e + "\n";
  }
  if (!report.Ok()) {
    if (userFolder) ork::TQtGui(argc, argv).MessageBox("Orkelund", errors);  // no terminal to read
    return 1;
  }
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
