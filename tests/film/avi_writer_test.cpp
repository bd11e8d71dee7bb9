#include "film/avi_writer.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

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

TEST(AviWriter, FilmBeyondTheFileLimitContinuesInFurtherFiles) {
  const std::string dir = TempDir();
  const std::string path = dir + "/Spirale-Anim-S00001-F01.avi";
  // Chunks of 40 bytes, room for three frames per file.
  const uint64_t limit = 216 + 3 * 40 + 39;
  TAviStream avi;
  ASSERT_TRUE(avi.Create(path, limit));
  ASSERT_TRUE(WriteAviHeader(avi, 4, 2, 8, 25));
  EXPECT_EQ(avi.FramesPerFile(), 3u);
  for (uint32_t i = 0; i < 7; ++i) ASSERT_TRUE(WriteAviFrame(avi, NumberedPicture(4, 2, i)));
  ASSERT_TRUE(avi.Close());  // stopped one frame before the planned eight

  const std::vector<std::string> names = {path, dir + "/Spirale-Anim-S00001-F01-2.avi",
                                          dir + "/Spirale-Anim-S00001-F01-3.avi"};
  EXPECT_EQ(avi.Files(), names);
  const uint32_t frames[] = {3, 3, 1};
  uint32_t seed = 0;
  for (int i = 0; i < 3; ++i) {
    const auto bytes = ReadFileBytes(names[i]);
    const auto check = CheckAvi(bytes);
    EXPECT_TRUE(check.ok) << names[i] << ": " << check.error;
    EXPECT_EQ(check.totalFrames, frames[i]) << names[i];
    EXPECT_LE(bytes.size(), limit);
    // The frames continue in order across the files.
    for (uint32_t k = 0; k < frames[i]; ++k, ++seed) {
      const TPixmap expect = NumberedPicture(4, 2, seed);
      EXPECT_EQ(U32At(bytes, check.firstChunkData + k * 40), expect.Get(0, 1));
    }
  }
  std::filesystem::remove_all(dir);
}

TEST(AviWriter, FailedWritesAreReported) {
  TAviStream missing;
  EXPECT_FALSE(missing.Create("/nonexistent-dir/x.avi"));
  EXPECT_FALSE(WriteAviHeader(missing, 4, 2, 3, 25));
  EXPECT_FALSE(WriteAviFrame(missing, TPixmap(4, 2)));

  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TAviStream full;
  ASSERT_TRUE(full.Create("/dev/full"));
  EXPECT_FALSE(WriteAviHeader(full, 4, 2, 3, 25));
  EXPECT_TRUE(full.Failed());
  EXPECT_FALSE(WriteAviFrame(full, TPixmap(4, 2)));
  EXPECT_FALSE(full.Close());
}

TEST(AviWriter, FullHdFilmOverOneGigabyteOnRamDisk) {
  struct statvfs fs {};
  if (::statvfs("/dev/shm", &fs) != 0) GTEST_SKIP() << "no /dev/shm";
  const uint64_t free = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
  const int w = 1920, h = 1080, n = 140;  // 8.3 MB a frame, 1.16 GB in all
  const uint64_t chunk = uint64_t{w} * h * 4 + 8;
  if (free < chunk * n + (uint64_t{256} << 20)) GTEST_SKIP() << "/dev/shm too small";

  const std::string dir = "/dev/shm/ork_avi_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const TPixmap picture = NumberedPicture(w, h, 1);
  std::vector<std::string> files;
  {
    TAviStream avi;
    ASSERT_TRUE(avi.Create(dir + "/Big.avi"));
    ASSERT_TRUE(WriteAviHeader(avi, w, h, n, 25));
    for (int i = 0; i < n; ++i) ASSERT_TRUE(WriteAviFrame(avi, picture)) << i;
    ASSERT_TRUE(avi.Close());
    files = avi.Files();
  }
  const uint64_t perFile = (kAviFileLimit - 216) / chunk;
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1], dir + "/Big-2.avi");
  uint64_t seen = 0;
  for (const auto& f : files) {
    const uint64_t size = std::filesystem::file_size(f);
    EXPECT_LE(size, kAviFileLimit);
    // Header and chunk walk without loading the whole file.
    std::vector<uint8_t> head(216);
    std::FILE* in = std::fopen(f.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    ASSERT_EQ(std::fread(head.data(), 1, 216, in), 216u);
    std::fclose(in);
    const uint32_t frames = U32At(head, 48);
    EXPECT_EQ(U32At(head, 4) + 8ull, size);
    EXPECT_EQ(216 + frames * chunk, size);
    EXPECT_EQ(U32At(head, 140), frames);
    seen += frames;
  }
  EXPECT_EQ(seen, static_cast<uint64_t>(n));
  EXPECT_EQ(std::filesystem::file_size(files[0]), 216 + perFile * chunk);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ork
