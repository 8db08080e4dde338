// Every picture the game draws and the two text writers, filled at start-up.
#pragma once

#include <array>
#include <string>

#include "gfxlib/sprite_image.h"
#include "gfxlib/text_writer.h"

namespace mdx::render {

using gfx::SpriteImage;
using gfx::TextWriter;

struct Assets {
  std::array<SpriteImage, 99> blockImages;   // by blockLayer code; 1 to 61 loaded
  std::array<SpriteImage, 99> deviceImages;  // by deviceLayer code; 1 to 13 loaded
  std::array<SpriteImage, 4> robotImages;
  SpriteImage logoImage;
  SpriteImage dxImage;
  std::array<SpriteImage, 5> parallaxImages;   // 0 blank, 1 upper strip, 2 lower strip
  std::array<SpriteImage, 5> landscapeImages;  // 0 to 2
  std::array<SpriteImage, 2> lightImages;
  std::array<SpriteImage, 8> textImages;
  SpriteImage rect01Image;
  SpriteImage rect02Image;
  SpriteImage textNextImage;
  SpriteImage borderImage;
  std::array<SpriteImage, 15> tileImages;  // 0 to 5
  std::array<SpriteImage, 10> digitImages;
  std::array<SpriteImage, 1> explosionImages;
  TextWriter blackWriter;
  TextWriter whiteWriter;
};

}  // namespace mdx::render
