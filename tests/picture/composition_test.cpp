#include "picture/composition.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "color/beginner_name.h"
#include "engine/worker_pool.h"
#include "model/process_state.h"
#include "picture/argb.h"
#include "picture/draw_placement.h"

namespace ork {
namespace {

constexpr uint32_t kMarker = 0xFF00FF00u;

// Coding 13 (index = bildZ * F1) on the grey ramp table 25 with 255
// colours: a pixel with bildZ z shows grey trunc(F1 * z) of the variant.
uint32_t Grey(int v) { return ComposeArgb(255, v, v, v); }

struct TSide {
  TParameter key;
  TRender render;
  TParameterAnim movie;
  TSide(int w, int h, const std::function<double(int, int)>& z) {
    key.OutputWidth = w;
    key.OutputHeight = h;
    render.Init(key);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) render.bildZ[static_cast<size_t>(y) * w + x] = z(x, y);
    key.SelectPictureL = "13";
    key.farbtabL = "25";
    key.ColShiftL = "0";
    key.factL = "(1,0,1,255):(2,0,1,255):(3,0,1,255):(4,0,1,255)";
    movie.OutputWidth = w;
    movie.OutputHeight = h;
    movie.AddParameter(key);
    movie.Actual = 1;
    render.Image->Fill(kMarker);
    render.NeedImageD()->Fill(kMarker);
    render.NeedImageV()->Fill(kMarker);
  }
};

double Ramp(int x, int y) { return 1 + x % 10 + (y % 3); }

class Compose : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }
};

TEST_F(Compose, DoublePictureOfMovie1) {
  TSide m(100, 80, Ramp);
  ASSERT_EQ(ShowDoubleM1(&m.key, &m.render), 1);
  const TPixmap& p = *m.render.ImageD;
  for (int y : {0, 41, 79}) {
    EXPECT_EQ(p.Get(0, y), Grey(static_cast<int>(Ramp(0, y))));
    EXPECT_EQ(p.Get(97, y), Grey(static_cast<int>(Ramp(97, y))));
    EXPECT_EQ(p.Get(98, y), kOpaqueWhite);
    EXPECT_EQ(p.Get(99, y), kOpaqueBlack);
    // The right variant starts at column 99: column 100 shows its x = 1.
    EXPECT_EQ(p.Get(100, y), Grey(2 * static_cast<int>(Ramp(1, y))));
    EXPECT_EQ(p.Get(198, y), Grey(2 * static_cast<int>(Ramp(99, y))));
    EXPECT_EQ(p.Get(199, y), kMarker);  // never written
  }
  EXPECT_EQ(Composition().CompositionMode, 2);
  EXPECT_EQ(Composition().ShownImage, 2);
  EXPECT_EQ(m.key.SelectPicture, 13);
}

TEST_F(Compose, FourfoldPictureOfMovie1) {
  TSide m(100, 80, Ramp);
  Composition().KeepLeftPicture = true;
  ASSERT_EQ(ShowFourfoldM1(&m.key, &m.render), 1);
  const TPixmap& p = *m.render.ImageV;
  EXPECT_EQ(p.Get(99, 10), kOpaqueWhite);
  EXPECT_EQ(p.Get(100, 10), kOpaqueBlack);
  EXPECT_EQ(p.Get(99, 150), kOpaqueWhite);
  EXPECT_EQ(p.Get(10, 79), kOpaqueWhite);
  EXPECT_EQ(p.Get(10, 80), kOpaqueBlack);
  EXPECT_EQ(p.Get(150, 80), kOpaqueBlack);
  EXPECT_EQ(p.Get(100, 79), kOpaqueWhite);  // horizontal lines drawn last
  EXPECT_EQ(p.Get(99, 80), kOpaqueBlack);
  EXPECT_EQ(p.Get(5, 5), Grey(static_cast<int>(Ramp(5, 5))));
  EXPECT_EQ(p.Get(102, 5), Grey(2 * static_cast<int>(Ramp(3, 5))));
  EXPECT_EQ(p.Get(5, 82), Grey(3 * static_cast<int>(Ramp(5, 3))));
  EXPECT_EQ(p.Get(102, 82), Grey(4 * static_cast<int>(Ramp(3, 3))));
  EXPECT_EQ(p.Get(199, 82), kMarker);
  EXPECT_EQ(p.Get(102, 159), kMarker);
  EXPECT_EQ(Composition().CompositionMode, 4);
  EXPECT_EQ(Composition().ShownImage, 4);
  EXPECT_FALSE(Composition().KeepLeftPicture);
}

