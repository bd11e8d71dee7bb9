#include "film/animate_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine/allocation.h"
#include "film/animate_prepare.h"
#include "film/avi_check.h"
#include "film/film_command.h"
#include "film/film_host.h"
#include "film/texts.h"
#include "model/ini_store.h"
#include "model/language.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/grid_state.h"

namespace ork {
namespace {

namespace fs = std::filesystem;
using test::TFilmHost;

// A small movie: every key 32 x 24 pixels (unless the header says
// otherwise), the Mandelbrot formula with a low iteration limit.
std::unique_ptr<TParameterAnim> Movie(const std::string& name, const std::vector<std::string>& keys,
                                      int width = 32, int height = 24) {
  std::string text = "[OUTPUT]\nWidth=" + std::to_string(width) +
                     "\nHeight=" + std::to_string(height) + "\nFileName=" + name +
                     "\n[KEYS]\nCount=" + std::to_string(keys.size()) + "\nActual=1\n";
  for (size_t i = 0; i < keys.size(); ++i)
    text += "[KEY" + std::to_string(i + 1) + "]\n" + keys[i] +
            "\nNoOfFormula=1\nHeightY=2.5\nMidPointX=-0.5\nMax_Iterat=60\nColTabNo=1\n"
            "DoCalculate=1\nInterpolationList=(HeightY,+):(MidPointX,+)\n";
  auto ini = TINI::FromBytes("INI\\", name + ".ini", text);
  return TParameterAnim::FromIni(*ini, "INI\\", name + ".ini", QuietHost());
}

std::unique_ptr<TINI> Settings(const std::string& normal, const std::string& preview = "",
                               bool previewFilm = false) {
  std::string text = "[AnimMode]\nPreview=" + std::string(previewFilm ? "1" : "0") +
                     "\n[Anim]\nFPS=5\n" + normal + "\n[AnimPreview]\nFPS=5\nWidth=16\n" +
                     preview + "\n";
  return TINI::FromBytes("", "Settings.ini", text);
}

// The film host: records diagnostics and cancels on request.
class TRunHost : public TFilmHost {
 public:
  int PollCancel() override {
    ++polls;
    if (nextAnswer != 0) {
      const int a = nextAnswer;
      nextAnswer = 0;
      return a;
    }
    return cancelHeld ? -1 : 0;
  }
  int Calculations() const {
    return static_cast<int>(std::count(Diagnostics.begin(), Diagnostics.end(), "> Calculate "));
  }
  bool cancelHeld = false;
  int nextAnswer = 0;  // answer of the next poll only
  int polls = 0;
};

class TRecordingView : public TFilmView {
 public:
  void Begin(const std::string& text) override { begun.push_back(text); }
  void ShowFrame(TRender& render) override {
    ++shown;
    widths.push_back(render.Width);
    gridAuto.push_back(GridState().GridAutoMode);
    insertY.push_back(Composition().InsertPosY);
    if (onFrame) onFrame(shown);
  }
  void Progress(const std::string& text) override { progress.push_back(text); }
  void End() override { ++ended; }
  std::vector<std::string> begun, progress;
  std::vector<int> widths, gridAuto, insertY;
  int shown = 0, ended = 0;
  std::function<void(int)> onFrame;
};

class AnimateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::FilmScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetUiLanguage(TLanguage::German);
    Composition().CompositionMode = 1;
  }
  void TearDown() override {
    fs::remove_all(dir_);
    SetWorkDir(".");
    ResetProcessState();
  }
  std::vector<std::string> OutputFiles(const std::string& ext) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_ / "Output"))
      if (e.path().extension() == ext) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir_;
  TRunHost host_;
  TRecordingView view_;
};

