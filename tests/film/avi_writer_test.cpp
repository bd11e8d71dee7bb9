#include "film/avi_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>

#include "film/avi_check.h"

namespace ork {
namespace {

using test::CheckAvi;
using test::CodeAt;
using test::ReadFileBytes;
using test::U32At;

// Collects diagnostic lines.
class TRecordingHost : public THost {
 public:
  std::vector<std::string> lines;
  void Diagnostic(const std::string& line) override { lines.push_back(line); }
};

std::string TempDir() {
  auto dir = std::filesystem::temp_directory_path() /
             ("ork_avi_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

TPixmap NumberedPicture(int w, int h, uint32_t seed) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Set(x, y, seed * 0x01000193u + static_cast<uint32_t>(y * w + x));
  return p;
}

TEST(AviWriter, HeaderOfTheWorkedExampleByteByByte) {
  // W = 4, H = 2, N = 3, F = 25: S = 32.
  std::vector<uint8_t> expected;
  auto code = [&](const char* c) {
    for (int i = 0; i < 4; ++i) expected.push_back(static_cast<uint8_t>(c[i]));
  };
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) expected.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    expected.push_back(static_cast<uint8_t>(v));
    expected.push_back(static_cast<uint8_t>(v >> 8));
  };
  code("RIFF"); u32(328); code("AVI ");
  code("LIST"); u32(184); code("hdrl");
  code("avih"); u32(56); u32(40000); u32(0); u32(0); u32(0); u32(3); u32(0); u32(1);
  u32(32); u32(4); u32(2); u32(1); u32(25); u32(0); u32(3);
  code("LIST"); u32(108); code("strl");
  code("strh"); u32(48); code("vids"); code("RGBA"); u32(0); u32(0); u32(0); u32(1);
  u32(25); u32(0); u32(3); u32(32); u32(0); u32(0);
  code("strf"); u32(40); u32(40); u32(4); u32(2); u16(1); u16(32); u32(0); u32(32);
  u32(0); u32(0); u32(0); u32(0);
  code("LIST"); u32(124); code("movi");
  ASSERT_EQ(expected.size(), 216u);

  const auto header = AviHeaderBytes(4, 2, 3, 25);
  EXPECT_EQ(std::vector<uint8_t>(header.begin(), header.end()), expected);

  // Integer division of the frame time; a rate below 1 is written as 1.
  const auto f3 = AviHeaderBytes(4, 2, 3, 3);
  std::vector<uint8_t> b3(f3.begin(), f3.end());
  EXPECT_EQ(U32At(b3, 32), 333333u);
  const auto f0 = AviHeaderBytes(4, 2, 3, 0);
  std::vector<uint8_t> b0(f0.begin(), f0.end());
  EXPECT_EQ(U32At(b0, 32), 1000000u);
  EXPECT_EQ(U32At(b0, 76), 1u);
  EXPECT_EQ(U32At(b0, 132), 1u);
}

TEST(AviWriter, WrittenFileHasTheTabledLayoutAndBottomUpFrames) {
  const std::string path = TempDir() + "/example.avi";
  TRecordingHost host;
  {
    TAviStream avi(host);
    ASSERT_TRUE(avi.Create(path));
    ASSERT_TRUE(WriteAviHeader(avi, 4, 2, 3, 25));
    EXPECT_FALSE(WriteAviHeader(avi, 4, 2, 3, 25)) << "one header per stream";
    TPixmap first(4, 2, 0xFF000000u);
    first.Set(0, 1, 0x80112233u);  // bottom-left
    first.Set(3, 0, 0x01445566u);  // top-right
    EXPECT_TRUE(WriteAviFrame(avi, first));
    EXPECT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, 2)));
    EXPECT_FALSE(WriteAviFrame(avi, TPixmap(2, 4))) << "a frame of another size breaks the stream";
    EXPECT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, 3)));
    EXPECT_TRUE(avi.Close());
    EXPECT_EQ(avi.FramesWritten(), 3);
  }
  EXPECT_EQ(host.lines, std::vector<std::string>{"ChunkSize =328"});

  const auto bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 336u);
  const auto header = AviHeaderBytes(4, 2, 3, 25);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin())) << "header as planned";
  EXPECT_EQ(CodeAt(bytes, 216), "00db");
  EXPECT_EQ(U32At(bytes, 220), 32u);
  // Bottom row first, pixels as blue, green, red, alpha.
  EXPECT_EQ(bytes[224], 0x33);
  EXPECT_EQ(bytes[225], 0x22);
  EXPECT_EQ(bytes[226], 0x11);
  EXPECT_EQ(bytes[227], 0x80);
  EXPECT_EQ(U32At(bytes, 224 + 16 + 12), 0x01445566u) << "top row last, x = 3 at its end";

  const auto check = CheckAvi(bytes);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.chunks, 3u);

  // N = 1: one valid frame, 216 + S + 8 bytes.
  {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(path));
    ASSERT_TRUE(WriteAviHeader(avi, 5, 3, 1, 25));
    ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(5, 3, 1)));
    ASSERT_TRUE(avi.Close());
  }
  const auto one = ReadFileBytes(path);
  EXPECT_EQ(one.size(), 216u + 60u + 8u);
  EXPECT_TRUE(CheckAvi(one).ok) << CheckAvi(one).error;
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