TEST_F(Compose, DoublePicturesOfTwoMovies) {
  TSide a(100, 80, [](int, int) { return 7.0; });
  TSide b(100, 80, [](int x, int) { return 1.0 + x; });
  Composition().KeepLeftPicture = true;
  ASSERT_EQ(ShowDoubleM1M2(&a.key, &a.render, &b.key, &b.render, &a.movie, &b.movie), 1);
  const TPixmap& p = *a.render.ImageD;
  EXPECT_EQ(p.Get(97, 3), Grey(7));
  EXPECT_EQ(p.Get(98, 3), kOpaqueWhite);
  EXPECT_EQ(p.Get(99, 3), kOpaqueBlack);
  EXPECT_EQ(p.Get(100, 3), Grey(2));  // Movie 2's x = 1
  EXPECT_EQ(p.Get(198, 3), Grey(100));
  EXPECT_EQ(p.Get(199, 3), kMarker);
  EXPECT_EQ(Composition().CompositionMode, 222);
  EXPECT_FALSE(Composition().KeepLeftPicture);

  // New C: columns 97 and 98 take colour index 0 (98 then white), 99 black.
  a.key.ColShiftL = "5";  // index 0 shows grey 5
  Composition().CompositionMode = 21;
  ASSERT_EQ(ShowDoubleNewC(&a.key, &a.render, &b.key, &b.render, &a.movie, &b.movie), 1);
  const TPixmap& q = *a.render.ImageD;
  EXPECT_EQ(q.Get(96, 3), Grey(12));
  EXPECT_EQ(q.Get(97, 3), Grey(5));
  EXPECT_EQ(q.Get(98, 3), kOpaqueWhite);
  EXPECT_EQ(q.Get(99, 3), kOpaqueBlack);
  EXPECT_EQ(q.Get(100, 3), Grey(2));
  EXPECT_TRUE(Composition().KeepLeftPicture);
  EXPECT_EQ(Composition().CompositionMode, 222);
  // A redisplay with the left picture kept repeats the new-C picture.
  a.render.ImageD->Fill(kMarker);
  ASSERT_EQ(Redisplay(&a.key, &a.render, &b.key, &b.render, &a.movie, &b.movie), 1);
  EXPECT_EQ(a.render.ImageD->Get(97, 3), Grey(5));
}

TEST_F(Compose, FourfoldPictureOfTwoMovies) {
  TSide a(100, 80, [](int, int) { return 7.0; });
  TSide b(100, 80, [](int x, int) { return 1.0 + x; });
  ASSERT_EQ(ShowFourfoldM1M2(&a.key, &a.render, &b.key, &b.render), 1);
  const TPixmap& p = *a.render.ImageV;
  EXPECT_EQ(p.Get(5, 5), Grey(7));
  EXPECT_EQ(p.Get(101, 5), Grey(3));       // Movie 2 variant 0, x = 2
  EXPECT_EQ(p.Get(5, 85), Grey(14));       // Movie 1 variant 1
  EXPECT_EQ(p.Get(101, 85), Grey(6));      // Movie 2 variant 1, x = 2
  EXPECT_EQ(p.Get(100, 5), kOpaqueBlack);
  EXPECT_EQ(p.Get(5, 79), kOpaqueWhite);
  EXPECT_EQ(Composition().CompositionMode, 44);
  EXPECT_EQ(Composition().ShownImage, 4);
}

