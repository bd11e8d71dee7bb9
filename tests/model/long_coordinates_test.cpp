#include "model/long_coordinates.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <fstream>

#include "model/ini_store.h"
#include "model/language.h"
#include "model/movie.h"
#include "scripted_host.h"

namespace ork {
namespace {

using test::TScriptedHost;

const std::string kX = "-1.7490930474813629049017238464722374129385730249871234987123498712e0";
const std::string kY = "0.0000000000000000000000000000000000000000123456789012345678901234567890123";
const std::string kH = "2.5000000000000000000000000000000000000000000000000000000000000001e-1000";

std::string LongText(size_t digits) { return "0." + std::string(digits, '7'); }

TEST(LongCoordinates, SyntaxAndBounds) {
  struct Case {
    std::string text;
    bool valid;
  } cases[] = {
      {"0", true},        {"-0.75", true},      {"+3.", true},         {".5e-1000", true},
      {"1E+99999", true}, {"", false},          {"abc", false},        {"1.5x", false},
      {" 1", false},      {"1e", false},        {"e5", false},         {"nan", false},
      {"inf", false},     {"0x1p3", false},     {"1e100001", false},   {"1e-9999999999999", false},
      {"--1", false},     {"1.2.3", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLongNumberText(c.text), c.valid) << c.text;
  EXPECT_TRUE(IsLongNumberText(LongText(kMaxLongNumberText - 2)));
  EXPECT_FALSE(IsLongNumberText(LongText(kMaxLongNumberText - 1)));
}

TEST(LongCoordinates, RoundingAndStaleTexts) {
  EXPECT_EQ(LongTextRounded(kX, false), -1.7490930474813629);
  EXPECT_EQ(LongTextRounded(kH, true), DBL_MIN);  // below the double range
  EXPECT_EQ(LongTextRounded(kH, false), 0.0);
  TParameter p;
  p.vsxLong = kX;
  p.vsx = LongTextRounded(kX, false);
  p.bryLong = kH;
  p.bry = DBL_MIN;
  EXPECT_TRUE(HasLongCoordinates(p));
  p.vsx = 0.25;  // moved by code that knows only the double
  DropStaleLongTexts(p);
  EXPECT_TRUE(p.vsxLong.empty());
  EXPECT_EQ(p.bryLong, kH);
  SetShortCoordinate(p, &TParameter::bry, 2.0);
  EXPECT_TRUE(p.bryLong.empty());
  EXPECT_FALSE(HasLongCoordinates(p));
}

std::unique_ptr<TParameterAnim> FromText(const std::string& text, TScriptedHost& host) {
  auto ini = TINI::FromBytes("INI\\", "m.ini", text);
  return TParameterAnim::FromIni(*ini, "INI\\", "m.ini", host);
}

const char* kKeys =
    "[OUTPUT]\nWidth=200\nHeight=100\nScale=1\nFileName=F\nWeb=w\nEmail=e\nAuthor=a\nUser=u\n"
    "[KEYS]\nCount=1\nActual=1\n"
    "[KEY1]\nNoOfFormula=1000\nPictNameOrNotice=\nHeightY=4\nMidPointX=-0.5\nMidPointY=0\n"
    "Degree=0\nJuliaSet=0\nCxPoint=0\nCyPoint=0\nParam1=0\nParam2=0\nParam3to10=\nParamA=0\n"
    "Accurate=0.0001\nMax_Iterat=100\nMax_(X+Y)=1e9\nCycleTest=1\nSelectPict=1\nColTabNo=4\n"
    "ColShift=1000\nColFact=100.0\nTextOutputList=\nFilter=\nLinesAndGrid=\nLinesColor=\n"
    "LinesThickness=\nGridSizes=\nFixedImageSeconds=0\nDoCalculate=1\nSecondsFor+=10\n"
    "FactorPerPictFor*=1.01\nKeyNr=1\nInterpolationList=\n";

TEST(LongCoordinates, LoaderPrefersLongTextsAndRepairsBadOnes) {
  SetUiLanguage(TLanguage::English);
  TScriptedHost host;
  auto m = FromText(std::string(kKeys) + "DeepZoom=1\nMidPointXLong=" + kX + "\nMidPointYLong=" +
                        kY + "\nHeightYLong=" + kH + "\n",
                    host);
  const TParameter& k = m->Parameter[1];
  EXPECT_TRUE(host.Infos.empty());
  EXPECT_EQ(k.Deep, 1);
  EXPECT_EQ(k.vsxLong, kX);
  EXPECT_EQ(k.vsx, -1.7490930474813629);
  EXPECT_EQ(k.vsp, k.vsx);
  EXPECT_EQ(k.vsy, 1.2345678901234568e-41);
  EXPECT_EQ(k.vst, k.vsy);
  EXPECT_EQ(k.bry, DBL_MIN);
  EXPECT_EQ(k.brx, DBL_MIN * 2);
  EXPECT_TRUE(k.CCxLong.empty());

  // Without the keys nothing changes; bad texts are dropped and reported.
  TScriptedHost plainHost;
  EXPECT_EQ(FromText(kKeys, plainHost)->Parameter[1].Deep, 0);
  EXPECT_TRUE(plainHost.Infos.empty());
  TScriptedHost badHost;
  auto bad = FromText(std::string(kKeys) + "MidPointXLong=12abc\nCyPointLong=" +
                          LongText(kMaxLongNumberText) + "\nHeightYLong=1e-200000\n",
                      badHost);
  const TParameter& b = bad->Parameter[1];
  EXPECT_EQ(b.vsx, -0.5);
  EXPECT_EQ(b.bry, 4);
  EXPECT_TRUE(b.vsxLong.empty() && b.CCyLong.empty() && b.bryLong.empty());
  ASSERT_EQ(badHost.Infos.size(), 1u);
  EXPECT_NE(badHost.Infos[0].find(" [KEY1]: , MidPointXLong, CyPointLong, HeightYLong"),
            std::string::npos)
      << badHost.Infos[0];
  EXPECT_EQ(badHost.Posted, std::vector<int>{kCommandSaveAsMovie1});
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(LongCoordinates, SaveInsertAndCopyKeepEveryDigit) {
  auto dir = test::ScratchDir("LongRoundTrip");
  std::filesystem::create_directory(dir / "INI");
  TScriptedHost host;
  auto m = FromText(std::string(kKeys) + "DeepZoom=1\nMidPointXLong=" + kX + "\nMidPointYLong=" +
                        kY + "\nCxPointLong=" + kY + "\nCyPointLong=" + kX + "\nHeightYLong=" +
                        kH + "\n",
                    host);
  ASSERT_EQ(m->Save("INI\\", "deep.ini", host), 1);
  const std::string text = FileText(dir / "INI" / "deep.ini");
  // The fixed keys keep their place and their rounded values; the new ones
  // follow them.
  EXPECT_NE(text.find("HeightY=2.2250738585072014e-308\r\nMidPointX=-1.7490930474813629\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("InterpolationList=\r\nDeepZoom=1\r\nMidPointXLong=" + kX +
                      "\r\nMidPointYLong=" + kY + "\r\nCxPointLong=" + kY +
                      "\r\nCyPointLong=" + kX + "\r\nHeightYLong=" + kH + "\r\n"),
            std::string::npos);

  auto copy = m->Copy();
  ASSERT_EQ(copy->SaveInsert(1, "INI\\", "ins.ini", host), 1);
  auto back = TParameterAnim::Load("INI\\", "ins.ini", host);
  ASSERT_EQ(back->Count, 2);
  for (int i = 1; i <= 2; ++i) {
    const TParameter& k = back->Parameter[i];
    EXPECT_EQ(k.Deep, 1);
    EXPECT_EQ(k.vsxLong, kX);
    EXPECT_EQ(k.vsyLong, kY);
    EXPECT_EQ(k.CCxLong, kY);
    EXPECT_EQ(k.CCyLong, kX);
    EXPECT_EQ(k.bryLong, kH);
  }

  // A centre moved by code that knows only doubles is saved as that double.
  back->Parameter[1].vsx = 0.125;
  ASSERT_EQ(back->Save("", "moved.ini", host), 1);
  auto moved = TParameterAnim::Load("INI\\", "moved.ini", host);
  EXPECT_EQ(moved->Parameter[1].vsx, 0.125);
  EXPECT_TRUE(moved->Parameter[1].vsxLong.empty());
  EXPECT_EQ(moved->Parameter[2].vsxLong, kX);
  EXPECT_TRUE(host.Infos.empty());
}

}  // namespace
}  // namespace ork