TEST_F(AnimateRunTest, FilmIsWrittenAsNamedFramesAndOneCompleteAvi) {
  // 2 s at 5 frames per second: 9 frames with x = 0 ... 1.
  auto movie = Movie("Spirale", {"SecondsFor+=2", "HeightY=0.5\nMidPointX=-0.7"});
  auto settings = Settings("JPG=1\nPNG=0\nBMP=1\nAVI=1");
  auto film = AnimatePrepare(1, *movie, *settings, host_);
  ASSERT_EQ(film->Count, 9);
  ASSERT_TRUE(fs::exists(dir_ / "Output" / "Spirale-Animation.ini"));

  const TFilmRunResult r = AnimateRun(*film, *film, *settings, host_, view_);
  EXPECT_FALSE(r.Cancelled);
  EXPECT_FALSE(r.WriteFailed);
  EXPECT_EQ(r.FramesWritten, 9);
  EXPECT_EQ(r.FramesComputed, 9);
  EXPECT_EQ(host_.Calculations(), 9);
  EXPECT_EQ(film->Actual, 1) << "the first frame is current again";

  std::vector<std::string> expected;
  for (int b = 1; b <= 5; ++b) expected.push_back(FrameName("Spirale", 1, b) + ".jpg");
  for (int b = 1; b <= 4; ++b) expected.push_back(FrameName("Spirale", 2, b) + ".jpg");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(OutputFiles(".jpg"), expected);
  EXPECT_EQ(OutputFiles(".bmp").size(), 9u);
  EXPECT_TRUE(OutputFiles(".png").empty());

  ASSERT_EQ(r.AviFiles.size(), 1u);
  EXPECT_EQ(fs::path(r.AviFiles[0]).filename(), "Spirale-Anim-S00001-F01.avi");
  const test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes(r.AviFiles[0]));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.chunks, 9u);
  EXPECT_EQ(avi.width, 32u);
  EXPECT_EQ(avi.height, 24u);
  EXPECT_EQ(avi.microsPerFrame, 200000u);

  // Progress: M-RUN + i/last + the estimate left by the previous frame.
  ASSERT_EQ(view_.progress.size(), 9u);
  EXPECT_EQ(view_.begun.at(0), "Berechne Film ... Bild  (f\xfcr Abbruch Escape Taste halten)");
  EXPECT_EQ(view_.progress[0], "Berechne Film ... Bild 1/9  (f\xfcr Abbruch Escape Taste halten)");
  EXPECT_EQ(view_.progress[1].rfind("Berechne Film ... Bild 2/9 Rest Zeit ca. ", 0), 0u)
      << view_.progress[1];
  EXPECT_EQ(view_.ended, 1);
  EXPECT_EQ(host_.Diagnostics.back(), "Animate End");
  EXPECT_GE(host_.polls, 18) << "two polls per frame at least";
}

TEST_F(AnimateRunTest, FramesWithoutComputeFlagOnlyRecolour) {
  // Key 1: DoCalculate 0 (one computed frame for the interval), each frame
  // held for 0.4 s more (2 hold frames); key 2: 1 s still, then 4 frames.
  auto movie = Movie("Still", {"SecondsFor+=1\nDoCalculate=0\nFixedImageSeconds=-0.4",
                               "HeightY=1\nSecondsFor+=1\nFixedImageSeconds=1",
                               "HeightY=0.5"});
  auto settings = Settings("JPG=0\nPNG=0\nBMP=0\nAVI=1");
  auto film = AnimatePrepare(1, *movie, *settings, host_);
  ASSERT_GT(film->Count, 1);
  int flagged = 0;
  for (int i = 1; i <= film->Count; ++i) flagged += film->Parameter[i].DoCalculate != 0;

  const TFilmRunResult r = AnimateRun(*film, *film, *settings, host_, view_);
  EXPECT_EQ(r.FramesWritten, film->Count);
  EXPECT_EQ(r.FramesComputed, flagged);
  EXPECT_EQ(host_.Calculations(), flagged);
  EXPECT_LT(flagged, film->Count / 2) << "most frames repeat the last picture";

  // The repeated frames are the computed picture again, byte for byte.
  const auto bytes = test::ReadFileBytes(r.AviFiles.at(0));
  const test::TAviCheck avi = test::CheckAvi(bytes);
  ASSERT_TRUE(avi.ok) << avi.error;
  ASSERT_EQ(static_cast<int>(avi.chunks), film->Count);
  const size_t frame = 32 * 24 * 4 + 8;
  ASSERT_EQ(film->Parameter[2].DoCalculate, 0);
  const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(avi.firstChunkData);
  EXPECT_TRUE(std::equal(first, first + static_cast<std::ptrdiff_t>(frame - 8),
                         first + static_cast<std::ptrdiff_t>(frame)));
  // A still frame's progress line carries the last estimate and the mark.
  EXPECT_NE(view_.progress.at(2).find(" Standbild "), std::string::npos) << view_.progress[2];
}

