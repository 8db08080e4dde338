// Shows a finished frame in a larger picture: every pixel becomes a square of the largest
// whole factor that fits, centred, with black bars around it. The display uses it to put the
// 640 x 480 frame on the window's own surface, so the enlargement costs one pass of the
// processor over the window instead of a textured draw on the renderer.
#pragma once

#include <cstdint>

namespace mdx::gfx {

// 32-bit pixels in rows; pitch is the distance between rows, in pixels.
struct PixelRows {
  uint32_t* pixels;
  int width, height, pitch;
};

// Where a frame lands in a target: its whole factor and its top-left corner. scale is 0 when
// the target is smaller than the frame in either direction.
struct FramePlacement {
  int scale = 0;
  int left = 0, top = 0;
};
FramePlacement placeFrame(int frameWidth, int frameHeight, int targetWidth, int targetHeight);

// Copies frame into target enlarged by place.scale (at least 1) at place, each pixel a square
// of scale x scale. With fillBars the rest of the target becomes opaque black; without, it is
// left alone (it still holds the bars of the frame before).
void enlargeFrame(const PixelRows& frame, const PixelRows& target, const FramePlacement& place,
                  bool fillBars);

}  // namespace mdx::gfx
