#include <cstdint>

#include "fuzz/fuzz_file.h"
#include "world/pack_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = mdx::fuzz::writeInput(data, size, ".ini");
  const mdx::world::PackList list = mdx::world::readPackList(path);
  for (const std::string& entry : list.entries) {
    if (entry.size() > 254) __builtin_trap();
  }
  return 0;
}
