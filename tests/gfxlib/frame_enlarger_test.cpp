// Enlarging the finished frame onto a larger picture: whole factors, centring, bars, rows of
// any pitch.
#include "gfxlib/frame_enlarger.h"

#include <gtest/gtest.h>

#include <vector>

namespace mdx::gfx {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kStale = 0x12345678u;  // what a target held before

// A frame whose every pixel is different, so a pixel in the wrong place shows.
std::vector<uint32_t> numberedFrame(int width, int height) {
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = 0xFF000000u | static_cast<uint32_t>(i);
  return pixels;
}

TEST(FramePlacement, TakesTheLargestWholeFactorThatFitsAndCentresIt) {
  const FramePlacement window = placeFrame(640, 480, 1280, 960);
  EXPECT_EQ(window.scale, 2);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  const FramePlacement screen = placeFrame(640, 480, 1920, 1080);  // the height decides
  EXPECT_EQ(screen.scale, 2);
  EXPECT_EQ(screen.left, 320);
  EXPECT_EQ(screen.top, 60);
  EXPECT_EQ(placeFrame(640, 480, 1919, 1439).scale, 2);
  EXPECT_EQ(placeFrame(640, 480, 1920, 1440).scale, 3);
  EXPECT_EQ(placeFrame(640, 480, 639, 1000).scale, 0);  // smaller than the frame
}

// Every factor's loop (1, 2 and the general one) puts each frame pixel on a whole square and
// the bars around it black, in a target whose rows are longer than its width.
TEST(FrameEnlarger, EachPixelBecomesASquareBetweenBlackBars) {
  const int width = 5, height = 3;
  std::vector<uint32_t> frame = numberedFrame(width, height);
  for (const int scale : {1, 2, 3}) {
    const int targetWidth = width * scale + 3, targetHeight = height * scale + 2, pitch = 40;
    std::vector<uint32_t> target(static_cast<std::size_t>(pitch) * targetHeight, kStale);
    const FramePlacement place = placeFrame(width, height, targetWidth, targetHeight);
    ASSERT_EQ(place.scale, scale);
    enlargeFrame({frame.data(), width, height, width},
                 {target.data(), targetWidth, targetHeight, pitch}, place, true);
    for (int y = 0; y < targetHeight; ++y) {
      for (int x = 0; x < targetWidth; ++x) {
        const int fx = x - place.left, fy = y - place.top;
        const bool inside = fx >= 0 && fy >= 0 && fx < width * scale && fy < height * scale;
        const uint32_t expected =
            inside ? frame[static_cast<std::size_t>(fy / scale * width + fx / scale)] : kBlack;
        ASSERT_EQ(target[static_cast<std::size_t>(y * pitch + x)], expected)
            << "scale " << scale << " at " << x << ", " << y;
      }
      // Past the row's width the target's memory is not touched.
      EXPECT_EQ(target[static_cast<std::size_t>(y * pitch + targetWidth)], kStale);
    }
  }
}

// The bars are drawn once for a new target; later frames leave them as they are, and a frame
// that does not fit the target draws nothing at all.
TEST(FrameEnlarger, LeavesTheBarsAloneUnlessAskedAndNeverWritesOutsideTheTarget) {
  const int width = 4, height = 2, targetWidth = 10, targetHeight = 6;
  std::vector<uint32_t> frame = numberedFrame(width, height);
  std::vector<uint32_t> target(static_cast<std::size_t>(targetWidth) * targetHeight, kStale);
  const PixelRows rows{target.data(), targetWidth, targetHeight, targetWidth};
  const FramePlacement place = placeFrame(width, height, targetWidth, targetHeight);
  enlargeFrame({frame.data(), width, height, width}, rows, place, false);
  EXPECT_EQ(target[0], kStale);
  EXPECT_EQ(target[static_cast<std::size_t>(place.top * targetWidth + place.left)], frame[0]);

  std::vector<uint32_t> untouched = target;
  enlargeFrame({frame.data(), width, height, width}, rows, FramePlacement{3, 0, 0}, true);
  enlargeFrame({frame.data(), width, height, width}, rows, FramePlacement{0, 0, 0}, true);
  EXPECT_EQ(target, untouched);
}

}  // namespace
}  // namespace mdx::gfx
