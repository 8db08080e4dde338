#include <cstdint>

#include "gfxlib/tga_decoder.h"

// Any bytes: either a picture within the size limit with one pixel per cell, or a reason.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const mdx::gfx::DecodeResult result = mdx::gfx::decodeTga(data, size);
  if (result.ok) {
    const auto& p = result.picture;
    if (p.width <= 0 || p.height <= 0 || p.width > mdx::gfx::kMaxPictureSide ||
        p.height > mdx::gfx::kMaxPictureSide ||
        p.pixels.size() != static_cast<size_t>(p.width) * static_cast<size_t>(p.height))
      __builtin_trap();
    for (uint32_t pixel : p.pixels) {
      if (pixel == 0xFFFF00FFu) __builtin_trap();  // opaque magenta must have been keyed out
    }
  } else if (result.error.empty()) {
    __builtin_trap();
  }
  return 0;
}
