#include "tga_test_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace mdx::gfx::testing {
namespace {

void put16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, static_cast<int>(v & 0xFFFF));
  put16(out, static_cast<int>(v >> 16));
}

}  // namespace

std::vector<uint8_t> buildTga(const TgaLayout& layout) {
  std::vector<uint8_t> out;
  out.push_back(0);
  out.push_back(static_cast<uint8_t>(layout.mapType));
  out.push_back(static_cast<uint8_t>(layout.imageType));
  put16(out, layout.mapFirst);
  put16(out, layout.mapLength);
  out.push_back(static_cast<uint8_t>(layout.mapBits));
  put16(out, 0);
  put16(out, 0);
  put16(out, layout.width);
  put16(out, layout.height);
  out.push_back(static_cast<uint8_t>(layout.depth));
  out.push_back(static_cast<uint8_t>(layout.descriptor));
  out.insert(out.end(), layout.map.begin(), layout.map.end());
  out.insert(out.end(), layout.data.begin(), layout.data.end());
  if (layout.alphaType >= 0) {
    const uint32_t extOffset = static_cast<uint32_t>(out.size());
    std::vector<uint8_t> ext(495, 0);
    ext[0] = 495 & 0xFF;
    ext[1] = 495 >> 8;
    ext[494] = static_cast<uint8_t>(layout.alphaType);
    out.insert(out.end(), ext.begin(), ext.end());
    put32(out, extOffset);
    put32(out, 0);
    const char signature[] = "TRUEVISION-XFILE.";
    out.insert(out.end(), signature, signature + sizeof signature);
  }
  return out;
}

std::string makeTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/mdx-gfx-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
  return buffer.data();
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string suiteFile(const std::string& name) {
  return std::string(MDX_SHARED_TESTDATA) + "/tga/" + name;
}

std::string suiteMissing() {
  const std::string folder = std::string(MDX_SHARED_TESTDATA) + "/tga";
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return "";
  return "the outside Targa suite is not at " + folder + " (set MDX_SHARED_TESTDATA)";
}

}  // namespace mdx::gfx::testing
