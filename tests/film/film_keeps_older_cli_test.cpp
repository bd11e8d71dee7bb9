// A film run that fails, or runs beside another run of the same film,
// never destroys an older film: end to end through orkelund-render, with a
// small 96 x 72 film of 9 frames written as PNG, AVI and MP4.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <future>

#include "film/avi_check.h"
#include "film/render_process.h"
#include "film/video_probe.h"

namespace {

namespace fs = std::filesystem;
namespace test = ork::test;
using test::RunRenderer;
using test::TProcess;

class FilmKeepsOlder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(test::kRenderer)) << "build orkelund-render first";
    dir_ = fs::temp_directory_path() /
           ("orkelund_film_older_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    work_ = dir_ / "work";
    out_ = work_ / "Output";
    test::WriteText(work_ / "INI" / "Settings.ini",
                    test::SettingsText("FPS=5\r\nJPG=0\r\nPNG=1\r\nBMP=1\r\nAVI=1\r\nMP4=1\r\n",
                                       "FPS=5\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=16\r\n"));
    test::WriteText(dir_ / "m.ini", test::MovieText("Alt", 96, 72, 2, 50));
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> Film(std::vector<std::string> more = {}) const {
    std::vector<std::string> args{"--film", "--movie", (dir_ / "m.ini").string(), "--workdir",
                                  work_.string()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  fs::path Avi() const { return out_ / "Alt-Anim-S00001-F01.avi"; }
  fs::path Mp4() const { return out_ / "Alt-Anim-S00001-F01.mp4"; }
  fs::path Frame1(const std::string& ext) const { return out_ / ("Alt-Anim-S00001-F01" + ext); }

  // The film files as they are now, to compare after a run.
  std::vector<std::string> FilmBytes() const {
    return {test::ReadText(Avi()), test::ReadText(Mp4())};
  }
  // No temporary file is left in Output.
  void ExpectNoTemporaries(const std::string& what) const {
    for (const auto& e : fs::directory_iterator(out_)) {
      const std::string name = e.path().filename().string();
      EXPECT_FALSE(name.size() > 7 && name[name.size() - 7] == '.' &&
                   name.find(".lock") == std::string::npos &&
                   (name.find(".avi.") != std::string::npos || name.find(".mp4.") != std::string::npos ||
                    name.find(".png.") != std::string::npos))
          << what << ": " << name;
    }
  }

  fs::path dir_, work_, out_;
};

// Checks that every film file a run reported ("wrote ...avi/.mp4") is
// there and complete: 9 frames.
void ExpectReportedFilmsComplete(const TProcess& p) {
  size_t at = 0;
  while ((at = p.err.find("orkelund-render: wrote ", at)) != std::string::npos) {
    at += 23;
    const std::string path = p.err.substr(at, p.err.find('\n', at) - at);
    if (path.ends_with(".avi")) {
      const test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes(path));
      EXPECT_TRUE(avi.ok) << path << ": " << avi.error << '\n' << p.err;
      EXPECT_EQ(avi.chunks, 9u) << path;
    } else if (path.ends_with(".mp4") && test::HaveTool("ffprobe")) {
      EXPECT_EQ(test::ProbeVideo(path)["nb_read_frames"], "9") << path << '\n' << p.err;
    }
  }
}

// A whole film that fails (a bad --video, a full disk) says so, exits 1 and
// leaves the older film; the full disk counts exactly the frames written,
// and the frame it failed on keeps its older files.
TEST_F(FilmKeepsOlder, FailedFilmLeavesTheOlderFilm) {
  ASSERT_EQ(RunRenderer(Film()).status, 0);
  const std::vector<std::string> older = FilmBytes();
  ASSERT_FALSE(older[0].empty());
  ASSERT_FALSE(older[1].empty());
  // The frame's files of the failing run: PNG and BMP, the BMP is larger.
  const auto png = fs::file_size(Frame1(".png")), bmp = fs::file_size(Frame1(".bmp"));
  ASSERT_LT(png + 1000, bmp);

  const struct {
    const char* name;
    std::vector<std::string> more;
    rlim_t fileSize;
    const char* reason;
    bool firstFrameFails;
  } kCases[] = {
      {"bad --video", {"--video", "/nonexistent-dir/x.mp4"}, RLIM_INFINITY,
       "/nonexistent-dir/x.mp4: No such file or directory", true},
      {"full disk at the first frame's BMP", {}, (png + bmp) / 2, "File too large", true},
      {"full disk in the AVI's fourth frame", {}, 216 + 3 * (96 * 72 * 4 + 8) + 100,
       "File too large", false},
  };
  for (const auto& c : kCases) {
    test::WriteText(Frame1(".png"), "older frame");
    const TProcess p = RunRenderer(Film(c.more), {}, SIGINT, c.fileSize);
    EXPECT_EQ(p.status, 1) << c.name << '\n' << p.err;
    EXPECT_NE(p.err.find(c.reason), std::string::npos) << c.name << '\n' << p.err;
    EXPECT_NE(p.err.find(c.firstFrameFails ? " 0 of 9 frames written" : " 3 of 9 frames written"),
              std::string::npos)
        << c.name << '\n' << p.err;
    EXPECT_EQ(p.err.find(".avi\n"), std::string::npos) << c.name << '\n' << p.err;
    EXPECT_EQ(p.err.find(".mp4\n"), std::string::npos) << c.name << '\n' << p.err;
    EXPECT_EQ(FilmBytes(), older) << c.name;
    EXPECT_EQ(test::ReadText(Frame1(".png")) == "older frame", c.firstFrameFails) << c.name;
    ExpectNoTemporaries(c.name);
  }
}

// An assembly that fails for a reason other than its frames leaves the
// older film and names the cause instead of advising to run the ranges.
TEST_F(FilmKeepsOlder, FailedAssemblyLeavesTheOlderFilmAndNamesTheCause) {
  ASSERT_EQ(RunRenderer(Film({"--frames", "1-"})).status, 0);
  TProcess p = RunRenderer(Film({"--assemble"}));
  ASSERT_EQ(p.status, 0) << p.err;
  ExpectReportedFilmsComplete(p);
  const std::vector<std::string> older = FilmBytes();
  ASSERT_FALSE(older[0].empty());
  ASSERT_FALSE(older[1].empty());

  const struct {
    const char* name;
    std::vector<std::string> more;
    rlim_t fileSize;
    const char* reason;
  } kCases[] = {
      {"bad --video", {"--video", "/nonexistent-dir/x.mp4"}, RLIM_INFINITY,
       "/nonexistent-dir/x.mp4: No such file or directory"},
      {"full disk", {}, 100000, "File too large"},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args = Film({"--assemble"});
    args.insert(args.end(), c.more.begin(), c.more.end());
    p = RunRenderer(args, {}, SIGINT, c.fileSize);
    EXPECT_EQ(p.status, 1) << c.name << '\n' << p.err;
    EXPECT_NE(p.err.find(c.reason), std::string::npos) << c.name << '\n' << p.err;
    EXPECT_EQ(p.err.find("run the ranges"), std::string::npos) << c.name << '\n' << p.err;
    EXPECT_EQ(p.err.find("wrote"), std::string::npos) << c.name << '\n' << p.err;
    EXPECT_EQ(FilmBytes(), older) << c.name;
    ExpectNoTemporaries(c.name);
  }
}

// Two runs of the same film started together: each either produces the
// film or refuses, naming the other run; what a run reports as written is
// there and complete, and nothing is left behind.
TEST_F(FilmKeepsOlder, TwoRunsOfOneFilmAtOnce) {
  ASSERT_EQ(RunRenderer(Film({"--frames", "1-"})).status, 0);
  for (const char* mode : {"--assemble", "whole"}) {
    const std::vector<std::string> args =
        std::string(mode) == "whole" ? Film() : Film({mode});
    auto first = std::async(std::launch::async, [&] { return RunRenderer(args); });
    auto second = std::async(std::launch::async, [&] { return RunRenderer(args); });
    int produced = 0;
    for (const TProcess& p : {first.get(), second.get()}) {
      if (p.status == 0) {
        ++produced;
        ExpectReportedFilmsComplete(p);
      } else {
        EXPECT_EQ(p.status, 1) << mode << '\n' << p.err;
        EXPECT_NE(p.err.find("is being produced by another run"), std::string::npos)
            << mode << '\n' << p.err;
        EXPECT_EQ(p.err.find(".avi\n"), std::string::npos) << mode << '\n' << p.err;
      }
    }
    EXPECT_GE(produced, 1) << mode;
    const test::TAviCheck avi = test::CheckAvi(test::ReadFileBytes(Avi().string()));
    EXPECT_TRUE(avi.ok) << mode << ": " << avi.error;
    EXPECT_EQ(avi.chunks, 9u) << mode;
    EXPECT_TRUE(fs::exists(Mp4())) << mode;
    ExpectNoTemporaries(mode);
    EXPECT_FALSE(fs::exists(out_ / "Alt.lock")) << mode;
  }
}

// Temporary files of a film killed while writing are removed by the next
// film of that name, the videos' too; those of a writer at work (which
// holds their lock) are not.
TEST_F(FilmKeepsOlder, NextFilmRemovesOnlyLeftoversOfWritersThatAreGone) {
  const fs::path video = dir_ / "film.mp4";
  const fs::path gone[] = {dir_ / "film.mp4.Gone01", out_ / "Alt-Anim-S00001-F01.mp4.Gone02",
                           out_ / "Alt-Anim-S00001-F01.avi.Gone03"};
  const fs::path busy[] = {dir_ / "film.mp4.Busy01", out_ / "Alt-Anim-S00001-F01.avi.Busy02"};
  std::vector<int> locks;
  for (const fs::path& f : gone) test::WriteText(f, "left by a killed film");
  for (const fs::path& f : busy) {
    test::WriteText(f, "being written");
    locks.push_back(::open(f.c_str(), O_RDWR | O_CLOEXEC));
    ASSERT_EQ(::flock(locks.back(), LOCK_EX | LOCK_NB), 0);
  }
  const TProcess p = RunRenderer(Film({"--video", video.string()}));
  EXPECT_EQ(p.status, 0) << p.err;
  for (const fs::path& f : gone) EXPECT_FALSE(fs::exists(f)) << f;
  for (const fs::path& f : busy) EXPECT_TRUE(fs::exists(f)) << f;
  for (int fd : locks) ::close(fd);
  EXPECT_TRUE(fs::exists(video));
}

// The film movie (-Animation.ini) is named only by the run that saved it:
// never by a range job, not after "could not be saved"; a plan that cannot
// save it fails.
TEST_F(FilmKeepsOlder, FilmMovieIsNamedOnlyWhenThisRunSavedIt) {
  TProcess p = RunRenderer(Film({"--frames", "1-3"}));
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(p.err.find("-Animation.ini"), std::string::npos) << p.err;

  p = RunRenderer(Film({"--plan"}));
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_NE(p.err.find("wrote " + (out_ / "Alt-Animation.ini").string()), std::string::npos)
      << p.err;

  // A folder in the film movie's place: its save fails, also for root.
  fs::remove(out_ / "Alt-Animation.ini");
  fs::create_directories(out_ / "Alt-Animation.ini" / "x");
  for (const char* mode : {"--plan", "whole"}) {
    p = RunRenderer(std::string(mode) == "whole" ? Film() : Film({mode}));
    EXPECT_NE(p.err.find("could not be saved"), std::string::npos) << mode << '\n' << p.err;
    EXPECT_EQ(p.err.find("wrote " + (out_ / "Alt-Animation.ini").string()), std::string::npos)
        << mode << '\n' << p.err;
    if (std::string(mode) == "--plan") {
      EXPECT_EQ(p.status, 1) << p.err;
    }
  }
}

}  // namespace
