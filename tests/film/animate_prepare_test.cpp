#include "film/animate_prepare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "film/interpolation.h"
#include "model/ini_store.h"
#include "model/language.h"
#include "model/paths.h"
#include "film/film_host.h"

namespace ork {
namespace {

using test::TFilmHost;

// A movie read from file text: every key gets the given lines and a
// common base (formula 1, HeightY 4, DoCalculate 1).
std::unique_ptr<TParameterAnim> MakeMovie(const std::vector<std::string>& keys, int actual = 1,
                                          const std::string& header = "") {
  std::string text = "[OUTPUT]\nWidth=768\nHeight=576\nFileName=Spirale\nUser=Tester\n" + header +
                     "[KEYS]\nCount=" + std::to_string(keys.size()) +
                     "\nActual=" + std::to_string(actual) + "\n";
  for (size_t i = 0; i < keys.size(); ++i)
    // The first of two equal keys counts, so the key's own lines come first.
    text += "[KEY" + std::to_string(i + 1) + "]\n" + keys[i] +
            "\nNoOfFormula=1\nHeightY=4\nMidPointX=0\nDoCalculate=1\n";
  auto ini = TINI::FromBytes("INI\\", "Spirale.ini", text);
  return TParameterAnim::FromIni(*ini, "INI\\", "Spirale.ini", QuietHost());
}

std::unique_ptr<TINI> Settings(int fps, bool preview = false, int width = 70) {
  std::string text = "[AnimMode]\nPreview=" + std::string(preview ? "1" : "0") +
                     "\n[Anim]\nFPS=" + std::to_string(fps) +
                     "\nJPG=1\nPNG=0\nBMP=0\nAVI=1\n[AnimPreview]\nFPS=" + std::to_string(fps) +
                     "\nPNG=0\nJPG=0\nBMP=0\nAVI=1\nWidth=" + std::to_string(width) + "\n";
  return TINI::FromBytes("", "Settings.ini", text);
}

class AnimatePrepareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::FilmScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetUiLanguage(TLanguage::German);
  }
  void TearDown() override {
    SetUiLanguage(TLanguage::German);
    std::filesystem::remove_all(dir_);
    SetWorkDir(".");
  }
  std::filesystem::path dir_;
  TFilmHost host_;
};

TEST(FrameNames, CountersAndPadding) {
  EXPECT_EQ(FrameName("Spirale", 1, 1), "Spirale-Anim-S00001-F01");
  EXPECT_EQ(PadZeros(1234567, 5), "1234567") << "longer numbers are not cut";
  EXPECT_EQ(PadZeros(7, 2), "07");
  TFrameCounter c;
  for (int i = 0; i < 25; ++i) c.Advance(25);
  EXPECT_EQ(c.C, 1);
  EXPECT_EQ(c.B, 25);
  c.Advance(25);
  EXPECT_EQ(FrameName("Spirale", c.C, c.B), "Spirale-Anim-S00002-F01") << "frame 26 at F = 25";
  EXPECT_EQ(c.T, 26);
}

TEST_F(AnimatePrepareTest, TwoSecondsAtTwentyFiveGiveFortyNineLinearFrames) {
  auto movie = MakeMovie({"SecondsFor+=2\nInterpolationList=(HeightY,+):(MidPointX,+)",
                          "HeightY=1\nMidPointX=4.8"});
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_EQ(film->Count, 49);
  ASSERT_EQ(film->Parameter.size(), 50u);
  EXPECT_EQ(film->Actual, 1);
  EXPECT_EQ(film->FileName, "Spirale");
  EXPECT_EQ(film->User, "Tester");
  EXPECT_EQ(film->Run, "OK");
  EXPECT_EQ(film->Path + film->File, "Output\\Spirale-Animation.ini");
  for (int j = 0; j <= 48; ++j) {
    const TParameter& p = film->Parameter[j + 1];
    const double x = j / 48.0;
    EXPECT_DOUBLE_EQ(p.bry, 4 + x * (1 - 4)) << j;
    EXPECT_DOUBLE_EQ(p.vsx, x * 4.8) << j;
    EXPECT_DOUBLE_EQ(p.brx, p.bry * 768 / 576) << j;
    EXPECT_EQ(p.DoCalculate, 1) << j;
    EXPECT_EQ(p.OutputWidth, 768);
  }
  EXPECT_EQ(film->Parameter[1].FileNameKey, "Spirale-Anim-S00001-F01");
  EXPECT_EQ(film->Parameter[25].FileNameKey, "Spirale-Anim-S00001-F25");
  EXPECT_EQ(film->Parameter[26].FileNameKey, "Spirale-Anim-S00002-F01");
  EXPECT_EQ(film->Parameter[49].FileNameKey, "Spirale-Anim-S00002-F24");
  EXPECT_TRUE(host_.Infos.empty());
  EXPECT_TRUE(host_.Questions.empty());
  EXPECT_EQ(host_.Diagnostics.front(), "Animate Prepare");

  // The film movie was saved and reads back with one key per frame.
  const auto saved = dir_ / "Output" / "Spirale-Animation.ini";
  ASSERT_TRUE(std::filesystem::exists(saved));
  auto back = TParameterAnim::Load("Output\\", "Spirale-Animation.ini", QuietHost());
  EXPECT_EQ(back->Count, 49);
  EXPECT_EQ(back->Parameter[49].FileNameKey, "Spirale-Anim-S00002-F24");
  EXPECT_DOUBLE_EQ(back->Parameter[49].bry, 1);
}

