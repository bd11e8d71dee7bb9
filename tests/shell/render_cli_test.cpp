#include "shell/render_cli.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include <unistd.h>

#include "engine/allocation.h"
#include "engine/render.h"
#include "engine/worker_pool.h"
#include "model/latin1.h"
#include "model/movie.h"
#include "picture/picture_files.h"
#include "shell/render_cli_host.h"
#include "shell/settings.h"
#include "film/video_probe.h"
#include "settings_test_util.h"

namespace ork {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::WriteAll;

const std::string kDefaultMovie = std::string(ORK_SOURCE_DIR) + "/data/INI/Default.ini";

struct TRun {
  int status = -1;
  std::string out, err;
};

TRun RunCli(const std::vector<std::string>& args) {
  TRun r;
  TRenderOptions options;
  std::string error;
  if (!ParseRenderArgs(args, options, error)) {
    r.err = error;
    r.status = kRenderFailed;
    return r;
  }
  std::ostringstream out, err;
  r.status = RunRender(options, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

fs::path Fresh(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("orkelund_render_" + name + "_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  ResetProcessState();
  return dir;
}

TEST(RenderCli, ParsesTheContract) {
  TRenderOptions o;
  std::string error;
  ASSERT_TRUE(ParseRenderArgs({"--workdir", "w", "--movie", "m.ini", "--key=3", "--out", "a.png",
                               "--out=b.jpg", "--composition", "fourfold", "--print-movie", "--no",
                               "--quiet"},
                              o, error))
      << error;
  EXPECT_EQ(o.WorkDir, "w");
  EXPECT_EQ(o.Movie, "m.ini");
  EXPECT_EQ(o.Key, 3);
  EXPECT_EQ(o.Outs, (std::vector<std::string>{"a.png", "b.jpg"}));
  EXPECT_EQ(o.Composition, TRenderComposition::Fourfold);
  EXPECT_TRUE(o.PrintMovie && !o.Yes && o.Quiet && !o.Help);
  EXPECT_FALSE(o.Verbose);
  EXPECT_EQ(o.Threads, 0);
  ASSERT_TRUE(ParseRenderArgs({"--movie", "m", "--threads=3", "--verbose"}, o, error));
  EXPECT_EQ(o.Threads, 3);
  EXPECT_TRUE(o.Verbose);

  ASSERT_TRUE(ParseRenderArgs({"--movie", "m.ini", "--no", "--yes"}, o, error));
  EXPECT_TRUE(o.Yes);
  EXPECT_EQ(o.WorkDir, ".");
  EXPECT_EQ(o.Key, 0);
  EXPECT_EQ(o.Composition, TRenderComposition::Single);
  ASSERT_TRUE(ParseRenderArgs({"--help"}, o, error));
  EXPECT_TRUE(o.Help);

  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--out", "a.png"},
      {"--movie"},
      {"--movie", "m", "--key", "0"},
      {"--movie", "m", "--key", "-1"},
      {"--movie", "m", "--key", "2x"},
      {"--movie", "m", "--key", "99999999999"},
      {"--movie", "m", "--composition", "triple"},
      {"--movie", "m", "--quiet=1"},
      {"--movie", "m", "extra"},
      {"--movie", "m", "--out", ""},
      {"--movie", "m", "--film", "x"},
      {"--movie", "m", "--threads", "0"},
      {"--movie", "m", "--threads", "two"},
      {"--movie", "m", "--threads"},
      // Picture names: an unknown format, no base name, two writers of
      // standard output.
      {"--movie", "m", "--out", "x.tif"},
      {"--movie", "m", "--out", "dir/"},
      {"--movie", "m", "--out", "dir/.png"},
      {"--movie", "m", "--out", "-", "--print-movie"},
  };
  for (const auto& args : bad) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_FALSE(ParseRenderArgs(args, o, error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
  }

  const std::string help = RenderHelpText();
  for (const char* word : {"--workdir", "--movie", "--key", "--out", "--composition", "double",
                           "fourfold", "--print-movie", "--yes", "--no", "--quiet", "--help",
                           "--verbose", "--threads",
                           "Exit status", "[SaveImage]"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
  TRun h = RunCli({"--help"});
  EXPECT_EQ(h.status, kRenderOk);
  EXPECT_EQ(h.out, help);
}

TEST(RenderCli, MissingMovieIsStatusTwoWithoutFallback) {
  const fs::path dir = Fresh("missing");
  TRun r = RunCli({"--workdir", dir.string(), "--movie", (dir / "nope.ini").string(), "--out",
                (dir / "x.png").string()});
  EXPECT_EQ(r.status, kRenderMovieMissing);
  EXPECT_NE(r.err.find("does not exist"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "x.png"));
  EXPECT_FALSE(fs::exists(dir / "Default.ini"));  // no fallback movie made up beside it
  TRun d = RunCli({"--workdir", dir.string(), "--movie", dir.string()});
  EXPECT_EQ(d.status, kRenderMovieMissing);
  EXPECT_NE(d.err.find("is not a file"), std::string::npos);
}

// A file that is not a movie (no keyframe section) is refused instead of
// rendering the loader's made-up keyframes.
TEST(RenderCli, FileWithoutKeyframesIsRefused) {
  const fs::path dir = Fresh("notmovie");
  WriteAll(dir / "passwd", "root:x:0:0:root:/root:/bin/bash\n[OUTPUT]\nWidth=64\n");
  WriteAll(dir / "empty.ini", "");
  for (const char* name : {"passwd", "empty.ini"}) {
    TRun r = RunCli({"--workdir", dir.string(), "--movie", (dir / name).string(), "--out",
                     (dir / "p.png").string(), "--quiet"});
    EXPECT_EQ(r.status, kRenderFailed) << name;
    EXPECT_NE(r.err.find("is not a movie file: it has no keyframe section"), std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir / "p.png")) << name;
  }
}

// The README's first steps in an empty folder: the movie named inside the
// working folder exists once the folder is seeded, and the new folder's
// settings come without the warning about a lost Settings.ini; a folder
// that lost its Settings.ini still gets the warning.
TEST(RenderCli, FreshFolderIsSeededBeforeTheMovieIsCheckedAndWithoutWarning) {
  const fs::path dir = Fresh("fresh") / "work";
  const std::string movie = (dir / "INI" / "Default.ini").string();
  TRun r = RunCli({"--workdir", dir.string(), "--movie", movie, "--print-movie", "--quiet"});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  EXPECT_EQ(r.out, ReadAll(kDefaultMovie));
  EXPECT_EQ(r.err.find("Settings.ini"), std::string::npos) << r.err;
  EXPECT_EQ(ReadAll(dir / "INI" / "Settings.ini"), DefaultSettingsText());

  fs::remove(dir / "INI" / "Settings.ini");
  r = RunCli({"--workdir", dir.string(), "--movie", movie, "--print-movie", "--quiet"});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  EXPECT_NE(r.err.find("The file Settings.ini was missing"), std::string::npos) << r.err;
}

// "--out -" writes the PNG to standard output, as image tools do.
TEST(RenderCli, DashWritesThePngToStandardOutput) {
  const fs::path dir = Fresh("stdout");
  TRun r = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--out", "-", "--out",
                   (dir / "file.png").string(), "--quiet"});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  EXPECT_EQ(r.out, ReadAll(dir / "file.png"));
  EXPECT_FALSE(fs::exists("-.png"));
  EXPECT_TRUE(fs::is_empty(dir / "TEMP"));
}

TEST(RenderCli, ShippedStartMovieLoadsCleanlyAndPrintsAsItIsStored) {
  const fs::path dir = Fresh("print");
  TRun r = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--print-movie"});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  // Stored exactly in the writer's format: printing reproduces the file.
  EXPECT_EQ(r.out, ReadAll(kDefaultMovie));
  // No repair message and no question.
  EXPECT_EQ(r.err.find("Please save the ini-DataSet"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("is missing"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("question:"), std::string::npos) << r.err;
  // The working directory was prepared and seeded with the start movie.
  EXPECT_EQ(ReadAll(dir / "INI" / "Default.ini"), ReadAll(kDefaultMovie));
  EXPECT_TRUE(fs::exists(dir / "INI" / "Settings.ini"));
  EXPECT_TRUE(fs::is_empty(dir / "TEMP"));

  // --key sets Actual of the printed movie; out of range is an error.
  TRun k = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--key", "2",
                "--print-movie", "--quiet"});
  ASSERT_EQ(k.status, kRenderOk);
  EXPECT_NE(k.out.find("[KEYS]\r\nCount="), std::string::npos);
  EXPECT_NE(k.out.find("\r\nActual=2\r\n"), std::string::npos);
  TRun o = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--key", "99"});
  EXPECT_EQ(o.status, kRenderFailed);
  EXPECT_NE(o.err.find("--key 99"), std::string::npos);
}

TEST(RenderCli, RepairsAreReportedAndQuestionsAnsweredFromTheFlag) {
  const fs::path dir = Fresh("repair");
  std::string movie = ReadAll(kDefaultMovie);
  // One keyframe section more than Count says.
  const size_t at = movie.find("[KEYS]\r\nCount=");
  ASSERT_NE(at, std::string::npos);
  const int count = std::atoi(movie.c_str() + at + 14);
  movie += "[KEY" + std::to_string(count + 1) + "]\r\nHeightY=1\r\n\r\n";
  WriteAll(dir / "more.ini", movie);
  TRun no = RunCli({"--workdir", dir.string(), "--movie", (dir / "more.ini").string(), "--no",
                 "--print-movie"});
  ASSERT_EQ(no.status, kRenderOk) << no.err;
  EXPECT_NE(no.err.find("question: There are more KEY exists"), std::string::npos) << no.err;
  EXPECT_NE(no.err.find("-> no"), std::string::npos);
  EXPECT_NE(no.out.find("Count=" + std::to_string(count) + "\r\n"), std::string::npos);
  TRun yes = RunCli({"--workdir", dir.string(), "--movie", (dir / "more.ini").string(),
                  "--print-movie", "--quiet"});
  ASSERT_EQ(yes.status, kRenderOk);
  EXPECT_NE(yes.err.find("-> yes"), std::string::npos);
  EXPECT_NE(yes.out.find("Count=" + std::to_string(count + 1) + "\r\n"), std::string::npos);
  // The repair message is a message, not an error.
  EXPECT_NE(yes.err.find("message: Please save the ini-DataSet."), std::string::npos) << yes.err;
}

// Distinct colours of a picture, to tell a picture from a flat area.
size_t Colours(const TPixmap& p) {
  std::set<uint32_t> colours;
  for (int y = 0; y < p.Height(); y += 3)
    for (int x = 0; x < p.Width(); x += 3) colours.insert(p.Get(x, y));
  return colours.size();
}

TEST(RenderCli, RendersTheStartMovieToPngJpegAndBmp) {
  const fs::path dir = Fresh("formats");
  const fs::path out = dir / "pictures";
  fs::create_directories(out);
  TRun r = RunCli({"--workdir", (dir / "work").string(), "--movie", kDefaultMovie, "--out",
                (out / "start.png").string(), "--out", (out / "start.JPEG").string(), "--out",
                (out / "start.bmp").string(), "--out", (out / "all").string()});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  EXPECT_NE(r.err.find("Please wait, line "), std::string::npos);
  // Diagnostic lines only with --verbose; every file written is named at the end.
  EXPECT_EQ(r.err.find("> Calculate "), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("TypDef Anfang"), std::string::npos) << r.err;
  for (const char* name : {"start.png", "start.jpg", "start.bmp", "all.jpg", "all.png", "all.bmp"})
    EXPECT_NE(r.err.find("orkelund-render: wrote " + (out / name).string() + "\n"), std::string::npos)
        << name << "\n" << r.err;
  if (test::HaveTool("pngcheck")) {
    for (const char* name : {"start.png", "all.png"})
      EXPECT_EQ(std::system(("pngcheck -q '" + (out / name).string() + "' >/dev/null").c_str()), 0)
          << name;
  }

  TPixmapPtr png = LoadPng((out / "start.png").string());
  TPixmapPtr jpg = LoadJpeg((out / "start.jpg").string());
  TPixmapPtr bmp = LoadBmp((out / "start.bmp").string());
  ASSERT_TRUE(png && jpg && bmp);
  EXPECT_FALSE(fs::exists(out / "start.JPEG"));
  const int w = png->Width(), h = png->Height();
  EXPECT_GE(w, 64);
  EXPECT_GE(h, 64);
  EXPECT_EQ(jpg->Width(), w);
  EXPECT_EQ(bmp->Height(), h);
  EXPECT_GT(Colours(*png), 50u);
  // PNG and BMP are lossless: the same pixels; JPEG close to them.
  long long diff = 0, mismatches = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = png->Get(x, y);
      EXPECT_EQ(p >> 24, 255u);
      if ((p & 0xFFFFFF) != (bmp->Get(x, y) & 0xFFFFFF)) ++mismatches;
      const uint32_t j = jpg->Get(x, y);
      for (int s = 0; s < 24; s += 8)
        diff += std::abs(static_cast<int>((p >> s) & 255) - static_cast<int>((j >> s) & 255));
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_LT(static_cast<double>(diff) / (3.0 * w * h), 12.0);

  // An answer without an extension writes every [SaveImage] format.
  for (const char* ext : {".jpg", ".png", ".bmp"}) EXPECT_TRUE(fs::exists(out / ("all" + std::string(ext))));
  EXPECT_FALSE(fs::exists(out / "all"));
  EXPECT_EQ(ReadAll(out / "all.png"), ReadAll(out / "start.png"));
}

// One thread or several, the file is the same; --verbose says how it was made.
TEST(RenderCli, ThreadsChangeNothingButTheTime) {
  const fs::path dir = Fresh("threads");
  std::string bytes[2];
  for (int threads : {1, 2}) {
    const fs::path out = dir / ("t" + std::to_string(threads) + ".bmp");
    TRun r = RunCli({"--workdir", (dir / "work").string(), "--movie", kDefaultMovie, "--out",
                     out.string(), "--verbose", "--threads", std::to_string(threads)});
    ASSERT_EQ(r.status, kRenderOk) << r.err;
    EXPECT_NE(r.err.find(std::to_string(threads) + (threads == 1 ? " thread, " : " threads, ")),
              std::string::npos) << r.err;
    EXPECT_NE(r.err.find("for formula 1000"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("computed in "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("> Calculate"), std::string::npos) << r.err;
    bytes[threads - 1] = ReadAll(out);
  }
  SetWorkerThreads(0);
  EXPECT_FALSE(bytes[0].empty());
  EXPECT_EQ(bytes[0], bytes[1]);
}

// --deep switches every keyframe deep; --verbose says so with the bits, and
// names the switch for a picture past the double limit without it.
TEST(RenderCli, DeepSwitchAndItsVerboseLine) {
  TRenderOptions o;
  std::string error;
  ASSERT_TRUE(ParseRenderArgs({"--movie", "m"}, o, error));
  EXPECT_FALSE(o.Deep);
  ASSERT_TRUE(ParseRenderArgs({"--movie", "m", "--deep"}, o, error));
  EXPECT_TRUE(o.Deep);
  EXPECT_FALSE(ParseRenderArgs({"--movie", "m", "--deep=1"}, o, error));
  EXPECT_NE(RenderHelpText().find("--deep"), std::string::npos);

  const fs::path dir = Fresh("deep");
  auto movie = TParameterAnim::Load("", kDefaultMovie, QuietHost());
  movie->OutputWidth = 32;
  movie->OutputHeight = 24;
  movie->Parameter[1].bry = 1e-20;
  movie->Parameter[1].ianzmax = 50;
  ASSERT_EQ(movie->Save((dir / "").string(), "deep.ini", QuietHost()), 1);
  const std::string file = (dir / "deep.ini").string(), out = (dir / "d.bmp").string();
  TRun r = RunCli({"--workdir", (dir / "work").string(), "--movie", file, "--out", out,
                   "--verbose"});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  EXPECT_NE(r.err.find("beyond the precision of a double"), std::string::npos) << r.err;
  r = RunCli({"--workdir", (dir / "work").string(), "--movie", file, "--out", out, "--verbose",
              "--deep"});
  ASSERT_EQ(r.status, kRenderOk) << r.err;
  EXPECT_NE(r.err.find("deep picture, 1"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" bits of precision"), std::string::npos) << r.err;
}

TEST(RenderCli, CompositionsAndFailures) {
  const fs::path dir = Fresh("compositions");
  TRun d = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--composition", "double",
                "--out", (dir / "d.png").string(), "--quiet"});
  ASSERT_EQ(d.status, kRenderOk) << d.err;
  EXPECT_EQ(d.err.find("Please wait"), std::string::npos);
  EXPECT_EQ(d.err.find("> Calculate"), std::string::npos) << "diagnostic lines need --verbose";
  TRun s = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--out",
                (dir / "s.bmp").string(), "--quiet"});
  TRun f = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--composition",
                "fourfold", "--out", (dir / "f.bmp").string(), "--quiet"});
  ASSERT_EQ(f.status, kRenderOk);
  TPixmapPtr single = LoadBmp((dir / "s.bmp").string());
  TPixmapPtr twice = LoadPng((dir / "d.png").string());
  TPixmapPtr four = LoadBmp((dir / "f.bmp").string());
  ASSERT_TRUE(single && twice && four);
  EXPECT_EQ(twice->Width(), 2 * single->Width());
  EXPECT_EQ(twice->Height(), single->Height());
  EXPECT_EQ(four->Width(), 2 * single->Width());
  EXPECT_EQ(four->Height(), 2 * single->Height());
  // The separators of the fourfold picture.
  EXPECT_EQ(four->Get(single->Width() - 1, 5), 0xFFFFFFFFu);
  EXPECT_EQ(four->Get(single->Width(), 5), 0xFF000000u);

  // A picture that cannot be written fails with a message; the other
  // --out are still written.
  TRun w = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--out",
                (dir / "no" / "such" / "dir.png").string(), "--out", (dir / "ok.png").string(),
                "--quiet"});
  EXPECT_EQ(w.status, kRenderFailed);
  EXPECT_NE(w.err.find("cannot write"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "ok.png"));

  // Every [SaveImage] format off: an answer without extension writes
  // nothing, which is a failure.
  std::string settings = ReadAll(dir / "INI" / "Settings.ini");
  const size_t at = settings.find("[SaveImage]\r\nJPG=1\r\nPNG=1\r\nBMP=1");
  ASSERT_NE(at, std::string::npos);
  settings.replace(at, 33, "[SaveImage]\r\nJPG=0\r\nPNG=0\r\nBMP=0");
  WriteAll(dir / "INI" / "Settings.ini", settings);
  TRun n = RunCli({"--workdir", dir.string(), "--movie", kDefaultMovie, "--out",
                (dir / "none").string(), "--quiet"});
  EXPECT_EQ(n.status, kRenderFailed);
  EXPECT_NE(n.err.find("nothing written"), std::string::npos);
}

