#include "film/film_output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "film/animate_prepare.h"
#include "film/avi_check.h"
#include "film/film_host.h"
#include "film/film_progress.h"
#include "model/ini_store.h"
#include "model/language.h"
#include "picture/picture_files.h"

namespace ork {
namespace {

std::unique_ptr<TParameterAnim> SixtyFrameFilm(THost& host) {
  // 2.44 s at 25 frames per second: n = 61, 60 frames.
  const std::string movie =
      "[OUTPUT]\nWidth=16\nHeight=8\nFileName=Spirale\n[KEYS]\nCount=2\nActual=1\n"
      "[KEY1]\nNoOfFormula=1\nHeightY=4\nSecondsFor+=2.44\nInterpolationList=(HeightY,+)\n"
      "[KEY2]\nNoOfFormula=1\nHeightY=2\n";
  auto ini = TINI::FromBytes("INI\\", "Spirale.ini", movie);
  auto source = TParameterAnim::FromIni(*ini, "INI\\", "Spirale.ini", QuietHost());
  auto settings = TINI::FromBytes(
      "", "Settings.ini", "[AnimMode]\nPreview=0\n[Anim]\nFPS=25\nJPG=1\nPNG=0\nBMP=0\nAVI=1\n");
  return AnimatePrepare(1, *source, *settings, host);
}

TEST(FilmOutput, SixtyFramesGiveSixtyJpegsAndOneAvi) {
  const auto dir = test::FilmScratchDir("SixtyFrames");
  test::TFilmHost host;
  auto film = SixtyFrameFilm(host);
  ASSERT_EQ(film->Count, 60);
  TFilmSettings settings;
  settings.Fps = 25;
  settings.Jpg = settings.Avi = true;
  {
    TFilmFrameWriter out(settings, film->Count, host);
    for (int i = 1; i <= film->Count; ++i) {
      TPixmap picture(film->OutputWidth, film->OutputHeight, 0xFF000000u | i);
      ASSERT_TRUE(out.Write(picture, film->Parameter[i].FileNameKey)) << i;
    }
    EXPECT_TRUE(out.Close());
  }
  std::set<std::string> jpegs, avis, others;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "Output")) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    (ext == ".jpg" ? jpegs : ext == ".avi" ? avis : others).insert(name);
  }
  EXPECT_EQ(jpegs.size(), 60u);
  EXPECT_TRUE(jpegs.count("Spirale-Anim-S00001-F01.jpg"));
  EXPECT_TRUE(jpegs.count("Spirale-Anim-S00003-F10.jpg"));
  EXPECT_EQ(avis, std::set<std::string>{"Spirale-Anim-S00001-F01.avi"});
  EXPECT_EQ(others, std::set<std::string>{"Spirale-Animation.ini"});

  const auto bytes = test::ReadFileBytes((dir / "Output" / "Spirale-Anim-S00001-F01.avi").string());
  const auto check = test::CheckAvi(bytes);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.totalFrames, 60u);
  EXPECT_EQ(check.width, 16u);
  EXPECT_EQ(check.microsPerFrame, 40000u);
  EXPECT_EQ(test::U32At(bytes, check.firstChunkData + 59 * (16 * 8 * 4 + 8)), 0xFF000000u | 60)
      << "frames in film order";
  std::filesystem::remove_all(dir);
}

TEST(FilmOutput, StoppedFilmAndUnwritableFiles) {
  const auto dir = test::FilmScratchDir("Stopped");
  test::TFilmHost host;
  TFilmSettings settings;
  settings.Fps = 25;
  settings.Avi = true;
  {
    TFilmFrameWriter out(settings, 60, host);
    for (int i = 1; i <= 10; ++i)
      ASSERT_TRUE(out.Write(TPixmap(8, 4), FrameName("Stop", 1, i)));
  }  // stopped after ten frames
  const auto check =
      test::CheckAvi(test::ReadFileBytes((dir / "Output" / "Stop-Anim-S00001-F01.avi").string()));
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.totalFrames, 10u);

  // No Output folder: the first file fails with its reason, and the film's
  // output ends there.
  std::filesystem::remove_all(dir / "Output");
  settings.Png = true;
  TFilmFrameWriter out(settings, 60, host);
  host.Diagnostics.clear();
  EXPECT_FALSE(out.Write(TPixmap(8, 4), "A"));
  EXPECT_FALSE(out.Write(TPixmap(8, 4), "B"));
  const std::string error = NativePath("Output\\A.png") + ": No such file or directory";
  EXPECT_EQ(out.Error(), error);
  EXPECT_EQ(host.Diagnostics, std::vector<std::string>{"Film: could not write " + error});
  EXPECT_EQ(out.FramesWritten(), 0);
  EXPECT_FALSE(out.Close());
  EXPECT_FALSE(out.Avi().Kept());
  std::filesystem::remove_all(dir);
}