TEST_F(AnimatePrepareTest, ShortIntervalStillFramesHoldFramesAndComputeFlags) {
  // Key 1: 0.04 s (n = 1, raised to 2: one frame at x = 0). Key 2: one
  // second of still picture before its interval. Key 3: every frame held
  // 0.2 s. Key 4: DoCalculate 0. Key 5 only ends the last interval.
  auto movie = MakeMovie({"SecondsFor+=0.04\nInterpolationList=(HeightY,+)",
                          "HeightY=3\nFixedImageSeconds=1\nSecondsFor+=0.2\n"
                          "InterpolationList=(HeightY,+)",
                          "HeightY=2\nFixedImageSeconds=-0.2\nSecondsFor+=0.12\n"
                          "InterpolationList=(HeightY,+)",
                          "HeightY=1\nSecondsFor+=0.2\nDoCalculate=0\nInterpolationList=(HeightY,+)",
                          "HeightY=0.5"});
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  // 1 + (25 + 4) + 2 * 6 + 4 frames.
  ASSERT_EQ(film->Count, 1 + 29 + 12 + 4);
  std::vector<int> compute;
  std::vector<double> height;
  for (int i = 1; i <= film->Count; ++i) {
    compute.push_back(film->Parameter[i].DoCalculate);
    height.push_back(film->Parameter[i].bry);
  }
  EXPECT_DOUBLE_EQ(height[0], 4) << "the short interval's frame is its start key";
  // Still frames of key 2: 25 frames of its own picture, only the first computed.
  for (int i = 1; i <= 25; ++i) {
    EXPECT_DOUBLE_EQ(height[i], 3);
    EXPECT_EQ(compute[i], i == 1 ? 1 : 0) << i;
    EXPECT_DOUBLE_EQ(film->Parameter[i + 1].FixedImageSeconds, 1);
  }
  EXPECT_EQ(movie->Parameter[2].DoCalculate, 1) << "the key's own flag stays";
  // Key 2's interval: n = 5, four frames from 3 to 2.
  const double k2[] = {3, 3 - 1.0 / 3, 3 - 2.0 / 3, 2};
  for (int j = 0; j < 4; ++j) {
    EXPECT_DOUBLE_EQ(height[26 + j], k2[j]);
    EXPECT_EQ(compute[26 + j], 1);
    EXPECT_EQ(film->Parameter[27 + j].FixedImageSeconds, 0);
  }
  // Key 3: n = 3, two frames, each followed by five hold frames.
  for (int j = 0; j < 2; ++j) {
    EXPECT_DOUBLE_EQ(height[30 + 6 * j], j == 0 ? 2 : 1);
    EXPECT_EQ(compute[30 + 6 * j], 1);
    for (int i = 1; i <= 5; ++i) {
      EXPECT_EQ(compute[30 + 6 * j + i], 0);
      EXPECT_DOUBLE_EQ(height[30 + 6 * j + i], height[30 + 6 * j]);
    }
  }
  // Key 4 with DoCalculate 0: only its first frame is computed.
  EXPECT_EQ(std::vector<int>(compute.end() - 4, compute.end()), (std::vector<int>{1, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(height.back(), 0.5);
  // Names run on through every kind of frame.
  EXPECT_EQ(film->Parameter[26].FileNameKey, "Spirale-Anim-S00002-F01");
  EXPECT_EQ(film->Parameter[46].FileNameKey, "Spirale-Anim-S00002-F21");
}

TEST_F(AnimatePrepareTest, FactorDerivesTheIntervalLength) {
  auto movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=0.9\nInterpolationList=(HeightY,*)",
                          "HeightY=0.04"});
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  const double h = std::log(0.01) / std::log(0.9);  // about 43.7
  const double factor = std::pow(0.04 / 4, 1 / h);
  EXPECT_NEAR(movie->Parameter[1].Seconds, h / 25, 1e-12);
  EXPECT_NEAR(movie->Parameter[1].FactorPerPict, factor, 1e-12) << "the key keeps the factor used";
  ASSERT_EQ(film->Count, 43);  // n = 44
  double v = 4;
  for (int i = 1; i <= film->Count; ++i) {
    v *= factor;
    EXPECT_NEAR(film->Parameter[i].bry, v, 1e-12) << "one factor step per frame, from the first";
  }
  EXPECT_TRUE(host_.Infos.empty());
  EXPECT_NE(std::find(host_.Diagnostics.begin(), host_.Diagnostics.end(),
                      "Animation 595 PlusMal=2"),
            host_.Diagnostics.end());
}

TEST_F(AnimatePrepareTest, MessagesAndQuestionsOfTheFactorRules) {
  // No time, no factor: the question; OK sets 1.01, the "+" marks then give
  // ln 0.5 / ln (1 / 1.01) frames and the derived time is shown.
  auto movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=0\nInterpolationList=(HeightY,+)", "HeightY=2"});
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0],
            "SecondsFor+ = 0.0 und FactorPerPictFor* = 0.0, es wird ersatzweise auf 1.01 gesetzt");
  const double h = std::log(0.5) / std::log(1 / 1.01);
  EXPECT_EQ(film->Count, static_cast<int>(h + 0.5) - 1);
  ASSERT_EQ(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0].rfind("KEY1: SecondsFor+ wurde auf 2.78", 0), 0u) << host_.Infos[0];
  EXPECT_EQ(host_.Infos[0].substr(host_.Infos[0].size() - 8), " gesetzt");
  EXPECT_EQ(movie->Parameter[1].FactorPerPict, 0) << "the longer '+' time wins";

  // Cancel abandons: Count 1 with one record, nothing saved.
  std::filesystem::remove(dir_ / "Output" / "Spirale-Animation.ini");
  host_ = TFilmHost();
  host_.Answers = {false};
  movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=0\nInterpolationList=(HeightY,+)", "HeightY=2"});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 1);
  EXPECT_EQ(film->Parameter.size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Output" / "Spirale-Animation.ini"));

  // A factor but no marks at all: too few frames, abandoned.
  host_ = TFilmHost();
  movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=0.9", "HeightY=2"});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 1);
  ASSERT_EQ(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0],
            "Zu wenige Frames: 0.0000000000000000 bei KEY 1. Eventuell H\xE4kchen vergessen.");

  // "*" only and less than two frames: message, one frame, goes on.
  host_ = TFilmHost();
  SetUiLanguage(TLanguage::English);
  movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=0.5\nInterpolationList=(HeightY,*)", "HeightY=3.99"});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_EQ(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0],
            "Too few frames: 1.0000000000000000 to KEY 1. You may tick forgotten or "
            "FactorPerPictFor* is wrong.");
  EXPECT_DOUBLE_EQ(movie->Parameter[1].Seconds, 1.0 / 25);
  EXPECT_EQ(film->Count, 1);

  // A factor of exactly 1 implies no length: the same message instead of
  // an endless film.
  host_ = TFilmHost();
  movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=1\nInterpolationList=(HeightY,*)", "HeightY=2"});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_EQ(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0].rfind("Too few frames: 0.0000", 0), 0u);

  // A zero value of a "*" parameter: message, 50 frames, and the parameter
  // runs linearly from 0 instead of staying 0.
  host_ = TFilmHost();
  movie = MakeMovie({"SecondsFor+=0\nFactorPerPictFor*=0.9\nInterpolationList=(MidPointX,*)", "MidPointX=2"});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_GE(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0].rfind("At the start or end value zero", 0), 0u);
  ASSERT_EQ(film->Count, 49);
  EXPECT_DOUBLE_EQ(film->Parameter[1].vsx, 0);
  EXPECT_DOUBLE_EQ(film->Parameter[49].vsx, 2);
}

