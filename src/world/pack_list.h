// Reading mappacks.ini: one map-pack folder name per line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::world {

struct PackList {
  bool opened = false;               // false: the file could not be opened
  std::vector<std::string> entries;  // in file order, never empty names; index = packIndex
};

// Reads every line that names a folder as an entry. Empty lines (also the one after a final
// line break) name no pack and are left out, so an empty file gives an empty list, as a
// missing one does, and an empty pack name never reaches a path. Line breaks (LF or CR LF)
// are dropped; a line longer than 254 characters keeps its first 254 and the rest of it is
// skipped. A file that cannot be opened (or is a folder, a pipe or a device) gives no
// entries; this never blocks. Reading ends after the first MiB of a gigantic file.
PackList readPackList(const std::string& path);

}  // namespace mdx::world
