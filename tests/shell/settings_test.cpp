#include "shell/settings.h"

#include <gtest/gtest.h>

#include "model/language.h"
#include "model/parameter.h"
#include "settings_test_util.h"
#include "shell/settings_startup.h"
#include "shell/texts.h"

namespace ork {
namespace {

namespace fs = std::filesystem;
using test::FreshWorkDir;
using test::ReadAll;
using test::TRecordingHost;
using test::WriteAll;

// The default file with one line replaced (or removed when `with` is null).
std::string DefaultWith(const std::string& line, const char* with) {
  std::string text = DefaultSettingsText();
  const size_t at = text.find(line + "\r\n");
  EXPECT_NE(at, std::string::npos) << line;
  text.replace(at, line.size() + 2, with ? std::string(with) + "\r\n" : std::string());
  return text;
}

struct TRead {
  std::string startIni = "preset.ini";
  int startPreview = 7;
  std::string language = "XX";
  int maximize = 7;
  int toolbar = 7;
};

// Writes text as INI\Settings.ini, loads it and runs ReadSettings.
TRead ReadFrom(const fs::path& dir, const std::string& text, TRecordingHost& host) {
  WriteAll(dir / "INI" / "Settings.ini", text);
  EXPECT_TRUE(LoadSettingsIni(host));
  TRead r;
  ReadSettings(r.startIni, r.startPreview, r.language, r.maximize, r.toolbar, host);
  return r;
}

TEST(Settings, DefaultFileHasTheThirtySixLinesWithCrLf) {
  const fs::path dir = FreshWorkDir("default_file");
  TRecordingHost host;
  ASSERT_TRUE(WriteSettings(host));
  EXPECT_TRUE(host.Saw("WriteSettings(): can't find Path 'INI\\' for saving !?"));
  EXPECT_TRUE(host.Saw("WriteSettings(): create Path 'INI\\'"));
  const std::string bytes = ReadAll(dir / "INI" / "Settings.ini");
  EXPECT_EQ(bytes, DefaultSettingsText());
  EXPECT_EQ(bytes,
            "[Window]\r\nMaximize=1\r\nToolbar=1\r\n\r\n[User]\r\nLanguage=EN\r\n\r\n"
            "[Load]\r\nStart-ini=Default.ini\r\nStartVorschau=1\r\nPositionX=9999\r\n"
            "PositionY=9999\r\n\r\n[AnimMode]\r\nPreview=1\r\n\r\n[Anim]\r\nFPS=25\r\n"
            "JPG=0\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n\r\n[AnimPreview]\r\nFPS=25\r\nPNG=0\r\n"
            "JPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=70\r\n\r\n[SaveImage]\r\nJPG=1\r\nPNG=1\r\n"
            "BMP=1\r\n\r\n");
  size_t lines = 0;
  for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 36u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "INI"), fs::directory_iterator()), 1);

  // A second write finds the directory: no diagnostic lines.
  TRecordingHost again;
  ASSERT_TRUE(WriteSettings(again));
  EXPECT_TRUE(again.diagnostics.empty());

  // The default file reads back without a repair.
  TRead r = ReadFrom(dir, bytes, again);
  EXPECT_TRUE(again.infos.empty());
  EXPECT_EQ(r.startIni, "Default.ini");
  EXPECT_EQ(r.startPreview, 1);
  EXPECT_EQ(r.language, "EN");
  EXPECT_EQ(r.maximize, 1);
  EXPECT_EQ(r.toolbar, 1);
  EXPECT_EQ(Settings().PicturePosX, 9999);
  EXPECT_EQ(Settings().PicturePosY, 9999);
  EXPECT_EQ(SettingsInt("AnimPreview", "Width", 0), 70);
  EXPECT_TRUE(SaveImageFormats().JPG && SaveImageFormats().PNG && SaveImageFormats().BMP);
}