// A picture beyond the memory the machine can give (a lowered limit stands
// for a small machine) ends with the message naming the size and status 1;
// Max_Iterat 2 000 000 000 sizes nothing and renders. The movie file stays.
TEST(RenderCli, NoMemoryIsStatusOneWithTheSize) {
  const fs::path dir = Fresh("memory");
  auto movie = [&](const std::string& name, const std::string& size,
                   const std::string& maxIterat) {
    std::string text = ReadAll(kDefaultMovie);
    for (auto [from, to] : {std::pair<std::string, std::string>{"Width=640\r\nHeight=480", size},
                            {"Max_Iterat=250", "Max_Iterat=" + maxIterat},
                            {"MidPointX=-0.75000000000000000", "MidPointX=100"}}) {
      const size_t at = text.find(from);
      EXPECT_NE(at, std::string::npos) << from;
      text.replace(at, from.size(), to);
    }
    WriteAll(dir / name, text);
    return (dir / name).string();
  };
  const std::string big = movie("big.ini", "Width=16384\r\nHeight=16384", "250");
  const std::string deep = movie("deep.ini", "Width=64\r\nHeight=48", "2000000000");
  const std::string before = ReadAll(big);

  SetAllocationLimit(4e9);
  TRun b = RunCli({"--workdir", dir.string(), "--movie", big, "--out", (dir / "b.png").string(),
                   "--quiet"});
  SetAllocationLimit(0);
  EXPECT_EQ(b.status, kRenderFailed);
  EXPECT_NE(b.err.find("orkelund-render: Not enough memory: " +
                       ByteSizeText(RenderBytes(16384, 16384)) +
                       " for the picture buffers 16384 x 16384 could not be allocated."),
            std::string::npos)
      << b.err;
  EXPECT_FALSE(fs::exists(dir / "b.png"));
  EXPECT_EQ(ReadAll(big), before);

  TRun d = RunCli({"--workdir", dir.string(), "--movie", deep, "--out", (dir / "d.png").string(),
                   "--quiet"});
  EXPECT_EQ(d.status, kRenderOk) << d.err;
  EXPECT_TRUE(fs::exists(dir / "d.png"));
}

