#include "picture/picture_files.h"

#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/render.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/picture_files_save.h"
#include "picture/temp_dir.h"

namespace ork {
namespace {

namespace fs = std::filesystem;

using picture_test::TempDir;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// Every pixel different: red from x, green from y, blue mixed.
TPixmap TestPicture(int w, int h, bool varyAlpha = false) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t a = varyAlpha ? static_cast<uint32_t>((x * 37 + y * 11) & 0xFF) : 0xFF;
      p.Set(x, y, (a << 24) | ((x * 2 & 0xFF) << 16) | ((y * 5 & 0xFF) << 8) | ((x + y) & 0xFF));
    }
  return p;
}

TEST(PictureFiles, BmpLayoutByteByByte) {
  TempDir dir;
  const int w = 101, h = 3;
  TPixmap pic = TestPicture(w, h);
  ASSERT_TRUE(SaveBmp24(pic, dir / "a.bmp"));
  std::vector<uint8_t> b = ReadBytes(dir / "a.bmp");
  const uint32_t row = 304, size = row * h;
  ASSERT_EQ(b.size(), 54u + size);
  EXPECT_EQ(Le16(b, 0), 19778u);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(Le32(b, 2), 54u + size);
  EXPECT_EQ(Le16(b, 6), 0u);
  EXPECT_EQ(Le16(b, 8), 0u);
  EXPECT_EQ(Le32(b, 10), 54u);
  EXPECT_EQ(Le32(b, 14), 40u);
  EXPECT_EQ(Le32(b, 18), 101u);
  EXPECT_EQ(Le32(b, 22), 3u);
  EXPECT_EQ(Le16(b, 26), 1u);
  EXPECT_EQ(Le16(b, 28), 24u);
  EXPECT_EQ(Le32(b, 30), 0u);
  EXPECT_EQ(Le32(b, 34), size);
  for (size_t at = 38; at < 54; at += 4) EXPECT_EQ(Le32(b, at), 0u) << at;
  // Rows bottom-up, blue-green-red, one zero padding byte per row.
  for (int r = 0; r < h; ++r) {
    const int y = h - 1 - r;
    const size_t start = 54 + row * r;
    for (int x = 0; x < w; ++x) {
      uint32_t p = pic.Get(x, y);
      ASSERT_EQ(b[start + 3 * x + 0], p & 0xFF) << x << "," << y;
      ASSERT_EQ(b[start + 3 * x + 1], (p >> 8) & 0xFF);
      ASSERT_EQ(b[start + 3 * x + 2], (p >> 16) & 0xFF);
    }
    EXPECT_EQ(b[start + 303], 0);
  }
  // The first triple is the bottom-left pixel.
  EXPECT_EQ(b[54 + 1], (pic.Get(0, h - 1) >> 8) & 0xFF);

  // Our reader gives the same pixels back, opaque.
  TPixmapPtr back = LoadBmp(dir / "a.bmp");
  ASSERT_TRUE(back);
  ASSERT_EQ(back->Width(), w);
  ASSERT_EQ(back->Height(), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(back->Get(x, y), pic.Get(x, y) | 0xFF000000u);
  EXPECT_TRUE(LoadPicture(dir / "a.bmp"));

  // A width that needs no padding, and a one-pixel picture.
  ASSERT_TRUE(SaveBmp24(TestPicture(4, 2), dir / "b.bmp"));
  EXPECT_EQ(ReadBytes(dir / "b.bmp").size(), 54u + 12 * 2);
  ASSERT_TRUE(SaveBmp24(TestPicture(1, 1), dir / "c.bmp"));
  EXPECT_EQ(ReadBytes(dir / "c.bmp").size(), 54u + 4);
  EXPECT_FALSE(SaveBmp24(TPixmap(), dir / "d.bmp"));
  EXPECT_FALSE(fs::exists(dir / "d.bmp"));
}

TEST(PictureFiles, BmpReaderTopDownAndDamagedFiles) {
  TempDir dir;
  TPixmap pic = TestPicture(5, 4);
  ASSERT_TRUE(SaveBmp24(pic, dir / "a.bmp"));
  std::vector<uint8_t> b = ReadBytes(dir / "a.bmp");

  // The same rows stored top-down with a negative height.
  std::vector<uint8_t> top = b;
  const size_t row = 16;
  for (int r = 0; r < 4; ++r)
    std::copy(b.begin() + 54 + row * (3 - r), b.begin() + 54 + row * (4 - r), top.begin() + 54 + row * r);
  int32_t negative = -4;
  std::memcpy(top.data() + 22, &negative, 4);
  std::ofstream(dir / "top.bmp", std::ios::binary).write(reinterpret_cast<char*>(top.data()), top.size());
  TPixmapPtr t = LoadBmp(dir / "top.bmp");
  ASSERT_TRUE(t);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(t->Get(x, y), pic.Get(x, y));

  // Cut short, a huge claimed size, compressed: refused, not read past the end.
  std::ofstream(dir / "short.bmp", std::ios::binary).write(reinterpret_cast<char*>(b.data()), b.size() - 1);
  EXPECT_FALSE(LoadBmp(dir / "short.bmp"));
  std::vector<uint8_t> huge = b;
  int32_t big = 0x7FFFFFFF;
  std::memcpy(huge.data() + 18, &big, 4);
  std::ofstream(dir / "huge.bmp", std::ios::binary).write(reinterpret_cast<char*>(huge.data()), huge.size());
  EXPECT_FALSE(LoadBmp(dir / "huge.bmp"));
  std::vector<uint8_t> rle = b;
  rle[30] = 1;
  std::ofstream(dir / "rle.bmp", std::ios::binary).write(reinterpret_cast<char*>(rle.data()), rle.size());
  EXPECT_FALSE(LoadBmp(dir / "rle.bmp"));
  EXPECT_FALSE(LoadBmp(dir / "missing.bmp"));
  EXPECT_FALSE(LoadPicture(dir / "missing.bmp"));
}

TEST(PictureFiles, PngIsRgbaAndReadsBackExactly) {
  TempDir dir;
  TPixmap pic = TestPicture(37, 21, true);
  ASSERT_TRUE(SavePng(pic, dir / "a.png"));
  std::vector<uint8_t> b = ReadBytes(dir / "a.png");
  ASSERT_GT(b.size(), 33u);
  EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
  EXPECT_EQ(b[24], 8);  // bit depth
  EXPECT_EQ(b[25], 6);  // colour type RGBA

  // Read back through the library's own interface, independent of ours.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "a.png").c_str()));
  EXPECT_EQ(image.width, 37u);
  EXPECT_EQ(image.height, 21u);
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr));
  uint32_t p = pic.Get(5, 7);
  const uint8_t* q = rgba.data() + (7 * 37 + 5) * 4;
  EXPECT_EQ(q[0], (p >> 16) & 0xFF);
  EXPECT_EQ(q[1], (p >> 8) & 0xFF);
  EXPECT_EQ(q[2], p & 0xFF);
  EXPECT_EQ(q[3], p >> 24);

  TPixmapPtr back = LoadPng(dir / "a.png");
  ASSERT_TRUE(back);
  ASSERT_EQ(back->Width(), 37);
  ASSERT_EQ(back->Height(), 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(back->Get(x, y), pic.Get(x, y)) << x << "," << y;
  EXPECT_TRUE(LoadPicture(dir / "a.png"));

  std::ofstream(dir / "bad.png", std::ios::binary).write(reinterpret_cast<char*>(b.data()), 40);
  EXPECT_FALSE(LoadPng(dir / "bad.png"));
  EXPECT_FALSE(LoadPng(dir / "missing.png"));
}

