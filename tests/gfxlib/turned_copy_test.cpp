// Turned opaque pictures copied straight into the picture in memory give exactly the pixels
// SDL's software renderer gives for the same draw, and what was drawn before stays under them.
#include "gfxlib/turned_copy.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"

namespace mdx::gfx {
namespace {

// An opaque picture whose every texel differs from its neighbours, so a texel taken one place
// off shows in the comparison.
Picture noisePicture(int width, int height, uint32_t seed) {
  Picture picture{width, height, std::vector<uint32_t>(static_cast<std::size_t>(width) * height)};
  std::mt19937 random(seed);
  for (uint32_t& texel : picture.pixels) texel = 0xFF000000u | (random() & 0xFFFFFFu);
  return picture;
}

// One headless frame: a background picture drawn plainly, then the turned picture.
struct Frame {
  std::unique_ptr<Display> display = Display::openHeadless();
  SdlBackend backend{display->renderer()};
  TextureId background = 0, turned = 0;

  Frame(const Picture& under, const Picture& over, bool copyIntoPicture) {
    if (copyIntoPicture) backend.setPictureInMemory(display->pictureInMemory());
    background = backend.createTexture(under);
    turned = backend.createTexture(over);
  }
  std::vector<uint32_t> draw(const SpriteDraw& turn) {
    backend.beginScene();
    backend.drawSprite(background, SpriteDraw{13.0f, 7.0f});
    backend.drawSprite(turned, turn);
    backend.endScene();
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_TRUE(display->readPixels(pixels, w, h));
    return pixels;
  }
};

// Turns, scales, centres and places from the landscape's own (a picture larger than the frame,
// turned about a wandering centre) to small pictures near and past the frame's edges.
TEST(TurnedCopy, GivesTheRenderersOwnPixelsForEveryTurn) {
  const Picture under = noisePicture(600, 450, 1);
  std::mt19937 random(20261208);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int round = 0; round < 24; ++round) {
    const bool landscape = round % 3 != 2;
    const Picture over = landscape ? noisePicture(830, 830, 100 + round)
                                   : noisePicture(20 + round * 7, 31 + round * 3, 100 + round);
    SpriteDraw turn;
    turn.rotation = (unit(random) - 0.5f) * (round < 12 ? 0.6f : 40.0f);
    turn.scaleX = turn.scaleY =
        round % 4 == 1 ? 0.9f : 1.0f + (round % 5 == 4 ? unit(random) : 0.0f);
    turn.centreX = landscape ? 400.0f + 10.0f * unit(random) : unit(random) * 30.0f;
    turn.centreY = landscape ? 400.0f + 10.0f * unit(random) : unit(random) * 30.0f;
    turn.x = landscape ? -80.0f + 60.0f * unit(random) : -40.0f + 700.0f * unit(random);
    turn.y = landscape ? -160.0f + 60.0f * unit(random) : -40.0f + 540.0f * unit(random);
    Frame renderer(under, over, false);
    Frame copied(under, over, true);
    const std::vector<uint32_t> expected = renderer.draw(turn);
    const std::vector<uint32_t> got = copied.draw(turn);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) differing += expected[i] != got[i];
    EXPECT_EQ(differing, 0u) << "round " << round << ", angle " << turn.rotation;
  }
}

// Only a turned, opaque, untinted picture is copied; every other draw is left to the renderer.
// The copies go to the picture the back end was given, here one apart from the renderer's.
TEST(TurnedCopy, TakesOnlyOpaqueUntintedTurnedPictures) {
  const Picture over = noisePicture(100, 100, 2);
  const SpriteDraw turn{270.0f, 190.0f, 0xFFFFFFFFu, 0.3f, 50.0f, 50.0f, 1.0f, 1.0f};
  const auto copied = [](const SpriteDraw& d, const Picture& picture) {
    auto display = Display::openHeadless();
    SdlBackend backend(display->renderer());
    std::vector<uint32_t> apart(static_cast<std::size_t>(kScreenWidth) * kScreenHeight, 0);
    backend.setPictureInMemory({apart.data(), kScreenWidth, kScreenHeight, kScreenWidth});
    const TextureId texture = backend.createTexture(picture);
    backend.beginScene();
    backend.drawSprite(texture, d);
    backend.endScene();
    return apart[240 * kScreenWidth + 320] != 0;
  };
  EXPECT_TRUE(copied(turn, over));
  SpriteDraw tinted = turn;
  tinted.colour = 0xFFC0C0C0u;
  EXPECT_FALSE(copied(tinted, over));
  SpriteDraw straight = turn;
  straight.rotation = 0.0f;
  EXPECT_FALSE(copied(straight, over));
  Picture seeThrough = over;
  seeThrough.pixels[0] = 0x80FFFFFFu;
  EXPECT_FALSE(copied(turn, seeThrough));
}

}  // namespace
}  // namespace mdx::gfx