TEST(Settings, WriteFailureIsOnlyADiagnosticAndKeepsTheStore) {
  const fs::path dir = FreshWorkDir("write_fails");
  TRecordingHost host;
  ASSERT_TRUE(WriteSettings(host));
  ASSERT_TRUE(LoadSettingsIni(host));
  // A directory in place of the file: the file cannot be replaced.
  fs::remove(dir / "INI" / "Settings.ini");
  fs::create_directory(dir / "INI" / "Settings.ini");
  fs::create_directory(dir / "INI" / "Settings.ini" / "x");
  TRecordingHost failing;
  EXPECT_FALSE(WriteSettings(failing));
  EXPECT_TRUE(failing.Saw("WriteSettings(): can't open 'INI\\Settings.ini' for saving !?"));
  EXPECT_TRUE(failing.infos.empty());
  EXPECT_EQ(SettingsInt("Anim", "FPS", 0), 25);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "INI"), fs::directory_iterator()), 1);
}

TEST(Settings, MissingSectionRewritesEverythingAndKeepsThePresets) {
  const fs::path dir = FreshWorkDir("missing_section");
  TRecordingHost host;
  std::string text = DefaultWith("Language=EN", "Language=DE");
  text.replace(text.find("Start-ini=Default.ini"), 21, "Start-ini=Other.ini");
  text.replace(text.find("Toolbar=1"), 9, "Toolbar=0");
  text.erase(text.find("[SaveImage]"));
  TRead r = ReadFrom(dir, text, host);
  EXPECT_EQ(r.startIni, "preset.ini");
  EXPECT_EQ(r.startPreview, 7);
  EXPECT_EQ(r.language, "XX");
  EXPECT_EQ(r.maximize, 7);
  EXPECT_EQ(r.toolbar, 7);
  EXPECT_EQ(ReadAll(dir / "INI" / "Settings.ini"), DefaultSettingsText());
  ASSERT_EQ(host.infos.size(), 1u);
  // Before the texts are assigned the message is English whatever the language.
  SetUiLanguage(TLanguage::German);
  EXPECT_EQ(host.infos[0], shell_texts::kSettingsRepaired.en);
  // The store was reloaded from the rewritten file.
  ASSERT_NE(SettingsIni().Find("SaveImage"), nullptr);
  EXPECT_EQ(*SettingsValue("Load", "Start-ini"), "Default.ini");
}

TEST(Settings, OldDateiKeyNamesTheStartMovieOnce) {
  const fs::path dir = FreshWorkDir("datei");
  TRecordingHost host;
  TRead r = ReadFrom(dir, DefaultWith("Start-ini=Default.ini", "Datei=Spirale.ini"), host);
  EXPECT_EQ(r.startIni, "Spirale.ini");
  EXPECT_EQ(host.infos.size(), 1u);
  EXPECT_NE(ReadAll(dir / "INI" / "Settings.ini").find("Start-ini=Default.ini\r\n"),
            std::string::npos);
  // Other values read before the rewrite are delivered too.
  EXPECT_EQ(r.language, "EN");
  EXPECT_EQ(r.startPreview, 1);

  TRecordingHost plain;
  TRead d = ReadFrom(dir, DefaultWith("Start-ini=Default.ini", nullptr), plain);
  EXPECT_EQ(d.startIni, "Default.ini");
  EXPECT_EQ(plain.infos.size(), 1u);
}

TEST(Settings, LanguageCodes) {
  const fs::path dir = FreshWorkDir("language");
  const struct {
    const char* line;
    const char* expected;
    bool rewrite;
  } cases[] = {
      {"Language=de", "DE", false}, {"Language=en", "EN", false}, {"Language=fr", "DE", false},
      {"Language=", "EN", false},   {"Language=De", "DE", false}, {"Language=DE", "DE", false},
      {nullptr, "EN", true},
  };
  for (const auto& c : cases) {
    TRecordingHost host;
    TRead r = ReadFrom(dir, DefaultWith("Language=EN", c.line), host);
    EXPECT_EQ(r.language, c.expected) << (c.line ? c.line : "(none)");
    EXPECT_EQ(host.infos.size(), c.rewrite ? 1u : 0u) << (c.line ? c.line : "(none)");
    const std::string raw = c.line ? std::string(c.line).substr(9) : "EN";
    EXPECT_TRUE(host.Saw("Tools1023 Language=" + raw));
  }
  EXPECT_EQ(LanguageFromCode("DE"), TLanguage::German);
  EXPECT_EQ(LanguageFromCode("EN"), TLanguage::English);
  EXPECT_EQ(LanguageFromCode("de"), TLanguage::English);
}

