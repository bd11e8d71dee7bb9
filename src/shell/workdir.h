// The working directory: every file the program reads or writes lies below
// it ("INI\", "Output\", "TEMP\", "BMPFont\", "toolbar20.png"). At start the
// missing directories are created and the shipped files (start movie,
// bitmap fonts, toolbar strip) are copied in from the data directory when
// they are absent. A file the user already has is never replaced.
#pragma once

#include <string>
#include <vector>

namespace ork {

// The directory of the shipped files, the first of: the environment
// variable ORKELUND_DATA when it names a directory; share/orkelund beside the
// running executable's folder (an installed program, bin/../share/orkelund,
// wherever the prefix was moved to); "data" two levels above the executable
// (a build tree, build/bin/../../data); the data directory of the source
// tree the program was built from.
std::string ShippedDataDir();

// The paragraph of the --help texts that lists these places, resolved for
// this executable, up to the one in use, and names it.
std::string ShippedDataHelp();

// The per-user working directory of a program started from the desktop
// menu: "Orkelund" in the home folder ($HOME, else the password database's
// entry). Empty when no home folder is known.
std::string UserWorkDir();

struct TWorkDirReport {
  std::vector<std::string> Created;  // directories made, native paths
  std::vector<std::string> Seeded;   // files copied in, native paths
  std::vector<std::string> Errors;   // one line per failure
  bool Ok() const { return Errors.empty(); }
};

// Makes workdir the working directory (SetWorkDir, model/paths.h), creates
// it and its sub-directories when missing (an INI directory made here gets
// the default Settings.ini, so that a new user is not told it was lost),
// and seeds from dataDir:
// INI/*.ini except Settings.ini, BMPFont/* and toolbar20.png. Each file is
// copied through a temporary name and linked into place only when the
// target does not exist, so a user's file is never overwritten, not even
// one that appears while seeding. An empty dataDir seeds nothing but the
// settings of a new INI directory.
TWorkDirReport PrepareWorkDir(const std::string& workdir, const std::string& dataDir);

}  // namespace ork
