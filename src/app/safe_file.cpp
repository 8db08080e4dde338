#include "app/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace mdx::app {
namespace {

std::string reason(const std::string& what, const std::string& path) {
  return what + " \"" + path + "\": " + std::strerror(errno);
}

// Creates folder and its missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder, std::string& error) {
  if (folder.empty()) return true;
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    error = "\"" + folder + "\" is not a folder";
    return false;
  }
  const std::size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash), error)) {
    return false;
  }
  if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
    error = reason("cannot create the folder", folder);
    return false;
  }
  return true;
}

bool writeAll(int fd, const std::string& text, const FileWriter& writer) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = writer ? writer(fd, text.data() + done, text.size() - done)
                             : ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

SmallFile readSmallFile(const std::string& path, std::size_t limit) {
  SmallFile file;
  // Non-blocking, so a pipe or a device at the path cannot hang the game.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return file;
    file.status = SmallFile::Status::Unusable;
    file.note = reason("cannot read", path);
    return file;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    file.status = SmallFile::Status::Unusable;
    file.note = "\"" + path + "\" is not a regular file";
    close(fd);
    return file;
  }
  std::vector<char> buffer(limit + 1);
  std::size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t n = read(fd, buffer.data() + got, buffer.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      file.status = SmallFile::Status::Unusable;
      file.note = reason("cannot read", path);
      close(fd);
      return file;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  file.status = SmallFile::Status::Read;
  file.cutShort = got > limit;
  file.text.assign(buffer.data(), std::min(got, limit));
  return file;
}

void readNotedFile(const std::string& path, const std::string& what, const NoteSink& note,
                   const TextParser& parse) {
  const SmallFile file = readSmallFile(path);
  if (file.status == SmallFile::Status::Unusable) {
    note(what + " not read: " + file.note);
    return;
  }
  if (file.cutShort) note(what + ": only the first 64 KiB of \"" + path + "\" read");
  std::vector<std::string> notes;
  parse(file.text, notes);
  for (const std::string& line : notes) note(what + " \"" + path + "\": " + line);
}

std::vector<TextLine> nonEmptyLines(const std::string& text) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back({number, std::move(line)});
  }
  return lines;
}

std::string quotedLine(const std::string& line) {
  return "\"" + (line.size() <= 40 ? line : line.substr(0, 40) + "...") + "\"";
}

bool writeNotedFile(const std::string& path, const std::string& text, const std::string& what,
                    const NoteSink& note, const FileWriter& writer) {
  std::string error;
  if (writeFileSafely(path, text, error, writer)) return true;
  note(what + " not saved: " + error);
  return false;
}

bool writeFileSafely(const std::string& path, const std::string& text, std::string& error,
                     const FileWriter& writer) {
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
  if (!makeFolders(folder, error)) return false;
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = reason("cannot write in the folder of", path);
    return false;
  }
  fchmod(fd, 0644);
  bool ok = writeAll(fd, text, writer) && fsync(fd) == 0;
  if (!ok) error = reason("cannot write", temporary);
  if (close(fd) != 0 && ok) {
    ok = false;
    error = reason("cannot finish writing", temporary);
  }
  if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    error = reason("cannot replace", path);
  }
  if (!ok) unlink(temporary.c_str());
  return ok;
}

std::string xdgFolder(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return "";
  return std::string(home) + "/" + fallback;
}

}  // namespace mdx::app
