#include "gfxlib/frame_enlarger.h"

#include <algorithm>
#include <cstring>

namespace mdx::gfx {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;

// One frame row, each pixel repeated scale times. Factors 1 and 2 (the usual windows and full
// screen on 1920 x 1080) have their own loops, which the compiler turns into wide moves.
void enlargeRow(const uint32_t* from, int width, int scale, uint32_t* to) {
  if (scale == 1) {
    std::memcpy(to, from, static_cast<std::size_t>(width) * sizeof(uint32_t));
  } else if (scale == 2) {
    for (int x = 0; x < width; ++x) {
      to[2 * x] = from[x];
      to[2 * x + 1] = from[x];
    }
  } else {
    for (int x = 0; x < width; ++x) std::fill_n(to + x * scale, scale, from[x]);
  }
}

void fillRows(const PixelRows& target, int top, int bottom, int left, int right) {
  for (int y = top; y < bottom; ++y) {
    std::fill(target.pixels + static_cast<long>(y) * target.pitch + left,
              target.pixels + static_cast<long>(y) * target.pitch + right, kBlack);
  }
}

}  // namespace

FramePlacement placeFrame(int frameWidth, int frameHeight, int targetWidth, int targetHeight) {
  FramePlacement place;
  if (frameWidth <= 0 || frameHeight <= 0) return place;
  place.scale = std::max(0, std::min(targetWidth / frameWidth, targetHeight / frameHeight));
  place.left = (targetWidth - frameWidth * place.scale) / 2;
  place.top = (targetHeight - frameHeight * place.scale) / 2;
  return place;
}

void enlargeFrame(const PixelRows& frame, const PixelRows& target, const FramePlacement& place,
                  bool fillBars) {
  const int scale = place.scale;
  if (scale < 1) return;
  const int right = place.left + frame.width * scale;
  const int bottom = place.top + frame.height * scale;
  if (place.left < 0 || place.top < 0 || right > target.width || bottom > target.height) return;
  if (fillBars) {
    fillRows(target, 0, place.top, 0, target.width);
    fillRows(target, place.top, bottom, 0, place.left);
    fillRows(target, place.top, bottom, right, target.width);
    fillRows(target, bottom, target.height, 0, target.width);
  }
  const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * scale * sizeof(uint32_t);
  for (int y = 0; y < frame.height; ++y) {
    uint32_t* first =
        target.pixels + static_cast<long>(place.top + y * scale) * target.pitch + place.left;
    enlargeRow(frame.pixels + static_cast<long>(y) * frame.pitch, frame.width, scale, first);
    // The other rows of the square are copies of the first.
    for (int copy = 1; copy < scale; ++copy)
      std::memcpy(first + copy * target.pitch, first, rowBytes);
  }
}

}  // namespace mdx::gfx
