// orkelund-render --film end to end: the renderer is run as its own
// process in a fresh working directory.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "film/avi_check.h"
#include "film/render_process.h"
#include "film/video_probe.h"
#include "picture/picture_files.h"

namespace {

namespace fs = std::filesystem;
namespace test = ork::test;

using test::Files;
using test::MovieText;
using test::kRenderer;
using test::RunRenderer;
using test::SettingsText;
using test::TProcess;
using test::WriteText;

class FilmCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kRenderer)) << "build orkelund-render first: " << kRenderer;
    dir_ = fs::temp_directory_path() /
           ("orkelund_film_cli_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

// Every file the whole run wrote into Output/, byte for byte in the parts'.
void ExpectSameOutput(const fs::path& whole, const fs::path& parts) {
  for (const auto& e : fs::directory_iterator(whole / "Output")) {
    const fs::path twin = parts / "Output" / e.path().filename();
    ASSERT_TRUE(fs::exists(twin)) << twin;
    EXPECT_TRUE(test::ReadFileBytes(e.path().string()) == test::ReadFileBytes(twin.string()))
        << e.path().filename() << " differs";
  }
}

TEST_F(FilmCli, ProducesFrameFilesAviAndFilmMovieInTheWorkDir) {
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=1\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                         "FPS=5\r\nPNG=1\r\nJPG=0\r\nBMP=0\r\nAVI=1\r\nWidth=16\r\n"));
  WriteText(dir_ / "a.ini", MovieText("Spirale", 40, 30, 2, 50));
  WriteText(dir_ / "b.ini", MovieText("Zweite", 40, 30, 1, 50));

  TProcess p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--workdir",
                            work.string(), "--threads", "2"});
  ASSERT_EQ(p.status, 0) << p.err;
  const fs::path out = work / "Output";
  EXPECT_TRUE(fs::exists(out / "Spirale-Animation.ini"));
  const auto jpgs = Files(out, ".jpg");
  ASSERT_EQ(jpgs.size(), 9u) << p.err;
  EXPECT_EQ(jpgs.front(), "Spirale-Anim-S00001-F01.jpg");
  EXPECT_EQ(jpgs.back(), "Spirale-Anim-S00002-F04.jpg");
  test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes((out / "Spirale-Anim-S00001-F01.avi").string()));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.chunks, 9u);
  EXPECT_EQ(avi.width, 40u);
  // Standard error is no terminal here: the progress line of the first
  // and the last frame (a fast film reaches no line in between).
  EXPECT_NE(p.err.find("frame 1/9 (11%), "), std::string::npos) << p.err;
  EXPECT_NE(p.err.find("frame 9/9 (100%), "), std::string::npos) << p.err;
  EXPECT_NE(p.err.find(" fps, elapsed 0:00:0"), std::string::npos) << p.err;
  EXPECT_NE(p.err.find(", remaining 0:00:00\n"), std::string::npos) << p.err;
  size_t lines = 0;
  for (size_t at = 0; (at = p.err.find("\nframe ", at)) != std::string::npos; ++at) ++lines;
  EXPECT_EQ(lines + (p.err.rfind("frame ", 0) == 0), 2u) << p.err;
  EXPECT_EQ(p.err.find("Esc"), std::string::npos) << "no advice the renderer cannot follow";
  const TProcess quiet = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--workdir",
                                      work.string(), "--quiet"});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.err.find("remaining"), std::string::npos) << quiet.err;
  EXPECT_NE(p.err.find("9 of 9 frames written"), std::string::npos) << p.err;

  // A preview film of both movies side by side: 16 x 12 each, double width.
  p = RunRenderer({"--film", "--preview", "--movie", (dir_ / "a.ini").string(), "--movie2",
                   (dir_ / "b.ini").string(), "--composition", "double12", "--workdir",
                   work.string()});
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(Files(out, ".png").size(), 4u) << "the film ends with the shorter Movie 2";
  if (test::HaveTool("pngcheck")) {
    for (const std::string& png : Files(out, ".png"))
      EXPECT_EQ(std::system(("pngcheck -q '" + (out / png).string() + "' >/dev/null").c_str()), 0)
          << png;
  }
  avi = test::CheckAvi(
      test::ReadFileBytes((out / "Spirale-Preview-Anim-S00001-F01.avi").string()));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.width, 32u);
  EXPECT_EQ(avi.height, 12u);
  EXPECT_EQ(avi.chunks, 4u);
  EXPECT_NE(p.err.find("frame 4/4 (100%)"), std::string::npos) << p.err;

  // Bad arguments and sizes that do not fit are refused before any film.
  p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--composition", "sideways"});
  EXPECT_EQ(p.status, 2);
  EXPECT_NE(p.err.find("--composition"), std::string::npos);
  p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--threads", "0"});
  EXPECT_EQ(p.status, 2);
  EXPECT_NE(p.err.find("--threads"), std::string::npos);
  WriteText(dir_ / "big.ini", MovieText("Gross", 80, 60, 1, 50));
  p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--movie2",
                   (dir_ / "big.ini").string(), "--composition", "fourfold12", "--workdir",
                   work.string()});
  EXPECT_EQ(p.status, 1) << p.err;
  EXPECT_NE(p.err.find("same size"), std::string::npos) << p.err;
  p = RunRenderer({"--film", "--movie", (dir_ / "none.ini").string()});
  EXPECT_EQ(p.status, 2);
}