// The largest values a movie file can hold load and compute (what they cost
// follows what the picture computes), or end with a message: never abort.
TEST(RenderCli, HugeValuesComputeOrFailWithAMessage) {
  const fs::path dir = Fresh("huge");
  struct TCase {
    const char* from;
    const char* to;
    bool inside;  // the whole set, or a view inside it where every orbit cycles soon
    int status;
  } cases[] = {
      {"CycleTest=10", "CycleTest=2147483647", false, kRenderOk},
      {"Max_Iterat=250", "Max_Iterat=100000000", true, kRenderOk},
      {"Max_Iterat=250", "Max_Iterat=2147483647", true, kRenderOk},
      {"Width=64\r\nHeight=48", "Width=16385\r\nHeight=2147483647", false, kRenderFailed},
  };
  int n = 0;
  for (const TCase& c : cases) {
    std::string text = ReadAll(kDefaultMovie);
    for (auto [from, to] : {std::pair<std::string, std::string>{"Width=640\r\nHeight=480",
                                                                 "Width=64\r\nHeight=48"},
                            {"MidPointX=-0.75000000000000000",
                             c.inside ? "MidPointX=-0.1" : "MidPointX=-0.75"},
                            {"HeightY=2.5000000000000000",
                             c.inside ? "HeightY=0.2" : "HeightY=2.5"},
                            {c.from, c.to}}) {
      const size_t at = text.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      text.replace(at, from.size(), to);
    }
    const fs::path movie = dir / ("m" + std::to_string(++n) + ".ini");
    WriteAll(movie, text);
    // The largest picture stands for one beyond the machine's memory.
    SetAllocationLimit(c.status == kRenderOk ? 0 : 1e9);
    TRun r = RunCli({"--workdir", dir.string(), "--movie", movie.string(), "--out",
                     (dir / "p.png").string(), "--quiet"});
    SetAllocationLimit(0);
    EXPECT_EQ(r.status, c.status) << c.to << ": " << r.err;
    if (c.status != kRenderOk) {
      EXPECT_NE(r.err.find("Not enough memory"), std::string::npos) << r.err;
    }
  }
}