TEST_F(AnimateRunTest, CancelKeepsTheWrittenFramesAndAValidAvi) {
  auto movie = Movie("Stop", {"SecondsFor+=4", "HeightY=0.5"});
  auto settings = Settings("JPG=1\nPNG=0\nBMP=0\nAVI=1");
  auto film = AnimatePrepare(1, *movie, *settings, host_);
  ASSERT_EQ(film->Count, 19);

  // Escape held from frame 4 on: frame 4 is still written (its first poll
  // only consumes the key), then the film stops.
  view_.onFrame = [&](int n) { if (n == 4) host_.cancelHeld = true; };
  TFilmRunResult r = AnimateRun(*film, *film, *settings, host_, view_);
  EXPECT_TRUE(r.Cancelled);
  EXPECT_EQ(r.FramesWritten, 4);
  EXPECT_EQ(OutputFiles(".jpg").size(), 4u);
  test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes(r.AviFiles.at(0)));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.chunks, 4u);
  EXPECT_EQ(avi.totalFrames, 4u) << "the header describes the frames present";

  // Held from the start: the first computation is cancelled, nothing is written.
  fs::remove_all(dir_ / "Output");
  fs::create_directories(dir_ / "Output");
  TRecordingView view2;
  host_.cancelHeld = true;
  r = AnimateRun(*film, *film, *settings, host_, view2);
  EXPECT_TRUE(r.Cancelled);
  EXPECT_EQ(r.FramesWritten, 0);
  EXPECT_TRUE(r.AviFiles.empty());
  EXPECT_TRUE(OutputFiles(".jpg").empty());

  // Q at frame 3: the frame shown is not written.
  fs::remove_all(dir_ / "Output");
  fs::create_directories(dir_ / "Output");
  host_.cancelHeld = false;
  TRecordingView view3;
  view3.onFrame = [&](int n) { if (n == 3) host_.nextAnswer = 1; };
  r = AnimateRun(*film, *film, *settings, host_, view3);
  EXPECT_TRUE(r.Cancelled);
  EXPECT_EQ(r.FramesWritten, 2);
  EXPECT_EQ(OutputFiles(".jpg").size(), 2u);
  avi = test::CheckAvi(test::ReadFileBytes(r.AviFiles.at(0)));
  EXPECT_TRUE(avi.ok && avi.chunks == 2u) << avi.error;
}

TEST_F(AnimateRunTest, FirstFileThatCannotBeWrittenStopsTheFilmWithItsReason) {
  auto movie = Movie("Fehler", {"SecondsFor+=6", "HeightY=0.5"});
  auto settings = Settings("JPG=0\nPNG=1\nBMP=0\nAVI=1");
  auto film = AnimatePrepare(1, *movie, *settings, host_);
  ASSERT_GE(film->Count, 12);
  fs::remove_all(dir_ / "Output");

  const TFilmRunResult r = AnimateRun(*film, *film, *settings, host_, view_);
  EXPECT_TRUE(r.WriteFailed);
  // Frames are written in the background: the film learns of the failure
  // when at most the frames that fit the queue have been handed over.
  EXPECT_LE(view_.shown, 4);
  EXPECT_EQ(r.FramesWritten, 0);
  const std::string error =
      NativePath("Output\\" + film->Parameter[1].FileNameKey + ".png") + ": No such file or directory";
  EXPECT_EQ(r.WriteError, error);
  EXPECT_EQ(host_.Infos.back(), Tr(film_texts::kWriteStopped) + error);
  EXPECT_EQ(host_.Diagnostics.back(), "Animate End");
  EXPECT_TRUE(r.AviFiles.empty());
}

TEST_F(AnimateRunTest, TwoMovieFilmEndsWithTheShorterFilm) {
  auto m1 = Movie("Links", {"SecondsFor+=2", "HeightY=0.5"});
  auto m2 = Movie("Rechts", {"SecondsFor+=1", "HeightY=0.5"});
  auto settings = Settings("JPG=0\nPNG=1\nBMP=0\nAVI=1");
  auto f1 = AnimatePrepare(1, *m1, *settings, host_);
  auto f2 = AnimatePrepare(2, *m2, *settings, host_);
  ASSERT_EQ(f1->Count, 9);
  ASSERT_EQ(f2->Count, 4);

  Composition().CompositionMode = 22;
  const TFilmRunResult r = AnimateRun(*f1, *f2, *settings, host_, view_);
  EXPECT_FALSE(r.Cancelled);
  EXPECT_EQ(r.FramesWritten, 4);
  EXPECT_EQ(r.FramesComputed, 8) << "both movies per frame";
  EXPECT_EQ(view_.progress.at(0).find("1/4"), std::string("Berechne Film ... Bild ").size());
  EXPECT_EQ(OutputFiles(".png").size(), 4u);
  const test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes(r.AviFiles.at(0)));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.width, 64u) << "the double picture";
  EXPECT_EQ(avi.chunks, 4u);
  EXPECT_EQ(Composition().CompositionMode, 222);

  // The new-C double picture computes Movie 1 once, Movie 2 every frame.
  ResetProcessState();
  Composition().CompositionMode = 21;
  host_.Diagnostics.clear();
  const TFilmRunResult c = AnimateRun(*f1, *f2, *settings, host_, view_);
  EXPECT_EQ(c.FramesWritten, 4);
  EXPECT_EQ(c.FramesComputed, 1 + 4);
  EXPECT_TRUE(Composition().KeepLeftPicture);
}

