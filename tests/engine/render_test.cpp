#include "engine/render.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <vector>

#include "engine/allocation.h"
#include "engine/iteration.h"
#include "engine/view.h"
#include "model/language.h"
#include "model/process_state.h"

namespace ork {
namespace {

TParameter Picture(int w, int h) {
  TParameter k;
  k.OutputWidth = w;
  k.OutputHeight = h;
  k.GameNo = 1000;
  k.vsx = k.vsp = -0.55;
  k.bry = 2.4;
  k.ianzmax = 100;
  k.zyctest = 1;
  k.Accurate = 0.0001;
  k.maxabs = 1e9;
  k.colz = 2048;
  k.colzh = 1024;
  k.colzv = 512;
  return k;
}

// Records what the picture loop tells its host; PollCancel answers from a
// script, one entry per row.
class TScriptHost : public THost {
 public:
  std::vector<int> answers;
  std::vector<std::string> status, diagnostics;
  size_t polls = 0;
  void StatusText(const std::string& text) override { status.push_back(text); }
  int PollCancel() override { return polls < answers.size() ? answers[polls++] : (++polls, 0); }
  void Diagnostic(const std::string& line) override { diagnostics.push_back(line); }
};

TEST(Render, InitAndCopy) {
  TParameter k = Picture(5, 3);
  k.ianzmax = 40;
  TRender r;
  r.Coding[3] = "kept";
  r.Init(k);
  EXPECT_EQ(r.Width, 5);
  EXPECT_EQ(r.Height, 3);
  EXPECT_EQ(r.colz, 4096);
  EXPECT_EQ(r.colzh, 2048);
  EXPECT_EQ(r.colzv, 1024);
  ASSERT_TRUE(r.Image);
  EXPECT_EQ(r.Image->Get(4, 2), 0xFF000000u);
  // The double and fourfold pictures only once a composition needs them.
  EXPECT_FALSE(r.ImageD || r.ImageV);
  ASSERT_TRUE(r.NeedImageD() && r.NeedImageV());
  EXPECT_EQ(r.ImageD->Width(), 10);
  EXPECT_EQ(r.ImageV->Height(), 6);
  EXPECT_EQ(r.ImageV->Get(9, 5), 0xFF000000u);
  EXPECT_FALSE(r.ImageDyn);
  EXPECT_EQ(r.bildZ.size(), 15u);
  EXPECT_EQ(r.zycbild.size(), 15u);
  EXPECT_EQ(r.ColR->size(), 4096u);
  EXPECT_TRUE(r.DynX.empty());  // only a dynamics computation records an orbit
  EXPECT_EQ(r.Coding[3], "kept");

  TRender c = r.Copy();
  EXPECT_EQ(c.Image, r.Image);
  EXPECT_EQ(c.ColG, r.ColG);
  c.bildX[0] = 5;
  EXPECT_EQ(r.bildX[0], 0.0);
}

// Init of the same size clears and keeps the buffers (a picture held
// elsewhere is replaced); another size drops the double and fourfold
// pictures.
TEST(Render, InitReusesBuffersOfTheSameSize) {
  TParameter k = Picture(5, 3);
  TRender r;
  r.Init(k);
  r.NeedImageD()->Fill(7);
  r.Image->Fill(7);
  r.ibild[4] = 9;
  r.bildZ[4] = 9;
  const double* z = r.bildZ.data();
  const TPixmap* single = r.Image.get();
  const TPixmap* twice = r.ImageD.get();
  const TPixmapPtr handedOn = r.Image;
  r.Init(k);
  EXPECT_EQ(r.bildZ.data(), z);
  EXPECT_EQ(r.bildZ[4], 0.0);
  EXPECT_EQ(r.ibild[4], 0);
  EXPECT_EQ(r.ImageD.get(), twice);
  EXPECT_EQ(r.ImageD->Get(3, 1), 0xFF000000u);
  EXPECT_NE(r.Image.get(), single);
  EXPECT_EQ(handedOn->Get(3, 1), 7u);
  EXPECT_EQ(r.Image->Get(3, 1), 0xFF000000u);
  r.Init(Picture(6, 3));
  EXPECT_FALSE(r.ImageD);
  EXPECT_EQ(r.bildZ.size(), 18u);
}

// Raises or lowers the allocation limit for one test.
class TLimit {
 public:
  explicit TLimit(double bytes) { SetAllocationLimit(bytes); }
  ~TLimit() { SetAllocationLimit(0); }
};

TEST(Render, InitRefusesPicturesBeyondTheLimitAndKeepsTheOldOnes) {
  TRender r;
  r.Init(Picture(4, 3));
  r.bildX[5] = 7;
  struct TCase {
    int w, h;
    double limit;  // 0: the machine's memory
  } cases[] = {{1000000, 1000000, 0}, {16384, 16384, 1e9}, {2147483647, 2147483647, 0}};
  for (const TCase& c : cases) {
    TLimit limit(c.limit);
    try {
      r.Init(Picture(c.w, c.h));
      ADD_FAILURE() << c.w;
    } catch (const TAllocationError& e) {
      EXPECT_EQ(e.Bytes(), RenderBytes(c.w, c.h));
      EXPECT_NE(e.Purpose().find(std::to_string(c.w) + " x " + std::to_string(c.h)),
                std::string::npos);
    }
    EXPECT_EQ(r.Width, 4);
    EXPECT_EQ(r.bildX[5], 7.0);
  }
}

// The new buffers are requested before the old ones go: when the allocator
// fails, the previous picture and its buffers are still there.
TEST(Render, InitKeepsThePreviousPictureWhenTheAllocatorFails) {
  TRender r;
  r.Init(Picture(4, 3));
  r.bildX[5] = 7;
  r.Image->Set(1, 1, 9);
  const TPixmapPtr picture = r.Image;
  // Past the limit check, 2^48 pixels exceed any address space.
  TLimit none(1e30);
  EXPECT_THROW(r.Init(Picture(1 << 24, 1 << 24)), TAllocationError);
  EXPECT_EQ(r.Width, 4);
  EXPECT_EQ(r.Height, 3);
  EXPECT_EQ(r.Image, picture);
  EXPECT_EQ(r.Image->Get(1, 1), 9u);
  EXPECT_EQ(r.bildX[5], 7.0);
}

// Without a set limit new buffers are measured against what the machine
// can give now: never more than its memory.
TEST(Render, LimitIsWhatTheMachineCanGiveNow) {
  const double left = MemoryLeft();
  EXPECT_GT(left, 0);
  EXPECT_LE(left, static_cast<double>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGE_SIZE));
}

TEST(ViewMapping, CornersRotationAndTolerance) {
  TParameter k = Picture(4, 2);
  k.vsx = k.vsp = 0;
  k.bry = 2;
  TViewMapping v(k);
  EXPECT_EQ(v.brx, 4.0);
  double x1, y1, x2, y2;
  v.Map(0, 0, x1, y1, x2, y2);
  EXPECT_EQ(x1, -2.0);
  EXPECT_EQ(y1, 1.0);
  v.Map(3, 1, x1, y1, x2, y2);
  EXPECT_EQ(x1, 1.0);
  EXPECT_EQ(y1, 0.0);

  // The second centre moves orbit 2's start only.
  k.vsp = 10;
  k.vst = -10;
  TViewMapping second(k);
  second.Map(0, 0, x1, y1, x2, y2);
  EXPECT_EQ(x1, -2.0);
  EXPECT_EQ(x2, 8.0);
  EXPECT_EQ(y2, -9.0);

  // Turned by 90 degrees: both start points equal, (0, 0) near (-1, -2).
  k.Degree = 90;
  TViewMapping turned(k);
  turned.Map(0, 0, x1, y1, x2, y2);
  EXPECT_NEAR(x1, -1.0, 1e-12);
  EXPECT_NEAR(y1, -2.0, 1e-12);
  EXPECT_EQ(x2, x1);
  EXPECT_EQ(y2, y1);

  // Accurate 0: the tolerance is HeightY / OutputHeight / 1000.
  k = Picture(640, 480);
  k.bry = 2;
  k.Accurate = 0;
  EXPECT_EQ(TIterationContext(k).Acc(), 2.0 / 480 / 1000);
}

TEST(Calculate, FillsBuffersAndWritesBack) {
  TParameter k = Picture(12, 8);
  k.zyctest = -2;
  k.brx = 0;
  TRender r;
  r.Init(k);
  TScriptHost host;
  EXPECT_TRUE(Calculate(k, &host, r));
  EXPECT_EQ(k.zyctest, 1);
  EXPECT_EQ(k.brx, 2.4 * 12 / 8);
  ASSERT_EQ(host.diagnostics.size(), 3u);
  EXPECT_EQ(host.diagnostics[0], "> Calculate ");
  EXPECT_EQ(host.diagnostics[1], "...... Calculate ixe= 12");
  EXPECT_EQ(host.diagnostics[2], "< Calculate fertig");
  ASSERT_EQ(host.status.size(), 8u);

  // Every pixel equals the iteration run over the pixels in row order.
  TIterationContext ctx(k);
  TViewMapping view(k);
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 12; ++col) {
      double a, b, c, d;
      view.Map(col, row, a, b, c, d);
      const TPixelResult p = IteratePixel(ctx, a, b, c, d);
      const int i = row * 12 + col;
      EXPECT_EQ(r.ibild[i], p.count);
      EXPECT_EQ(r.zycbild[i], p.period);
      EXPECT_EQ(r.bildX[i], p.x1);
      EXPECT_EQ(r.bildT[i], p.y2);
      EXPECT_EQ(r.bildZ[i], p.zval);
    }
  }

  // A render object of another size is set up for the keyframe first.
  TRender small;
  small.Init(Picture(2, 2));
  EXPECT_TRUE(Calculate(k, nullptr, small));
  EXPECT_EQ(small.Width, 12);
  EXPECT_EQ(small.ibild, r.ibild);
}

