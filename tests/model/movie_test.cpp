#include "model/movie.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model/ini_store.h"
#include "model/language.h"
#include "model/latin1.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "scripted_host.h"

namespace ork {
namespace {

using test::TScriptedHost;

std::unique_ptr<TParameterAnim> FromText(const std::string& text, TScriptedHost& host) {
  auto ini = TINI::FromBytes("INI\\", "m.ini", text);
  return TParameterAnim::FromIni(*ini, "INI\\", "m.ini", host);
}

const char* kRepairedDe =
    "Bitte neu speichern. Es wurden Standard-Daten eingesetzt, weil die Daten fehlten f\xFCr ";

TEST(Movie, EmptyFileGivesTwoDefaultKeyframes) {
  ResetProcessState();
  SetUiLanguage(TLanguage::German);
  TScriptedHost host;
  auto m = FromText("", host);
  EXPECT_EQ(m->OutputWidth, 300);
  EXPECT_EQ(m->OutputHeight, 300);
  EXPECT_EQ(m->FileName, "MovieXYZ");
  EXPECT_EQ(m->Count, 2);
  EXPECT_EQ(m->Actual, 1);
  EXPECT_EQ(m->Run, "[KEY1],[KEY2]");
  ASSERT_EQ(m->Parameter.size(), 3u);
  const TParameter& k1 = m->Parameter[1];
  const TParameter& k2 = m->Parameter[2];
  EXPECT_EQ(k1.bry, 4);
  EXPECT_EQ(k1.brx, 4);
  EXPECT_EQ(k1.FileNameKey,
            Latin1("NoOfFormula hier möglich:1000 Or 1001,1002,149,151,152,201,202,203,2031,2032,206"));
  EXPECT_EQ(k1.InterpolationList, "(HeightY,+):(Degree,+)");
  EXPECT_EQ(k1.vsx, static_cast<double>(-0.55f));
  EXPECT_EQ(k1.vsp, k1.vsx);
  EXPECT_EQ(k1.Seconds, 3);
  EXPECT_EQ(k1.FactorPerPict, 0);
  EXPECT_EQ(k1.colz, 2048);
  EXPECT_EQ(static_cast<unsigned>(k1.CLinesColor[2]), 0xFFFFFFFFu);
  EXPECT_EQ(k2.FileNameKey, "PictOfKEY2");
  EXPECT_EQ(k2.bry, 1);
  EXPECT_EQ(k2.Degree, 90);
  EXPECT_EQ(k2.KeyNr, 2);
  ASSERT_EQ(host.Infos.size(), 1u);
  EXPECT_EQ(host.Infos[0], std::string(kRepairedDe) +
                               ", [OUTPUT]-all, [KEYS]-all [KEY1]-all, [KEY2]-all . Bitte unbedingt "
                               "sofort speichern.");
  EXPECT_EQ(host.Posted, std::vector<int>{kCommandSaveAsMovie1});

  TScriptedHost host2;
  auto o = FromText("[OUTPUT]\n", host2);
  EXPECT_EQ(o->Count, 2);
  EXPECT_EQ(o->Parameter[2].Degree, 90);
  ASSERT_EQ(host2.Infos.size(), 1u);
  EXPECT_EQ(host2.Infos[0], std::string(kRepairedDe) +
                                ", Width, Height, Scale, FileName, Web, Email, Author, User, "
                                "[KEYS]-all [KEY1]-all, [KEY2]-all . Bitte unbedingt sofort speichern.");
}

TEST(Movie, DefaultsAndRepairsPerKey) {
  ResetProcessState();
  TScriptedHost host;
  auto m = FromText(
      "[OUTPUT]\nWidth=5\nHeight=1000000000\nScale=0\nFileName=F\nWeb=w\nEmail=e\nAuthor=a\nUser=u\n"
      "[KEYS]\nCount=2\nActual=7\n"
      "[KEY1]\nJuliaSet=3\nMax_Iterat=12.7\nMidPointX=0.25\nGridSizes=0.5\n"
      "[KEY2]\nJuliaSet=-4\nMidPointY=nan\nHeightY=inf\nCount=9\n",
      host);
  EXPECT_EQ(m->OutputWidth, 8);
  EXPECT_EQ(m->OutputHeight, kMaxOutputSide);
  EXPECT_EQ(m->Scale, 1);
  EXPECT_EQ(m->User, "u");
  EXPECT_EQ(m->Actual, 2);  // brought into 1..Count
  const TParameter& k1 = m->Parameter[1];
  EXPECT_EQ(k1.julia, 1);
  EXPECT_EQ(k1.ianzmax, 12);
  EXPECT_EQ(k1.vsx, 0.25);
  EXPECT_EQ(k1.vsp, 0.25);
  EXPECT_EQ(k1.GameNo, 1000);
  EXPECT_EQ(k1.Accurate, static_cast<double>(0.0001f));
  EXPECT_EQ(k1.maxabs, 1.0e9);
  EXPECT_EQ(k1.zyctest, 1);
  EXPECT_EQ(k1.Seconds, 10);
  EXPECT_EQ(k1.DoCalculate, 1);
  EXPECT_EQ(k1.FactorPerPict, static_cast<double>(1.01f));
  EXPECT_EQ(k1.SelectPictureL, "1");
  EXPECT_EQ(k1.farbtab, 4);
  EXPECT_EQ(k1.ColShift, 1000);
  EXPECT_EQ(k1.OutputWidth, 8);
  EXPECT_EQ(k1.User, "u");
  EXPECT_EQ(k1.KeyNr, 1);
  const TParameter& k2 = m->Parameter[2];
  EXPECT_EQ(k2.julia, 0);
  EXPECT_EQ(k2.vsx, static_cast<double>(-0.55f));
  EXPECT_EQ(k2.vsp, 0);  // not read, so not set
  EXPECT_EQ(k2.vsy, 0);  // "nan" is no number
  EXPECT_EQ(k2.bry, 0);
  // The last keyframe loaded leaves its grid settings behind.
  EXPECT_EQ(GridSettings().dX, 0);
  ASSERT_EQ(host.Infos.size(), 1u);
  const std::string& r = host.Infos[0];
  EXPECT_NE(r.find(" [KEY1]: , NoOfFormula (1000 or 1001,1002,1003,149,152,201,202,203,204,205,"
                   "206,207,208), PictNameOrNotice, Degree, Accurate, HeightY, MidPointY,"),
            std::string::npos);
  EXPECT_NE(r.find(" [KEY2]: , NoOfFormula"), std::string::npos);
  EXPECT_NE(r.find(", FactorPerPictFor*"), std::string::npos);
  EXPECT_EQ(r.find("WidthX"), std::string::npos);
  EXPECT_EQ(r.find("KeyNr"), std::string::npos);
  EXPECT_EQ(m->Run, "OK");

  TScriptedHost quiet;
  auto one = FromText("[OUTPUT]\nFileName=x\n[KEYS]\nCount=1\nActual=1\n[KEY1]\n", quiet);
  EXPECT_EQ(quiet.Infos[0].substr(0, std::string(kRepairedDe).size()), kRepairedDe);
}

TEST(Movie, KeyframeCountsAndSectionNames) {
  ResetProcessState();
  SetUiLanguage(TLanguage::German);
  const std::string head = "[OUTPUT]\n[KEYS]\nCount=2\nActual=1\n";
  const std::string three = "[KEY5]\nDegree=5\n[KEYS]\n[key1]\n[KEYA]\nDegree=6\n[KEY]\nDegree=7\n";
  {
    TScriptedHost host;
    host.Answers = {true};
    auto m = FromText(head + three, host);
    EXPECT_EQ(m->Count, 3);
    EXPECT_EQ(host.Questions.size(), 1u);
    EXPECT_EQ(m->Parameter[1].Degree, 5);
    EXPECT_EQ(m->Parameter[3].Degree, 7);
    EXPECT_NE(host.Infos.back().find(" [KEY3]: , Count auf Count=3 vergr\xF6\xDF" "ert."),
              std::string::npos);
  }
  {
    TScriptedHost host;
    host.Answers = {false};
    auto m = FromText(head + three + "[KEY9]\n", host);
    EXPECT_EQ(m->Count, 2);
    EXPECT_EQ(host.Questions.size(), 1u);
    EXPECT_EQ(host.Infos[0], "Die KEYs ab Count=3 werden ignoriert.");
    EXPECT_EQ(m->Parameter.size(), 3u);
  }
  {
    TScriptedHost host;
    auto m = FromText("[OUTPUT]\n[KEYS]\nCount=5\nActual=5\n" + three, host);
    EXPECT_EQ(m->Count, 3);
    EXPECT_EQ(m->Actual, 3);
    EXPECT_EQ(host.Infos[0],
              "Es sind weniger KEY vorhanden, als in Count eingestellt. Count wird auf Count=3 "
              "verkleinert.");
  }
  {
    // Count below 0 counts as 0; declining every section leaves no keyframe.
    TScriptedHost host;
    host.Answers = {false};
    auto m = FromText("[OUTPUT]\n[KEYS]\nCount=-3\nActual=1\n" + three, host);
    EXPECT_EQ(m->Count, 0);
    EXPECT_EQ(m->Actual, 0);
    EXPECT_EQ(m->GetActualParameter(), nullptr);
    EXPECT_EQ(m->SaveInsert(1, "", "", host), 0);
  }
  {
    // A key twice, a second [OUTPUT]: the first counts.
    TScriptedHost host;
    auto m = FromText("[OUTPUT]\nWidth=100\nWidth=200\n[OUTPUT]\nWidth=300\n[KEYS]\nCount=1\n[KEY1]\n"
                      "Degree=1\nDegree=2\n",
                      host);
    EXPECT_EQ(m->OutputWidth, 100);
    EXPECT_EQ(m->Parameter[1].Degree, 1);
    EXPECT_EQ(m->Actual, 1);
  }
}

TEST(Movie, HugeCountsAndSizesStayBounded) {
  ResetProcessState();
  TScriptedHost host;
  auto m = FromText("[OUTPUT]\nWidth=0\nHeight=-7\n[KEYS]\nCount=2147483647\nActual=2147483647\n"
                    "[KEY1]\n",
                    host);
  EXPECT_EQ(m->Count, 1);
  EXPECT_EQ(m->Actual, 1);
  EXPECT_EQ(m->OutputWidth, 8);
  EXPECT_EQ(m->OutputHeight, 8);
  EXPECT_EQ(m->Parameter.size(), 2u);

  std::string many = "[OUTPUT]\n[KEYS]\nCount=0\n";
  for (int i = 0; i < 200000; ++i) many += "[KEY]\n";
  TScriptedHost yes;
  auto big = FromText(many, yes);
  EXPECT_EQ(big->Count, 100000);
  EXPECT_EQ(yes.Questions.size(), 100000u);
  EXPECT_LT(yes.Infos[0].size(), 20000u);  // the repair text is cut
}

TEST(Movie, SectionsBeyondTheKeyframeBoundAreIgnoredWithAMessage) {
  // A Count above the bound once let every section be stored past the array.
  ResetProcessState();
  SetUiLanguage(TLanguage::English);
  std::string many = "[OUTPUT]\n[KEYS]\nCount=150000\nActual=150000\n";
  for (int i = 0; i < 120000; ++i) many += "[KEY]\n";
  TScriptedHost host;
  auto m = FromText(many, host);
  EXPECT_EQ(m->Count, kMaxKeyframes);
  EXPECT_EQ(m->Actual, kMaxKeyframes);
  EXPECT_EQ(m->Parameter.size(), static_cast<size_t>(kMaxKeyframes) + 1);
  EXPECT_TRUE(host.Questions.empty());
  ASSERT_FALSE(host.Infos.empty());
  EXPECT_EQ(host.Infos.back(), "The movie has more than 100000 KEYs; the others are ignored.");
  EXPECT_FALSE(m->AddParameter(TParameter{}));
  EXPECT_EQ(m->Count, kMaxKeyframes);
}

void ExpectSameStoredFields(const TParameter& a, const TParameter& b) {
  EXPECT_EQ(a.GameNo, b.GameNo);
  EXPECT_EQ(a.FileNameKey, b.FileNameKey);
  EXPECT_EQ(a.bry, b.bry);
  EXPECT_EQ(a.vsx, b.vsx);
  EXPECT_EQ(a.vsy, b.vsy);
  EXPECT_EQ(a.Degree, b.Degree);
  EXPECT_EQ(a.julia, b.julia);
  EXPECT_EQ(a.CCx, b.CCx);
  EXPECT_EQ(a.CCy, b.CCy);
  EXPECT_EQ(a.Param1, b.Param1);
  EXPECT_EQ(a.Param2, b.Param2);
  EXPECT_EQ(a.Param3to10, b.Param3to10);
  EXPECT_EQ(a.par, b.par);
  EXPECT_EQ(a.Accurate, b.Accurate);
  EXPECT_EQ(a.ianzmax, b.ianzmax);
  EXPECT_EQ(a.maxabs, b.maxabs);
  EXPECT_EQ(a.zyctest, b.zyctest);
  EXPECT_EQ(a.SelectPictureL, b.SelectPictureL);
  EXPECT_EQ(a.farbtabL, b.farbtabL);
  EXPECT_EQ(a.ColShiftL, b.ColShiftL);
  EXPECT_EQ(a.factL, b.factL);
  EXPECT_EQ(a.TextOutputList, b.TextOutputList);
  EXPECT_EQ(a.Filter, b.Filter);
  EXPECT_EQ(a.Grid, b.Grid);
  EXPECT_EQ(a.LinesColor, b.LinesColor);
  EXPECT_EQ(a.LinesThick, b.LinesThick);
  EXPECT_EQ(a.GridSizes, b.GridSizes);
  EXPECT_EQ(a.FixedImageSeconds, b.FixedImageSeconds);
  EXPECT_EQ(a.DoCalculate, b.DoCalculate);
  EXPECT_EQ(a.Seconds, b.Seconds);
  EXPECT_EQ(a.FactorPerPict, b.FactorPerPict);
  EXPECT_EQ(a.InterpolationList, b.InterpolationList);
}

TEST(Movie, SaveThenLoadGivesBackEveryStoredField) {
  auto dir = test::ScratchDir("MovieRoundTrip");
  std::filesystem::create_directory(dir / "INI");
  TScriptedHost host;
  auto m = TParameterAnim::Create("INI\\", "r.ini", host);
  m->OutputWidth = 640;
  m->OutputHeight = 480;
  m->Scale = 0.3;
  m->FileName = Latin1("Bild Ä");
  m->User = "someone";
  for (int i = 1; i <= 3; ++i) {
    TParameter p;
    p.GameNo = 200 + i;
    p.FileNameKey = "name " + std::to_string(i);
    p.bry = 1.0 / (3 * i);
    p.vsx = -0.7436438870371587;
    p.vsy = 0.1318259042053119 * i;
    p.Degree = 33.3;
    p.julia = 1;
    p.CCx = 1e-300;
    p.CCy = -2.5e17;
    p.Param1 = 0.1;
    p.Param2 = 1e-5;
    p.Param3to10 = "1,2,3";
    p.par = 3.14159;
    p.Accurate = static_cast<double>(0.0001f);
    p.ianzmax = 5000;
    p.maxabs = 1e9;
    p.zyctest = 7;
    p.SelectPictureL = "1:2";
    p.farbtabL = "4:5:6:7";
    p.ColShiftL = "1000";
    p.factL = "(100,0.5,2,300):200";
    p.TextOutputList = "(10,50%,Zoom ,HeightY,3,2)";
    p.Filter = "3";
    p.Grid = "G,M";
    p.LinesColor = "$FF0000FF,-1";
    p.LinesThick = "1,2";
    p.GridSizes = "1.0,1.0,-1,-1,2,1,1,50.0,50.0,1";
    p.FixedImageSeconds = 1.5;
    p.DoCalculate = 0;
    p.Seconds = 4.25;
    p.FactorPerPict = static_cast<double>(1.01f);
    p.InterpolationList = "(HeightY,*)";
    m->AddParameter(p);
  }
  m->Actual = 2;
  m->WidthHeightEinstellen();
  EXPECT_EQ(m->Parameter[1].brx, m->Parameter[1].bry * (640.0 / 480));
  m->Parameter[2].KeyNr = 2;
  ASSERT_EQ(m->Save("", "", host), 1);
  TScriptedHost loadHost;
  auto back = TParameterAnim::Load("INI\\", "r.ini", loadHost);
  EXPECT_TRUE(loadHost.Infos.empty());
  EXPECT_TRUE(loadHost.Posted.empty());
  EXPECT_EQ(back->Run, "OK");
  EXPECT_EQ(back->OutputWidth, 640);
  EXPECT_EQ(back->OutputHeight, 480);
  EXPECT_EQ(back->Scale, 0.3);
  EXPECT_EQ(back->FileName, m->FileName);
  EXPECT_EQ(back->Web, m->Web);
  EXPECT_EQ(back->Email, m->Email);
  EXPECT_EQ(back->Author, m->Author);
  EXPECT_EQ(back->User, "someone");
  EXPECT_EQ(back->Count, 3);
  EXPECT_EQ(back->Actual, 2);
  for (int i = 1; i <= 3; ++i) {
    ExpectSameStoredFields(m->Parameter[i], back->Parameter[i]);
    EXPECT_EQ(back->Parameter[i].KeyNr, i);
    EXPECT_EQ(back->Parameter[i].vsp, m->Parameter[i].vsx);
    EXPECT_EQ(back->Parameter[i].brx, m->Parameter[i].bry * 640 / 480);
    EXPECT_EQ(back->Parameter[i].User, "someone");
  }
  // Loading and saving again is stable byte for byte (the first save had
  // KeyNr 0 in keyframes 1 and 3 and brx computed division first).
  ASSERT_EQ(back->Save("", "s.ini", loadHost), 1);
  auto again = TParameterAnim::Load("INI\\", "s.ini", loadHost);
  ASSERT_EQ(again->Save("", "t.ini", loadHost), 1);
  std::ifstream a(dir / "INI" / "s.ini", std::ios::binary), b(dir / "INI" / "t.ini", std::ios::binary);
  std::string ta((std::istreambuf_iterator<char>(a)), {}), tb((std::istreambuf_iterator<char>(b)), {});
  EXPECT_EQ(ta, tb);
  EXPECT_NE(ta.find("Accurate=9.9999997473787516e-005\r\n"), std::string::npos);
  EXPECT_NE(ta.find("[KEYS]\r\nCount=3\r\nActual=2\r\n\r\n[KEY1]\r\nNoOfFormula=201\r\n"),
            std::string::npos);
}

TEST(Movie, InsertAndDeleteWriteRenumberedFiles) {
  auto dir = test::ScratchDir("MovieInsertDelete");
  TScriptedHost host;
  auto m = TParameterAnim::Create("", "m.ini", host);
  for (int i = 1; i <= 3; ++i) {
    TParameter p;
    p.Degree = i;
    p.KeyNr = i;
    m->AddParameter(p);
  }
  m->Actual = 2;
  ASSERT_EQ(m->SaveInsert(1, "", "ins.ini", host), 1);
  EXPECT_EQ(ShownKeys().LastKeyM1, 3);
  EXPECT_EQ(m->Count, 3);
  std::string f = "ins.ini";
  auto ini = TINI::Load("", f, host);
  EXPECT_EQ(ini->Find("KEYS")->Find("Count")->Value, "4");
  EXPECT_EQ(ini->Find("KEYS")->Find("Actual")->Value, "3");
  const char* degrees[] = {"", "1", "2", "2", "3"};
  const char* keyNrs[] = {"", "1", "2", "2", "3"};
  for (int j = 1; j <= 4; ++j) {
    const TINIGroup* g = ini->Find("KEY" + std::to_string(j));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Find("Degree")->Value.substr(0, 1), degrees[j]);
    EXPECT_EQ(g->Find("KeyNr")->Value, keyNrs[j]);
  }