// The reference: libpng at level 5 choosing every row's filter itself.
std::vector<uint8_t> LibpngOwnChoice(const TPixmap& pic) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, size_t n) {
        auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + n);
      },
      nullptr);
  png_set_compression_level(png, 5);
  png_set_IHDR(png, info, pic.Width(), pic.Height(), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(pic.Width()) * 4);
  for (int y = 0; y < pic.Height(); ++y) {
    for (int x = 0; x < pic.Width(); ++x) {
      const uint32_t p = pic.Get(x, y);
      const uint8_t rgba[4] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
      std::copy(rgba, rgba + 4, row.begin() + 4 * x);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PictureFiles, PngBytesAreThoseOfLibpngsOwnFilterChoice) {
  TempDir dir;
  // Bands of rows that each filter predicts best (zero rows: none; ramps:
  // sub; repeats: up; means of left and above: average; planes: Paeth) and
  // noise; the tiny sizes are those where libpng drops filters itself.
  auto banded = [](int w, int h) {
    TPixmap p(w, h);
    uint32_t seed = 7;
    auto noise = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    auto byte = [&](int x, int y, int c) { return p.Contains(x, y) ? (p.Get(x, y) >> (8 * c)) & 0xFF : 0; };
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t argb = 0;
        for (int c = 0; c < 4; ++c) {
          const uint32_t left = byte(x - 1, y, c), up = byte(x, y - 1, c);
          uint32_t v = 0;
          switch (y / 3 % 6) {
            case 0: v = 0; break;
            case 1: v = x * (c + 3) + y; break;
            case 2: v = up + (noise() % 3 == 0); break;
            case 3: v = x == 0 ? noise() : (left + up) / 2; break;
            case 4: v = 3 * x + 5 * y * (c + 1); break;
            default: v = noise(); break;
          }
          argb |= (v & 0xFF) << (8 * c);
        }
        p.Set(x, y, argb);
      }
    return p;
  };
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{
           {320, 240}, {101, 37}, {1, 9}, {9, 1}, {1, 1}, {2, 2}}) {
    const TPixmap pic = banded(w, h);
    ASSERT_TRUE(SavePng(pic, dir / "a.png"));
    EXPECT_EQ(ReadBytes(dir / "a.png"), LibpngOwnChoice(pic)) << w << " x " << h;
  }
}

