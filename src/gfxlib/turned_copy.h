// Copies a textured triangle into a picture in memory, pixel for pixel as SDL's software
// renderer fills one when the texture is neither blended nor tinted: the same corner rounding,
// the same rule for pixels on an edge (top-left), the same texel for every pixel. The renderer
// divides twice per pixel; here the texel coordinates step along each row with their
// remainders, which gives the same whole numbers several times faster. The back end uses it
// for the turned landscape, an opaque picture that covers the whole frame.
#pragma once

#include "gfxlib/frame_enlarger.h"

namespace mdx::gfx {

// A triangle corner: where it lands on the picture (in screen pixels, as given to the
// renderer) and which texel it shows (as a share of the texture's width and height, 0 to 1).
struct TexturedCorner {
  float x, y;
  float u, v;
};

// Copies the triangle a, b, c of texture into picture (both 0xAARRGGBB rows); pixels outside
// the picture are left out.
void copyTexturedTriangle(const PixelRows& texture, const TexturedCorner& a,
                          const TexturedCorner& b, const TexturedCorner& c,
                          const PixelRows& picture);

}  // namespace mdx::gfx
