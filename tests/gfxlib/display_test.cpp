// Opening the device on SDL's dummy video driver: window size, scaling, full screen, failure,
// and reading a headless picture back.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdlib>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "sdl_canvas.h"
#include "tga_test_files.h"

namespace mdx::gfx {
namespace {

class DisplayOnDummyVideo : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("MDX_NO_MESSAGE_BOXES", "1", 1);
  }

  // Draws a white 4 x 4 square at the picture's origin, presents the frame, and returns
  // what reached the window, as 0xAARRGGBB pixels.
  static std::vector<uint32_t> presentMarker(Display& display, int& w, int& h) {
    SdlBackend backend(display.renderer());
    backend.setPresenter([&display] { display.present(); });
    backend.setSceneStarter([&display] { display.beginFrame(); });
    backend.beginScene();
    backend.drawSprite(backend.createTexture(testing::solidPicture(4, 4, 0xFFFFFFFFu)),
                       SpriteDraw{0, 0});
    backend.endScene();
    SDL_Surface* shown = SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(display.window()),
                                                  SDL_PIXELFORMAT_ARGB8888, 0);
    EXPECT_NE(shown, nullptr);
    w = shown->w;
    h = shown->h;
    std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      const auto* row = static_cast<const uint32_t*>(shown->pixels) + y * (shown->pitch / 4);
      std::copy(row, row + w, pixels.begin() + static_cast<long>(y) * w);
    }
    SDL_FreeSurface(shown);
    return pixels;
  }

  world::RecordingMessageBoxes messages;
};

TEST_F(DisplayOnDummyVideo, DisplayNamesAreListed) {
  EXPECT_FALSE(listDisplayNames().empty());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);  // listing leaves SDL as it found it
}

TEST_F(DisplayOnDummyVideo, WindowShowsTheScreenAtTheWholeFactorAsked) {
  auto display = Display::open({0, true, 2, false}, messages);
  ASSERT_NE(display, nullptr);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(display->fullscreen());
  int w = 0, h = 0;
  SDL_GetWindowSize(display->window(), &w, &h);
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(h, 960);
  EXPECT_STREQ(SDL_GetWindowTitle(display->window()), "Marvolen DX");
  const std::vector<uint32_t> pixels = presentMarker(*display, w, h);
  ASSERT_EQ(w, 1280);
  // A 4 x 4 square became 8 x 8, with hard edges.
  EXPECT_EQ(pixels[7 * 1280 + 7], 0xFFFFFFFFu);
  EXPECT_EQ(pixels[7 * 1280 + 8] & 0xFFFFFFu, 0u);
  EXPECT_EQ(pixels[8 * 1280 + 7] & 0xFFFFFFu, 0u);
  // The frame itself stays 640 x 480 and can be read back as drawn.
  std::vector<uint32_t> frame;
  ASSERT_TRUE(display->readPixels(frame, w, h));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(frame[3 * 640 + 3], 0xFFFFFFFFu);
  EXPECT_EQ(frame[4 * 640 + 4] & 0xFFFFFFu, 0u);
}