TEST_F(AnimatePrepareTest, AbandonedPreparations) {
  // Different formulas.
  auto movie = MakeMovie({"SecondsFor+=1", "NoOfFormula=3"});
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 1);
  ASSERT_EQ(film->Parameter.size(), 2u);
  ASSERT_EQ(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0],
            "KEY1: NoOfFormula=1, KEY2: NoOfFormula=3. Interpolation zwischen KEYs verschiedener "
            "NoOfFormula nicht m\xF6glich.");

  // A blur filter: the question; Cancel abandons, without a second message.
  host_ = TFilmHost();
  host_.Answers = {false};
  movie = MakeMovie({"SecondsFor+=1\nFilter=1", ""});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 1);
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].rfind("Hinweis: Im Film wird ein Filter", 0), 0u);
  EXPECT_TRUE(host_.Infos.empty());

  // An absurd length is refused before any frame is built.
  host_ = TFilmHost();
  movie = MakeMovie({"SecondsFor+=1e12", ""});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 1);
  ASSERT_EQ(host_.Infos.size(), 1u);
  EXPECT_EQ(host_.Infos[0].rfind("Zu viele Frames", 0), 0u);
  host_ = TFilmHost();
  movie = MakeMovie({"SecondsFor+=1\nFixedImageSeconds=-1e9", ""});
  EXPECT_EQ(AnimatePrepare(1, *movie, *Settings(25), host_)->Count, 1);

  // A movie with one key: no frames, nothing saved, no message.
  host_ = TFilmHost();
  movie = MakeMovie({"SecondsFor+=1"});
  film = AnimatePrepare(1, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 0);
  EXPECT_TRUE(host_.Infos.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Output" / "Spirale-Animation.ini"));
}

