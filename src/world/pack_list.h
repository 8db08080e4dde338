// Reading mappacks.ini: one map-pack folder name per line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::world {

struct PackList {
  bool opened = false;               // false: the file could not be opened
  std::vector<std::string> entries;  // in file order; index = packIndex
};

// Reads every line as an entry, an empty one included: a file that ends with a line break
// yields a last, empty entry, and an empty file yields one empty entry. Line breaks (LF or
// CR LF) are dropped; a line longer than 254 characters keeps its first 254 and the rest of
// it is skipped. A file that cannot be opened (or is a folder, a pipe or a device) gives no
// entries; this never blocks. Reading ends after the first MiB of a gigantic file.
PackList readPackList(const std::string& path);

// The pack name for packIndex: line packIndex of the list, or current when there is no
// such line (also when the file could not be read).
std::string resolvePackName(const PackList& list, int32_t packIndex, const std::string& current);

}  // namespace mdx::world
