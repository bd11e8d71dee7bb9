#include "color/blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "color/beginner_name.h"
#include "color/farbe.h"
#include "engine/worker_pool.h"
#include "model/language.h"
#include "model/process_state.h"

namespace ork {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

uint32_t Grey(int v) { return kBlack | (v << 16) | (v << 8) | v; }

struct TStatusHost : THost {
  std::vector<std::string> status;
  void StatusText(const std::string& text) override { status.push_back(text); }
};

TEST(TFarbe, ReadLimitAndPack) {
  EXPECT_EQ(ReadFarbe(0xFF000000u).Alpha, -1.0f);
  EXPECT_EQ(ReadFarbe(0x80000000u).Alpha, -128.0f);
  EXPECT_EQ(ReadFarbe(0x7F000000u).Alpha, 127.0f);
  const TFarbe c = ReadFarbe(0x12345678u);
  EXPECT_EQ(c.Rot, 0x34);
  EXPECT_EQ(c.Gruen, 0x56);
  EXPECT_EQ(c.Blau, 0x78);
  EXPECT_EQ(c.ARGB_Color(), 0x12345678u);
  TFarbe f{300.0f, -4.0f, 12.9f, 255.5f};
  f.Limit();
  EXPECT_EQ(f.ARGB_Color(), 0xFF000CFFu);
  TFarbe z = TFarbe::Create();
  EXPECT_EQ(z.ARGB_Color(), 0u);
  const TFarbe m = Avg(TFarbe{0, 255, 0, 0}, TFarbe{0, 0, 0, 0});
  EXPECT_EQ(m.Rot, 127.5f);
  // Unlimited channels pack by the colour real-to-integer rule: negative
  // values wrap, not-a-number and values beyond 32 bits count as -2^31.
  EXPECT_EQ((TFarbe{0, 0, 0, -1.0f}).ARGB_Color(), 0xFFFFFFFFu);
  EXPECT_EQ((TFarbe{0, 0, 0, std::nanf("")}).ARGB_Color(), 0x80000000u);
  EXPECT_EQ((TFarbe{0, 0, 0, 3e9f}).ARGB_Color(), 0x80000000u);
  EXPECT_EQ((TFarbe{0, 0, 1.5f, 0}).ARGB_Color(), 0x00000100u);
}

TEST(BlurPixmap, WorkedExampleLevelOne) {
  TPixmap picture(9, 9, kBlack);
  picture.Set(4, 4, kWhite);
  const TPixmapPtr out = BlurPixmap(picture, 1, 1);
  EXPECT_EQ(out->Get(4, 4), Grey(127));
  for (auto [x, y] : {std::pair{3, 4}, {5, 4}, {4, 3}, {4, 5}}) EXPECT_EQ(out->Get(x, y), Grey(31));
  for (auto [x, y] : {std::pair{3, 3}, {5, 5}, {3, 5}, {5, 3}}) EXPECT_EQ(out->Get(x, y), kBlack);
  EXPECT_EQ(picture.Get(4, 4), kWhite);  // the source is left alone
}

TEST(BlurPixmap, DiagonalLevelsAndUniformPictures) {
  TPixmap picture(9, 9, kBlack);
  picture.Set(4, 4, kWhite);
  const TPixmapPtr two = BlurPixmap(picture, 2, 1);
  EXPECT_EQ(two->Get(4, 4), Grey(127));
  EXPECT_EQ(two->Get(4, 3), Grey(15));  // avg(63.75, 0) = 31.875, half of it
  EXPECT_EQ(two->Get(3, 3), Grey(15));  // diagonal: avg(0, 63.75), half of it
  const TPixmapPtr five = BlurPixmap(picture, 5, 1);
  // Centre 255 * (1 - 0.85f) = 38.25: 38.
  EXPECT_EQ(five->Get(4, 4), Grey(38));
  TPixmap uniform(6, 5, 0xFF336699u);
  for (int level = 1; level <= 5; ++level) {
    const TPixmapPtr out = BlurPixmap(uniform, level, 1);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(out->Get(x, y), 0xFF336699u) << level;
  }
  // Not a level: a plain copy. Tiny pictures have no inner pixels.
  EXPECT_EQ(BlurPixmap(picture, 6, 1)->Get(4, 4), kWhite);
  TPixmap tiny(2, 2, kWhite);
  EXPECT_EQ(BlurPixmap(tiny, 1, 1)->Get(1, 1), kWhite);
}

TEST(BlurPixmap, ColumnRangesOfDoublePictures) {
  // Width 11: (11 - 1) / 2 = 5.
  TPixmap stripes(11, 3, kBlack);
  for (int x = 0; x < 11; x += 2)
    for (int y = 0; y < 3; ++y) stripes.Set(x, y, kWhite);
  auto changed = [&](const TPixmapPtr& out) {
    std::string cols;
    for (int x = 0; x < 11; ++x) cols += out->Get(x, 1) == stripes.Get(x, 1) ? '.' : 'x';
    return cols;
  };
  EXPECT_EQ(changed(BlurPixmap(stripes, 1, 1)), ".xxxxxxxxx.");
  EXPECT_EQ(changed(BlurPixmap(stripes, 1, 2)), ".xxxx......");
  EXPECT_EQ(changed(BlurPixmap(stripes, 1, 22)), ".xxxx......");
  EXPECT_EQ(changed(BlurPixmap(stripes, 1, 222)), "......xxxx.");
}

// Bands on the worker threads give the picture of one sequential pass, at
// every level and in every composition mode's column range.
TEST(BlurPixmap, BandsEqualOnePass) {
  TPixmap picture(300, 400);
  uint32_t seed = 12345;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      picture.Set(x, y, (y % 7 == 0) ? seed : (seed | kBlack));  // some rows translucent
    }
  for (int level = 0; level <= 6; ++level) {
    for (int mode : {1, 2, 222}) {
      SetWorkerThreads(1);
      const TPixmapPtr one = BlurPixmap(picture, level, mode);
      SetWorkerThreads(3);
      const TPixmapPtr bands = BlurPixmap(picture, level, mode);
      const bool same = std::equal(one->Data(), one->Data() + 300 * 400, bands->Data());
      EXPECT_TRUE(same) << "level " << level << " mode " << mode;
    }
  }
  SetWorkerThreads(0);
}

