// Writing the generator's files into the game folder without ever leaving half a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::media {

// Writes `bytes` to `path` through a temporary file beside it (path + ".part") that is renamed
// over the real name, so a failed write never leaves half a file under the real name, nor the
// temporary file. Returns false and fills `error` (naming the file) when it cannot.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error);

}  // namespace mdx::media
