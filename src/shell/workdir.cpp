#include "shell/workdir.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "model/paths.h"
#include "shell/settings.h"

// Where an installed program's data lies, seen from its executable's folder.
#ifndef ORK_DATA_FROM_BIN
#define ORK_DATA_FROM_BIN "../share/orkelund"
#endif

namespace ork {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDirectories[] = {"INI\\", "Output\\", "TEMP\\", "BMPFont\\"};

bool IsDir(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

// A temporary name part of this process alone, also among processes of
// other machines seeding one shared directory: host name and process id.
std::string SeedTag() {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  std::string tag;
  for (const char* c = host; *c; ++c)
    tag += (std::isalnum(static_cast<unsigned char>(*c)) || *c == '-') ? *c : '_';
  return tag + "-" + std::to_string(::getpid());
}

// Copies source to target unless target exists. The bytes go to a
// temporary file first; link() then refuses an existing target atomically.
// Returns 1 when copied, 0 when the target was already there, -1 on error.
// A source path names the file to copy; without one, text is written.
int SeedFile(const fs::path& source, const fs::path& target, std::string& error,
             const std::string& text = {}) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(target, ec))) return 0;
  const fs::path temp = target.string() + ".seed-" + SeedTag();
  fs::remove(temp, ec);
  if (source.empty()) {
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    const bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) ec = std::error_code(errno, std::generic_category());
    if (!written || ec) {
      error = "cannot write '" + temp.string() + "': " +
              std::error_code(errno, std::generic_category()).message();
      fs::remove(temp, ec);
      return -1;
    }
  } else if (!fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec)) {
    error = "cannot copy '" + source.string() + "' to '" + temp.string() + "': " + ec.message();
    fs::remove(temp, ec);
    return -1;
  }
  int result = 1;
  if (::link(temp.c_str(), target.c_str()) != 0) {
    if (errno == EEXIST) {
      result = 0;
    } else {
      error = "cannot create '" + target.string() + "': " + std::error_code(errno, std::generic_category()).message();
      result = -1;
    }
  }
  fs::remove(temp, ec);
  return result;
}

void SeedDirectory(const fs::path& from, const std::string& programDir, bool iniOnly,
                   TWorkDirReport& report) {
  std::error_code ec;
  if (!IsDir(from)) return;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    if (iniOnly && (entry.path().extension() != ".ini" || name == "Settings.ini")) continue;
    const fs::path target = NativePath(programDir + name);
    std::string error;
    const int r = SeedFile(entry.path(), target, error);
    if (r > 0) report.Seeded.push_back(target.string());
    if (r < 0) report.Errors.push_back(error);
  }
}

struct TDataPlace {
  std::string Where;  // how --help names the place
  std::string Dir;    // empty when it does not apply
  bool Found;
};

// The places ShippedDataDir tries, in order.
std::vector<TDataPlace> DataPlaces() {
  std::vector<TDataPlace> places;
  const char* env = std::getenv("ORKELUND_DATA");
  const std::string envDir = env ? env : "";
  places.push_back({"$ORKELUND_DATA", envDir, !envDir.empty() && IsDir(envDir)});
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  const auto fromBin = [&](const fs::path& relative) {
    return ec ? std::string() : (exe.parent_path() / relative).lexically_normal().string();
  };
  for (const auto& [relative, what] : {std::pair{ORK_DATA_FROM_BIN, "installed"},
                                       std::pair{"../../data", "build tree"}}) {
    const std::string dir = fromBin(relative);
    places.push_back({std::string(relative) + " from the executable's folder (" + what + ")", dir,
                      !dir.empty() && IsDir(fs::path(dir) / "INI")});
  }
  places.push_back({"the source tree it was built from", ORK_DATA_DIR, IsDir(ORK_DATA_DIR)});
  return places;
}

}  // namespace

std::string ShippedDataDir() {
  for (const TDataPlace& place : DataPlaces())
    if (place.Found) return place.Dir;
  return ORK_DATA_DIR;
}

std::string ShippedDataHelp() {
  std::string text =
      "The shipped start movie, bitmap fonts and toolbar strip are copied from\n"
      "the first of these folders that exists:\n";
  // The places after the one in use are never tried: an installed program
  // does not name the build and source folders it was made from.
  int n = 0;
  for (const TDataPlace& place : DataPlaces()) {
    text += "  " + std::to_string(++n) + ". " + place.Where + "\n     " +
            (place.Dir.empty() ? "(not set)" : place.Dir) + "\n";
    if (place.Found) break;
  }
  return text + "In use: " + ShippedDataDir() + "\n";
}

std::string UserWorkDir() {
  std::string home;
  if (const char* env = std::getenv("HOME"); env && *env) {
    home = env;
  } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir) {
    home = entry->pw_dir;
  }
  return home.empty() ? home : (fs::path(home) / "Orkelund").string();
}

TWorkDirReport PrepareWorkDir(const std::string& workdir, const std::string& dataDir) {
  TWorkDirReport report;
  SetWorkDir(workdir);
  std::error_code ec;
  std::vector<fs::path> dirs{fs::path(WorkDir())};
  for (const char* dir : kDirectories) dirs.emplace_back(NativePath(dir));
  const fs::path iniDir = NativePath("INI\\");
  bool newIni = false;
  for (const fs::path& p : dirs) {
    if (IsDir(p)) continue;
    if (fs::create_directories(p, ec)) {
      report.Created.push_back(p.string());
      newIni = newIni || p == iniDir;
    } else if (!IsDir(p)) {
      report.Errors.push_back("cannot create directory '" + p.string() + "'" +
                              (ec ? ": " + ec.message() : std::string()));
    }
  }
  if (!report.Ok()) return report;
  // A folder made just now gets the default settings without the warning
  // that a lost Settings.ini deserves.
  if (newIni) {
    std::string error;
    const fs::path target = NativePath("INI\\Settings.ini");
    const int r = SeedFile({}, target, error, DefaultSettingsText());
    if (r > 0) report.Seeded.push_back(target.string());
    if (r < 0) report.Errors.push_back(error);
  }
  if (dataDir.empty() || !report.Ok()) return report;

  const fs::path data(dataDir);
  SeedDirectory(data / "INI", "INI\\", true, report);
  SeedDirectory(data / "BMPFont", "BMPFont\\", false, report);
  if (fs::is_regular_file(data / "toolbar20.png", ec)) {
    std::string error;
    const fs::path target = NativePath("toolbar20.png");
    const int r = SeedFile(data / "toolbar20.png", target, error);
    if (r > 0) report.Seeded.push_back(target.string());
    if (r < 0) report.Errors.push_back(error);
  }
  return report;
}

}  // namespace ork
