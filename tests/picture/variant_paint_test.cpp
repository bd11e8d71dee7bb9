#include "picture/variant_paint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "color/color_table.h"
#include "engine/worker_pool.h"

namespace ork {
namespace {

// A 300 x 400 render object whose buffers hold a spread of values, not-a-
// number, infinities and negative counts included.
TRender Varied(TParameter& key) {
  key.OutputWidth = 300;
  key.OutputHeight = 400;
  TRender r;
  r.Init(key);
  const double odd[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(), -1e300, 0.0};
  for (size_t i = 0; i < r.bildX.size(); ++i) {
    const double v = std::sin(0.001 * static_cast<double>(i)) * 50;
    r.bildX[i] = i % 97 == 0 ? odd[i % 4] : v;
    r.bildY[i] = v * 0.3 - 2;
    r.bildP[i] = v * v;
    r.bildZ[i] = std::fabs(v);
    r.ibild[i] = static_cast<int32_t>(i % 5000) - 20;
    r.zycbild[i] = static_cast<int32_t>(i % 13);
  }
  key.fact1 = 7.5;
  key.fact2 = 1.25;
  key.fact3 = 1;
  key.fact4 = 2048;
  key.farbtab = 4;
  BuildColorTable(key, r);
  return r;
}

// Row bands on the worker threads paint what one sequential pass paints,
// for every coding (and the unknown ones), with and without a row hook.
TEST(PaintCoded, BandsEqualOnePassForEveryCoding) {
  TParameter key;
  TRender r = Varied(key);
  const TRowIndexHook hook = [](int32_t* indices, int columns, int) {
    indices[columns - 1] = 0;
  };
  for (int coding = 0; coding <= 18; ++coding) {
    key.SelectPicture = coding;
    for (TRowIndexHook h : {TRowIndexHook{}, hook}) {
      TPixmap one(310, 405), bands(310, 405);
      SetWorkerThreads(1);
      PaintCoded(key, r, one, 7, 3, 300, 400, h);
      SetWorkerThreads(3);
      PaintCoded(key, r, bands, 7, 3, 300, 400, h);
      const bool same = std::equal(one.Data(), one.Data() + 310 * 405, bands.Data());
      EXPECT_TRUE(same) << "coding " << coding;
    }
  }
  SetWorkerThreads(0);
}

}  // namespace
}  // namespace ork
