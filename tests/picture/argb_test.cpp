#include "picture/argb.h"

#include <gtest/gtest.h>

namespace ork {
namespace {

TEST(Argb, ComposeBlendInvert) {
  EXPECT_EQ(ComposeArgb(255, 1, 2, 3), 0xFF010203u);
  // Table entries below 0 borrow from the next channel up, as the packing
  // adds without clamping.
  EXPECT_EQ(ComposeArgb(255, 0, 0, -1), 0xFEFFFFFFu);
  // White at alpha 128 over opaque black: 128 per channel, alpha 255.
  EXPECT_EQ(BlendArgb(ComposeArgb(128, 255, 255, 255), 0xFF000000u), 0xFF808080u);
  // Each product is divided before adding: 100 * 200 / 255 + 155 * 10 / 255.
  EXPECT_EQ(RedOf(BlendArgb(ComposeArgb(100, 200, 0, 0), ComposeArgb(255, 10, 0, 0))),
            100 * 200 / 255 + 155 * 10 / 255);
  EXPECT_EQ(BlendArgb(0xFF123456u, 0xFF654321u), 0xFF123456u);
  EXPECT_EQ(BlendArgb(0x00123456u, 0x80654321u), 0x80654321u);
  // Alpha t + u * bottom / 255 over a transparent bottom.
  EXPECT_EQ(AlphaOf(BlendArgb(0x40FFFFFFu, 0x00000000u)), 0x40);
  EXPECT_EQ(InvertArgb(0x00FF8000u), 0xFF007FFFu);
  EXPECT_EQ(InvertArgb(0xFFFFFFFFu), 0xFF000000u);
}

}  // namespace
}  // namespace ork