TEST_F(AnimatePrepareTest, StartKeyQuestionAndCurrentKeyKept) {
  auto movie = MakeMovie({"SecondsFor+=0.2\nInterpolationList=(HeightY,+)",
                          "HeightY=3\nSecondsFor+=0.2\nInterpolationList=(HeightY,+)",
                          "HeightY=2"},
                         2);
  auto film = AnimatePrepare(2, *movie, *Settings(25), host_);
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0],
            "Achtung! Film von Movie 2 startet bei KEY 2. Ist das OK ? Bei Abbrechen zur\xFC"
            "ck auf KEY1.");
  EXPECT_EQ(film->Count, 4);
  EXPECT_DOUBLE_EQ(film->Parameter[1].bry, 3);
  EXPECT_EQ(movie->Actual, 2);

  host_ = TFilmHost();
  host_.Answers = {false};
  film = AnimatePrepare(2, *movie, *Settings(25), host_);
  EXPECT_EQ(film->Count, 8) << "Cancel: from key 1";
  EXPECT_DOUBLE_EQ(film->Parameter[1].bry, 4);
  EXPECT_EQ(movie->Actual, 2) << "the source keeps its current key";
}

TEST_F(AnimatePrepareTest, PreviewFilmSizeScaleAndName) {
  auto movie = MakeMovie({"SecondsFor+=0.2\nInterpolationList=(HeightY,+)", "HeightY=3"});
  auto film = AnimatePrepare(1, *movie, *Settings(10, true, 70), host_);
  EXPECT_EQ(film->OutputWidth, 70);
  EXPECT_EQ(film->OutputHeight, 52);
  EXPECT_DOUBLE_EQ(film->Scale, 768.0 / 70);
  EXPECT_EQ(film->FileName, "Spirale-Preview");
  ASSERT_EQ(film->Count, 1) << "n = 2 at 10 frames per second";
  EXPECT_EQ(film->Parameter[1].OutputWidth, 70);
  EXPECT_EQ(film->Parameter[1].FileNameKey, "Spirale-Preview-Anim-S00001-F01");

  // A width above the source keeps the source size; 0 frames per second
  // counts as 1.
  auto big = AnimatePrepare(1, *movie, *Settings(0, true, 5000), host_);
  EXPECT_EQ(big->OutputWidth, 768);
  EXPECT_EQ(big->OutputHeight, 576);
  EXPECT_DOUBLE_EQ(big->Scale, 1);
  EXPECT_EQ(big->Count, 1);
}

TEST_F(AnimatePrepareTest, IntegerParametersStepRuleAndColourList) {
  auto movie = MakeMovie({"SecondsFor+=0.44\nColTabNo=1:7\nCycleTest=0\nMax_Iterat=100\n"
                          "InterpolationList=(ColTabNo,+):(CycleTest,+abc2=0):(Max_Iterat,+)",
                          "ColTabNo=11\nCycleTest=10\nMax_Iterat=100"});
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_EQ(film->Count, 10);  // n = 11, x = j / 9
  for (int j = 0; j < 10; ++j) {
    const TParameter& p = film->Parameter[j + 1];
    const int lin = static_cast<int>(10 * (j / 9.0));
    EXPECT_EQ(p.Cfarbtab[0], 1 + lin) << j;
    EXPECT_EQ(p.farbtabL, std::to_string(1 + lin) + ":7:1:1")
        << "the list text follows the interpolated first entry";
    // Only even cycle-test values are taken.
    EXPECT_EQ(p.zyctest % 2, 0) << j;
    EXPECT_EQ(p.ianzmax, 100);
    // Max_Iterat does not change, ColTabNo does: every frame is computed.
    EXPECT_EQ(p.DoCalculate, 1);
  }
  EXPECT_EQ(film->Parameter[10].zyctest, 10);
}

}  // namespace
}  // namespace ork
