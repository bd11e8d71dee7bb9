#include "film/deep_interpolation.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>

#include "engine/deep/deep_coordinates.h"
#include "film/animate_prepare.h"
#include "film/film_host.h"
#include "model/ini_store.h"
#include "model/language.h"
#include "model/paths.h"

namespace ork {
namespace {

using deep::TBigFloat;
using test::TFilmHost;

// Two keys of a zoom film: key 1 as given, key 2 at the given height,
// both at the given centre; "*" on HeightY.
std::unique_ptr<TParameterAnim> ZoomMovie(const std::string& key1, const std::string& key2,
                                          THost& host) {
  const std::string text =
      "[OUTPUT]\nWidth=40\nHeight=30\nFileName=Deep\nUser=Tester\n[KEYS]\nCount=2\nActual=1\n"
      "[KEY1]\n" + key1 +
      "\nNoOfFormula=1000\nHeightY=2.5\nInterpolationList=(HeightY,*)\nDoCalculate=1\n"
      "FactorPerPictFor*=0\n[KEY2]\n" + key2 + "\nNoOfFormula=1000\nDoCalculate=1\n";
  auto ini = TINI::FromBytes("INI\\", "Deep.ini", text);
  return TParameterAnim::FromIni(*ini, "INI\\", "Deep.ini", host);
}

std::unique_ptr<TINI> Settings(int fps) {
  return TINI::FromBytes("", "Settings.ini",
                         "[AnimMode]\nPreview=0\n[Anim]\nFPS=" + std::to_string(fps) +
                             "\nJPG=0\nPNG=0\nBMP=0\nAVI=0\n");
}

double Log10(const TParameter& k, const std::string TParameter::*text, double TParameter::*v) {
  int64_t e = 0;
  const double m = deep::LongOr(k.*text, k.*v).Frexp(e);
  return (std::log2(m) + static_cast<double>(e)) * std::log10(2.0);
}

class DeepFilmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::FilmScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetUiLanguage(TLanguage::German);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    SetWorkDir(".");
  }
  std::filesystem::path dir_;
  TFilmHost host_;
};

TEST_F(DeepFilmTest, ZoomToTenToTheMinus300OverTwoThousandFramesIsSmooth) {
  auto movie = ZoomMovie("DeepZoom=1\nSecondsFor+=80", "DeepZoom=1\nHeightY=1e-300", host_);
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_, false);
  ASSERT_EQ(film->Count, 1999);
  double last = std::log10(2.5);
  double stepMin = 1, stepMax = -1;
  for (int i = 1; i <= film->Count; ++i) {
    const TParameter& p = film->Parameter[i];
    ASSERT_EQ(p.Deep, 1);
    ASSERT_EQ(p.DoCalculate, 1) << i;
    const double l = Log10(p, &TParameter::bryLong, &TParameter::bry);
    stepMin = std::min(stepMin, l - last);
    stepMax = std::max(stepMax, l - last);
    last = l;
  }
  // Every frame zooms by the same factor: (1e-300 / 2.5)^(1 / 2000).
  const double step = (-300 - std::log10(2.5)) / 2000;
  EXPECT_NEAR(stepMin, step, 1e-9);
  EXPECT_NEAR(stepMax, step, 1e-9);
}

TEST_F(DeepFilmTest, CentresKeepEveryDigitAndDeepFramesBeginAtTheDoubleLimit) {
  const std::string x = "-1.74995768370609350360221450607069970727110579726252077930242837820286";
  const std::string y = "0.00000000000000000000000000000000000000000000000000000000000000000001";
  // Key 1 computes with doubles, key 2 deep, 1e-1000 high: a height no
  // double holds.
  auto movie = ZoomMovie("SecondsFor+=10\nMidPointXLong=" + x + "\nMidPointYLong=" + y,
                         "DeepZoom=1\nHeightY=0\nHeightYLong=1e-1000\nMidPointXLong=" + x +
                             "\nMidPointYLong=" + y,
                         host_);
  ASSERT_EQ(movie->Parameter[1].vsxLong, x);
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_);
  ASSERT_EQ(film->Count, 249);
  bool sawShallow = false;
  for (int i = 1; i <= film->Count; ++i) {
    const TParameter& p = film->Parameter[i];
    EXPECT_EQ(p.vsxLong, x) << i;
    EXPECT_EQ(p.vsyLong, y) << i;
    // Computed deep exactly where a double computation would turn to blocks.
    EXPECT_EQ(p.Deep, deep::PastDoubleLimit(p) ? 1 : 0) << i;
    if (p.Deep == 0) sawShallow = true;
  }
  EXPECT_TRUE(sawShallow);
  EXPECT_EQ(film->Parameter[249].Deep, 1);
  EXPECT_EQ(film->Parameter[249].bry, DBL_MIN);
  EXPECT_NEAR(Log10(film->Parameter[249], &TParameter::bryLong, &TParameter::bry),
              std::log10(2.5) + (-1000 - std::log10(2.5)) * 249 / 250, 1e-6);

  // The film movie reads back with every digit.
  auto back = TParameterAnim::Load("Output\\", "Deep-Animation.ini", host_);
  ASSERT_EQ(back->Count, 249);
  for (int i = 1; i <= 249; i += 31) {
    EXPECT_EQ(back->Parameter[i].vsxLong, x);
    EXPECT_EQ(back->Parameter[i].bryLong, film->Parameter[i].bryLong);
    EXPECT_EQ(back->Parameter[i].Deep, film->Parameter[i].Deep);
  }
}

TEST_F(DeepFilmTest, FactorDerivesTheFrameCountOfAHeightBelowTheDoubleRange) {
  // 2.5 to 2.5e-1000 at 0.5 per frame: 1000 ln 10 / ln 2 frames.
  auto movie = ZoomMovie("DeepZoom=1\nSecondsFor+=0\nFactorPerPictFor*=0.5",
                         "DeepZoom=1\nHeightYLong=2.5e-1000", host_);
  auto film = AnimatePrepare(1, *movie, *Settings(25), host_, false);
  EXPECT_NEAR(movie->Parameter[1].Seconds * 25, 1000 * std::log2(10.0), 1e-6);
  EXPECT_EQ(film->Count, static_cast<int>(1000 * std::log2(10.0) + 0.5) - 1);
}

}  // namespace
}  // namespace ork
