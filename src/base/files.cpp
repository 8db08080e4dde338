#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mdx::base {
namespace {

// "PATH: what (the system's reason)", for the errno of the call that just failed.
std::string reason(const std::string& what, const std::string& path) {
  return path + ": " + what + " (" + std::strerror(errno) + ")";
}

// Creates folder and its missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder, std::string& error) {
  if (folder.empty()) return true;
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    error = folder + ": not a folder";
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

bool writeAll(int fd, std::string_view bytes, const FileWriter& writer) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = writer ? writer(fd, bytes.data() + done, bytes.size() - done)
                             : ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the rename itself durable. The new file is already in place when this runs, so a
// folder that cannot be synced (some file systems refuse) does not turn the write into a failure.
void syncFolder(const std::string& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Reads from fd until its end or until more than limit bytes are in text.
bool readUpTo(int fd, std::size_t limit, std::string& text) {
  char chunk[64 * 1024];
  while (text.size() <= limit) {
    // One byte past the limit is enough to know the file is longer.
    const std::size_t room = limit - text.size();
    const std::size_t want = room < sizeof chunk ? room + 1 : sizeof chunk;
    const ssize_t n = read(fd, chunk, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

FileText readTextFile(const std::string& path, std::size_t limit) {
  FileText file;
  // Non-blocking, so a pipe or a device at the path cannot hang the program.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    file.status = errno == ENOENT ? FileText::Status::Missing : FileText::Status::Unusable;
    file.note = reason("cannot read", path);
    return file;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    file.status = FileText::Status::Unusable;
    file.note = path + ": not a regular file";
  } else if (!readUpTo(fd, limit, file.text)) {
    file.status = FileText::Status::Unusable;
    file.note = reason("cannot read", path);
    file.text.clear();
  } else {
    file.status = FileText::Status::Read;
    file.cutShort = file.text.size() > limit;
    if (file.cutShort) file.text.resize(limit);
  }
  close(fd);
  return file;
}

bool readWholeFile(const std::string& path, std::string& text, std::string& error) {
  FileText file = readTextFile(path);
  if (file.status != FileText::Status::Read) {
    error = file.note;
    return false;
  }
  text = std::move(file.text);
  return true;
}

bool writeFileSafely(const std::string& path, std::string_view bytes, std::string& error,
                     const FileWriter& writer) {
  // The folder the file is in: "" for the working folder, "/" for the root.
  const std::size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
  if (slash == 0) folder = "/";
  if (!makeFolders(folder, error)) return false;
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = reason("cannot create a file beside it", path);
    return false;
  }
  fchmod(fd, 0644);
  bool ok = writeAll(fd, bytes, writer) && fsync(fd) == 0;
  if (!ok) error = reason("cannot write", path);
  if (close(fd) != 0 && ok) {
    ok = false;
    error = reason("cannot finish writing", path);
  }
  if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    error = reason("cannot replace", path);
  }
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  syncFolder(folder);
  return true;
}

bool writeFileSafely(const std::string& path, const std::vector<uint8_t>& bytes,
                     std::string& error) {
  return writeFileSafely(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

}  // namespace mdx::base