// Without a graphics card the frame is drawn in memory at 640 x 480 and enlarged onto the
// window's surface: at every window size it can be read back, and the window shows it at the
// largest whole factor, centred between black bars; a window smaller than the picture shows
// it shrunk to fit.
TEST_F(DisplayOnDummyVideo, FramesDrawnInMemoryFitEveryWindowSize) {
  auto display = Display::open({0, true, 1, false}, messages);
  ASSERT_NE(display, nullptr);
  EXPECT_TRUE(display->drawsInMemory());
  for (const int scale : {1, 3, 1}) {
    SDL_SetWindowSize(display->window(), 640 * scale + 20, 480 * scale + 10);
    SDL_PumpEvents();
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = presentMarker(*display, w, h);
    ASSERT_EQ(w, 640 * scale + 20);
    // The picture is centred between bars: 10 and 5 pixels, its 4 x 4 square 4 x scale wide.
    const int left = 10, top = 5, side = 4 * scale;
    EXPECT_EQ(pixels[static_cast<std::size_t>(top * w + left)], 0xFFFFFFFFu) << scale;
    EXPECT_EQ(pixels[static_cast<std::size_t>((top + side - 1) * w + left + side - 1)], 0xFFFFFFFFu)
        << scale;
    EXPECT_EQ(pixels[static_cast<std::size_t>((top + side) * w + left + side)] & 0xFFFFFFu, 0u)
        << scale;
    EXPECT_EQ(pixels[static_cast<std::size_t>(top * w + left - 1)] & 0xFFFFFFu, 0u) << scale;
    EXPECT_EQ(pixels[0] & 0xFFFFFFu, 0u) << scale;
    std::vector<uint32_t> frame;
    ASSERT_TRUE(display->readPixels(frame, w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(frame[3 * 640 + 3], 0xFFFFFFFFu);
  }
  SDL_SetWindowSize(display->window(), 320, 240);
  SDL_PumpEvents();
  int w = 0, h = 0;
  const std::vector<uint32_t> pixels = presentMarker(*display, w, h);
  ASSERT_EQ(w, 320);
  EXPECT_EQ(pixels[1 * 320 + 1], 0xFFFFFFFFu);  // the square, half size
  EXPECT_EQ(pixels[2 * 320 + 2] & 0xFFFFFFu, 0u);
}

TEST_F(DisplayOnDummyVideo, FullScreenCentresTheScreenBetweenBlackBars) {
  auto display = Display::open({0, false, 1, false}, messages);
  ASSERT_NE(display, nullptr);
  EXPECT_TRUE(display->fullscreen());
  int w = 0, h = 0;
  const std::vector<uint32_t> pixels = presentMarker(*display, w, h);
  ASSERT_GE(w, 640);
  ASSERT_GE(h, 480);
  // Whole-number scale only: the picture sits in the middle at factor floor(min ratio).
  const int factor = std::min(w / 640, h / 480);
  const int left = (w - 640 * factor) / 2, top = (h - 480 * factor) / 2;
  EXPECT_EQ(pixels[static_cast<std::size_t>(top * w + left)], 0xFFFFFFFFu);
  if (left > 0) {
    EXPECT_EQ(pixels[static_cast<std::size_t>(top * w + left - 1)] & 0xFFFFFFu, 0u);
  }
}

TEST_F(DisplayOnDummyVideo, FullScreenCanBeSwitchedOffAndOnAgain) {
  auto display = Display::open({0, true, 1, false}, messages);
  ASSERT_NE(display, nullptr);
  ASSERT_TRUE(display->toggleFullscreen());
  EXPECT_TRUE(display->fullscreen());
  EXPECT_NE(SDL_GetWindowFlags(display->window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
  ASSERT_TRUE(display->toggleFullscreen());
  EXPECT_FALSE(display->fullscreen());
  int w = 0, h = 0;
  SDL_GetWindowSize(display->window(), &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
}

// The scale in use follows the player's resizing (whole factors, at least 1), survives a trip
// to full screen and back, and sizes the window on the way back.
TEST_F(DisplayOnDummyVideo, WindowScaleFollowsAResizeAndComesBackFromFullScreen) {
  auto display = Display::open({0, true, 1, false}, messages);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->windowScale(), 1);
  SDL_SetWindowSize(display->window(), 1300, 1000);
  EXPECT_EQ(display->windowScale(), 2);
  SDL_SetWindowSize(display->window(), 2000, 1000);  // the height decides
  EXPECT_EQ(display->windowScale(), 2);
  SDL_SetWindowSize(display->window(), 300, 200);
  EXPECT_EQ(display->windowScale(), 1);
  SDL_SetWindowSize(display->window(), 1920, 1440);
  ASSERT_TRUE(display->setFullscreen(true));
  EXPECT_EQ(display->windowScale(), 3);
  ASSERT_TRUE(display->setFullscreen(false));
  int w = 0, h = 0;
  SDL_GetWindowSize(display->window(), &w, &h);
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1440);
}

TEST_F(DisplayOnDummyVideo, MissingVideoGivesTheDeviceMessageAndNoDisplay) {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  auto display = Display::open({0, true, 1, false}, messages);
  EXPECT_EQ(display, nullptr);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Cannot Create Device!");
  EXPECT_EQ(messages.shown[0].caption, "MarvolenDX: Error");
  EXPECT_EQ(messages.shown[0].icon, world::MessageIcon::Error);
}

TEST_F(DisplayOnDummyVideo, MissingDisplayIndexFallsBackToTheFirst) {
  auto display = Display::open({57, true, 1, true}, messages);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(SDL_GetWindowDisplayIndex(display->window()), 0);
}

TEST(HeadlessDisplay, SavedPngHoldsThePicture) {
  auto display = Display::openHeadless();
  ASSERT_NE(display, nullptr);
  EXPECT_TRUE(display->headless());
  SdlBackend backend(display->renderer());
  backend.beginScene();
  backend.drawSprite(backend.createTexture(testing::solidPicture(3, 2, 0xFF336699u)),
                     SpriteDraw{638, 478});
  const std::string file = testing::makeTempDir() + "/frame.png";
  std::string error;
  ASSERT_TRUE(display->savePng(file, &error)) << error;
  int w = 0, h = 0, n = 0;
  unsigned char* png = stbi_load(file.c_str(), &w, &h, &n, 4);
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  const unsigned char* corner = png + (479 * 640 + 639) * 4;
  EXPECT_EQ(corner[0], 0x33);
  EXPECT_EQ(corner[1], 0x66);
  EXPECT_EQ(corner[2], 0x99);
  EXPECT_EQ(png[0], 0);
  stbi_image_free(png);
  EXPECT_FALSE(display->savePng("/no/such/folder/frame.png"));
}

}  // namespace
}  // namespace mdx::gfx