TEST(Settings, PicturePosition) {
  const fs::path dir = FreshWorkDir("position");
  const struct {
    const char* x;
    const char* y;
    int px, py;
  } cases[] = {
      {"PositionX=Mid", "PositionY=100", 9999, 9999}, {"PositionX=2001", "PositionY=5", 9999, 9999},
      {"PositionX=0", "PositionY=0", 0, 0},           {"PositionX=120", "PositionY=2000", 120, 2000},
      {"PositionX=10", "PositionY=-1", 9999, 9999},   {"PositionX=10", "PositionY=Mid", 9999, 9999},
      {"PositionX=abc", "PositionY=7", 0, 7},
  };
  for (const auto& c : cases) {
    TRecordingHost host;
    std::string text = DefaultWith("PositionX=9999", c.x);
    text.replace(text.find("PositionY=9999"), 14, c.y);
    ReadFrom(dir, text, host);
    EXPECT_EQ(Settings().PicturePosX, c.px) << c.x << " " << c.y;
    EXPECT_EQ(Settings().PicturePosY, c.py) << c.x << " " << c.y;
    EXPECT_TRUE(host.infos.empty());
  }
  // A missing position counts as centred and repairs the file.
  TRecordingHost host;
  ReadFrom(dir, DefaultWith("PositionY=9999", nullptr), host);
  EXPECT_EQ(Settings().PicturePosY, 9999);
  EXPECT_EQ(host.infos.size(), 1u);
}

TEST(Settings, FlagsAndRequiredKeys) {
  const fs::path dir = FreshWorkDir("flags");
  {
    TRecordingHost host;
    TRead r = ReadFrom(dir, DefaultWith("StartVorschau=1", "StartVorschau=yes"), host);
    EXPECT_EQ(r.startPreview, 0);
    EXPECT_TRUE(host.infos.empty());
  }
  {
    TRecordingHost host;
    TRead r = ReadFrom(dir, DefaultWith("StartVorschau=1", "StartVorschau=$10"), host);
    EXPECT_EQ(r.startPreview, 1);
  }
  {
    TRecordingHost host;
    std::string text = DefaultWith("Toolbar=1", "Toolbar=0");
    text.replace(text.find("Maximize=1"), 10, "Maximize=x");
    TRead r = ReadFrom(dir, text, host);
    EXPECT_EQ(r.toolbar, 0);
    EXPECT_EQ(r.maximize, 0);
    EXPECT_TRUE(host.infos.empty());
  }
  {
    TRecordingHost host;
    TRead r = ReadFrom(dir, DefaultWith("Maximize=1", nullptr), host);
    EXPECT_EQ(r.maximize, 1);
    EXPECT_EQ(host.infos.size(), 1u);
  }
  // [AnimMode] Preview is not required; every key of the film and saving
  // sections is.
  {
    TRecordingHost host;
    ReadFrom(dir, DefaultWith("Preview=1", nullptr), host);
    EXPECT_TRUE(host.infos.empty());
  }
  for (const char* line : {"AVI=1", "Width=70", "FPS=25", "BMP=1"}) {
    TRecordingHost host;
    ReadFrom(dir, DefaultWith(line, nullptr), host);
    EXPECT_EQ(host.infos.size(), 1u) << line;
    EXPECT_EQ(ReadAll(dir / "INI" / "Settings.ini"), DefaultSettingsText()) << line;
  }
}

