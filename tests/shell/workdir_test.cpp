#include "shell/workdir.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings_test_util.h"
#include "shell/settings.h"

namespace ork {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::WriteAll;

fs::path FakeData(const std::string& name) {
  const fs::path data = fs::temp_directory_path() / ("orkelund_data_" + name);
  fs::remove_all(data);
  WriteAll(data / "INI" / "Default.ini", "[OUTPUT]\r\nWidth=64\r\n");
  WriteAll(data / "INI" / "Second.ini", "[OUTPUT]\r\n");
  WriteAll(data / "INI" / "Settings.ini", "[User]\r\nLanguage=DE\r\n");
  WriteAll(data / "INI" / "notes.txt", "not a movie");
  WriteAll(data / "BMPFont" / "Arial12.bmp", "BM12");
  WriteAll(data / "BMPFont" / "Arial12.xywh", "glyphs");
  WriteAll(data / "toolbar20.png", "PNG");
  return data;
}

TEST(WorkDir, CreatesDirectoriesAndSeedsShippedFiles) {
  const fs::path data = FakeData("seed");
  const fs::path work = fs::temp_directory_path() / "orkelund_work_seed" / "nested";
  fs::remove_all(work.parent_path());
  TWorkDirReport report = PrepareWorkDir(work.string(), data.string());
  ASSERT_TRUE(report.Ok()) << report.Errors[0];
  for (const char* dir : {"INI", "Output", "TEMP", "BMPFont"}) EXPECT_TRUE(fs::is_directory(work / dir));
  EXPECT_EQ(ReadAll(work / "INI" / "Default.ini"), "[OUTPUT]\r\nWidth=64\r\n");
  EXPECT_TRUE(fs::exists(work / "INI" / "Second.ini"));
  EXPECT_EQ(ReadAll(work / "BMPFont" / "Arial12.xywh"), "glyphs");
  EXPECT_EQ(ReadAll(work / "toolbar20.png"), "PNG");
  // Settings are the program's defaults, never the data directory's: a
  // folder made here gets them at once (no "was missing" warning later).
  EXPECT_EQ(ReadAll(work / "INI" / "Settings.ini"), DefaultSettingsText());
  EXPECT_FALSE(fs::exists(work / "INI" / "notes.txt"));
  EXPECT_EQ(report.Seeded.size(), 6u);
  // No temporary files left behind.
  for (const auto& e : fs::recursive_directory_iterator(work))
    EXPECT_EQ(e.path().string().find(".seed-"), std::string::npos) << e.path();
  EXPECT_EQ(WorkDir(), work.string());
}

TEST(WorkDir, NeverOverwritesTheUsersFiles) {
  const fs::path data = FakeData("keep");
  const fs::path work = fs::temp_directory_path() / "orkelund_work_keep";
  fs::remove_all(work);
  WriteAll(work / "INI" / "Default.ini", "my own start movie");
  WriteAll(work / "toolbar20.png", "my icons");
  fs::create_directories(work / "BMPFont");
  fs::create_symlink("/nonexistent/target", work / "BMPFont" / "Arial12.bmp");
  TWorkDirReport report = PrepareWorkDir(work.string(), data.string());
  ASSERT_TRUE(report.Ok());
  EXPECT_EQ(ReadAll(work / "INI" / "Default.ini"), "my own start movie");
  EXPECT_EQ(ReadAll(work / "toolbar20.png"), "my icons");
  EXPECT_TRUE(fs::is_symlink(work / "BMPFont" / "Arial12.bmp"));
  EXPECT_EQ(report.Seeded.size(), 2u);  // Second.ini, Arial12.xywh

  // A second start seeds nothing and changes nothing.
  WriteAll(work / "INI" / "Second.ini", "edited");
  TWorkDirReport again = PrepareWorkDir(work.string(), data.string());
  EXPECT_TRUE(again.Ok());
  EXPECT_TRUE(again.Seeded.empty());
  EXPECT_TRUE(again.Created.empty());
  EXPECT_EQ(ReadAll(work / "INI" / "Second.ini"), "edited");
}

TEST(WorkDir, FailuresAreReportedAndDataDirectoryIsChosen) {
  const fs::path base = fs::temp_directory_path() / "orkelund_work_fail";
  fs::remove_all(base);
  WriteAll(base / "Output", "a file where a directory belongs");
  TWorkDirReport report = PrepareWorkDir(base.string(), FakeData("fail").string());
  EXPECT_FALSE(report.Ok());
  EXPECT_NE(report.Errors[0].find("Output"), std::string::npos);

  // Without a data directory only the directories and the settings are made.
  const fs::path bare = fs::temp_directory_path() / "orkelund_work_bare";
  fs::remove_all(bare);
  EXPECT_TRUE(PrepareWorkDir(bare.string(), "").Ok());
  EXPECT_TRUE(fs::is_directory(bare / "TEMP"));
  EXPECT_EQ(std::distance(fs::directory_iterator(bare / "INI"), fs::directory_iterator()), 1);
  EXPECT_TRUE(fs::exists(bare / "INI" / "Settings.ini"));

  const fs::path data = FakeData("env");
  ::setenv("ORKELUND_DATA", data.c_str(), 1);
  EXPECT_EQ(ShippedDataDir(), data.string());
  ::setenv("ORKELUND_DATA", (data / "missing").c_str(), 1);
  EXPECT_NE(ShippedDataDir(), (data / "missing").string());
  ::unsetenv("ORKELUND_DATA");
  EXPECT_TRUE(fs::is_directory(ShippedDataDir()));
}

}  // namespace
}  // namespace ork
