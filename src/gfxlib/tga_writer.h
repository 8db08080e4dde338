// Writing pictures as Targa files: the game's generated pictures, test and benchmark files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfxlib/tga_decoder.h"

namespace mdx::gfx {

// The picture as an uncompressed 32-bit Targa, top row first, with 8 alpha bits and a version 2
// footer whose extension area marks the alpha channel as real (unpremultiplied) alpha. Reading
// it back with decodeTga gives the same pixels (opaque magenta aside, which turns transparent).
// Empty when a side is outside 1 to 65535 or the pixel count does not match the sides.
std::vector<uint8_t> encodeTga(const Picture& picture);

// Writes encodeTga's bytes to path, safely (base::writeFileSafely); false when it cannot.
bool saveTga(const std::string& path, const Picture& picture);

}  // namespace mdx::gfx
