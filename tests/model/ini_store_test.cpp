#include "model/ini_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/file_io.h"
#include "model/language.h"
#include "model/paths.h"
#include "scripted_host.h"

namespace ork {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

TEST(IniStore, ReadingRules) {
  std::string file =
      "ignored=before\n"
      "  [ KEY 1 ]  \r\n"
      "Name = a=b\n"
      "=nothing\n"
      "no equals sign\n"
      ";comment = kept\n"
      "Mid\rdle=x\ry\n"
      "[KEY1\n"
      "[]\n"
      "[\n"
      "[KEY1]\n";
  file += std::string("a=1\0b=2\nc=3", 11);
  file += "\n[KEY1]trailing\nd=\xE4\xFF\x01\n";
  auto ini = TINI::FromBytes("INI\\", "x.ini", file);
  ASSERT_EQ(ini->Groups.size(), 6u);
  EXPECT_EQ(ini->Groups[0]->Name, " KEY 1 ");
  const TINIGroup& g0 = *ini->Groups[0];
  ASSERT_EQ(g0.ParameterList.size(), 3u);
  EXPECT_EQ(g0.ParameterList[0]->Name, "Name");
  EXPECT_EQ(g0.ParameterList[0]->Value, "a=b");
  EXPECT_EQ(g0.ParameterList[1]->Name, ";comment");
  EXPECT_EQ(g0.ParameterList[2]->Name, "Middle");
  EXPECT_EQ(g0.ParameterList[2]->Value, "xy");
  EXPECT_EQ(ini->Groups[1]->Name, "KEY");
  EXPECT_EQ(ini->Groups[2]->Name, "");
  EXPECT_EQ(ini->Groups[3]->Name, "");
  EXPECT_EQ(ini->Groups[4]->Name, "KEY1");
  ASSERT_EQ(ini->Groups[4]->ParameterList.size(), 3u);  // the zero byte ends a line
  EXPECT_EQ(ini->Groups[4]->Find("b")->Value, "2");
  EXPECT_EQ(ini->Groups[5]->Name, "KEY1]trailin");
  EXPECT_EQ(ini->Groups[5]->Find("d")->Value, "\xE4\xFF");  // code 1 trimmed

  EXPECT_EQ(ini->Find("KEY1"), ini->Groups[4].get());
  EXPECT_EQ(ini->Find("key1"), nullptr);
  EXPECT_EQ(ini->Groups[4]->Find("A"), nullptr);

  // Bare LF, CR LF and stray CR read the same.
  auto a = TINI::FromBytes("", "", "[S]\nx=1\ny=2\n");
  auto b = TINI::FromBytes("", "", "[S]\r\nx=1\r\ny=\r2\r\n");
  EXPECT_EQ(a->ToBytes(), b->ToBytes());
}

TEST(IniStore, SortAndParameterNumbers) {
  TINIGroup g("KEY1");
  g.Add("HeightY", "1");
  g.Add("Width", "2");
  g.Add("NoOfFormula", "3");
  g.Add("Zzz", "4");
  g.Sort();
  ASSERT_EQ(g.ParameterList.size(), 4u);
  EXPECT_EQ(g.ParameterList[0]->Name, "Width");
  EXPECT_EQ(g.ParameterList[1]->Name, "Zzz");
  EXPECT_EQ(g.ParameterList[2]->Name, "NoOfFormula");
  EXPECT_EQ(g.ParameterList[3]->Name, "HeightY");
  EXPECT_EQ(TINIGroup::ParameterSortNo("InterpolationList"), 34);
  EXPECT_EQ(TINIGroup::ParameterSortNo("NumberOfColors"), 19);
  EXPECT_EQ(TINIGroup::ParameterSortNo("SelectPict"), 19);
  EXPECT_EQ(TINIGroup::ParameterSortNo("FactorPerPictFor*"), 32);
  EXPECT_EQ(TINIGroup::ParameterSortNo("heighty"), 0);
  for (int i = 1; i <= 34; ++i) {
    EXPECT_EQ(TINIGroup::ParameterSortNo(TINIGroup::ParameterKeyName(i)), i);
  }
  TINIVar a("Degree", ""), b("MidPointX", "");
  EXPECT_EQ(TINIGroup::CompareFunction(a, b), 1);
  EXPECT_EQ(TINIGroup::CompareFunction(b, a), 0);
  EXPECT_EQ(TINIGroup::CompareFunction(a, a), 0);

  TINIVar* hit = g.Show(0, 20);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->Name, "Zzz");
  EXPECT_EQ(g.ParameterList[1]->Selected, 1);
  EXPECT_EQ(g.Show(0, 60), nullptr);
  EXPECT_EQ(g.ParameterList[1]->Selected, 0);
}