TEST(Calculate, ProgressTextsInBothLanguages) {
  const TLanguage before = UiLanguage();
  TParameter k = Picture(3, 4);
  TRender r;
  r.Init(k);
  TScriptHost en, de;
  SetUiLanguage(TLanguage::English);
  Calculate(k, &en, r);
  SetUiLanguage(TLanguage::German);
  Calculate(k, &de, r);
  SetUiLanguage(before);
  ASSERT_EQ(en.status.size(), 4u);
  EXPECT_EQ(en.status[0], "Please wait, line 0/4");
  EXPECT_EQ(de.status[3], "Bitte warten, Zeile 3/4");
}

TEST(Calculate, StopFrame) {
  TParameter k = Picture(6, 5);
  k.FileNameKey = "Stop! hold";
  TRender r;
  r.Init(k);
  std::fill(r.bildX.begin(), r.bildX.end(), 9.0);
  EXPECT_TRUE(Calculate(k, nullptr, r));
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(r.ibild[i], 1 + 2048);
    EXPECT_EQ(r.bildX[i], 0.0);
    EXPECT_EQ(r.bildT[i], 0.0);
    EXPECT_EQ(r.bildZ[i], 0.0);
    EXPECT_EQ(r.zycbild[i], 0);
  }
}

TEST(Calculate, CancelKeepsRowsNotReachedAndQShowsProgress) {
  TParameter k = Picture(7, 9);
  TRender r;
  r.Init(k);
  std::fill(r.ibild.begin(), r.ibild.end(), -7);
  TScriptHost host;
  host.answers = {0, 0, 1, 0, 0, -1};  // Q in row 2, Escape in row 5
  int shown = 0;
  EXPECT_FALSE(Calculate(k, &host, r, [&] { ++shown; }));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(host.polls, 6u);
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 7; ++col) {
      if (row < 5) {
        EXPECT_GT(r.ibild[row * 7 + col], 0) << row;
      } else {
        EXPECT_EQ(r.ibild[row * 7 + col], -7) << row;
      }
    }
  }
  EXPECT_EQ(host.diagnostics.back(), "< Calculate fertig");

  // Q without a painter does nothing.
  TScriptHost q;
  q.answers = {1};
  EXPECT_TRUE(Calculate(k, &q, r));
}