TEST(AviWriter, StoppedFilmDescribesExactlyTheFramesItHolds) {
  const std::string path = TempDir() + "/stopped.avi";
  {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(path));
    ASSERT_TRUE(WriteAviHeader(avi, 6, 4, 60, 25));
    for (uint32_t i = 0; i < 7; ++i) ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(6, 4, i)));
    // The destructor closes like Close() does.
  }
  auto bytes = ReadFileBytes(path);
  auto check = CheckAvi(bytes);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.totalFrames, 7u);
  EXPECT_EQ(U32At(bytes, 84), 7u);
  EXPECT_EQ(bytes.size(), 216u + 7u * (96u + 8u));

  // No frame at all: an empty but valid film.
  {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(path));
    ASSERT_TRUE(WriteAviHeader(avi, 6, 4, 60, 25));
    ASSERT_TRUE(avi.Close());
  }
  bytes = ReadFileBytes(path);
  check = CheckAvi(bytes);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(bytes.size(), 216u);
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

// ffprobe's count of the video packets and the stream's duration in
// seconds, or an empty text when ffprobe is missing or fails.
std::string Probe(const std::string& path) {
  const std::string command =
      "ffprobe -v error -select_streams v:0 -count_packets -show_entries "
      "stream=nb_read_packets,duration -of csv=p=0 '" + path + "' 2>/dev/null";
  std::string out;
  if (std::FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    ::pclose(p);
  }
  return out;
}

bool HaveFfprobe() { return std::system("command -v ffprobe >/dev/null 2>&1") == 0; }

TEST(AviWriter, FilmBeyondTheLimitIsOneOpenDmlFile) {
  const std::string dir = TempDir();
  const std::string path = dir + "/Spirale-Anim-S00001-F01.avi";
  // Chunks of 40 bytes; a limit of 1024 bytes leaves room for 20 frames in
  // the plain layout, so 30 planned frames take the OpenDML layout.
  TAviStream avi;
  ASSERT_TRUE(avi.Create(path, 1024));
  ASSERT_TRUE(WriteAviHeader(avi, 4, 2, 30, 25));
  EXPECT_TRUE(avi.Extended());
  for (uint32_t i = 0; i < 27; ++i) ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, i)));
  EXPECT_FALSE(std::filesystem::exists(path)) << "under its name only when complete";
  ASSERT_TRUE(avi.Close());  // stopped three frames before the planned thirty

  const auto check = test::CheckOpenDml(path);
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.riffs, 2u);
  EXPECT_EQ(check.frames.size(), 27u);
  EXPECT_EQ(check.dmlhFrames, 27u);
  EXPECT_LT(check.avihFrames, 27u) << "the main header counts the first RIFF chunk only";
  const auto bytes = ReadFileBytes(path);
  EXPECT_LE(U32At(bytes, 4) + 8u, 1024u);
  for (uint32_t k = 0; k < 27; ++k)  // the frames in film order, bottom-left pixel first
    EXPECT_EQ(U32At(bytes, check.frames[k]), NumberedPicture(4, 2, k).Get(0, 1)) << k;
  if (HaveFfprobe()) {
    EXPECT_EQ(Probe(path), "1.080000,27\n");
  }
  std::filesystem::remove_all(dir);
}

// A frame taken back (its siblings in other files failed) leaves a film
// of the frames before it, also when it had begun a RIFF chunk of its own.
TEST(AviWriter, DroppedFrameLeavesTheFramesBefore) {
  const std::string dir = TempDir();
  const std::string path = dir + "/dropped.avi";
  auto write = [&](uint64_t limit, uint32_t frames) {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(path, limit));
    ASSERT_TRUE(WriteAviHeader(avi, 4, 2, 30, 25));
    for (uint32_t i = 0; i < frames; ++i) ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, i)));
    ASSERT_TRUE(avi.DropLastFrame());
    ASSERT_TRUE(avi.Close());
  };
  write(kAviFileLimit, 5);
  EXPECT_EQ(CheckAvi(ReadFileBytes(path)).chunks, 4u);
  write(1024, 27);
  const uint32_t firstRiff = test::CheckOpenDml(path).avihFrames;
  write(1024, firstRiff + 1);
  const auto check = test::CheckOpenDml(path);
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.riffs, 1u);
  EXPECT_EQ(check.frames.size(), firstRiff);
  EXPECT_EQ(check.dmlhFrames, firstRiff);
  std::filesystem::remove_all(dir);
}