TEST(Settings, StartUpWritesAMissingFileAndChoosesTheLanguageOnce) {
  const fs::path dir = FreshWorkDir("startup");
  TRecordingHost host;
  TStartSettings start = StartUpSettings(host);
  ASSERT_EQ(host.infos.size(), 1u);
  EXPECT_EQ(host.infos[0], shell_texts::kSettingsMissing);
  EXPECT_TRUE(host.Saw("INI: can't open 'INI\\Settings.ini' for loading !?"));
  EXPECT_EQ(ReadAll(dir / "INI" / "Settings.ini"), DefaultSettingsText());
  EXPECT_EQ(start.StartIni, "Default.ini");
  EXPECT_EQ(UiLanguage(), TLanguage::English);
  EXPECT_TRUE(Settings().TextsAssigned);

  // German settings: the language follows, and a later repair (settings
  // window) speaks German.
  test::WriteAll(dir / "INI" / "Settings.ini", DefaultWith("Language=EN", "Language=DE"));
  ResetProcessState();
  TRecordingHost german;
  start = StartUpSettings(german);
  EXPECT_TRUE(german.infos.empty());
  EXPECT_EQ(start.Language, "DE");
  EXPECT_EQ(UiLanguage(), TLanguage::German);
  test::WriteAll(dir / "INI" / "Settings.ini", DefaultWith("FPS=25", nullptr));
  ASSERT_TRUE(LoadSettingsIni(german));
  ReadSettings(start.StartIni, start.StartPreview, start.Language, start.Maximize,
               start.Toolbar, german);
  ASSERT_EQ(german.infos.size(), 1u);
  EXPECT_EQ(german.infos[0], Tr(shell_texts::kSettingsRepaired));
  EXPECT_NE(german.infos[0].find("Men\xFC"), std::string::npos);
  SetUiLanguage(TLanguage::English);
}

TEST(Settings, StartUpWithoutAWritableDirectoryKeepsDefaultsInMemory) {
  const fs::path dir = FreshWorkDir("unwritable");
  test::WriteAll(dir / "INI", "a file where the directory should be");
  TRecordingHost host;
  TStartSettings start = StartUpSettings(host);
  EXPECT_EQ(start.StartIni, "Default.ini");
  EXPECT_EQ(SettingsInt("SaveImage", "PNG", 0), 1);
  EXPECT_EQ(SettingsInt("Anim", "FPS", 0), 25);
  EXPECT_EQ(host.infos.size(), 1u);
  ResetProcessState();
  EXPECT_EQ(SettingsIni().Find("Anim"), nullptr);
  EXPECT_FALSE(Settings().TextsAssigned);
}

TEST(Settings, FirstCommandAndWindowFit) {
  SetUiLanguage(TLanguage::German);
  TParameter key;
  std::string beginner;
  key.FileNameKey = "nurFuerAnfaenger";
  EXPECT_EQ(FirstCommand(&key, 1, beginner), kCmdLoadPngPicture);
  EXPECT_EQ(beginner, "nurFuerAnfaenger");
  key.FileNameKey = "onlyForBeginners";
  EXPECT_EQ(FirstCommand(&key, 0, beginner), kCmdLoadPngPicture);
  EXPECT_EQ(beginner, "onlyForBeginners");
  SetUiLanguage(TLanguage::English);
  key.FileNameKey = "nurFuerAnfaenger";
  EXPECT_EQ(FirstCommand(&key, 1, beginner), kCmdPreview1M1);
  EXPECT_EQ(FirstCommand(&key, 0, beginner), kCmdComputeMain);
  EXPECT_EQ(FirstCommand(nullptr, 0, beginner), kCmdComputeMain);

  int x = 10, y = 20, w = 400, h = 400;
  EXPECT_FALSE(FitWindowToDesktop(x, y, w, h, 1920, 1080));
  x = -5;
  w = 3000;
  EXPECT_TRUE(FitWindowToDesktop(x, y, w, h, 1920, 1080));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 20);
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 400);
}

}  // namespace
}  // namespace ork
