#include "world/pack_list.h"

#include <filesystem>
#include <fstream>

namespace mdx::world {
namespace {

constexpr std::size_t kMaxLine = 254;
// Reading stops after this many bytes: far more than any list of packs, and it keeps a
// gigantic file from holding up the dialog.
constexpr std::size_t kMaxListBytes = std::size_t{1} << 20;

// Only regular files are read: a pipe would block the dialog and a device might never end.
bool isRegularOrMissing(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) return true;  // missing or unreadable: let the open report it
  return std::filesystem::is_regular_file(status);
}

}  // namespace

PackList readPackList(const std::string& path) {
  PackList list;
  if (!isRegularOrMissing(path)) return list;
  std::ifstream in(path, std::ios::binary);
  if (!in) return list;
  list.opened = true;
  // One entry per line that is not empty.
  std::size_t bytesRead = 0;
  while (true) {
    std::string line;
    int c;
    bool sawBreak = false;
    while (bytesRead < kMaxListBytes && (c = in.get()) != EOF) {
      ++bytesRead;
      if (c == '\n') {
        sawBreak = true;
        break;
      }
      if (line.size() < kMaxLine) line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) list.entries.push_back(line);
    if (!sawBreak) break;
  }
  return list;
}

}  // namespace mdx::world
