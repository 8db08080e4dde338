#include "gfxlib/tga_writer.h"

#include <cstdio>

namespace mdx::gfx {

std::vector<uint8_t> encodeTga(const Picture& picture) {
  std::vector<uint8_t> bytes(18, 0);
  bytes[2] = 2;  // uncompressed true colour
  bytes[12] = static_cast<uint8_t>(picture.width);
  bytes[13] = static_cast<uint8_t>(picture.width >> 8);
  bytes[14] = static_cast<uint8_t>(picture.height);
  bytes[15] = static_cast<uint8_t>(picture.height >> 8);
  bytes[16] = 32;
  bytes[17] = 0x28;  // 8 alpha bits, top row first
  bytes.reserve(bytes.size() + picture.pixels.size() * 4);
  for (uint32_t p : picture.pixels) {
    bytes.push_back(static_cast<uint8_t>(p));        // blue
    bytes.push_back(static_cast<uint8_t>(p >> 8));   // green
    bytes.push_back(static_cast<uint8_t>(p >> 16));  // red
    bytes.push_back(static_cast<uint8_t>(p >> 24));  // alpha
  }
  return bytes;
}

bool saveTga(const std::string& path, const Picture& picture) {
  const std::vector<uint8_t> bytes = encodeTga(picture);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace mdx::gfx
