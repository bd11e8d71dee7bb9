// The working directory: every file the program reads or writes lies below
// it ("INI\", "Output\", "TEMP\", "BMPFont\", "toolbar20.png"). At start the
// missing directories are created and the shipped files (start movie,
// bitmap fonts, toolbar strip) are copied in from the data directory when
// they are absent. A file the user already has is never replaced.
#pragma once

#include <string>
#include <vector>

namespace ork {

// The directory of the shipped files: the environment variable
// ORKELUND_DATA when it names a directory, else "data" two levels above the
// running executable (build/bin/../../data) when that exists, else the data
// directory of the source tree the program was built from.
std::string ShippedDataDir();

struct TWorkDirReport {
  std::vector<std::string> Created;  // directories made, native paths
  std::vector<std::string> Seeded;   // files copied in, native paths
  std::vector<std::string> Errors;   // one line per failure
  bool Ok() const { return Errors.empty(); }
};

// Makes workdir the working directory (SetWorkDir, model/paths.h), creates
// it and its sub-directories when missing, and seeds from dataDir:
// INI/*.ini except Settings.ini, BMPFont/* and toolbar20.png. Each file is
// copied through a temporary name and linked into place only when the
// target does not exist, so a user's file is never overwritten, not even
// one that appears while seeding. An empty dataDir seeds nothing.
TWorkDirReport PrepareWorkDir(const std::string& workdir, const std::string& dataDir);

}  // namespace ork
