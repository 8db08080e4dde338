// A small reader for the Targa files the generator writes, used to check them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::media::test {

struct TgaPicture {
  int width = 0, height = 0;
  int imageType = 0, bitsPerPixel = 0, descriptor = 0;
  bool hasFooter = false;
  int attributesType = -1;    // from the extension area; -1 if there is none
  std::vector<uint8_t> bgra;  // top row first, whatever the file's origin
};

// Reads the file; returns false with `error` set when it is missing or malformed.
bool readTga(const std::string& path, TgaPicture& picture, std::string& error);

std::vector<uint8_t> readFileBytes(const std::string& path);

}  // namespace mdx::media::test
