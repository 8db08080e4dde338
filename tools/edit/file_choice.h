// The file prompts' choices, apart from their drawing: what a typed name means (relative to
// the folder the editor started in, "gap" for "gap.src"), the level sources of a folder to pick
// from, and the files opened or saved lately, remembered from one session to the next.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mdx::edit {

// A typed name made absolute from workDir, as it is ("" stays "").
std::string absoluteFrom(const std::string& typed, const std::string& workDir);

// The file a typed name saves to: made absolute from workDir, with ".src" added when missing.
std::string savePath(const std::string& typed, const std::string& workDir);

// The file a typed name opens: made absolute from workDir; when nothing is there but the name
// with ".src" added is, that one, as saving adds the ending too.
std::string openPath(const std::string& typed, const std::string& workDir);

// The level sources (.src) in folder, by full path in name order; none when it cannot be read.
std::vector<std::string> sourcesIn(const std::string& folder);

// The folder a typed name lies in (the name's own folder part, from workDir), for listing it.
std::string folderOf(const std::string& typed, const std::string& workDir);

// The files opened or saved lately, newest first, kept in a small text file (one path a line).
class RecentFiles {
 public:
  static constexpr std::size_t kLimit = 8;

  // store: the file the list is read from and written to; "" keeps it for this session only.
  explicit RecentFiles(std::string store);

  // Puts path first (once); the oldest beyond kLimit go. Writes the store.
  void add(const std::string& path);
  // The paths that still exist, newest first.
  std::vector<std::string> existing() const;
  const std::vector<std::string>& all() const { return paths_; }

 private:
  std::string store_;
  std::vector<std::string> paths_;
};

}  // namespace mdx::edit