TEST_F(FilmCli, InsertBComputesALargerMovie2AtMovie1sSize) {
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=0\r\nPNG=1\r\nBMP=0\r\nAVI=0\r\n",
                         "FPS=5\r\nPNG=1\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
  WriteText(dir_ / "a.ini", MovieText("Spirale", 40, 30, 1, 20));
  WriteText(dir_ / "big.ini", MovieText("Gross", 80, 60, 1, 20));
  const TProcess p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--movie2",
                                  (dir_ / "big.ini").string(), "--composition", "insertB",
                                  "--workdir", work.string()});
  ASSERT_EQ(p.status, 0) << p.err;
  const std::vector<uint8_t> bytes =
      test::ReadFileBytes((work / "Output" / "Gross-Animation.ini").string());
  const std::string film2(bytes.begin(), bytes.end());
  EXPECT_NE(film2.find("Width=40\r\n"), std::string::npos) << film2.substr(0, 200);
  EXPECT_NE(film2.find("Height=30\r\n"), std::string::npos);
}

TEST_F(FilmCli, InterruptKeepsTheWrittenFramesAndCompletesTheAvi) {
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=25\r\nJPG=1\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                         "FPS=25\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=70\r\n"));
  // 40 s at 25 frames per second: far more frames than are made before
  // the interrupt arrives.
  WriteText(dir_ / "long.ini", MovieText("Lang", 160, 120, 40, 3000));
  const std::string video = (dir_ / "long.mp4").string();
  const TProcess p =
      RunRenderer({"--film", "--movie", (dir_ / "long.ini").string(), "--workdir", work.string(),
                   "--video", video, "--progress-every", "0"},
                  [](const std::string& line) { return line.find("frame 3/999 ") != std::string::npos; });
  EXPECT_EQ(p.status, 130) << p.err;
  EXPECT_NE(p.err.find("stopped early"), std::string::npos) << p.err;
  const fs::path out = work / "Output";
  const auto jpgs = Files(out, ".jpg");
  ASSERT_GE(jpgs.size(), 2u) << p.err;
  EXPECT_LT(jpgs.size(), 999u);
  const test::TAviCheck avi =
      test::CheckAvi(test::ReadFileBytes((out / "Lang-Anim-S00001-F01.avi").string()));
  ASSERT_TRUE(avi.ok) << avi.error;
  EXPECT_EQ(avi.chunks, jpgs.size()) << "every written frame is in the AVI, and only those";
  EXPECT_EQ(avi.totalFrames, jpgs.size());
  if (test::HaveTool("ffprobe")) {
    EXPECT_EQ(test::ProbeVideo(video)["nb_read_frames"], std::to_string(jpgs.size()))
        << "the video is completed with every written frame";
  }
}

