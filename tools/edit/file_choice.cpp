#include "edit/file_choice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/files.h"
#include "base/text.h"

namespace mdx::edit {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSourceEnding = ".src";

bool isFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

std::string absoluteFrom(const std::string& typed, const std::string& workDir) {
  if (typed.empty() || typed[0] == '/') return typed;
  return (fs::path(workDir) / typed).lexically_normal().string();
}

std::string savePath(const std::string& typed, const std::string& workDir) {
  std::string path = absoluteFrom(typed, workDir);
  if (!path.empty() && !base::endsWith(path, kSourceEnding)) path += kSourceEnding;
  return path;
}

std::string openPath(const std::string& typed, const std::string& workDir) {
  const std::string path = absoluteFrom(typed, workDir);
  const std::string source = path + kSourceEnding;
  if (!path.empty() && !isFile(path) && isFile(source)) return source;
  return path;
}

std::vector<std::string> sourcesIn(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == kSourceEnding && isFile(it->path().string())) {
      found.push_back(it->path().string());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string folderOf(const std::string& typed, const std::string& workDir) {
  const std::string path = absoluteFrom(typed, workDir);
  std::error_code ec;
  if (path.empty() || fs::is_directory(path, ec)) return path.empty() ? workDir : path;
  return fs::path(path).parent_path().string();
}

RecentFiles::RecentFiles(std::string store) : store_(std::move(store)) {
  std::string text, error;
  if (store_.empty() || !base::readWholeFile(store_, text, error)) return;
  for (const base::Line& line : base::splitLines(text)) {
    if (!line.text.empty() && paths_.size() < kLimit) paths_.push_back(line.text);
  }
}

void RecentFiles::add(const std::string& path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kLimit) paths_.resize(kLimit);
  if (store_.empty()) return;
  std::string text, error;
  for (const std::string& line : paths_) text += line + "\n";
  std::error_code ec;
  fs::create_directories(fs::path(store_).parent_path(), ec);
  base::writeFileSafely(store_, text, error);  // a list not kept is no loss worth a message
}

std::vector<std::string> RecentFiles::existing() const {
  std::vector<std::string> found;
  for (const std::string& path : paths_) {
    if (isFile(path)) found.push_back(path);
  }
  return found;
}

}  // namespace mdx::edit