TEST(IniStore, SaveWritesCrLfAndReadsBack) {
  auto dir = test::ScratchDir("IniSave");
  test::TScriptedHost host;
  std::filesystem::create_directory(dir / "INI");
  TINI ini("INI\\", "a.ini");
  TINIGroup* g = ini.Add("OUTPUT");
  g->Add("Width", "300");
  g->Add("Text", "x = y\xE9");
  g->Add("Broken", "line\nbreak");
  ini.Add("EMPTY");
  ASSERT_EQ(ini.Save("", "", host), 1);
  EXPECT_EQ(ReadAll(dir / "INI" / "a.ini"),
            "[OUTPUT]\r\nWidth=300\r\nText=x = y\xE9\r\nBroken=line break\r\n\r\n[EMPTY]\r\n\r\n");
  std::string file = "a.ini";
  auto back = TINI::Load("INI\\", file, host);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->ToBytes(), ini.ToBytes());
  EXPECT_TRUE(host.Infos.empty());

  // Non-empty arguments replace Path and File.
  ASSERT_EQ(ini.Save("", "b.ini", host), 1);
  EXPECT_EQ(ini.File, "b.ini");
  EXPECT_TRUE(std::filesystem::exists(dir / "INI" / "b.ini"));
}

TEST(IniStore, FailedSaveLeavesOldFile) {
  auto dir = test::ScratchDir("IniSaveFail");
  test::TScriptedHost host;
  // A name so long that the temporary name beside it is too long: nothing
  // can be written, and the reason is kept for the message.
  const std::string old = std::string(250, 'o') + ".ini";
  WriteAll(dir / old, "[OLD]\r\n");
  TINI ini("", old);
  ini.Add("NEW");
  EXPECT_EQ(ini.Save("", "", host), 0);
  EXPECT_EQ(ReadAll(dir / old), "[OLD]\r\n");
  EXPECT_EQ(LastSaveError(), "File name too long");
  // A directory where the file should be: the rename fails, nothing changes.
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_directory(dir / "sub" / "x.ini");
  EXPECT_EQ(ini.Save("sub\\", "x.ini", host), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "sub" / "x.ini"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "sub"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(IniStore, MissingDirectoryIsOfferedOneLevel) {
  auto dir = test::ScratchDir("IniDirectory");
  SetUiLanguage(TLanguage::German);
  test::TScriptedHost host;
  TINI ini("NEW\\", "a.ini");
  ini.Add("X");
  host.Answers = {false};
  EXPECT_EQ(ini.Save("", "", host), 0);
  ASSERT_EQ(host.Questions.size(), 1u);
  EXPECT_EQ(host.Questions[0], "Der Pfad 'NEW\\' ist nicht da , soll er erzeugt werden !?");
  EXPECT_FALSE(std::filesystem::exists(dir / "NEW"));

  EXPECT_EQ(ini.Save("", "", host), 1);
  EXPECT_TRUE(std::filesystem::exists(dir / "NEW" / "a.ini"));

  TINI deep("A\\B\\", "a.ini");
  EXPECT_EQ(deep.Save("", "", host), 0);
  ASSERT_EQ(host.Infos.size(), 1u);
  EXPECT_EQ(host.Infos[0], "Das ging aber nicht :(");
  EXPECT_FALSE(std::filesystem::exists(dir / "A"));

  SetUiLanguage(TLanguage::English);
  host.Answers = {false};
  EXPECT_EQ(deep.Save("", "", host), 0);
  EXPECT_EQ(host.Questions.back(), "The path 'A\\B\\'is not there, he is to be generated!?");
  SetUiLanguage(TLanguage::German);
}

TEST(IniStore, LoadFallsBackToDefaultFile) {
  auto dir = test::ScratchDir("IniFallback");
  SetUiLanguage(TLanguage::German);
  test::TScriptedHost host;
  std::filesystem::create_directory(dir / "INI");

  std::string settings = "Settings.ini";
  EXPECT_EQ(TINI::Load("INI\\", settings, host), nullptr);
  EXPECT_TRUE(host.Infos.empty());
  EXPECT_EQ(host.Diagnostics.back(), "INI: can't open 'INI\\Settings.ini' for loading !?");

  // Neither the file nor Default.ini: the replacement is written and read.
  std::string file = "gone.ini";
  auto ini = TINI::Load("INI\\", file, host);
  ASSERT_NE(ini, nullptr);
  EXPECT_EQ(file, "Default.ini");
  EXPECT_EQ(ini->File, "Default.ini");
  ASSERT_EQ(host.Infos.size(), 2u);
  EXPECT_EQ(host.Infos[0], "Die Datei gone.ini fehlt im Verzeichnis INI !");
  EXPECT_EQ(host.Infos[1],
            "Die Datei Default.ini Datei fehlt im Verzeichnis INI ! Schreibe eine Ersatzdatei als "
            "Default.ini");
  ASSERT_EQ(ini->Groups.size(), 1u);
  EXPECT_EQ(ini->Groups[0]->Name, "OUTPUT");
  EXPECT_EQ(ReadAll(dir / "INI" / "Default.ini"), "[OUTPUT]\r\n");

  // With Default.ini present it is read as it is.
  WriteAll(dir / "INI" / "Default.ini", "[OUTPUT]\nWidth=5\n");
  host.Infos.clear();
  file = "gone.ini";
  ini = TINI::Load("INI\\", file, host);
  EXPECT_EQ(host.Infos.size(), 1u);
  EXPECT_EQ(ini->Find("OUTPUT")->Find("Width")->Value, "5");

  // No directory at all: the store comes back empty, not null.
  file = "gone.ini";
  ini = TINI::Load("NOWHERE\\", file, host);
  ASSERT_NE(ini, nullptr);
  EXPECT_TRUE(ini->Groups.empty());
}

TEST(IniStore, HostileFilesStayBounded) {
  // A million sections, a 10 MB line, zero bytes and junk.
  std::string many;
  for (int i = 0; i < 1000000; ++i) many += "[K]\n";
  auto ini = TINI::FromBytes("", "", many);
  EXPECT_EQ(ini->Groups.size(), 1000000u);

  std::string longLine = "[S]\nkey=" + std::string(10 << 20, 'x') + "\n";
  ini = TINI::FromBytes("", "", longLine);
  EXPECT_EQ(ini->Find("S")->Find("key")->Value.size(), size_t{10} << 20);

  std::string groups;
  for (size_t i = 0; i < TINI::kMaxGroups + 10; ++i) groups += "[\n";
  test::TScriptedHost host;
  ini = TINI::FromBytes("", "", groups, &host);
  EXPECT_EQ(ini->Groups.size(), TINI::kMaxGroups);
  EXPECT_FALSE(host.Diagnostics.empty());

  std::string junk;
  for (int i = 0; i < 100000; ++i) junk.push_back(static_cast<char>((i * 7919) & 0xFF));
  ini = TINI::FromBytes("", "", junk);
  auto again = TINI::FromBytes("", "", ini->ToBytes());
  EXPECT_EQ(again->ToBytes(), ini->ToBytes());
}

}  // namespace
}  // namespace ork
