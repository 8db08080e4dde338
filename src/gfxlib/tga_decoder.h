// Targa picture decoding: bytes in, 32-bit pixels or a reason out. No file access, no SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mdx::gfx {

// Pictures larger than this on either side are refused: the game never needs them, and the
// limit keeps a corrupt header from asking for gigabytes.
constexpr int32_t kMaxPictureSide = 4096;

// A decoded picture: width * height pixels as 0xAARRGGBB, top row first, left to right.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

struct DecodeResult {
  bool ok = false;
  std::string error;  // why decoding failed; empty on success
  Picture picture;
};

// Decodes any Targa variant: colour-mapped, true-colour or grey, plain or run-length encoded,
// 8, 15, 16, 24 or 32 bits per pixel, 15/16/24/32-bit colour maps, any origin corner.
// Alpha: the file's alpha is kept unless the TGA 2.0 extension area marks it as not useful
// (attributes type 0, 1 or 2) or it is zero everywhere; premultiplied alpha is undone.
// Afterwards every opaque magenta pixel (0xFFFF00FF) becomes fully transparent (0).
DecodeResult decodeTga(const uint8_t* data, std::size_t size);

// Reads and decodes a Targa file. Fails cleanly for a missing or unreadable file, a folder,
// an empty or oversized file, and anything decodeTga refuses; error names the reason.
DecodeResult loadTgaFile(const std::string& path);

}  // namespace mdx::gfx
