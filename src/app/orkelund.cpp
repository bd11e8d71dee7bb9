// The desktop program: prepares the working directory, installs the Qt back
// end of the GUI adapter and runs the program.
#include <cstdio>
#include <cstring>
#include <string>

#include <vector>

#include "gui/gui.h"
#include "gui/qt/qt_gui.h"
#include "shell/cli_args.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "shell/shell_state.h"
#include "shell/version.h"
#include "shell/workdir.h"
#include "windows/tool_windows.h"

namespace {

// Exit statuses: a wrong command line, and any other failure.
constexpr int kUsageError = 2;
constexpr int kFailed = 1;

// The toolkit's own options, handed on to it: those that take a value, and
// those that do not.
constexpr const char* kToolkitValueOptions[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qmljsdebugger",
    "-style", "-stylesheet", "-display", "-geometry", "-qwindowgeometry", "-qwindowicon",
    "-qwindowtitle", "-session", "-title", "-name"};
constexpr const char* kToolkitFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                         "-sync"};

bool IsOneOf(const std::string& arg, const auto& names) {
  for (const char* n : names)
    if (arg == n) return true;
  return false;
}

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
      "  --version       the program's version.\n"
      "\n"
      "The toolkit's own options (-platform NAME, -style NAME, ...) are passed on.\n"
      "Exit status: 0 the program was closed, 2 a usage error (unknown option,\n"
      "missing value), 1 any other failure (the working directory cannot be made).\n"
      "\n"
      "%s",
      ork::UserWorkDir().c_str(), ork::ShippedDataHelp().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string workdir;
  bool userFolder = false;
  bool smoke = false;
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  ork::TArgScanner scan(args);
  std::string error, value;
  while (error.empty() && scan.Next()) {
    const std::string& name = scan.Name();
    if (name == "--workdir") {
      if (scan.TakeValue(value, error) && value.empty()) error = "--workdir needs a directory";
      workdir = value;
    } else if (name == "--user-folder") {
      scan.NoValue(error);
      userFolder = true;
    } else if (name == "--smoke") {
      // Ends the program once the first picture is shown (start-up check).
      scan.NoValue(error);
      smoke = true;
    } else if (name == "--help" || name == "-h") {
      if (!scan.NoValue(error)) break;
      PrintHelp();
      return 0;
    } else if (name == "--version") {
      if (!scan.NoValue(error)) break;
      std::printf("orkelund %s\n", ork::ProgramVersion());
      return 0;
    } else if (IsOneOf(name, kToolkitValueOptions)) {
      scan.TakeValue(value, error);
    } else if (!IsOneOf(name, kToolkitFlags)) {
      error = "unknown argument '" + scan.Arg() + "'";
    }
  }
  if (!error.empty()) {
    std::fprintf(stderr, "orkelund: %s\nTry 'orkelund --help'.\n", error.c_str());
    return kUsageError;
  }
  if (workdir.empty() && userFolder) {
    workdir = ork::UserWorkDir();
    if (workdir.empty()) {
      std::fprintf(stderr, "orkelund: no home folder is known for --user-folder\n");
      return kFailed;
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
    return kFailed;
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
