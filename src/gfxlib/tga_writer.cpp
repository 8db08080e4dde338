#include "gfxlib/tga_writer.h"

#include "base/files.h"

namespace mdx::gfx {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kExtensionSize = 495;
constexpr char kSignature[] = "TRUEVISION-XFILE.";  // written with its terminator

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// The extension area: every text field blank, no gamma, no postage stamp; the attributes type 3
// in its last byte says the alpha channel holds real alpha. Then the footer pointing at it.
void appendExtensionAndFooter(std::vector<uint8_t>& out) {
  const auto extensionOffset = static_cast<uint32_t>(out.size());
  put16(out, kExtensionSize);
  out.resize(extensionOffset + kExtensionSize, 0);
  out.back() = 3;
  put32(out, extensionOffset);
  put32(out, 0);  // no developer area
  out.insert(out.end(), kSignature, kSignature + sizeof kSignature);
}

}  // namespace

std::vector<uint8_t> encodeTga(const Picture& picture) {
  const int32_t w = picture.width, h = picture.height;
  if (w <= 0 || h <= 0 || w > 0xFFFF || h > 0xFFFF ||
      picture.pixels.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {
    return {};
  }
  std::vector<uint8_t> bytes(kHeaderSize, 0);
  bytes[2] = 2;  // uncompressed true colour
  bytes[12] = static_cast<uint8_t>(w);
  bytes[13] = static_cast<uint8_t>(w >> 8);
  bytes[14] = static_cast<uint8_t>(h);
  bytes[15] = static_cast<uint8_t>(h >> 8);
  bytes[16] = 32;
  bytes[17] = 0x28;  // 8 alpha bits, top row first
  bytes.reserve(bytes.size() + picture.pixels.size() * 4 + kExtensionSize + 26);
  for (uint32_t p : picture.pixels) {
    bytes.push_back(static_cast<uint8_t>(p));        // blue
    bytes.push_back(static_cast<uint8_t>(p >> 8));   // green
    bytes.push_back(static_cast<uint8_t>(p >> 16));  // red
    bytes.push_back(static_cast<uint8_t>(p >> 24));  // alpha
  }
  appendExtensionAndFooter(bytes);
  return bytes;
}

bool saveTga(const std::string& path, const Picture& picture) {
  const std::vector<uint8_t> bytes = encodeTga(picture);
  std::string error;
  return !bytes.empty() && base::writeFileSafely(path, bytes, error);
}

}  // namespace mdx::gfx
