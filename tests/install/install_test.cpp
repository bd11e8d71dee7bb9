// The installed program: the build is installed into a temporary prefix,
// the prefix is moved (as a relocated installation would be), and the
// installed files are used as a user would use them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/settings.h"

#ifndef ORK_HARDENED
#define ORK_HARDENED 1
#endif

namespace {

namespace fs = std::filesystem;

struct TRun {
  int status = -1;
  std::string out;  // standard output and error together
};

TRun Shell(const std::string& command) {
  TRun r;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) r.out.append(buffer, n);
  const int status = ::pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

bool HaveTool(const std::string& name) { return Shell("command -v " + name).status == 0; }

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fresh folder of this test's own.
fs::path Scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() /
                       ("orkelund_install_" + name + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// Installs into base/staging and moves that to base/usr; returns base/usr.
fs::path InstallMoved(const fs::path& base) {
  const fs::path staging = base / "staging", prefix = base / "usr";
  const TRun install = Shell(std::string(ORK_CMAKE) + " --install " + Q(ORK_BINARY_DIR) + " --prefix " + Q(staging));
  EXPECT_EQ(install.status, 0) << install.out;
  fs::rename(staging, prefix);
  return prefix;
}

TEST(Installed, RendererRendersTheInstalledStartMovieWithTextsFromElsewhere) {
  const fs::path base = Scratch("render");
  const fs::path prefix = InstallMoved(base);
  const fs::path renderer = prefix / "bin" / "orkelund-render";
  const fs::path data = prefix / "share" / "orkelund";
  ASSERT_TRUE(fs::is_regular_file(data / "INI" / "Default.ini"));

  // The start movie with a printed text on its current keyframe.
  std::string movie = ReadAll(data / "INI" / "Default.ini");
  const size_t list = movie.find("TextOutputList=");
  ASSERT_NE(list, std::string::npos);
  movie.insert(list + std::strlen("TextOutputList="), "(10,50%,Zoom ,HeightY,3,3)");
  std::ofstream(base / "Texts.ini", std::ios::binary) << movie;

  const fs::path elsewhere = base / "elsewhere";
  fs::create_directories(elsewhere);
  const std::string cd = "cd " + Q(elsewhere) + " && env -u ORKELUND_DATA ";
  const TRun help = Shell(cd + Q(renderer) + " --help");
  EXPECT_NE(help.out.find("In use: " + data.string() + "\n"), std::string::npos) << help.out;
  // Folders of the machine that built it are no business of the installed program.
  EXPECT_EQ(help.out.find(ORK_BINARY_DIR), std::string::npos) << help.out;
  EXPECT_EQ(help.out.find(ORK_DATA_DIR), std::string::npos) << help.out;
  const TRun version = Shell(cd + Q(renderer) + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("orkelund-render ", 0), 0u) << version.out;

  const std::string render = cd + Q(renderer) + " --quiet --workdir work --movie ";
  const TRun plain = Shell(render + Q(data / "INI" / "Default.ini") + " --out plain.png");
  ASSERT_EQ(plain.status, 0) << plain.out;
  const TRun texts = Shell(render + Q(base / "Texts.ini") + " --out texts.png");
  ASSERT_EQ(texts.status, 0) << texts.out;

  const fs::path work = elsewhere / "work";
  for (const char* seeded : {"INI/Default.ini", "INI/Settings.ini", "BMPFont/Arial24.bmp", "toolbar20.png"})
    EXPECT_TRUE(fs::is_regular_file(work / seeded)) << seeded;
  const std::string picture = ReadAll(elsewhere / "plain.png");
  EXPECT_EQ(picture.substr(1, 3), "PNG");
  EXPECT_TRUE(ReadAll(elsewhere / "texts.png") != picture) << "the text was not printed";
  fs::remove_all(base);
}

// The desktop entry's command, started as the menu starts it: in the home
// folder, without --workdir.
TEST(Installed, DesktopEntryWorksInTheUserFolder) {
  const fs::path base = Scratch("desktop");
  const fs::path prefix = InstallMoved(base);
  const fs::path entry = prefix / "share" / "applications" / (std::string(ORK_APP_ID) + ".desktop");
  if (!fs::exists(entry)) GTEST_SKIP() << "built without the desktop program";
  std::string exec;
  std::istringstream lines(ReadAll(entry));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
  ASSERT_FALSE(exec.empty());

  // Settings that start by computing the main picture, which --smoke waits
  // for, and ask nothing; everything else is made on this first start.
  const fs::path home = base / "home";
  std::string settings = ork::DefaultSettingsText();
  settings.replace(settings.find("StartVorschau=1"), 15, "StartVorschau=0");
  fs::create_directories(home / "Orkelund" / "INI");
  std::ofstream(home / "Orkelund" / "INI" / "Settings.ini", std::ios::binary) << settings;
  const TRun start = Shell("cd " + Q(home) + " && HOME=" + Q(home) + " PATH=" + Q(prefix / "bin") +
                           ":\"$PATH\" QT_QPA_PLATFORM=offscreen timeout 120 " + exec + " --smoke");
  ASSERT_EQ(start.status, 0) << start.out;
  EXPECT_NE(start.out.find("smoke: shown"), std::string::npos) << start.out;
  for (const char* made : {"INI/Settings.ini", "INI/Default.ini", "Output", "TEMP", "BMPFont/Arial12.bmp"})
    EXPECT_TRUE(fs::exists(home / "Orkelund" / made)) << made;
  for (const char* stray : {"INI", "Output", "TEMP", "BMPFont", "toolbar20.png"})
    EXPECT_FALSE(fs::exists(home / stray)) << stray;
  fs::remove_all(base);
}

// The desktop program's command line: --version, and usage errors (exit
// status 2) that start nothing and seed nothing.
TEST(Installed, DesktopProgramRefusesUnknownOptionsAndMissingValues) {
  const fs::path program = fs::path(ORK_BINARY_DIR) / "bin" / "orkelund";
  if (!fs::exists(program)) GTEST_SKIP() << "built without the desktop program";
  const fs::path base = Scratch("options");
  const std::string cd = "cd " + Q(base) + " && QT_QPA_PLATFORM=offscreen timeout 60 " + Q(program);
  const TRun version = Shell(cd + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("orkelund ", 0), 0u) << version.out;
  for (const char* args : {" --workdir", " --bogus", " --user-folder=yes", " extra"}) {
    const TRun r = Shell(cd + args);
    EXPECT_EQ(r.status, 2) << args << "\n" << r.out;
    EXPECT_NE(r.out.find("orkelund: "), std::string::npos) << args << "\n" << r.out;
  }
  EXPECT_TRUE(fs::is_empty(base)) << "nothing seeded for a refused command line";
  fs::remove_all(base);
}

TEST(Installed, DesktopFilesAndManPagesPassTheirCheckers) {
  const fs::path base = Scratch("check");
  const fs::path prefix = InstallMoved(base);
  const fs::path share = prefix / "share";
  const std::string id = ORK_APP_ID;
  struct TCheck {
    std::string tool, command;
    fs::path file;
  };
  const TCheck checks[] = {
      {"desktop-file-validate", "desktop-file-validate", share / "applications" / (id + ".desktop")},
      {"appstreamcli", "appstreamcli validate --no-net", share / "metainfo" / (id + ".metainfo.xml")},
      {"appstreamcli", "appstreamcli validate-tree --no-net", prefix},
      {"man", "MANWIDTH=80 man --warnings -l", share / "man" / "man1" / "orkelund-render.1.gz"},
      {"man", "MANWIDTH=80 man --warnings -l", share / "man" / "man1" / "orkelund.1.gz"},
  };
  for (const TCheck& c : checks) {
    if (!fs::exists(c.file)) {
      EXPECT_EQ(c.file.string().find("orkelund-render"), std::string::npos) << c.file << " not installed";
      continue;  // the desktop program's files, when it is not built
    }
    if (!HaveTool(c.tool)) {
      std::printf("%s is not installed: %s not checked\n", c.tool.c_str(), c.file.c_str());
      continue;
    }
    const TRun r = Shell(c.command + " " + Q(c.file));
    EXPECT_EQ(r.status, 0) << c.command << " " << c.file << "\n" << r.out;
    if (c.tool == "man") {
      EXPECT_NE(r.out.find("SYNOPSIS"), std::string::npos) << r.out;
      EXPECT_EQ(r.out.find("warning"), std::string::npos) << r.out;
      EXPECT_EQ(r.out.find("@VERSION@"), std::string::npos) << r.out;  // the version put in
    }
  }
  fs::remove_all(base);
}

// The Debian package of the build, made once for the tests below (cpack
// installs into its own staging folder); empty when it cannot be made.
const fs::path& BuiltDeb() {
  static const fs::path deb = [] {
    const fs::path base = Scratch("deb");
    const TRun pack = Shell("cd " + Q(ORK_BINARY_DIR) + " && " + ORK_CPACK + " -G DEB -B " + Q(base));
    EXPECT_EQ(pack.status, 0) << pack.out;
    fs::path found;
    for (const fs::directory_entry& e : fs::directory_iterator(base))
      if (e.path().extension() == ".deb") found = e.path();
    EXPECT_FALSE(found.empty()) << pack.out;
    return found;
  }();
  return deb;
}

TEST(DebianPackage, HoldsTheInstallationAndComputedDependencies) {
  for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps"})
    if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
  const fs::path deb = BuiltDeb();
  ASSERT_FALSE(deb.empty());

  const TRun info = Shell("dpkg-deb --info " + Q(deb));
  ASSERT_EQ(info.status, 0) << info.out;
  // The video libraries are loaded, not linked: named all the same.
  for (const char* field : {"Package: orkelund\n", "Section: graphics", "Depends: ", "libpng16", "libjpeg",
                            "libavcodec", "libavformat", "libswscale", "libavutil"})
    EXPECT_NE(info.out.find(field), std::string::npos) << field << "\n" << info.out;
  const TRun contents = Shell("dpkg-deb --contents " + Q(deb));
  ASSERT_EQ(contents.status, 0) << contents.out;
  for (const char* file : {"./usr/bin/orkelund-render", "./usr/share/orkelund/INI/Default.ini",
                           "./usr/share/orkelund/BMPFont/Arial12.xywh", "./usr/share/orkelund/toolbar20.png",
                           "./usr/share/orkelund/film-slurm.sh", "./usr/share/doc/orkelund/copyright",
                           "./usr/share/doc/orkelund/changelog.gz",
                           "./usr/share/man/man1/orkelund-render.1.gz"})
    EXPECT_NE(contents.out.find(file), std::string::npos) << file << "\n" << contents.out;
  if (contents.out.find("./usr/bin/orkelund\n") != std::string::npos) {
    EXPECT_NE(info.out.find("libqt6widgets6"), std::string::npos) << info.out;
  }
  // Only the program below /usr: no tests, benchmarks, generators or libraries.
  std::istringstream lines(contents.out);
  for (std::string line; std::getline(lines, line);) {
    const std::string path = line.substr(std::min(line.find(" ./") + 1, line.size()));
    EXPECT_TRUE(path == "./" || path.rfind("./usr/", 0) == 0) << line;
    EXPECT_EQ(path.find("/include/"), std::string::npos) << line;
    EXPECT_EQ(path.find("/lib/"), std::string::npos) << line;
    if (path.rfind("./usr/bin/", 0) == 0 && path != "./usr/bin/") {
      EXPECT_TRUE(path == "./usr/bin/orkelund" || path == "./usr/bin/orkelund-render") << line;
    }
  }
}

// Debian's package checker finds no error and no warning. A build made
// without the hardening flags (ORK_HARDEN=OFF) is excused their tags.
TEST(DebianPackage, PassesLintian) {
  if (!HaveTool("lintian")) GTEST_SKIP() << "lintian is not installed";
  const fs::path deb = BuiltDeb();
  ASSERT_FALSE(deb.empty());
  const TRun lint = Shell("lintian --tag-display-limit 0 " + Q(deb));
  std::istringstream lines(lint.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("E: ", 0) != 0 && line.rfind("W: ", 0) != 0) continue;
    if (!ORK_HARDENED && line.find(" hardening-") != std::string::npos) continue;
    ADD_FAILURE() << line;
  }
}

}  // namespace
