// A review sheet: every generated picture at twice its size, with its file name.
#pragma once

#include <string>
#include <vector>

#include "mediagen/paint.h"

namespace mdx::media {

struct SheetEntry {
  std::string name;
  const Canvas* picture;
};

// Lays the pictures out in rows on a checkered grey background (so transparency shows) and
// writes a PNG. Returns false and fills `error` if the file cannot be written.
bool writeContactSheet(const std::vector<SheetEntry>& entries, const std::string& path,
                       std::string& error);

}  // namespace mdx::media