// The settings' MP4 and --video files: the film's size (odd sizes padded by
// one pixel), frame rate and frame count, yuv420p, announced at the end.
TEST_F(FilmCli, VideosCarryEveryFrameAtTheFilmsRate) {
  if (!test::HaveTool("ffprobe")) GTEST_SKIP() << "ffprobe is not installed";
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=0\r\nPNG=0\r\nBMP=1\r\nAVI=0\r\nMP4=1\r\n",
                         "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
  WriteText(dir_ / "a.ini", MovieText("Spirale", 41, 31, 2, 50));
  const std::string webm = (dir_ / "film.webm").string();
  const TProcess p = RunRenderer(
      {"--film", "--movie", (dir_ / "a.ini").string(), "--workdir", work.string(), "--video", webm});
  ASSERT_EQ(p.status, 0) << p.err;
  const fs::path out = work / "Output";
  const std::string mp4 = (out / "Spirale-Anim-S00001-F01.mp4").string();
  const size_t frames = Files(out, ".bmp").size();
  ASSERT_EQ(frames, 9u);
  for (const auto& [path, codec] : {std::pair{mp4, "h264"}, std::pair{webm, "vp9"}}) {
    auto probe = test::ProbeVideo(path);
    EXPECT_EQ(probe["codec_name"], codec) << path;
    EXPECT_EQ(probe["width"], "42");
    EXPECT_EQ(probe["height"], "32");
    EXPECT_EQ(probe["pix_fmt"], "yuv420p");
    EXPECT_EQ(probe["r_frame_rate"], "5/1");
    EXPECT_EQ(probe["nb_read_frames"], std::to_string(frames));
    EXPECT_NE(p.err.find("orkelund-render: wrote " + path + "\n"), std::string::npos) << p.err;
  }
  for (const auto& e : fs::directory_iterator(out))
    EXPECT_EQ(e.path().filename().string().find(".mp4."), std::string::npos) << "temporary file left";
  EXPECT_NE(p.err.find("wrote 9 frames " + (out / "Spirale-Anim-S00001-F01.bmp").string() + " ... " +
                       (out / "Spirale-Anim-S00002-F04.bmp").string()),
            std::string::npos)
      << p.err;
}

