#include "picture/text_output.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/number_format.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/bmp_font_registry.h"

namespace ork {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kBack = 0xFF204060u;

// Loads the shipped fonts from a working directory holding a copy of them.
class TextOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "ork_text_output_XXXXXX").string();
    dir_ = mkdtemp(tmpl.data());
    fs::create_directory(dir_ + "/BMPFont");
    for (const char* n : {"Arial12", "Arial24", "Arial36"}) {
      for (const char* e : {".bmp", ".xywh"}) {
        fs::copy_file(std::string(ORK_SOURCE_DIR) + "/data/BMPFont/" + n + e,
                      dir_ + "/BMPFont/" + n + e);
      }
    }
    oldWorkDir_ = WorkDir();
    SetWorkDir(dir_);
    ASSERT_EQ(LoadBMPFonts(), 3);
    ResetProcessState();
    Composition().ShownImage = 1;
    Composition().CompositionMode = 1;
  }
  void TearDown() override {
    ReleaseBMPFonts();
    SetWorkDir(oldWorkDir_);
    ResetProcessState();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  static TRender Render(int w, int h) {
    TRender r;
    r.Width = w;
    r.Height = h;
    r.Image = std::make_shared<TPixmap>(w, h, kBack);
    r.ImageD = std::make_shared<TPixmap>(2 * w, h, kBack);
    return r;
  }
  // What the list must print, drawn directly with the font.
  struct Expected {
    TPixmap picture;
    Expected(int w, int h) : picture(w, h, kBack) {}
    Expected& Line(int font, int x, int y, const std::string& text) {
      BMPFont(font).SetOutputPixmap(&picture);
      BMPFont(font).Draw(x, y, text);
      BMPFont(font).SetOutputPixmap(nullptr);
      return *this;
    }
  };
  static bool Same(const TPixmap& a, const TPixmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Get(x, y) != b.Get(x, y)) return false;
    return true;
  }
  static bool Blank(const TPixmap& a) { return Same(a, TPixmap(a.Width(), a.Height(), kBack)); }

  std::string dir_, oldWorkDir_;
};

TEST_F(TextOutput, BareNamesPrintNameAndValueLineByLine) {
  TParameter key;
  key.vsx = -0.743643887037151;
  key.vsy = 0.131825904205330;
  key.TextOutputList = "MidPointX:MidPointY";
  TRender render = Render(768, 576);
  DrawTextOutput(&key, &render);
  const int line = BMPFont(2).Height("Y");
  Expected e(768, 576);
  e.Line(2, 8, 4, "MidPointX=" + FormatNumber(key.vsx, 5))
      .Line(2, 8, 4 + line, "MidPointY=" + FormatNumber(key.vsy, 5));
  EXPECT_TRUE(Same(*render.Image, e.picture));
  EXPECT_FALSE(Blank(*render.Image));
  EXPECT_EQ(FormatNumber(key.vsx, 5).size(), std::string("-0.74364").size());
}

