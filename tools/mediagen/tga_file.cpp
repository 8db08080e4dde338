#include "tga_file.h"

#include <cstdio>
#include <cstring>

namespace mdx::media {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

constexpr size_t kHeaderSize = 18;
constexpr size_t kExtensionSize = 495;

// The extension area: all text fields blank, no gamma, no postage stamp; the attributes
// type 3 in its last byte says the alpha channel holds real alpha.
void appendExtensionArea(std::vector<uint8_t>& out) {
  const size_t start = out.size();
  put16(out, kExtensionSize);
  out.resize(start + kExtensionSize, 0);
  out[start + kExtensionSize - 1] = 3;
}

}  // namespace

std::vector<uint8_t> encodeTga(int width, int height, const std::vector<uint8_t>& bgra) {
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF ||
      bgra.size() != size_t(width) * size_t(height) * 4) {
    return {};
  }
  std::vector<uint8_t> out;
  out.reserve(kHeaderSize + bgra.size() + kExtensionSize + 26);
  out.push_back(0);               // no image id
  out.push_back(0);               // no colour map
  out.push_back(2);               // uncompressed true colour
  out.resize(out.size() + 5, 0);  // colour map fields (no map)
  put16(out, 0);                  // x origin
  put16(out, 0);                  // y origin
  put16(out, uint32_t(width));
  put16(out, uint32_t(height));
  out.push_back(32);
  out.push_back(0x28);  // top-left origin, 8 alpha bits
  out.insert(out.end(), bgra.begin(), bgra.end());
  const uint32_t extensionOffset = uint32_t(out.size());
  appendExtensionArea(out);
  put32(out, extensionOffset);
  put32(out, 0);  // no developer area
  const char signature[] = "TRUEVISION-XFILE.";
  out.insert(out.end(), signature, signature + sizeof signature);  // with its terminator
  return out;
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error) {
  const std::string temp = path + ".part";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    error = "cannot create " + temp + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    error = "cannot write " + temp;
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot rename " + temp + " to " + path + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace mdx::media