TEST(Filter, LevelsPicturesOpacityAndStatus) {
  ResetProcessState();
  TParameter key;
  key.OutputWidth = 9;
  key.OutputHeight = 9;
  TRender render;
  render.Init(key);
  render.Image->Set(4, 4, kWhite);
  render.NeedImageD()->Set(4, 4, kWhite);
  TStatusHost host;
  for (const char* text : {"0", "6", "x", ""}) {
    Composition().InsertOpacity = 255;
    EXPECT_FALSE(Filter(render, text, &host));
    EXPECT_EQ(render.Image->Get(4, 4), kWhite);
  }
  EXPECT_TRUE(host.status.empty());
  Composition().InsertOpacity = 255;
  Filter(render, "6", &host);
  EXPECT_EQ(Composition().InsertOpacity, 6);
  Filter(render, "x", &host);
  EXPECT_EQ(Composition().InsertOpacity, 0);
  Composition().InsertOpacity = 99;
  Filter(render, "", &host);
  EXPECT_EQ(Composition().InsertOpacity, 99);

  std::string beginner = "1";
  BeginnerNameSlot() = &beginner;
  SetUiLanguage(TLanguage::German);
  Composition().ShownImage = 1;
  const TPixmapPtr before = render.Image;
  EXPECT_TRUE(Filter(render, "1", &host));
  EXPECT_EQ(render.Image, before);  // blurred in place
  EXPECT_EQ(render.Image->Get(4, 4), Grey(127));
  EXPECT_EQ(render.ImageD->Get(4, 4), kWhite);
  EXPECT_EQ(Composition().InsertOpacity, 1);
  EXPECT_EQ(beginner, "2");
  ASSERT_EQ(host.status.size(), 1u);
  EXPECT_EQ(host.status[0], "Filter 1 angewendet");

  SetUiLanguage(TLanguage::English);
  Composition().ShownImage = 2;
  Composition().CompositionMode = 1;
  EXPECT_TRUE(Filter(render, "1", nullptr));
  EXPECT_EQ(render.ImageD->Get(4, 4), Grey(127));
  EXPECT_TRUE(Filter(render, "2", &host));
  EXPECT_EQ(host.status.back(), "Filter 2 applied");

  // The fourfold picture is never blurred; an absent picture is ignored.
  Composition().ShownImage = 4;
  render.NeedImageV()->Set(4, 4, kWhite);
  EXPECT_FALSE(Filter(render, "3", &host));
  EXPECT_EQ(render.ImageV->Get(4, 4), kWhite);
  Composition().ShownImage = 1;
  render.Image.reset();
  EXPECT_FALSE(Filter(render, "3", &host));
  BeginnerNameSlot() = nullptr;
  SetUiLanguage(TLanguage::German);
  ResetProcessState();
}

}  // namespace
}  // namespace ork