TEST_F(Compose, InsertsClipAndBlend) {
  // Insert A, InsertPosY 40: Movie 2's rows 0..40 in rows 39..79.
  TSide a(100, 80, [](int, int) { return 200.0; });
  TSide b(100, 80, [](int, int y) { return 1.0 + y; });
  Composition().CompositionMode = -1;
  Composition().InsertPosX = 0;
  Composition().InsertPosY = 40;
  ASSERT_EQ(ShowInsert(&a.key, &a.render, &b.key, &b.render, &a.movie, &b.movie), 1);
  const TPixmap& p = *a.render.Image;
  EXPECT_EQ(p.Get(0, 38), Grey(200));
  EXPECT_EQ(p.Get(0, 39), Grey(1));
  EXPECT_EQ(p.Get(99, 79), Grey(41));
  EXPECT_EQ(Composition().CompositionMode, -1);
  EXPECT_EQ(Composition().ShownImage, 1);

  // Insert B, InsertPosX 50: Movie 2 keeps its place from column 49 on.
  TSide c(100, 80, [](int x, int) { return 1.0 + x; });
  Composition().CompositionMode = 0;
  Composition().InsertPosX = 50;
  Composition().InsertPosY = 0;
  ASSERT_EQ(ShowInsert(&a.key, &a.render, &c.key, &c.render, &a.movie, &c.movie), 1);
  EXPECT_EQ(a.render.Image->Get(48, 5), Grey(200));
  EXPECT_EQ(a.render.Image->Get(49, 5), Grey(50));
  EXPECT_EQ(a.render.Image->Get(99, 79), Grey(100));
  EXPECT_EQ(Composition().CompositionMode, 0);

  // Colour addition with opacity 128: grey 254 over black.
  TSide black(100, 80, [](int, int) { return 0.0; });
  TSide light(100, 80, [](int, int) { return 254.0; });
  Composition().CompositionMode = -12;
  Composition().InsertPosX = 0;
  Composition().InsertPosY = 0;
  Composition().InsertOpacity = 128;
  ASSERT_EQ(ShowInsert(&black.key, &black.render, &light.key, &light.render, &black.movie,
                       &light.movie),
            1);
  EXPECT_EQ(black.render.Image->Get(0, 0), 0xFF7F7F7Fu);  // 128 * 254 / 255 = 127
  EXPECT_EQ(black.render.Image->Get(99, 79), 0xFF7F7F7Fu);
  Composition().InsertOpacity = 255;

  // A larger Movie 2, shifted far and shifted negatively: clipped.
  TSide big(150, 120, [](int x, int y) { return 1.0 + (x + y) % 100; });
  Composition().CompositionMode = -1;
  Composition().InsertPosX = 70;
  Composition().InsertPosY = 60;
  ASSERT_EQ(ShowInsert(&a.key, &a.render, &big.key, &big.render, &a.movie, &big.movie), 1);
  EXPECT_EQ(a.render.Image->Get(68, 58), Grey(200));
  EXPECT_EQ(a.render.Image->Get(69, 59), Grey(1));
  EXPECT_EQ(a.render.Image->Get(99, 79), Grey(51));
  Composition().InsertPosX = -10;
  Composition().InsertPosY = 0;
  ASSERT_EQ(ShowInsert(&a.key, &a.render, &big.key, &big.render, &a.movie, &big.movie), 1);
  EXPECT_EQ(a.render.Image->Get(0, 0), Grey(11));
  // Insert B with a smaller Movie 2: only where Movie 2 has pixels.
  TSide small(50, 40, [](int, int) { return 9.0; });
  Composition().CompositionMode = 0;
  Composition().InsertPosX = 10;
  Composition().InsertPosY = 10;
  ASSERT_EQ(ShowInsert(&a.key, &a.render, &small.key, &small.render, &a.movie, &small.movie), 1);
  EXPECT_EQ(a.render.Image->Get(49, 39), Grey(9));
  EXPECT_EQ(a.render.Image->Get(50, 39), Grey(200));
  EXPECT_EQ(a.render.Image->Get(8, 9), Grey(200));
  EXPECT_EQ(a.render.Image->Get(9, 9), Grey(9));
}

