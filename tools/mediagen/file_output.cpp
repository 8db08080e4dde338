#include "file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mdx::media {

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