TEST_F(AnimateRunTest, PreviewScalesTheInsertAndGridModeFollowsTheFrames) {
  // 64 x 48 movie, preview width 16: Scale 4, 16 x 12 pictures.
  auto m1 = Movie("Klein", {"SecondsFor+=1\nGridSizes=-2", "HeightY=0.5\nGridSizes=-2"}, 64, 48);
  auto settings = Settings("AVI=0", "JPG=0\nPNG=0\nBMP=0\nAVI=1", true);
  auto f1 = AnimatePrepare(1, *m1, *settings, host_);
  ASSERT_EQ(f1->Count, 4);
  EXPECT_DOUBLE_EQ(f1->Scale, 4);

  Composition().CompositionMode = -1;
  Composition().InsertPosX = 10;
  Composition().InsertPosY = 24;
  const TFilmRunResult r = AnimateRun(*f1, *f1, *settings, host_, view_);
  ASSERT_EQ(view_.shown, 4);
  EXPECT_EQ(view_.widths.front(), 16);
  EXPECT_EQ(view_.insertY.front(), 6) << "24 / Scale 4";
  EXPECT_EQ(view_.gridAuto.front(), 2) << "dX below -1: automatic grid";
  EXPECT_EQ(Composition().InsertPosX, 10);
  EXPECT_EQ(Composition().InsertPosY, 24);
  EXPECT_NE(view_.progress.at(0).find(" HeightY=2.5000000000000000"), std::string::npos)
      << view_.progress[0];
  EXPECT_EQ(view_.progress[0].rfind("Berechne Vorschau Film ... Bild 1/4", 0), 0u);
  const test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes(r.AviFiles.at(0)));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.width, 16u);
  EXPECT_EQ(fs::path(r.AviFiles[0]).filename(), "Klein-Preview-Anim-S00001-F01.avi");

  // The fourfold picture of the preview film: 2 x 16 by 2 x 12.
  ResetProcessState();
  Composition().CompositionMode = 4;
  const TFilmRunResult q = AnimateRun(*f1, *f1, *settings, host_, view_);
  const test::TAviCheck four = test::CheckAvi(test::ReadFileBytes(q.AviFiles.at(0)));
  ASSERT_TRUE(four.ok) << four.error;
  EXPECT_EQ(four.width, 32u);
  EXPECT_EQ(four.height, 24u);
}

// A frame whose buffers cannot be had abandons the film; what the film
// changed for its run is put back and the frames handed over stay written.
TEST_F(AnimateRunTest, FrameWithoutMemoryAbandonsTheFilmAndRestoresItsState) {
  auto movie = Movie("Knapp", {"SecondsFor+=1", "HeightY=0.5"});
  auto settings = Settings("JPG=0\nPNG=0\nBMP=1\nAVI=0");
  auto film = AnimatePrepare(1, *movie, *settings, host_);
  ASSERT_GT(film->Count, 2);
  Composition().InsertPosX = 10;
  view_.onFrame = [](int shown) {
    if (shown == 2) SetAllocationLimit(100);
  };
  EXPECT_THROW(AnimateRun(*film, *film, *settings, host_, view_), TAllocationError);
  SetAllocationLimit(0);
  EXPECT_EQ(film->Actual, 1);
  EXPECT_EQ(Composition().InsertPosX, 10);
  EXPECT_EQ(view_.ended, 1);
  EXPECT_EQ(OutputFiles(".bmp").size(), 2u);
}

TEST_F(AnimateRunTest, FilmOfOneKeyRunsNoFrame) {
  auto movie = Movie("Eins", {"SecondsFor+=1"});
  auto settings = Settings("JPG=1\nAVI=1");
  auto film = AnimatePrepare(1, *movie, *settings, host_);
  ASSERT_EQ(film->Count, 0);
  const TFilmRunResult r = AnimateRun(*film, *film, *settings, host_, view_);
  EXPECT_EQ(view_.shown, 0);
  EXPECT_EQ(r.FramesWritten, 0);
  EXPECT_TRUE(r.AviFiles.empty());
  EXPECT_EQ(view_.ended, 1);
}

TEST(FilmCompositions, ModesRepeatedByAFilm) {
  EXPECT_EQ(FilmCompositionMode(222), 22);
  EXPECT_EQ(FilmCompositionMode(3), 21);
  EXPECT_EQ(FilmCompositionMode(-111), -1);
  EXPECT_EQ(FilmCompositionMode(101), 0);
  EXPECT_EQ(FilmCompositionMode(-1000), 1);
  EXPECT_EQ(FilmCompositionMode(-12), -12);
  EXPECT_FALSE(IsTwoMovieComposition(4));
  EXPECT_TRUE(IsTwoMovieComposition(0));
  EXPECT_TRUE(IsTwoMovieComposition(21));
  EXPECT_FALSE(IsTwoMovieComposition(20));
}

}  // namespace
}  // namespace ork