// FFmpeg's libraries take longer to load than a small picture to compute:
// the renderer loads them only for a film with video (the dynamic loader's
// own report of the files it loads tells).
TEST_F(FilmCli, VideoLibrariesAreLoadedOnlyForAFilmWithVideo) {
  const fs::path work = dir_ / "work";
  WriteText(dir_ / "a.ini", MovieText("Spirale", 21, 15, 1, 30));
  const std::string movie = (dir_ / "a.ini").string();
  struct TCase {
    const char* what;
    const char* mp4;
    std::vector<std::string> args;
    bool loads;
  } cases[] = {
      {"picture", "1", {"--movie", movie, "--out", (dir_ / "p.bmp").string()}, false},
      {"film without video", "0", {"--film", "--movie", movie}, false},
      {"film with MP4", "1", {"--film", "--movie", movie}, true},
  };
  for (TCase& c : cases) {
    WriteText(work / "INI" / "Settings.ini",
              SettingsText(std::string("FPS=5\r\nJPG=0\r\nPNG=0\r\nBMP=1\r\nAVI=0\r\nMP4=") +
                               c.mp4 + "\r\n",
                           "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
    c.args.insert(c.args.end(), {"--workdir", work.string()});
    ::setenv("LD_DEBUG", "files", 1);
    const TProcess p = RunRenderer(c.args);
    ::unsetenv("LD_DEBUG");
    ASSERT_EQ(p.status, 0) << c.what << "\n" << p.err;
    EXPECT_EQ(p.err.find("file=libavcodec.so") != std::string::npos, c.loads) << c.what;
    EXPECT_EQ(p.err.find("file=libswscale.so") != std::string::npos, c.loads) << c.what;
  }
}

// Every decoded frame keeps the picture's detail: at least 40 dB luma PSNR
// against the frame's BMP, in both formats, through a zoom into the start
// movie's sea-horse valley in its colours.
TEST_F(FilmCli, DecodedVideoFramesMatchTheBmpFrames) {
  if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=0\r\nPNG=0\r\nBMP=1\r\nAVI=0\r\n",
                         "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
  // Sea-horse valley in the shipped colours: fine structure in every frame.
  const std::string key =
      "NoOfFormula=1000\r\nMax_Iterat=341\r\nColTabNo=14\r\nColShift=1200\r\nColFact=12\r\n"
      "DoCalculate=1\r\nInterpolationList=(HeightY,*):(MidPointX,+):(MidPointY,+):(Degree,+)\r\n";
  WriteText(dir_ / "a.ini",
            "[OUTPUT]\r\nWidth=160\r\nHeight=120\r\nFileName=Detail\r\n[KEYS]\r\nCount=2\r\n"
            "Actual=1\r\n[KEY1]\r\nHeightY=0.04\r\nMidPointX=-0.7445\r\nMidPointY=0.129\r\n"
            "Degree=60\r\nSecondsFor+=2\r\n" + key + "[KEY2]\r\nHeightY=0.006\r\nMidPointX=-0.74364\r\n"
            "MidPointY=0.13183\r\nDegree=120\r\n" + key);
  const std::string mp4 = (dir_ / "film.mp4").string(), webm = (dir_ / "film.webm").string();
  const TProcess p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--workdir",
                                  work.string(), "--video", mp4, "--video", webm});
  ASSERT_EQ(p.status, 0) << p.err;
  const std::vector<std::string> bmps = Files(work / "Output", ".bmp");
  ASSERT_EQ(bmps.size(), 9u);
  for (const std::string& video : {mp4, webm}) {
    const auto frames = test::DecodedLumaFrames(video, 160, 120);
    ASSERT_EQ(frames.size(), bmps.size()) << video;
    for (size_t i = 0; i < frames.size(); ++i) {
      const ork::TPixmapPtr bmp = ork::LoadBmp((work / "Output" / bmps[i]).string());
      ASSERT_TRUE(bmp);
      EXPECT_GE(test::LumaPsnr(*bmp, frames[i]), 40.0) << video << " frame " << i;
    }
  }
}

TEST_F(FilmCli, VideoFailuresAreReported) {
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=1\r\nPNG=0\r\nBMP=0\r\nAVI=0\r\n",
                         "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
  WriteText(dir_ / "a.ini", MovieText("Spirale", 40, 30, 1, 50));
  TProcess p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--video", "film.avi"});
  EXPECT_EQ(p.status, 2);
  EXPECT_NE(p.err.find("--video needs a file name ending in .mp4 or .webm"), std::string::npos);
  // A name without a base would be a hidden file.
  p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--video", (dir_ / ".mp4").string()});
  EXPECT_EQ(p.status, 2);
  EXPECT_FALSE(fs::exists(dir_ / ".mp4"));
  const std::string lost = (dir_ / "missing" / "film.mp4").string();
  p = RunRenderer({"--film", "--movie", (dir_ / "a.ini").string(), "--workdir", work.string(),
                   "--video", lost});
  EXPECT_EQ(p.status, 1) << p.err;
  // Like any other file, the video's first failed write stops the film,
  // named once, with the reason.
  EXPECT_EQ(p.err.find("Film: could not write"), std::string::npos) << p.err;
  EXPECT_NE(p.err.find("The movie was stopped, a file could not be written:\n" + lost +
                       ": No such file or directory"),
            std::string::npos) << p.err;
  EXPECT_LT(Files(work / "Output", ".jpg").size(), 4u);
}

