// Helpers for the graphics tests: hand-built Targa files and scratch folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::gfx::testing {

// A Targa file described field by field; buildTga assembles its bytes.
struct TgaLayout {
  int imageType = 2;
  int depth = 32;
  int descriptor = 0x28;
  int width = 1;
  int height = 1;
  int mapType = 0;
  int mapFirst = 0;
  int mapLength = 0;
  int mapBits = 0;
  std::vector<uint8_t> map;   // colour-map bytes as stored
  std::vector<uint8_t> data;  // pixel bytes as stored (packets for RLE types)
  int alphaType = -1;         // attributes type of a TGA 2.0 extension area; -1: none
};
std::vector<uint8_t> buildTga(const TgaLayout& layout);

// A fresh empty folder under the system's temporary folder.
std::string makeTempDir();
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Path of a file of the outside Targa suite.
std::string suiteFile(const std::string& name);
// Empty when the outside Targa suite is there; otherwise the reason the tests that read it skip
// (a clone of the project without ../shared beside it).
std::string suiteMissing();

}  // namespace mdx::gfx::testing
