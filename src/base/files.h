// Reading and writing whole files: one reader that never blocks on a pipe or a device and can
// stop at a size, and one writer that replaces a file so that a crash, a full disk or a killed
// process leaves either the old file or the new one, whole. Every file the programs write goes
// through writeFileSafely.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace mdx::base {

// A limit for readTextFile that never cuts a file short.
constexpr std::size_t kWholeFile = std::numeric_limits<std::size_t>::max();

struct FileText {
  enum class Status {
    Read,     // text holds the file's first bytes (at most the limit)
    Missing,  // no file at the path (for the player's files, the normal first run)
    Unusable  // a folder, a pipe, a device or an unreadable file
  };
  Status status = Status::Missing;
  std::string text;
  bool cutShort = false;  // the file was longer than the limit
  std::string note;       // when not Read: "PATH: why"
};

// Reads at most limit bytes of the regular file at path. Never blocks on a pipe or a device.
FileText readTextFile(const std::string& path, std::size_t limit = kWholeFile);

// Reads the whole regular file at path into text; false with error ("PATH: why") when it is
// missing or unusable.
bool readWholeFile(const std::string& path, std::string& text, std::string& error);

// Writes the bytes it is given to an open file; returns what POSIX write returns. Tests pass
// one that fails to show a full disk.
using FileWriter = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

// Replaces the file at path with bytes: creates the missing folders, writes a temporary file
// beside it, syncs it to disk, renames it over the old file and syncs the folder. On failure
// the old file is untouched, the temporary file is removed, and error says what failed
// ("PATH: why").
bool writeFileSafely(const std::string& path, std::string_view bytes, std::string& error,
                     const FileWriter& writer = {});
bool writeFileSafely(const std::string& path, const std::vector<uint8_t>& bytes,
                     std::string& error);

}  // namespace mdx::base