TOrbitRecord g_recorded;
int g_hook_calls = 0;
void RecordHook(TRender&, const TParameter&, const TOrbitRecord& orbit) {
  g_recorded = orbit;
  ++g_hook_calls;
}

TEST(Calculate, DynamicsRecordsTheSelectedPixelOnly) {
  ResetProcessState();
  TParameter k = Picture(5, 4);
  k.Mpox = 3;
  k.Mpoy = 2;
  TRender r;
  r.Init(k);
  std::fill(r.ibild.begin(), r.ibild.end(), -7);
  SetOrbitPictureHook(&RecordHook);
  Dynamics().DynamicsMode = 2;
  EXPECT_TRUE(Calculate(k, nullptr, r));
  Dynamics().DynamicsMode = 0;
  SetOrbitPictureHook(nullptr);

  for (int v : r.ibild) EXPECT_EQ(v, -7);
  // The same pixel computed normally, in a context that saw the same pixels.
  TIterationContext ctx(k);
  TViewMapping view(k);
  double a, b, c, d;
  view.Map(3, 2, a, b, c, d);
  const TPixelResult p = IteratePixelPlain(ctx, a, b, c, d);
  EXPECT_EQ(g_hook_calls, 1);
  EXPECT_EQ(g_recorded.n, p.it);
  EXPECT_EQ(r.DynY[0], p.it);
  EXPECT_EQ(r.DynX[0], 0.0001);
  EXPECT_EQ(r.DynX[1], 0.0);  // Mandelbrot start z = 0
  EXPECT_EQ(r.DynX[2], a);    // then z = c
  EXPECT_EQ(r.DynY[2], b);

  ResetProcessState();
}

TEST(Calculate, OrbitRecordGrowsAsTheOrbitNeedsUpToItsBound) {
  ResetProcessState();
  TParameter k = Picture(2, 2);
  k.vsx = k.vsp = -0.1;  // pixel (0, 0) inside the set: runs every iteration
  k.vsy = k.vst = 0;
  k.bry = 0.01;
  k.Accurate = -1;
  TRender r;
  r.Init(k);
  SetOrbitPictureHook(&RecordHook);
  Dynamics().DynamicsMode = 1;
  struct TCase {
    int maxIterat;
    int points;  // recorded
  } cases[] = {{5000, 5001}, {TRender::kMaxOrbitPoints + 5, TRender::kMaxOrbitPoints}};
  for (const TCase& c : cases) {
    k.ianzmax = c.maxIterat;
    EXPECT_TRUE(Calculate(k, nullptr, r));
    EXPECT_EQ(g_recorded.n, c.points);
    EXPECT_EQ(r.DynY[0], c.points);
    EXPECT_LE(r.DynX.size(), static_cast<size_t>(c.points) + 1);
    EXPECT_EQ(r.DynX.size(), r.DynY.size());
  }
  Dynamics().DynamicsMode = 0;
  SetOrbitPictureHook(nullptr);
  ResetProcessState();
}

}  // namespace
}  // namespace ork
