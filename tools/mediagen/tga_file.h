// Writes 32-bit Targa pictures: uncompressed, top-left origin, 8 alpha bits, with a
// version 2 footer whose extension area marks the alpha channel as real ("useful") alpha.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::media {

// The whole file for a width x height picture of unpremultiplied B, G, R, A bytes, top row
// first. Returns an empty vector if the sizes do not fit the format or the pixel count.
std::vector<uint8_t> encodeTga(int width, int height, const std::vector<uint8_t>& bgra);

// Writes `bytes` to `path` (through a temporary file, so a failed write never leaves half a
// file under the real name). Returns false and fills `error` when it cannot.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error);

}  // namespace mdx::media
