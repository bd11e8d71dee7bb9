#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "shell/settings.h"
#include "settings_test_util.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

// The real program on the Qt back end without a display: it starts, runs
// the main loop, computes and shows the start movie, and ends.
TEST(EventLoopSmoke, TheDesktopProgramStartsComputesAndEnds) {
  const fs::path program = fs::path(ORK_BINARY_DIR) / "bin" / "orkelund";
  if (!fs::exists(program)) GTEST_SKIP() << "orkelund was not built (no Qt)";
  const fs::path dir = fs::temp_directory_path() / ("orkelund_shell_smoke_" + std::to_string(getpid()));
  fs::remove_all(dir);
  std::string settings = DefaultSettingsText();
  settings.replace(settings.find("StartVorschau=1"), 15, "StartVorschau=0");
  WriteAll(dir / "INI" / "Settings.ini", settings);
  const std::string command = "QT_QPA_PLATFORM=offscreen timeout 120 '" + program.string() +
                              "' --workdir '" + dir.string() + "' --smoke 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("MainLoop"), std::string::npos) << output;
  EXPECT_NE(output.find("smoke: shown 640x480"), std::string::npos) << output;
  EXPECT_TRUE(fs::exists(dir / "TEMP" / "temp1.ini"));
}

}  // namespace
}  // namespace ork::test
