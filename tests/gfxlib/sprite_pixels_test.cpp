// What sprite draws put on the screen, read back from SDL's software renderer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "gfxlib/sprite_image.h"
#include "gfxlib/tga_writer.h"
#include "sdl_canvas.h"
#include "tga_test_files.h"

namespace mdx::gfx {
namespace {

using testing::SdlCanvas;
using testing::solidPicture;

constexpr double kPi = 3.141592654;

// A picture whose every pixel differs, so a shift or flip by one shows.
Picture gradientPicture(int w, int h) {
  Picture p = solidPicture(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.pixels[static_cast<std::size_t>(y * w + x)] =
          0xFF000000u | static_cast<uint32_t>(40 + 9 * x) << 16 |
          static_cast<uint32_t>(40 + 13 * y) << 8 | 0x80u;
  return p;
}

// Four 20 x 10 quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
Picture quadrantPicture() {
  Picture p = solidPicture(40, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      p.pixels[static_cast<std::size_t>(y * 40 + x)] =
          y < 10 ? (x < 20 ? 0xFFFF0000u : 0xFF00FF00u) : (x < 20 ? 0xFF0000FFu : 0xFFFFFFFFu);
  return p;
}

bool near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
        tolerance)
      return false;
  }
  return true;
}

using SpriteDrawPixels = SdlCanvas;

TEST_F(SpriteDrawPixels, PlainDrawShowsThePictureUnchangedAtItsPoint) {
  const Picture picture = gradientPicture(13, 7);  // sides that are not powers of two
  const TextureId texture = backend->createTexture(picture);
  ASSERT_NE(texture, 0);
  EXPECT_EQ(backend->textureSize(texture), std::make_pair(13, 7));
  backend->drawSprite(texture, SpriteDraw{30, 40});
  grab();
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x)
      ASSERT_EQ(at(30 + x, 40 + y), picture.pixels[static_cast<std::size_t>(y * 13 + x)])
          << x << "," << y;
  // Exactly its own size: nothing spills over any side.
  EXPECT_EQ(litPixels(), 13 * 7);
}

TEST_F(SpriteDrawPixels, ColourIsMultipliedInPerChannel) {
  const TextureId texture = backend->createTexture(solidPicture(8, 8, 0xFFC86432u));
  backend->drawSprite(texture, SpriteDraw{0, 0, 0xFF808080u});   // half brightness
  backend->drawSprite(texture, SpriteDraw{20, 0, 0xFFFF0000u});  // red channel only
  backend->drawSprite(texture, SpriteDraw{40, 0, 0x00FFFFFFu});  // fully transparent
  backend->drawSprite(texture, SpriteDraw{60, 0, 0x80FFFFFFu});  // half transparent
  grab();
  EXPECT_TRUE(near(at(4, 4), 0xFF643219u, 2)) << std::hex << at(4, 4);
  EXPECT_TRUE(near(at(24, 4), 0xFFC80000u, 2)) << std::hex << at(24, 4);
  EXPECT_EQ(at(44, 4) & 0xFFFFFFu, 0u);
  EXPECT_TRUE(near(at(64, 4), 0xFF643219u, 2)) << std::hex << at(64, 4);
}

TEST_F(SpriteDrawPixels, LaterDrawsCoverEarlierOnesAndAlphaBlends) {
  const TextureId red = backend->createTexture(solidPicture(10, 10, 0xFFFF0000u));
  const TextureId halfBlue = backend->createTexture(solidPicture(10, 10, 0x800000FFu));
  backend->drawSprite(red, SpriteDraw{0, 0});
  backend->drawSprite(halfBlue, SpriteDraw{5, 0});
  grab();
  EXPECT_EQ(at(2, 5), 0xFFFF0000u);
  EXPECT_TRUE(near(at(7, 5), 0xFF7F0080u, 2)) << std::hex << at(7, 5);
  EXPECT_TRUE(near(at(12, 5), 0xFF000080u, 2)) << std::hex << at(12, 5);
}

TEST_F(SpriteDrawPixels, MagentaOfALoadedFileIsTransparent) {
  Picture picture = solidPicture(4, 1, 0xFF00FF00u);
  picture.pixels[1] = 0xFFFF00FFu;
  const std::string file = testing::makeTempDir() + "/keyed.tga";
  ASSERT_TRUE(saveTga(file, picture));
  const TextureId texture = backend->loadTexture(file);
  ASSERT_NE(texture, 0) << backend->lastError();
  const TextureId white = backend->createTexture(solidPicture(4, 1, 0xFFFFFFFFu));
  backend->drawSprite(white, SpriteDraw{0, 0});
  backend->drawSprite(texture, SpriteDraw{0, 0});
  grab();
  EXPECT_EQ(at(0, 0), 0xFF00FF00u);
  EXPECT_EQ(at(1, 0), 0xFFFFFFFFu);  // the white below shows through
  EXPECT_EQ(at(2, 0), 0xFF00FF00u);
}

