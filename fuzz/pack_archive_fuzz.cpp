#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world/pack_archive.h"

// Any bytes as a shared pack: the reader either refuses them and hands back nothing, or every
// file it hands back has a name a pack holds inside one safe folder, and writing the pack out
// again and reading it back gives the same pack. The bytes never touch the disk.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::world;
  static const std::vector<std::string> media = {"level01.mp3", "lndscp02.tga"};
  PackArchiveLimits limits;
  limits.maxFileBytes = 1 << 16;  // small limits, so the fuzzer can reach them
  limits.maxFiles = 8;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PackArchive archive;
  std::string error;
  if (!readPackArchive(bytes, media, archive, error, limits)) {
    if (error.empty() || !archive.files.empty() || !archive.packName.empty()) __builtin_trap();
    return 0;
  }
  if (!isSafePackName(archive.packName) || archive.files.size() > limits.maxFiles) __builtin_trap();
  for (const PackArchiveFile& file : archive.files) {
    if (!isPackFileName(file.name, media) || file.bytes.size() > limits.maxFileBytes) {
      __builtin_trap();
    }
  }
  PackArchive again;
  if (!readPackArchive(writePackArchive(archive), media, again, error, limits)) __builtin_trap();
  if (again.packName != archive.packName || again.levelCount != archive.levelCount ||
      again.checkLines != archive.checkLines || again.files.size() != archive.files.size()) {
    __builtin_trap();
  }
  for (std::size_t i = 0; i < again.files.size(); ++i) {
    if (again.files[i].name != archive.files[i].name ||
        again.files[i].bytes != archive.files[i].bytes) {
      __builtin_trap();
    }
  }
  return 0;
}