TEST(PictureFiles, JpegDropsAlphaAndReadsBackClose) {
  TempDir dir;
  TPixmap pic(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      pic.Set(x, y, 0x10000000u | (uint32_t(x * 4) << 16) | (uint32_t(y * 5) << 8) | 128);
  ASSERT_TRUE(SaveJpeg(pic, dir / "a.jpg"));
  std::vector<uint8_t> b = ReadBytes(dir / "a.jpg");
  ASSERT_GT(b.size(), 4u);
  EXPECT_EQ(b[0], 0xFF);
  EXPECT_EQ(b[1], 0xD8);
  TPixmapPtr back = LoadJpeg(dir / "a.jpg");
  ASSERT_TRUE(back);
  ASSERT_EQ(back->Width(), 64);
  ASSERT_EQ(back->Height(), 48);
  int worst = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      uint32_t a = pic.Get(x, y), c = back->Get(x, y);
      EXPECT_EQ(c >> 24, 0xFFu);
      for (int s = 0; s <= 16; s += 8)
        worst = std::max(worst, std::abs(int((a >> s) & 0xFF) - int((c >> s) & 0xFF)));
    }
  EXPECT_LE(worst, 10);  // quality 90 on a smooth gradient
  EXPECT_TRUE(LoadPicture(dir / "a.jpg"));
  std::ofstream(dir / "bad.jpg", std::ios::binary).write(reinterpret_cast<char*>(b.data()), 20);
  EXPECT_FALSE(LoadJpeg(dir / "bad.jpg"));
}