TEST_F(TextOutput, EnclosedEntriesSetPositionDecimalsAndFont) {
  TParameter key;
  key.bry = 2.123456;
  key.KeyNr = 7;
  key.TextOutputList = "(50%,10,Zoom=,HeightY,2,1):KeyNr:Degree";
  key.Degree = 12.3456789;
  TRender render = Render(401, 300);  // by height alone font 1
  DrawTextOutput(&key, &render);
  const int line = BMPFont(0).Height("Y");
  Expected e(401, 300);
  e.Line(0, 200, 10, "Zoom=" + FormatNumber(2.123456, 2))
      .Line(0, 200, 10 + line, "KeyNr=7")
      .Line(0, 200, 10 + 2 * line, "Degree=" + FormatNumber(12.3456789, 2));
  EXPECT_TRUE(Same(*render.Image, e.picture));

  // The label keeps its blanks; an empty font field goes back to the
  // choice by height; positions beyond the picture are limited to it.
  render = Render(401, 300);
  key.TextOutputList = "(8,8, Zoom=,HeightY):(900,0,,Hallo,,3):( 0 ,-5,Note: ,Unknown,1,2)";
  DrawTextOutput(&key, &render);
  Expected f(401, 300);
  f.Line(1, 8, 8, " Zoom=" + FormatNumber(2.123456, 5))
      .Line(2, 400, 8 + BMPFont(1).Height("Y"), "Hallo")
      .Line(1, 400, 8 + BMPFont(1).Height("Y") + BMPFont(2).Height("Y"), "Note: Unknown");
  EXPECT_TRUE(Same(*render.Image, f.picture));

  // A ":" inside an enclosed entry's label belongs to the label.
  render = Render(401, 300);
  key.TextOutputList = "(10,50%,Zoom: ,HeightY,3,2)";
  DrawTextOutput(&key, &render);
  Expected g(401, 300);
  g.Line(1, 10, 149, "Zoom: " + FormatNumber(2.123456, 3));
  EXPECT_TRUE(Same(*render.Image, g.picture));
}

TEST_F(TextOutput, FixedTextsBlankListsAndMissingPictures) {
  TParameter key;
  key.TextOutputList = "Hallo";
  TRender render = Render(200, 100);
  DrawTextOutput(&key, &render);
  EXPECT_TRUE(Same(*render.Image, Expected(200, 100).Line(0, 8, 4, "Hallo").picture));

  // Integers, texts and the colour lists.
  render = Render(200, 100);
  key.GameNo = 12;
  key.FileNameKey = "Stern";
  key.CSelectPicture[0] = 3;
  key.Cfact1[0] = "100.000";
  key.TextOutputList = "NoOfFormula:PictNameOrNotice:(0,0,Sel ,SelectPict):(0,0,F=,ColFact,1)";
  DrawTextOutput(&key, &render);
  const int line = BMPFont(0).Height("Y");
  Expected e(200, 100);
  e.Line(0, 8, 4, "NoOfFormula=12")
      .Line(0, 8, 4 + line, "PictNameOrNotice=Stern")
      .Line(0, 8, 4 + 2 * line, "Sel 3")
      .Line(0, 8, 4 + 3 * line, "F=" + FormatNumber(100.0, 1));
  EXPECT_TRUE(Same(*render.Image, e.picture));

  render = Render(200, 100);
  key.TextOutputList = "  : :   :";
  DrawTextOutput(&key, &render);
  EXPECT_TRUE(Blank(*render.Image));
  key.TextOutputList = "Hallo";
  DrawTextOutput(nullptr, &render);
  DrawTextOutput(&key, nullptr);
  Composition().ShownImage = 4;  // no fourfold picture
  DrawTextOutput(&key, &render);
  Composition().ShownImage = 3;
  DrawTextOutput(&key, &render);
  EXPECT_TRUE(Blank(*render.Image));
  EXPECT_TRUE(Blank(*render.ImageD));
}

TEST_F(TextOutput, RightHalfOfADoublePictureShiftsEveryText) {
  TParameter key;
  key.KeyNr = 2;
  key.julia = 1;
  key.TextOutputList = "KeyNr:JuliaSet";
  TRender render = Render(300, 200);
  Composition().ShownImage = 2;
  Composition().CompositionMode = 222;
  DrawTextOutput(&key, &render);
  const int line = BMPFont(0).Height("Y");
  Expected e(600, 200);
  e.Line(0, 8 + 299, 4, "KeyNr=2").Line(0, 8 + 299, 4 + line, "JuliaSet=1");
  EXPECT_TRUE(Same(*render.ImageD, e.picture));
  EXPECT_TRUE(Blank(*render.Image));
  // The fonts do not keep the picture they printed into.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BMPFont(i).OutputPixmap, nullptr);
}

}  // namespace
}  // namespace ork
