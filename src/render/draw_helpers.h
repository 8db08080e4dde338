// Small shared pieces of the frame drawing: the colour rule, degree clocks and shadowed draws.
#pragma once

#include <cmath>
#include <cstdint>

#include "gfxlib/sprite_image.h"

namespace mdx::render {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Opaque grey of level v: red = green = blue = the low 8 bits of v (256 is black again).
constexpr uint32_t greyColour(int32_t v) {
  const uint32_t level = static_cast<uint32_t>(v) & 0xFFu;
  return 0xFF000000u | (level << 16) | (level << 8) | level;
}

// Opaque red of level v (low 8 bits), green and blue 0: the bomb's flash.
constexpr uint32_t redColour(int32_t v) {
  return 0xFF000000u | ((static_cast<uint32_t>(v) & 0xFFu) << 16);
}

// The animation clocks run in degrees; drawing takes radians with pi as 3.141592654.
constexpr float kDegreesToRadians = 3.141592654f / 180.0f;
inline float sinDegrees(float degrees) {
  return std::sin(degrees * kDegreesToRadians);
}
inline float cosDegrees(float degrees) {
  return std::cos(degrees * kDegreesToRadians);
}

// Draws an image at (x, y) with no rotation, centre (0, 0) and scale 1.
inline void drawPlain(gfx::SpriteImage& image, float x, float y, uint32_t colour) {
  image.draw(x, y, colour, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f);
}

// A drop-shadowed picture: first opaque black one pixel right and down, then the picture at
// (x, y) in its colour, both with the same rotation, centre and scale.
inline void drawShadowed(gfx::SpriteImage& image, float x, float y, uint32_t colour,
                         float rotation = 0.0f, float centreX = 0.0f, float centreY = 0.0f,
                         float scaleX = 1.0f, float scaleY = 1.0f) {
  image.draw(x + 1.0f, y + 1.0f, kBlack, rotation, centreX, centreY, scaleX, scaleY);
  image.draw(x, y, colour, rotation, centreX, centreY, scaleX, scaleY);
}

}  // namespace mdx::render