TEST(PictureFiles, FailedWritesReturnFalseAndKeepTheOldFile) {
  TempDir dir;
  TPixmap pic = TestPicture(300, 200);
  // A directory that does not exist.
  EXPECT_FALSE(SaveBmp24(pic, dir / "missing/a.bmp"));
  EXPECT_FALSE(SavePng(pic, dir / "missing/a.png"));
  EXPECT_FALSE(SaveJpeg(pic, dir / "missing/a.jpg"));
  // A "directory" that is a plain file.
  std::ofstream(dir / "plain") << "x";
  EXPECT_FALSE(SavePng(pic, dir / "plain/a.png"));
  // The target is a directory: the rename fails, the directory stays.
  fs::create_directory(dir / "taken.png");
  EXPECT_FALSE(SavePng(pic, dir / "taken.png"));
  EXPECT_TRUE(fs::is_directory(dir / "taken.png"));

  // The disk fills up in the middle of the write: a file size limit makes
  // every write past 4 KiB fail.
  for (const char* name : {"old.bmp", "old.png", "old.jpg"}) std::ofstream(dir / name) << "old";
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  TPixmap noisy(300, 200);
  uint32_t seed = 12345;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      seed = seed * 1103515245u + 12345u;
      noisy.Set(x, y, 0xFF000000u | (seed >> 8));
    }
  bool bmp = SaveBmp24(noisy, dir / "old.bmp");
  bool png = SavePng(noisy, dir / "old.png");
  bool jpg = SaveJpeg(noisy, dir / "old.jpg");
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(bmp);
  EXPECT_FALSE(png);
  EXPECT_FALSE(jpg);
  for (const char* name : {"old.bmp", "old.png", "old.jpg"}) {
    std::vector<uint8_t> b = ReadBytes(dir / name);
    EXPECT_EQ(std::string(b.begin(), b.end()), "old") << name;
  }
  // No temporary file is left behind.
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{"old.bmp", "old.jpg", "old.png", "plain", "taken.png"}));

  // A successful write replaces the old file.
  ASSERT_TRUE(SaveBmp24(pic, dir / "old.bmp"));
  EXPECT_EQ(ReadBytes(dir / "old.bmp").size(), 54u + 900 * 200);
}

TEST(PictureFiles, ExtensionRules) {
  std::string base, ext;
  SplitExtension("C:\\pics\\star.jpeg", base, ext);
  EXPECT_EQ(base, "C:\\pics\\star");
  EXPECT_EQ(ext, "jpeg");
  SplitExtension("my.dir/star", base, ext);
  EXPECT_EQ(base, "my.dir/star");
  EXPECT_EQ(ext, "");
  SplitExtension("my.dir\\star", base, ext);
  EXPECT_EQ(base, "my.dir\\star");
  EXPECT_EQ(ext, "");
  SplitExtension("star.", base, ext);
  EXPECT_EQ(base, "star");
  EXPECT_EQ(ext, "");

  auto paths = [](const std::vector<TImageTarget>& targets) {
    std::vector<std::string> p;
    for (const auto& t : targets) p.push_back(t.path);
    return p;
  };
  using V = std::vector<std::string>;
  TSaveImageFormats all;
  EXPECT_EQ(paths(SaveImageTargets("C:\\pics\\star.jpeg", all)), V{"C:\\pics\\star.jpg"});
  EXPECT_EQ(SaveImageTargets("a.JPG", all)[0].format, TImageFormat::Jpeg);
  EXPECT_EQ(paths(SaveImageTargets("star.Png", all)), V{"star.png"});
  EXPECT_EQ(SaveImageTargets("star.Png", all)[0].format, TImageFormat::Png);
  EXPECT_EQ(paths(SaveImageTargets("star.bMp", all)), V{"star.bmp"});
  EXPECT_EQ(SaveImageTargets("star.bMp", all)[0].format, TImageFormat::Bmp);
  EXPECT_EQ(paths(SaveImageTargets("my.dir/star", all)),
            (V{"my.dir/star.jpg", "my.dir/star.png", "my.dir/star.bmp"}));
  TSaveImageFormats jpgBmp{true, false, true};
  EXPECT_EQ(paths(SaveImageTargets("star", jpgBmp)), (V{"star.jpg", "star.bmp"}));
  // An unknown extension is replaced, never written.
  EXPECT_EQ(paths(SaveImageTargets("star.gif", jpgBmp)), (V{"star.jpg", "star.bmp"}));
  auto formats = SaveImageTargets("star.tif", all);
  ASSERT_EQ(formats.size(), 3u);
  EXPECT_EQ(formats[0].format, TImageFormat::Jpeg);
  EXPECT_EQ(formats[1].format, TImageFormat::Png);
  EXPECT_EQ(formats[2].format, TImageFormat::Bmp);
  EXPECT_TRUE(SaveImageTargets("star", TSaveImageFormats{false, false, false}).empty());
}

