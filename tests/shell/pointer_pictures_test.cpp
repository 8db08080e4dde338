#include <gtest/gtest.h>

#include "app/sdl_icon.h"

namespace mdx::app {
namespace {

uint32_t alpha(uint32_t argb) {
  return argb >> 24;
}

TEST(PointerPictures, TheArrowTipSitsOnTheHotSpot) {
  const IconPixels cursor = makeCursorPixels();
  EXPECT_EQ(cursor[kCursorHotY * kIconSize + kCursorHotX], 0xFF000000u);
  // Nothing of the arrow lies above or left of its tip.
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (y < kCursorHotY || x < kCursorHotX) {
        EXPECT_EQ(alpha(cursor[y * kIconSize + x]), 0u) << x << "," << y;
      }
    }
  }
}

TEST(PointerPictures, TheIconHasAShapeOnAClearBackground) {
  const IconPixels icon = makeIconPixels();
  int opaque = 0;
  for (uint32_t pixel : icon) opaque += alpha(pixel) == 0xFF ? 1 : 0;
  EXPECT_GT(opaque, 200);
  EXPECT_LT(opaque, kIconSize * kIconSize);
  EXPECT_EQ(alpha(icon[0]), 0u);
  EXPECT_EQ(alpha(icon[kIconSize - 1]), 0u);
}

}  // namespace
}  // namespace mdx::app