// The executable itself: exit statuses as a batch user sees them.
TEST(RenderCli, ExecutableExitStatuses) {
  const std::string exe = std::string(ORK_BINARY_DIR) + "/bin/orkelund-render";
  if (!fs::exists(exe)) GTEST_SKIP() << "orkelund-render not built";
  const fs::path dir = Fresh("exe");
  auto status = [&](const std::string& args) {
    const int raw = std::system((exe + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  const std::string wd = "--workdir '" + dir.string() + "' ";
  // Usage errors 2, other failures 1.
  EXPECT_EQ(status(wd + "--movie '" + (dir / "missing.ini").string() + "'"), 2);
  EXPECT_EQ(status(wd + "--bogus"), 2);
  EXPECT_EQ(status(wd + "--movie '" + kDefaultMovie + "' --out"), 2);
  EXPECT_EQ(status(wd + "--movie '" + kDefaultMovie + "' --out x.tif"), 2);
  EXPECT_EQ(status(wd + "--movie /etc/passwd"), 1);
  EXPECT_EQ(status("--help"), 0);
  EXPECT_EQ(status("--version"), 0);
  EXPECT_EQ(test::CommandOutput(exe + " --version"), std::string("orkelund-render ") + ORK_VERSION + "\n");
  EXPECT_EQ(status(wd + "--movie '" + kDefaultMovie + "' --quiet --out '" +
                   (dir / "e.jpg").string() + "'"),
            0);
  EXPECT_TRUE(LoadJpeg((dir / "e.jpg").string()));
}

// Computing settings from the environment that are not understood are
// named in a warning and ignored; the names --verbose prints are understood.
TEST(RenderCli, EnvironmentSettingsNotUnderstoodAreNamed) {
  const std::string exe = std::string(ORK_BINARY_DIR) + "/bin/orkelund-render";
  if (!fs::exists(exe)) GTEST_SKIP() << "orkelund-render not built";
  const fs::path dir = Fresh("environment");
  WriteAll(dir / "m.ini",
           "[OUTPUT]\r\nWidth=16\r\nHeight=12\r\nFileName=E\r\n\r\n[KEYS]\r\nCount=1\r\n"
           "Actual=1\r\n\r\n[KEY1]\r\nNoOfFormula=1000\r\nHeightY=3\r\nMax_Iterat=20\r\n");
  const struct {
    const char* setting;
    const char* warning;  // null: none
  } cases[] = {{"ORK_THREADS=abc", "ORK_THREADS='abc'"},
               {"ORK_THREADS=0", "ORK_THREADS='0'"},
               {"ORK_THREADS=-3", "ORK_THREADS='-3'"},
               {"ORK_THREADS=3x", "ORK_THREADS='3x'"},
               {"ORK_THREADS=99999999999999999999", "ORK_THREADS='99999999999999999999'"},
               {"ORK_SIMD=foo", "ORK_SIMD='foo'"},
               {"ORK_THREADS=2", nullptr},
               {"ORK_SIMD=AVX2", nullptr},
               {"ORK_SIMD=AVX-512", nullptr}};
  for (const auto& c : cases) {
    const fs::path err = dir / "err.txt";
    const int raw = std::system((std::string("env ") + c.setting + " '" + exe + "' --workdir '" +
                                 (dir / "work").string() + "' --movie '" + (dir / "m.ini").string() +
                                 "' --quiet --out '" + (dir / "e.bmp").string() + "' 2>'" +
                                 err.string() + "'")
                                    .c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << c.setting;
    const std::string text = ReadAll(err);
    if (c.warning != nullptr) {
      EXPECT_NE(text.find(std::string("warning: ") + c.warning), std::string::npos)
          << c.setting << ": " << text;
    } else {
      EXPECT_EQ(text.find("warning"), std::string::npos) << c.setting << ": " << text;
    }
  }
}

}  // namespace
}  // namespace ork

namespace ork {
namespace {

TEST(RenderCli, HostWritesMessagesProgressAndAnswers) {
  std::ostringstream err;
  {
    TRenderHost host(err, false, false, true);
    for (int row = 0; row < 100; ++row) host.StatusText("Please wait, line " + std::to_string(row) + "/100");
    EXPECT_FALSE(host.Question("Count +1 ?"));
    host.Information(Latin1("Größe"));
    host.Diagnostic("> Calculate ");
    host.SetSaveAnswer("/x/y.png");
    EXPECT_EQ(host.ChooseSaveFile("t", "p", ""), "/x/y.png");
  }
  const std::string text = err.str();
  size_t progress = 0;
  for (size_t at = 0; (at = text.find("Please wait", at)) != std::string::npos; ++at) ++progress;
  EXPECT_EQ(progress, 10u);  // one line per tenth when not on a terminal
  EXPECT_NE(text.find("question: Count +1 ? -> no\n"), std::string::npos);
  EXPECT_NE(text.find("message: Gr\xC3\xB6\xC3\x9F" "e\n"), std::string::npos);
  EXPECT_NE(text.find("> Calculate \n"), std::string::npos);

  std::ostringstream quiet;
  {
    TRenderHost host(quiet, true, true, false);
    host.StatusText("Please wait, line 1/2");
    host.Diagnostic("> Calculate ");
    EXPECT_TRUE(host.Question("q"));
  }
  // Diagnostic lines only when verbose; questions and messages always.
  EXPECT_EQ(quiet.str(), "orkelund-render: question: q -> yes\n");
  EXPECT_EQ(Latin1ToUtf8("a\xE4\xFF"), "a\xC3\xA4\xC3\xBF");
}

TEST(RenderCli, UnreadableMovieFailsWithoutFallback) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  const fs::path dir = Fresh("unreadable");
  WriteAll(dir / "locked.ini", ReadAll(kDefaultMovie));
  fs::permissions(dir / "locked.ini", fs::perms::none);
  TRun r = RunCli({"--workdir", (dir / "w").string(), "--movie", (dir / "locked.ini").string()});
  EXPECT_EQ(r.status, kRenderFailed);
  EXPECT_NE(r.err.find("cannot read"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "Default.ini"));
}

}  // namespace
}  // namespace ork

namespace ork {
namespace {

// The shipped start movie: several keyframes that zoom in and turn, each
// marked for interpolation to the next, so that a film can be made at once.
TEST(RenderCli, StartMovieIsReadyForAFilm) {
  test::TRecordingHost host;
  std::unique_ptr<TParameterAnim> movie =
      TParameterAnim::Load(std::string(ORK_SOURCE_DIR) + "/data/INI/", "Default.ini", host);
  EXPECT_TRUE(host.infos.empty());
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(movie->Run, "OK");
  ASSERT_GE(movie->Count, 3);
  EXPECT_EQ(movie->Actual, 1);
  for (int i = 1; i < movie->Count; ++i) {
    const TParameter& a = movie->Parameter[i];
    const TParameter& b = movie->Parameter[i + 1];
    EXPECT_GT(a.bry, b.bry * 4) << "zoom from key " << i;
    EXPECT_NE(a.Degree, b.Degree) << "rotation from key " << i;
    EXPECT_GT(a.Seconds, 0) << i;
    EXPECT_EQ(a.GameNo, b.GameNo) << i;
    EXPECT_NE(a.InterpolationList.find("(HeightY,*)"), std::string::npos) << i;
    EXPECT_NE(a.InterpolationList.find("(Degree,+)"), std::string::npos) << i;
  }
}

}  // namespace
}  // namespace ork