class ScriptedHost : public THost {
 public:
  std::string answer;
  int asked = 0;
  std::string title, proposed, pattern;
  std::string ChooseSaveFile(const std::string& t, const std::string& p,
                             const std::string& f) override {
    ++asked;
    title = t;
    proposed = p;
    pattern = f;
    return answer;
  }
};

TEST(PictureFiles, SavePictureAsAsksAndWritesEveryTarget) {
  TempDir dir;
  const std::string oldWorkDir = WorkDir();
  SetWorkDir(dir.path());
  TPixmap pic = TestPicture(20, 10);
  ScriptedHost host;

  // No picture: no dialog.
  TSaveImageResult r = SavePictureAs(nullptr, "Mandel", {}, host);
  EXPECT_TRUE(r.nothingToSave);
  EXPECT_EQ(host.asked, 0);

  // Cancelled: nothing written.
  r = SavePictureAs(&pic, "Mandel", {}, host);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(host.asked, 1);
  EXPECT_EQ(host.title, "Bild speichern als ...");
  EXPECT_EQ(host.pattern, "");
  EXPECT_EQ(host.proposed, fs::absolute(dir / "Mandel").lexically_normal().string());
  EXPECT_TRUE(dir.Entries().empty());

  // A relative answer lands in the working directory; no extension gives
  // all three formats.
  fs::create_directory(dir / "my.dir");
  host.answer = "my.dir/star";
  r = SavePictureAs(&pic, "Mandel", {}, host);
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.written.size(), 3u);
  EXPECT_TRUE(LoadJpeg(dir / "my.dir/star.jpg"));
  EXPECT_TRUE(LoadPng(dir / "my.dir/star.png"));
  EXPECT_TRUE(LoadBmp(dir / "my.dir/star.bmp"));

  // An absolute answer with a program-style separator.
  host.answer = dir.path() + "\\one.JPEG";
  r = SavePictureAs(&pic, "", {}, host);
  EXPECT_EQ(r.written, std::vector<std::string>{dir / "one.jpg"});
  EXPECT_EQ(host.proposed.back(), '/');

  // A failing format is reported and the others are still written.
  fs::create_directory(dir / "blocked.png");
  host.answer = "blocked";
  r = SavePictureAs(&pic, "x", {}, host);
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.failed, std::vector<std::string>{(dir / "blocked.png") + ": Is a directory"});
  EXPECT_EQ(r.written, (std::vector<std::string>{dir / "blocked.jpg", dir / "blocked.bmp"}));
  SetWorkDir(oldWorkDir);
}

TEST(PictureFiles, SaveImageTakesTheShownPicture) {
  TempDir dir;
  ResetProcessState();
  TRender render;
  render.Width = 6;
  render.Height = 4;
  render.Image = std::make_shared<TPixmap>(6, 4);
  render.ImageD = std::make_shared<TPixmap>(12, 4);
  render.ImageV = std::make_shared<TPixmap>(12, 8);
  ScriptedHost host;
  host.answer = dir / "shown.bmp";
  const std::pair<int, int> sizes[] = {{6, 4}, {6, 4}, {12, 4}, {12, 8}};
  const int shown[] = {0, 1, 2, 4};
  for (int k = 0; k < 4; ++k) {
    Composition().ShownImage = shown[k];
    TSaveImageResult r = SaveImage(render, "Mandel", {}, host);
    ASSERT_TRUE(r.Ok());
    TPixmapPtr back = LoadBmp(dir / "shown.bmp");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Width(), sizes[k].first) << shown[k];
    EXPECT_EQ(back->Height(), sizes[k].second) << shown[k];
  }
  // No picture for ShownImage 3, nor for a missing fourfold picture: no dialog.
  const int asked = host.asked;
  Composition().ShownImage = 3;
  EXPECT_TRUE(SaveImage(render, "Mandel", {}, host).nothingToSave);
  Composition().ShownImage = 4;
  render.ImageV.reset();
  EXPECT_TRUE(SaveImage(render, "Mandel", {}, host).nothingToSave);
  EXPECT_EQ(host.asked, asked);
  ResetProcessState();
}

}  // namespace
}  // namespace ork