TEST_F(Compose, SinglePictureWithFilterAndMissingParts) {
  TSide m(100, 80, [](int x, int y) { return x == 50 && y == 40 ? 254.0 : 0.0; });
  m.key.Filter = "1";
  std::string beginner = "1";
  BeginnerNameSlot() = &beginner;
  Composition().CompositionMode = 1;
  Composition().KeepLeftPicture = true;
  ASSERT_EQ(ShowCalculated(&m.key, &m.render), 1);
  EXPECT_EQ(m.render.Image->Get(50, 40), Grey(127));
  EXPECT_EQ(m.render.Image->Get(51, 40), Grey(31));  // 254 / 8 = 31.75
  EXPECT_EQ(Composition().InsertOpacity, 1);
  EXPECT_EQ(Composition().ShownImage, 1);
  EXPECT_FALSE(Composition().KeepLeftPicture);
  EXPECT_EQ(beginner, "");  // painting empties it before the blur looks
  BeginnerNameSlot() = nullptr;
  EXPECT_EQ(m.render.Coding[13], "gr = Delta*F1");

  // Missing parts: 0 and nothing changed.
  Composition().ShownImage = 2;
  EXPECT_EQ(ShowCalculated(nullptr, &m.render), 0);
  EXPECT_EQ(ShowDoubleM1(&m.key, nullptr), 0);
  TSide other(100, 80, [](int, int) { return 3.0; });
  EXPECT_EQ(ShowInsert(&m.key, &m.render, &other.key, &other.render, &m.movie, nullptr), 0);
  EXPECT_EQ(ShowDoubleM1M2(&m.key, &m.render, nullptr, &other.render, &m.movie, &other.movie), 0);
  TRender bare;  // no size, no tables
  Composition().CompositionMode = 2;
  EXPECT_EQ(ShowFourfoldM1(&m.key, &bare), 0);
  EXPECT_FALSE(bare.ImageV);
  EXPECT_EQ(Composition().CompositionMode, 2);
  EXPECT_EQ(Composition().ShownImage, 2);
  Composition().CompositionMode = -1000;
  EXPECT_EQ(Redisplay(&m.key, &m.render, &other.key, &other.render, &m.movie, &other.movie), 0);
}

// Inserts and colour addition laid in by row bands equal one sequential
// pass.
TEST_F(Compose, InsertBandsEqualOnePass) {
  TSide m(300, 400, Ramp);
  TSide other(300, 400, [](int x, int y) { return 1.0 + (x * 7 + y * 3) % 200; });
  Composition().InsertPosX = 31;
  Composition().InsertPosY = 57;
  for (int mode : {-1, 0, -12}) {
    for (int opacity : {255, 128}) {
      std::vector<uint32_t> pictures[2];
      for (int threads : {1, 3}) {
        SetWorkerThreads(threads);
        Composition().CompositionMode = mode;
        Composition().InsertOpacity = opacity;
        ASSERT_EQ(ShowInsert(&m.key, &m.render, &other.key, &other.render, &m.movie,
                             &other.movie),
                  1);
        const TPixmap& p = *m.render.Image;
        pictures[threads == 3].assign(p.Data(), p.Data() + 300 * 400);
      }
      EXPECT_EQ(pictures[0], pictures[1]) << mode << " " << opacity;
    }
  }
  SetWorkerThreads(0);
}

TEST(PicturePlacement, CentredOrAtThePicturePosition) {
  TParameter key;
  key.OutputWidth = 100;
  key.OutputHeight = 80;
  TRender render;
  render.Init(key);
  render.NeedImageD();
  render.NeedImageV();
  TPixmapPtr shown = PlaceShownPicture(render, 2, 1000, 600, 9999, 0);
  ASSERT_EQ(shown, render.ImageD);
  EXPECT_EQ(render.PaintOffsetX, 400);
  EXPECT_EQ(render.PaintOffsetY, 260);
  EXPECT_EQ(PlaceShownPicture(render, 0, 1000, 600, 10, 20), render.Image);
  EXPECT_EQ(render.PaintOffsetX, 10);
  EXPECT_EQ(render.PaintOffsetY, 20);
  EXPECT_EQ(PlaceShownPicture(render, 3, 1000, 600, 9999, 0), nullptr);
  EXPECT_EQ(render.PaintOffsetX, 10);
  EXPECT_EQ(PlaceShownPicture(render, 4, 100, 100, 9001, 0), render.ImageV);
  EXPECT_EQ(render.PaintOffsetX, 50 - 100);
}

}  // namespace
}  // namespace ork
