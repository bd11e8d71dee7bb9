#include "engine/pixmap.h"

#include <gtest/gtest.h>

#include "engine/worker_pool.h"

namespace ork {
namespace {

// A large picture is filled in bands on the pool: every pixel, whatever the
// thread count, also where the rows do not split evenly.
TEST(Pixmap, LargePicturesAreFilledInEveryPixel) {
  for (int threads : {1, 2, 3}) {
    SetWorkerThreads(threads);
    TPixmap p(1000, 301, 0x12345678u);
    int wrong = 0;
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) wrong += p.Get(x, y) != 0x12345678u;
    p.Fill(7);
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) wrong += p.Get(x, y) != 7u;
    EXPECT_EQ(wrong, 0) << threads << " threads";
  }
  SetWorkerThreads(0);
  EXPECT_TRUE(TPixmap(0, 5).Empty());
}

}  // namespace
}  // namespace ork