// kill -9 in the middle of a film: the film of the same name made before
// stays whole, and the next film removes what the killed one left behind.
TEST_F(FilmCli, KilledFilmLeavesThePreviousFilm) {
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=25\r\nJPG=1\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                         "FPS=25\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=70\r\n"));
  WriteText(dir_ / "short.ini", MovieText("Lang", 160, 120, 0.2, 50));
  WriteText(dir_ / "long.ini", MovieText("Lang", 160, 120, 40, 3000));
  const std::vector<std::string> shortFilm = {"--film", "--movie", (dir_ / "short.ini").string(),
                                              "--workdir", work.string()};
  ASSERT_EQ(RunRenderer(shortFilm).status, 0);
  const fs::path avi = work / "Output" / "Lang-Anim-S00001-F01.avi";
  const auto before = test::ReadFileBytes(avi.string());
  ASSERT_TRUE(test::CheckAvi(before).ok);

  // Killed once the new film's temporary AVI exists (the background writer
  // creates it some time after the first frame is shown).
  auto leftovers = [&] {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(work / "Output"))
      if (e.path().filename().string().find(".avi.") != std::string::npos)
        names.push_back(e.path().filename().string());
    return names;
  };
  const TProcess killed = RunRenderer(
      {"--film", "--movie", (dir_ / "long.ini").string(), "--workdir", work.string(),
       "--progress-every", "0"},
      [&](const std::string& line) {
        return line.find("frame ") != std::string::npos && !leftovers().empty();
      },
      SIGKILL);
  ASSERT_EQ(killed.status, 128 + SIGKILL) << killed.err;
  EXPECT_EQ(test::ReadFileBytes(avi.string()), before);
  EXPECT_FALSE(Files(work / "Output", ".avi").empty()) << "nothing left for the next film";
  EXPECT_EQ(leftovers().size(), 1u) << "the killed film's temporary file";
  ASSERT_EQ(RunRenderer(shortFilm).status, 0);
  EXPECT_TRUE(leftovers().empty());
}