  m->Actual = 1;
  ShownKeys().LastKeyM1 = 0;
  ASSERT_EQ(m->SaveDeleteActual("", "del.ini", host), 1);
  f = "del.ini";
  ini = TINI::Load("", f, host);
  EXPECT_EQ(ini->Find("KEYS")->Find("Count")->Value, "2");
  EXPECT_EQ(ini->Find("KEYS")->Find("Actual")->Value, "1");
  EXPECT_EQ(ini->Find("KEY1")->Find("KeyNr")->Value, "2");
  EXPECT_EQ(ini->Find("KEY2")->Find("KeyNr")->Value, "3");
  EXPECT_EQ(ini->Find("KEY3"), nullptr);
  EXPECT_EQ(ShownKeys().LastKeyM1, 0);
  m->Actual = 3;
  ASSERT_EQ(m->SaveDeleteActual("", "del.ini", host), 1);
  ini = TINI::Load("", f, host);
  EXPECT_EQ(ini->Find("KEYS")->Find("Actual")->Value, "2");
  EXPECT_EQ(ShownKeys().LastKeyM1, 2);

  auto single = TParameterAnim::Create("", "one.ini", host);
  single->AddParameter(TParameter{});
  single->Actual = 1;
  EXPECT_EQ(single->SaveDeleteActual("", "", host), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "one.ini"));
}

