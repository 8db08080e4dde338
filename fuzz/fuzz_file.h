// Fuzz inputs reach the game's readers through real files, as players' files do.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace mdx::fuzz {

// Writes the input to a per-process temporary file and returns its path.
inline std::string writeInput(const uint8_t* data, size_t size, const char* suffix) {
  // One file per process and suffix, so parallel fuzzing jobs never share an input.
  const std::string path = "/tmp/mdx-fuzz-" + std::to_string(getpid()) + std::string(suffix);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return path;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

}  // namespace mdx::fuzz
