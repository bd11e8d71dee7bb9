#include "picture/bmp_font.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/paths.h"
#include "picture/bmp_font_registry.h"
#include "picture/picture_files.h"
#include "picture/temp_dir.h"

namespace ork {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kKey = 0xFFF800F8u;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kBack = 0xFF101010u;

using picture_test::TempDir;

void WriteTable(const std::string& path, const std::vector<int32_t>& values,
                const std::string& header = "test font\n") {
  std::ofstream out(path, std::ios::binary);
  out << header;
  for (int32_t v : values) {
    const auto u = static_cast<uint32_t>(v);
    const char b[4] = {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
    out.write(b, 4);
  }
}

// A 12 x 4 font picture: "A" is a 3 x 4 red block at (0,0) whose middle
// column is key colour, "B" a 2 x 4 green block at (4,0), and code 200 a
// blue block at (8,0) in a near-key colour that must stay visible.
struct TestFont {
  TempDir dir;
  std::vector<int32_t> table = std::vector<int32_t>(1024, 0);
  TestFont() {
    TPixmap pic(12, 4, kKey);
    for (int y = 0; y < 4; ++y) {
      pic.Set(0, y, kRed);
      pic.Set(2, y, kRed);
      pic.Set(4, y, kGreen);
      pic.Set(5, y, kGreen);
      pic.Set(8, y, 0xFFF800F7u);
    }
    EXPECT_TRUE(SaveBmp24(pic, dir / "f.bmp"));
    Put('A', 0, 0, 3, 4);
    Put('B', 4, 0, 2, 4);
    Put(200, 8, 0, 1, 3);
    Put('C', 10, 0, 3, 4);   // reaches past the picture's right edge
    Put('D', -1, 0, 2, 2);   // starts outside
    Put('E', 0, 0, 0, 4);    // no area
    Put('F', 0, 0, -2, 4);
    Put('G', 2147483000, 0, 1000, 1);  // would overflow 32-bit sums
    WriteTable(dir / "f.xywh", table);
  }
  void Put(int c, int x, int y, int w, int h) {
    table[4 * c] = x;
    table[4 * c + 1] = y;
    table[4 * c + 2] = w;
    table[4 * c + 3] = h;
  }
};

TEST(BMPFont, GlyphTableReader) {
  TestFont tf;
  auto font = TBMPFont::Create(tf.dir / "f.bmp");
  ASSERT_TRUE(font);
  EXPECT_TRUE(font->HasGlyphs());
  EXPECT_EQ(font->xspace, 0);
  EXPECT_EQ(font->yspace, 0);
  EXPECT_EQ(font->x['B'], 4);
  EXPECT_EQ(font->y['B'], 0);
  EXPECT_EQ(font->w['B'], 2);
  EXPECT_EQ(font->h['B'], 4);
  EXPECT_TRUE(font->Pixmap['A'].Exists());
  EXPECT_EQ(font->Pixmap[200].w, 1);
  EXPECT_EQ(font->Pixmap[200].h, 3);
  // Rectangles outside the picture or without area are no glyphs.
  for (int c : {int('C'), int('D'), int('E'), int('F'), int('G'), int('Z'), 0, 255}) {
    EXPECT_FALSE(font->Pixmap[c].Exists()) << c;
    EXPECT_EQ(font->w[c], 0) << c;
    EXPECT_EQ(font->h[c], 0) << c;
  }
  EXPECT_EQ(GlyphTablePath("BMPFont/Arial12.bmp"), "BMPFont/Arial12.xywh");
  EXPECT_EQ(GlyphTablePath("my.dir/font"), "my.dir/font.xywh");

  // An empty path, a missing picture, a missing, cut or header-less table:
  // a font that draws nothing.
  EXPECT_FALSE(TBMPFont::Create("")->HasGlyphs());
  EXPECT_FALSE(TBMPFont::Create(tf.dir / "none.bmp")->HasGlyphs());
  fs::copy_file(tf.dir / "f.bmp", tf.dir / "g.bmp");
  EXPECT_FALSE(TBMPFont::Create(tf.dir / "g.bmp")->HasGlyphs());
  WriteTable(tf.dir / "g.xywh", std::vector<int32_t>(tf.table.begin(), tf.table.end() - 1));
  EXPECT_FALSE(TBMPFont::Create(tf.dir / "g.bmp")->HasGlyphs());
  WriteTable(tf.dir / "g.xywh", tf.table, "no line end");
  EXPECT_FALSE(TBMPFont::Create(tf.dir / "g.bmp")->HasGlyphs());
  WriteTable(tf.dir / "g.xywh", tf.table, "\n");
  EXPECT_TRUE(TBMPFont::Create(tf.dir / "g.bmp")->HasGlyphs());

  TPixmap out(10, 10, kBack);
  auto empty = TBMPFont::Create("");
  empty->SetOutputPixmap(&out);
  EXPECT_EQ(empty->Draw(0, 0, "AB"), 0);
  EXPECT_EQ(empty->Width("AB"), 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(out.Get(x, y), kBack);

  TBMPFont::Release(font);
  EXPECT_FALSE(font);
}

TEST(BMPFont, DrawsOpaqueGlyphPixelsOnlyAndAdvances) {
  TestFont tf;
  auto font = TBMPFont::Create(tf.dir / "f.bmp");
  TPixmap out(20, 8, kBack);
  EXPECT_EQ(font->Draw(1, 1, "AB"), 0);  // no output pixmap yet: nothing
  font->SetOutputPixmap(&out);
  font->Draw(1, 2, std::string("A?B") + char(200));  // "?" has no glyph and does not advance
  for (int y = 0; y < 8; ++y) {
    const bool row = y >= 2 && y < 6;
    EXPECT_EQ(out.Get(1, y), row ? kRed : kBack) << y;
    EXPECT_EQ(out.Get(2, y), kBack) << "key colour is transparent, row " << y;
    EXPECT_EQ(out.Get(3, y), row ? kRed : kBack);
    EXPECT_EQ(out.Get(4, y), row ? kGreen : kBack);
    EXPECT_EQ(out.Get(5, y), row ? kGreen : kBack);
    // Code 200 (near-key colour, 3 rows high) follows at x = 1 + 3 + 2.
    EXPECT_EQ(out.Get(6, y), y >= 2 && y < 5 ? 0xFFF800F7u : kBack) << y;
    EXPECT_EQ(out.Get(7, y), kBack);
  }
  // xspace adds to every advance.
  out.Fill(kBack);
  font->xspace = 2;
  font->Draw(0, 0, "AB");
  EXPECT_EQ(out.Get(5, 0), kGreen);
  EXPECT_EQ(out.Get(4, 0), kBack);
  EXPECT_EQ(font->Width("AB"), 3 + 2 + 2 + 2);
  font->xspace = 0;

  EXPECT_EQ(font->Width(""), 0);
  EXPECT_EQ(font->Width("AB"), 5);
  EXPECT_EQ(font->Width("A?"), 3);
  EXPECT_EQ(font->Height("A"), 4);
  EXPECT_EQ(font->Height("\xC8"), 3);
  EXPECT_EQ(font->Height("A\xC8" "B"), 4);  // a line is as high as its tallest glyph
  EXPECT_EQ(font->Height(""), 0);
  font->yspace = 1;
  EXPECT_EQ(font->Height("A"), 5);
}

TEST(BMPFont, GlyphsAreClippedAtEveryEdge) {
  TestFont tf;
  auto font = TBMPFont::Create(tf.dir / "f.bmp");
  TPixmap out(4, 3, kBack);
  font->SetOutputPixmap(&out);
  // Top-left: only the glyph's last column and row reach the picture.
  font->Draw(-2, -3, "A");
  EXPECT_EQ(out.Get(0, 0), kRed);
  EXPECT_EQ(out.Get(1, 0), kBack);
  EXPECT_EQ(out.Get(0, 1), kBack);
  // Bottom-right: the first column and row land on the last pixel.
  out.Fill(kBack);
  font->Draw(3, 2, "A");
  EXPECT_EQ(out.Get(3, 2), kRed);
  int changed = 0;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) changed += out.Get(x, y) != kBack;
  EXPECT_EQ(changed, 1);
  // Entirely outside, also far away: nothing changes, nothing breaks.
  out.Fill(kBack);
  for (auto [x, y] : std::vector<std::pair<int, int>>{
           {4, 0}, {0, 3}, {-5, 0}, {0, -4}, {2147483000, 0}, {-2147483000, -2147483000}})
    font->Draw(x, y, "AB");
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(out.Get(x, y), kBack);
  // A text running off the right edge keeps what fits.
  font->Draw(0, 0, "ABAB");
  EXPECT_EQ(out.Get(0, 0), kRed);
  EXPECT_EQ(out.Get(1, 0), kBack);
  EXPECT_EQ(out.Get(2, 0), kRed);
  EXPECT_EQ(out.Get(3, 0), kGreen);

  EXPECT_EQ(TBMPFont::InRect(0, 0, 4, 3), 1);
  EXPECT_EQ(TBMPFont::InRect(3, 2, 4, 3), 1);
  EXPECT_EQ(TBMPFont::InRect(4, 2, 4, 3), 0);
  EXPECT_EQ(TBMPFont::InRect(3, 3, 4, 3), 0);
  EXPECT_EQ(TBMPFont::InRect(-1, 0, 4, 3), 0);
  EXPECT_EQ(TBMPFont::InRect(0, -1, 4, 3), 0);
  EXPECT_EQ(TBMPFont::InRect(0, 0, 0, 0), 0);
}

TEST(BMPFont, FontChoiceByPictureHeight) {
  EXPECT_EQ(FontIndexForHeight(0), 0);
  EXPECT_EQ(FontIndexForHeight(100), 0);
  EXPECT_EQ(FontIndexForHeight(284), 0);
  EXPECT_EQ(FontIndexForHeight(285), 1);
  EXPECT_EQ(FontIndexForHeight(500), 1);
  EXPECT_EQ(FontIndexForHeight(554), 1);
  EXPECT_EQ(FontIndexForHeight(555), 2);
  EXPECT_EQ(FontIndexForHeight(576), 2);
  EXPECT_EQ(FontIndexForHeight(-5), 0);
  EXPECT_EQ(BMPFontPath(0), "BMPFont\\Arial12.bmp");
  EXPECT_EQ(BMPFontPath(1), "BMPFont\\Arial24.bmp");
  EXPECT_EQ(BMPFontPath(2), "BMPFont\\Arial36.bmp");
}

// The shipped fonts: every printable Latin-1 character has a glyph of the
// line height, control codes have none, capitals are about as high as the
// names say, and the glyphs are light with a dark rim.
TEST(BMPFont, ShippedFontsLoadFromTheWorkingDirectory) {
  TempDir dir;
  fs::create_directory(dir / "BMPFont");
  for (const char* n : {"Arial12", "Arial24", "Arial36"}) {
    for (const char* e : {".bmp", ".xywh"}) {
      fs::copy_file(std::string(ORK_SOURCE_DIR) + "/data/BMPFont/" + n + e,
                    dir / (std::string("BMPFont/") + n + e));
    }
  }
  const std::string oldWorkDir = WorkDir();
  SetWorkDir(dir.path());
  ReleaseBMPFonts();
  EXPECT_FALSE(BMPFont(0).HasGlyphs());
  ASSERT_EQ(LoadBMPFonts(), 3);
  SetWorkDir(oldWorkDir);

  const int caps[3] = {12, 24, 36};
  for (int i = 0; i < 3; ++i) {
    TBMPFont& font = BMPFont(i);
    const int lineHeight = font.Height("Y");
    EXPECT_GT(lineHeight, caps[i]);
    EXPECT_LT(lineHeight, caps[i] * 2 + 2);
    for (int c = 0; c < 256; ++c) {
      const bool printable = (c >= 32 && c < 127) || c >= 160;
      ASSERT_EQ(font.Pixmap[c].Exists(), printable) << i << " " << c;
      if (printable) {
        ASSERT_EQ(font.h[c], lineHeight);
      }
    }
    EXPECT_LT(font.Width("i"), font.Width("W"));

    // Draw "H" on a mid-grey picture: rows with white ink give the capital
    // height; dark rim pixels exist; no key colour arrives.
    TPixmap out(font.Width("H") + 4, lineHeight + 4, 0xFF808080u);
    font.SetOutputPixmap(&out);
    font.Draw(2, 2, "H");
    int top = out.Height(), bottom = -1, dark = 0;
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) {
        const uint32_t p = out.Get(x, y);
        ASSERT_NE(p & 0xFFFFFF, 0xF800F8u);
        if ((p & 0xFF) > 0xE0) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
        if ((p & 0xFF) < 0x30) ++dark;
      }
    EXPECT_NEAR(bottom - top + 1, caps[i], 1) << i;
    EXPECT_GT(dark, caps[i]);
    font.SetOutputPixmap(nullptr);
  }
  ReleaseBMPFonts();
  EXPECT_FALSE(BMPFont(2).HasGlyphs());
}

}  // namespace
}  // namespace ork