TEST(Movie, CurrentKeyframeCopyAndAdd) {
  TScriptedHost host;
  auto m = TParameterAnim::Create("P\\", "f.ini", host);
  EXPECT_EQ(host.Diagnostics.back(), "TParameterAnim.Create 'P\\f.ini'");
  EXPECT_EQ(m->OutputWidth, 768);
  EXPECT_EQ(m->Web.substr(0, 7), "http://");
  EXPECT_EQ(m->GetActualParameter(), nullptr);
  TParameter p;
  p.brxfollow = 5;
  m->AddParameter(p);
  m->AddParameter(p);
  m->Actual = 1;
  EXPECT_EQ(m->GetActualParameter()->brxfollow, 5);
  m->Actual = 2;
  EXPECT_EQ(m->GetActualParameter()->brxfollow, 0);
  m->ActualJulia = 9;
  m->FensterCol = 3;
  auto c = m->Copy();
  EXPECT_EQ(c->Count, 2);
  EXPECT_EQ(c->ActualJulia, 2);
  EXPECT_EQ(c->FensterCol, 0);
  c->Parameter[1].InterpP[4] = 3;
  EXPECT_EQ(m->Parameter[1].InterpP[4], 0);
  m->AddParameter(m->Parameter[1]);  // adding a keyframe of the movie itself
  EXPECT_EQ(m->Count, 3);
  EXPECT_EQ(m->Parameter[3].brxfollow, 5);
}

}  // namespace
}  // namespace ork
