#include "tga_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace mdx::media::test {

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}
uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}

}  // namespace

bool readTga(const std::string& path, TgaPicture& p, std::string& error) {
  const std::vector<uint8_t> b = readFileBytes(path);
  if (b.size() < 18) {
    error = path + ": missing or shorter than a header";
    return false;
  }
  p.imageType = b[2];
  p.width = int(le16(b, 12));
  p.height = int(le16(b, 14));
  p.bitsPerPixel = b[16];
  p.descriptor = b[17];
  const size_t start = 18 + b[0] + le16(b, 5) * ((b[7] + 7) / 8);
  const size_t bytes = size_t(p.width) * p.height * 4;
  if (p.imageType != 2 || p.bitsPerPixel != 32 || b.size() < start + bytes) {
    error = path + ": not an uncompressed 32-bit picture of the stated size";
    return false;
  }
  p.bgra.assign(b.begin() + long(start), b.begin() + long(start + bytes));
  if ((p.descriptor & 0x20) == 0) {  // bottom-left origin: flip to top row first
    for (int y = 0; y < p.height / 2; ++y) {
      std::swap_ranges(p.bgra.begin() + long(y) * p.width * 4,
                       p.bgra.begin() + long(y + 1) * p.width * 4,
                       p.bgra.begin() + long(p.height - 1 - y) * p.width * 4);
    }
  }
  p.hasFooter = b.size() >= 26 && std::memcmp(&b[b.size() - 18], "TRUEVISION-XFILE.", 18) == 0;
  if (p.hasFooter) {
    const size_t ext = le32(b, b.size() - 26);
    if (ext != 0 && ext + 495 <= b.size() - 26 && le16(b, ext) == 495) {
      p.attributesType = b[ext + 494];
    }
  }
  return true;
}

}  // namespace mdx::media::test