// What a player shows: ffmpeg decodes every AVI frame, in both layouts, to
// exactly the pixels of the BMP frame file written beside it.
TEST(FilmOutput, DecodedAviFramesEqualTheBmpFrames) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ffmpeg";
  const auto dir = test::FilmScratchDir("Decoded");
  test::TFilmHost host;
  TFilmSettings settings;
  settings.Fps = 25;
  settings.Bmp = settings.Avi = true;
  constexpr int kFrames = 6, kWidth = 13, kHeight = 7;
  // The full limit gives the plain layout; RIFF chunks of 2 KiB the OpenDML one.
  for (const uint64_t limit : {kAviFileLimit, uint64_t{2048}}) {
    const std::string film = "L" + std::to_string(limit);
    {
      TFilmFrameWriter out(settings, kFrames, host, limit);
      for (int i = 1; i <= kFrames; ++i) {
        TPixmap picture(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
          for (int x = 0; x < kWidth; ++x)
            picture.Set(x, y, 0xFF000000u | ((x * 37 + y * 101 + i * 59) * 2654435761u >> 8));
        ASSERT_TRUE(out.Write(picture, film + "-F" + std::to_string(i)));
      }
      ASSERT_TRUE(out.Close());
      EXPECT_EQ(out.Avi().Extended(), limit != kAviFileLimit);
    }
    const auto output = dir / "Output";
    const std::string command = "ffmpeg -v error -i '" + (output / (film + "-F1.avi")).string() +
                                "' -pix_fmt bgr24 '" + (output / "d%d.bmp").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int i = 1; i <= kFrames; ++i) {
      const TPixmapPtr decoded = LoadBmp((output / ("d" + std::to_string(i) + ".bmp")).string());
      const TPixmapPtr written =
          LoadBmp((output / (film + "-F" + std::to_string(i) + ".bmp")).string());
      ASSERT_TRUE(decoded && written) << film << " frame " << i;
      ASSERT_EQ(decoded->Width(), kWidth);
      ASSERT_EQ(decoded->Height(), kHeight);
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          ASSERT_EQ(decoded->Get(x, y), written->Get(x, y)) << film << " frame " << i;
    }
    EXPECT_FALSE(std::filesystem::exists(output / ("d" + std::to_string(kFrames + 1) + ".bmp")));
    for (int i = 1; i <= kFrames; ++i) std::filesystem::remove(output / ("d" + std::to_string(i) + ".bmp"));
  }
  std::filesystem::remove_all(dir);
}

TEST(FilmProgress, RemainingTimeTexts) {
  SetUiLanguage(TLanguage::German);
  EXPECT_EQ(RemainingTimeText(5400), "Rest Zeit ca. 1.5 Std.");
  EXPECT_EQ(RemainingTimeText(150), "Rest Zeit ca. 3 Min.");
  EXPECT_EQ(RemainingTimeText(59), "Rest Zeit ca. 59 Sek.");
  EXPECT_EQ(RemainingTimeText(7199), "Rest Zeit ca. 1.9 Std.") << "cut, not rounded";

  TRemainingTime rest;
  rest.FrameDone(1, 10, 500, false);
  EXPECT_EQ(rest.Text(), " Standbild ") << "no estimate yet";
  rest.FrameDone(1, 10, 2000, true);  // 8 frames left at 2 s
  EXPECT_EQ(rest.Text(), "Rest Zeit ca. 16 Sek.");
  rest.FrameDone(2, 10, 5, false);
  EXPECT_EQ(rest.Text(), "Rest Zeit ca. 16 Sek. Standbild ");
  rest.FrameDone(3, 10, 30000, true);
  EXPECT_EQ(rest.Text(), "Rest Zeit ca. 3 Min.");

  EXPECT_EQ(FilmProgressText(false, 3, 60, "Rest Zeit ca. 3 Min.", 4),
            "Berechne Film ... Bild 3/60 Rest Zeit ca. 3 Min. (f\xFCr Abbruch Escape Taste halten)");
  SetUiLanguage(TLanguage::English);
  EXPECT_EQ(RemainingTimeText(150), "Time around3min");
  EXPECT_EQ(FilmProgressText(true, 1, 5, "", 0.5),
            "Calculating preview movie ... pict. 1/5  HeightY=0.50000000000000000"
            "(for cancel hold Esc key)");
  SetUiLanguage(TLanguage::German);
}

}  // namespace
}  // namespace ork
