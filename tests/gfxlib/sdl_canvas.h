// A headless 640 x 480 software canvas with the SDL back end, for pixel tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"

namespace mdx::gfx::testing {

class SdlCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    display = Display::openHeadless();
    ASSERT_NE(display, nullptr);
    backend = std::make_unique<SdlBackend>(display->renderer());
    backend->beginScene();
  }
  void TearDown() override {
    backend.reset();
    display.reset();
  }

  // Reads the picture back; call after the draws of a test.
  void grab() {
    int w = 0, h = 0;
    ASSERT_TRUE(display->readPixels(pixels, w, h));
    ASSERT_EQ(w, kScreenWidth);
    ASSERT_EQ(h, kScreenHeight);
  }
  uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(x)];
  }
  // How many pixels are not black.
  int litPixels() const {
    int lit = 0;
    for (uint32_t p : pixels) lit += (p & 0xFFFFFFu) != 0;
    return lit;
  }

  std::unique_ptr<Display> display;
  std::unique_ptr<SdlBackend> backend;
  std::vector<uint32_t> pixels;
};

inline Picture solidPicture(int w, int h, uint32_t colour) {
  Picture p;
  p.width = w;
  p.height = h;
  p.pixels.assign(static_cast<std::size_t>(w) * h, colour);
  return p;
}

}  // namespace mdx::gfx::testing