TEST_F(SpriteDrawPixels, ScaleGrowsAwayFromTheTopLeftCorner) {
  const TextureId texture = backend->createTexture(solidPicture(4, 3, 0xFFFFFFFFu));
  backend->drawSprite(texture, SpriteDraw{100, 100, 0xFFFFFFFFu, 0, 0, 0, 2, 3});
  grab();
  EXPECT_EQ(at(100, 100), 0xFFFFFFFFu);
  EXPECT_EQ(at(107, 108), 0xFFFFFFFFu);
  EXPECT_EQ(at(108, 104) & 0xFFFFFFu, 0u);
  EXPECT_EQ(at(104, 109) & 0xFFFFFFu, 0u);
  EXPECT_EQ(at(99, 99) & 0xFFFFFFu, 0u);
  EXPECT_NEAR(litPixels(), 8 * 9, 4);
}

// A quarter turn about the picture's middle: positive angles turn counter-clockwise on screen,
// so the top-left quadrant (red) ends up bottom-left, top-right (green) top-left, bottom-left
// (blue) bottom-right, bottom-right (white) top-right. The picture keeps its middle.
TEST_F(SpriteDrawPixels, PositiveAngleTurnsCounterClockwiseAboutTheCentre) {
  const TextureId texture = backend->createTexture(quadrantPicture());
  backend->drawSprite(texture,
                      SpriteDraw{200, 200, 0xFFFFFFFFu, static_cast<float>(kPi / 2), 20, 10, 1, 1});
  grab();
  // Turned 40 x 20 about (220, 210): it now spans x 210..230, y 190..230.
  EXPECT_EQ(at(214, 224), 0xFFFF0000u);  // red, lower left
  EXPECT_EQ(at(214, 194), 0xFF00FF00u);  // green, upper left
  EXPECT_EQ(at(226, 224), 0xFF0000FFu);  // blue, lower right
  EXPECT_EQ(at(226, 194), 0xFFFFFFFFu);  // white, upper right
  EXPECT_EQ(at(205, 210) & 0xFFFFFFu, 0u);
  EXPECT_EQ(at(235, 210) & 0xFFFFFFu, 0u);
}

// Scale first, then turn about a centre given in scaled pixels, then move.
TEST_F(SpriteDrawPixels, ScaledPictureTurnsAboutItsScaledCentre) {
  const TextureId texture = backend->createTexture(quadrantPicture());
  // Doubled to 80 x 40, half a turn about its middle (40, 20): upside down in place.
  backend->drawSprite(texture,
                      SpriteDraw{300, 300, 0xFFFFFFFFu, static_cast<float>(kPi), 40, 20, 2, 2});
  grab();
  EXPECT_EQ(at(305, 305), 0xFFFFFFFFu);  // white, now top-left
  EXPECT_EQ(at(374, 334), 0xFFFF0000u);  // red, now bottom-right
  EXPECT_EQ(at(374, 305), 0xFF0000FFu);  // blue, now top-right
  EXPECT_EQ(at(305, 334), 0xFF00FF00u);  // green, now bottom-left
  EXPECT_EQ(at(385, 320) & 0xFFFFFFu, 0u);
}

// A turned picture far larger than the screen (like the landscape) is cut to the screen with
// its texture still in place; the software renderer once crashed on such draws.
TEST_F(SpriteDrawPixels, HugeTurnedPictureReachingOffScreenKeepsItsQuadrants) {
  const TextureId texture = backend->createTexture(quadrantPicture());
  // Scaled to 800 x 400, a quarter turn about its middle, which lands on the screen's centre.
  backend->drawSprite(
      texture, SpriteDraw{-80, 40, 0xFFFFFFFFu, static_cast<float>(kPi / 2), 400, 200, 20, 20});
  grab();
  EXPECT_EQ(at(220, 400), 0xFFFF0000u);
  EXPECT_EQ(at(220, 100), 0xFF00FF00u);
  EXPECT_EQ(at(420, 400), 0xFF0000FFu);
  EXPECT_EQ(at(420, 10), 0xFFFFFFFFu);
  EXPECT_EQ(at(100, 240) & 0xFFFFFFu, 0u);
  EXPECT_EQ(at(540, 240) & 0xFFFFFFu, 0u);
}

TEST_F(SpriteDrawPixels, UnloadedImagesAndUnknownTexturesDrawNothing) {
  SpriteImage image;
  EXPECT_EQ(image.draw(0, 0, 0xFFFFFFFFu, 0, 0, 0, 1, 1), kFail);
  backend->drawSprite(0, SpriteDraw{});
  backend->drawSprite(99, SpriteDraw{});
  world::RecordingMessageBoxes messages;
  EXPECT_EQ(image.load(*backend, "no/such/picture.tga", &messages), kFail);
  EXPECT_EQ(image.draw(0, 0, 0xFFFFFFFFu, 0, 0, 0, 1, 1), kFail);
  grab();
  EXPECT_EQ(litPixels(), 0);
}

TEST_F(SpriteDrawPixels, SuitePictureLoadsThroughTheBackEndUnchanged) {
  if (const std::string why = testing::suiteMissing(); !why.empty()) GTEST_SKIP() << why;
  const TextureId texture = backend->loadTexture(testing::suiteFile("utc24.tga"));
  ASSERT_NE(texture, 0) << backend->lastError();
  const DecodeResult decoded = loadTgaFile(testing::suiteFile("utc24.tga"));
  backend->drawSprite(texture, SpriteDraw{0, 0});
  grab();
  int wrong = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x)
      wrong += at(x, y) != decoded.picture.pixels[static_cast<std::size_t>(y * 128 + x)];
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace mdx::gfx