// A full disk (here a file-size limit) or an unwritable folder stops the
// film at the first failed write, names the file and the system's reason,
// counts only the frames written and ends with status 1; the AVI holds
// what its header says.
TEST_F(FilmCli, FailedWriteStopsTheFilmWithTheReason) {
  struct TCase {
    const char* name;
    rlim_t fileSize;
    std::string fileName;  // the movie's FileName
    bool readOnly;
    const char* reason;
  };
  const TCase cases[] = {
      {"full", 3000000, "Voll", false, "File too large"},
      {"long name", RLIM_INFINITY, std::string(250, 'n'), false, "File name too long"},
      {"read-only", RLIM_INFINITY, "Nur", true, "Permission denied"},
  };
  for (const TCase& c : cases) {
    if (c.readOnly && ::geteuid() == 0) continue;  // root writes anyway
    const fs::path work = dir_ / c.name;
    WriteText(work / "INI" / "Settings.ini",
              SettingsText("FPS=25\r\nJPG=1\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                           "FPS=25\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=70\r\n"));
    WriteText(dir_ / "m.ini", MovieText(c.fileName, 160, 120, 8, 50));
    fs::create_directories(work / "Output");
    if (c.readOnly) fs::permissions(work / "Output", fs::perms::owner_read | fs::perms::owner_exec);
    const TProcess p = RunRenderer(
        {"--film", "--movie", (dir_ / "m.ini").string(), "--workdir", work.string()}, {}, SIGINT,
        c.fileSize);
    if (c.readOnly) fs::permissions(work / "Output", fs::perms::owner_all);
    EXPECT_EQ(p.status, 1) << c.name << p.err;
    EXPECT_NE(p.err.find(": " + std::string(c.reason) + "\n"), std::string::npos) << c.name << p.err;
    EXPECT_NE(p.err.find("The movie was stopped, a file could not be written"), std::string::npos)
        << c.name << p.err;
    const size_t jpgs = Files(work / "Output", ".jpg").size();
    EXPECT_LT(jpgs, 199u) << c.name;
    EXPECT_NE(p.err.find(" " + std::to_string(jpgs) + " of 199 frames written"),
              std::string::npos)
        << c.name << p.err;
    if (c.fileSize != RLIM_INFINITY) {
      const test::TAviCheck avi = test::CheckAvi(
          test::ReadFileBytes((work / "Output" / (c.fileName + "-Anim-S00001-F01.avi")).string()));
      ASSERT_TRUE(avi.ok) << avi.error;
      EXPECT_EQ(avi.chunks, jpgs) << "the frame whose AVI chunk failed keeps no JPEG either";
    }
  }
}

// A film with still frames, hold frames, an interval that computes only
// its first frame, the next-key frame and a grid whose spacing is fixed,
// then automatic, then left as it was (the third key's dX of 0 keeps the
// lock of the first): 42 frames at 5 frames per second.
std::string PartsMovieText() {
  const std::string common =
      "NoOfFormula=1000\r\nMax_Iterat=80\r\nMax_(X+Y)=1000000000\r\nCycleTest=10\r\n"
      "ColTabNo=14\r\nColFact=12\r\nInterpolationList=(HeightY,+):(MidPointX,+):(ColShift,+)\r\n";
  return "[OUTPUT]\r\nWidth=80\r\nHeight=60\r\nFileName=Teile\r\n[KEYS]\r\nCount=4\r\nActual=1\r\n"
         "[KEY1]\r\nHeightY=2.5\r\nMidPointX=-0.5\r\nColShift=0\r\nFixedImageSeconds=1\r\n"
         "SecondsFor+=2.4\r\nDoCalculate=1\r\nLinesAndGrid=G,N\r\nGridSizes=0.5,0.5\r\n" + common +
         "[KEY2]\r\nHeightY=1.2\r\nMidPointX=-0.6\r\nColShift=300\r\nFixedImageSeconds=-0.4\r\n"
         "SecondsFor+=1\r\nDoCalculate=0\r\nLinesAndGrid=G,N\r\nGridSizes=-2\r\n" + common +
         "[KEY3]\r\nHeightY=0.6\r\nMidPointX=-0.7\r\nColShift=900\r\nSecondsFor+=3\r\n"
         "DoCalculate=1\r\nLinesAndGrid=G,N,M\r\nGridSizes=0,0.05\r\n" + common +
         "[KEY4]\r\nHeightY=0.2\r\nMidPointX=-0.745\r\nColShift=1500\r\nDoCalculate=1\r\n" + common;
}

TEST_F(FilmCli, FilmInRangesAndAssembledEqualsTheWholeRun) {
  const std::string settings =
      SettingsText("FPS=5\r\nJPG=1\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                   "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n");
  const fs::path whole = dir_ / "whole", parts = dir_ / "parts";
  WriteText(whole / "INI" / "Settings.ini", settings);
  WriteText(parts / "INI" / "Settings.ini", settings);
  WriteText(dir_ / "t.ini", PartsMovieText());
  const std::string movie = (dir_ / "t.ini").string();

  TProcess p = RunRenderer({"--film", "--movie", movie, "--workdir", whole.string()});
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(Files(whole / "Output", ".jpg").size(), 42u);

  // Ranges that begin on still and hold frames, the middle one run twice.
  for (const char* range : {"3-20", "1-2", "21-", "3-20"}) {
    p = RunRenderer({"--film", "--movie", movie, "--workdir", parts.string(), "--frames", range});
    ASSERT_EQ(p.status, 0) << range << '\n' << p.err;
  }
  EXPECT_FALSE(fs::exists(parts / "Output" / "Teile-Animation.ini"))
      << "range jobs leave the film movie to --plan and --assemble";
  EXPECT_TRUE(Files(parts / "Output", ".avi").empty());
  p = RunRenderer({"--film", "--movie", movie, "--workdir", parts.string(), "--assemble"});
  ASSERT_EQ(p.status, 0) << p.err;

  ExpectSameOutput(whole, parts);

  std::string plan;
  p = RunRenderer({"--film", "--movie", movie, "--workdir", parts.string(), "--plan", "--jobs",
                   "3"},
                  {}, SIGINT, RLIM_INFINITY, &plan);
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(plan.substr(0, 3), "42\n") << plan;
  EXPECT_EQ(std::count(plan.begin(), plan.end(), '\n'), 4) << plan;
}

TEST_F(FilmCli, AssemblyRefusesAMissingOrTruncatedFrameAndNamesIt) {
  const fs::path work = dir_ / "work";
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=0\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                         "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
  WriteText(dir_ / "a.ini", MovieText("Spirale", 40, 30, 2, 50));
  const std::string movie = (dir_ / "a.ini").string();
  TProcess p = RunRenderer({"--film", "--movie", movie, "--workdir", work.string(), "--frames", "1-"});
  ASSERT_EQ(p.status, 0) << p.err;
  const fs::path out = work / "Output";
  ASSERT_EQ(Files(out, ".png").size(), 9u) << "the AVI's frames as PNG files";

  const struct {
    const char* frame;
    std::function<void(const fs::path&)> damage;
    const char* problem;
  } kCases[] = {
      {"Spirale-Anim-S00001-F03.png", [](const fs::path& f) { fs::remove(f); }, "missing"},
      {"Spirale-Anim-S00001-F05.png",
       [](const fs::path& f) { fs::resize_file(f, fs::file_size(f) - 20); }, "damaged (incomplete)"},
      {"Spirale-Anim-S00002-F01.png",
       [](const fs::path& f) {
         std::fstream file(f, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(static_cast<std::streamoff>(fs::file_size(f) / 2));
         file.write("\xff\x00\xff\x00", 4);
       },
       "damaged (cannot be read)"},
  };
  // A refused assembly leaves an older film of the same name alone.
  const fs::path oldFilm = out / "Spirale-Anim-S00001-F01.avi";
  WriteText(oldFilm, "older film");
  for (const auto& c : kCases) {
    const fs::path frame = out / c.frame;
    const std::vector<uint8_t> bytes = test::ReadFileBytes(frame.string());
    c.damage(frame);
    p = RunRenderer({"--film", "--movie", movie, "--workdir", work.string(), "--assemble"});
    EXPECT_EQ(p.status, 1) << p.err;
    EXPECT_NE(p.err.find(std::string(c.frame) + " " + c.problem), std::string::npos) << p.err;
    EXPECT_EQ(Files(out, ".avi").size(), 1u) << c.frame;
    EXPECT_EQ(test::ReadFileBytes(oldFilm.string()).size(), 10u) << c.frame;
    std::ofstream(frame, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

}  // namespace

// A zoom from the whole set to 1e-100 (key 2 deep): the frames below the
// double limit are computed deep, in one run or in ranges put together.
TEST_F(FilmCli, DeepZoomFilmInRangesEqualsTheWholeRun) {
  const std::string settings =
      SettingsText("FPS=5\r\nJPG=0\r\nPNG=1\r\nBMP=0\r\nAVI=1\r\n",
                   "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n");
  const fs::path whole = dir_ / "whole", parts = dir_ / "parts";
  WriteText(whole / "INI" / "Settings.ini", settings);
  WriteText(parts / "INI" / "Settings.ini", settings);
  const std::string key =
      "NoOfFormula=1000\r\nMidPointX=-2\r\nMax_Iterat=60\r\nDoCalculate=1\r\n"
      "InterpolationList=(HeightY,*)\r\nFactorPerPictFor*=0\r\n";
  WriteText(dir_ / "deep.ini",
            "[OUTPUT]\r\nWidth=24\r\nHeight=16\r\nFileName=Tief\r\n[KEYS]\r\nCount=2\r\n"
            "Actual=1\r\n[KEY1]\r\nHeightY=2.5\r\nSecondsFor+=2\r\n" + key +
            "[KEY2]\r\nDeepZoom=1\r\nHeightY=1e-100\r\n" + key);
  const std::string movie = (dir_ / "deep.ini").string();

  TProcess p = RunRenderer({"--film", "--movie", movie, "--workdir", whole.string()});
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(Files(whole / "Output", ".png").size(), 9u);
  std::ifstream filmMovie(whole / "Output" / "Tief-Animation.ini", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(filmMovie)), {});
  EXPECT_NE(text.find("InterpolationList=(HeightY,*)\r\nDeepZoom=1\r\nHeightYLong="),
            std::string::npos);
  EXPECT_EQ(text.find("MidPointXLong"), std::string::npos) << "a centre a double holds";

  for (const char* range : {"1-4", "5-"}) {
    p = RunRenderer({"--film", "--movie", movie, "--workdir", parts.string(), "--frames", range});
    ASSERT_EQ(p.status, 0) << range << '\n' << p.err;
  }
  p = RunRenderer({"--film", "--movie", movie, "--workdir", parts.string(), "--assemble"});
  ASSERT_EQ(p.status, 0) << p.err;
  ExpectSameOutput(whole, parts);
  std::string plan;
  p = RunRenderer({"--film", "--movie", movie, "--workdir", parts.string(), "--plan", "--jobs",
                   "2", "--deep", "--verbose"},
                  {}, SIGINT, RLIM_INFINITY, &plan);
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(plan.substr(0, 2), "9\n") << plan;
  EXPECT_NE(p.err.find("deep picture, "), std::string::npos) << p.err;
}

namespace {

// The Slurm script against stand-ins for sinfo and sbatch: the CPUs per
// task fit the smallest node, and a rerun's assembly waits for the rerun.
TEST_F(FilmCli, SlurmScriptFitsTheNodesAndRerunsWithANewAssembly) {
  const fs::path bin = dir_ / "bin", work = dir_ / "work";
  WriteText(bin / "sinfo", "#!/bin/sh\nprintf '16\\n8\\n16\\n'\n");
  // Logs its arguments; answers job ids 101, 102, ...
  WriteText(bin / "sbatch",
            "#!/bin/sh\necho \"$*\" >> \"" + (dir_ / "sbatch.log").string() +
                "\"\nn=$(cat \"" + (dir_ / "n").string() + "\" 2>/dev/null || echo 100)\n"
                "n=$((n + 1)); echo $n > \"" + (dir_ / "n").string() + "\"; echo $n\n");
  fs::permissions(bin / "sinfo", fs::perms::owner_all);
  fs::permissions(bin / "sbatch", fs::perms::owner_all);
  WriteText(work / "INI" / "Settings.ini",
            SettingsText("FPS=5\r\nJPG=0\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n",
                         "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
  WriteText(dir_ / "a.ini", MovieText("Spirale", 40, 30, 2, 50));
  const std::string script = std::string(ORK_SOURCE_DIR) + "/scripts/film-slurm.sh";
  const std::string run = "cd '" + dir_.string() + "' && PATH='" + bin.string() +
                          "':\"$PATH\" ORKELUND_RENDER='" + kRenderer + "' ";
  auto status = [](int raw) { return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1; };

  EXPECT_EQ(status(std::system((run + "bash '" + script + "' --cpus 12 work a.ini 3 2>/dev/null").c_str())), 2)
      << "12 CPUs do not fit a node of 8";
  ASSERT_EQ(status(std::system((run + "bash '" + script + "' work a.ini 3 2>/dev/null").c_str())), 0);
  std::string log = test::CommandOutput("cat '" + (dir_ / "sbatch.log").string() + "'");
  EXPECT_NE(log.find("--array=1-3 --cpus-per-task=8 "), std::string::npos) << log;
  EXPECT_NE(log.find("--dependency=afterok:101 "), std::string::npos) << log;

  const std::string rerun = test::CommandOutput(
      run + "ORK_FILM_STEP=rerun ORK_FILM_TASKS=2 bash '" + script + "' work a.ini 3 2>&1");
  log = test::CommandOutput("cat '" + (dir_ / "sbatch.log").string() + "'");
  EXPECT_NE(log.find("--array=2 --cpus-per-task=8 "), std::string::npos) << log;
  EXPECT_NE(log.find("--dependency=afterok:103 "), std::string::npos) << log;
  EXPECT_NE(rerun.find("scancel 102"), std::string::npos) << rerun;
}

}  // namespace