TEST(AviWriter, FailedCreateSaysWhy) {
  TAviStream missing;
  EXPECT_FALSE(missing.Create("/nonexistent-dir/x.avi"));
  EXPECT_EQ(missing.Error(), "/nonexistent-dir/x.avi: No such file or directory");
  EXPECT_FALSE(WriteAviHeader(missing, 4, 2, 3, 25));
  EXPECT_FALSE(WriteAviFrame(missing, TPixmap(4, 2)));
  EXPECT_FALSE(missing.Close());
}

// A file-size limit in a child process stands for a full disk: the write
// that meets it fails (SIGXFSZ ignored), the partial frame is cut off and
// the film keeps the frames before it, its headers saying so.
TEST(AviWriter, FullDiskKeepsAConsistentFilmOfTheFramesWritten) {
  struct TCase {
    const char* name;
    uint64_t limit;  // plain layout: the default; OpenDML: small RIFF chunks
    rlim_t fileSize;
  };
  const TCase cases[] = {{"plain", kAviFileLimit, 216 + 40 * 5 + 20},
                         {"opendml", 1024, 1024 + 300}};
  for (const TCase& c : cases) {
    const std::string path = TempDir() + "/" + c.name + ".avi";
    const pid_t child = ::fork();
    if (child == 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{c.fileSize, c.fileSize};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      TAviStream avi;
      if (!avi.Create(path, c.limit) || !WriteAviHeader(avi, 4, 2, 60, 25)) ::_exit(101);
      for (uint32_t i = 0; i < 60; ++i)
        if (!WriteAviFrame(avi, NumberedPicture(4, 2, i))) break;
      const bool closed = avi.Close();
      const bool said = avi.Error() == path + ": File too large";
      ::_exit(!closed && said ? avi.FramesWritten() : 102);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << c.name;
    const int frames = WEXITSTATUS(status);
    ASSERT_LT(frames, 60) << c.name;
    ASSERT_GT(frames, 0) << c.name;
    if (c.limit == kAviFileLimit) {
      const auto check = CheckAvi(ReadFileBytes(path));
      EXPECT_TRUE(check.ok) << check.error;
      EXPECT_EQ(check.chunks, static_cast<uint32_t>(frames));
    } else {
      const auto check = test::CheckOpenDml(path);
      EXPECT_TRUE(check.ok) << check.error;
      EXPECT_EQ(check.frames.size(), static_cast<size_t>(frames));
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
  }
}

// kill -9 while a film is written: the film of the same name from before
// stays as it was, and the temporary file left behind is removed when the
// film is written the next time.
TEST(AviWriter, KilledWriterLeavesThePreviousFilm) {
  const std::string dir = TempDir();
  const std::string path = dir + "/film.avi";
  {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(path));
    ASSERT_TRUE(WriteAviHeader(avi, 4, 2, 2, 25));
    ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, 1)));
    ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, 2)));
  }
  const auto before = ReadFileBytes(path);
  const pid_t child = ::fork();
  if (child == 0) {
    TAviStream avi;
    avi.Create(path);
    WriteAviHeader(avi, 4, 2, 9, 25);
    WriteAviFrame(avi, NumberedPicture(4, 2, 7));
    ::raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(ReadFileBytes(path), before);
  auto entries = [&] {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
      names.push_back(e.path().filename().string());
    return names;
  };
  EXPECT_EQ(entries().size(), 2u) << "the film and the killed writer's temporary file";

  TAviStream again;
  ASSERT_TRUE(again.Create(path));
  ASSERT_TRUE(again.Close());
  EXPECT_EQ(entries(), std::vector<std::string>{"film.avi"});
  std::filesystem::remove_all(dir);
}

// The real size: a 1920 x 1080 film beyond 1 GiB is one file that ffprobe
// reads to its last frame.
TEST(AviWriter, FullHdFilmOverOneGigabyteOnRamDisk) {
  if (!HaveFfprobe()) GTEST_SKIP() << "no ffprobe";
  struct statvfs fs {};
  if (::statvfs("/dev/shm", &fs) != 0) GTEST_SKIP() << "no /dev/shm";
  const uint64_t free = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
  const int w = 1920, h = 1080, n = 140;  // 8.3 MB a frame, 1.16 GB in all
  const uint64_t chunk = uint64_t{w} * h * 4 + 8;
  if (free < chunk * n + (uint64_t{256} << 20)) GTEST_SKIP() << "/dev/shm too small";

  const std::string dir = "/dev/shm/ork_avi_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/Big.avi";
  const TPixmap picture = NumberedPicture(w, h, 1);
  {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(path));
    ASSERT_TRUE(WriteAviHeader(avi, w, h, n, 25));
    EXPECT_TRUE(avi.Extended());
    for (int i = 0; i < n; ++i) ASSERT_TRUE(WriteAviFrame(avi, picture)) << i;
    ASSERT_TRUE(avi.Close());
  }
  EXPECT_GT(std::filesystem::file_size(path), kAviFileLimit);
  const auto check = test::CheckOpenDml(path);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.riffs, 2u);
  EXPECT_EQ(Probe(path), "5.600000,140\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ork
