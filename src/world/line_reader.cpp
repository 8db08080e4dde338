#include "world/line_reader.h"

#include <sys/stat.h>

#include <climits>

namespace mdx::world {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Only regular files are read: a folder would fail on the first read anyway, and a pipe or
// device could block or never end.
bool isRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

int32_t parseValue(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && isSpace(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
    negative = line[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) break;  // saturated either way
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

LineReader::LineReader(const std::string& path) {
  if (isRegularFile(path)) in_.open(path, std::ios::binary);
  opened_ = in_.is_open();
  failed_ = !opened_;
}

std::string LineReader::readLine() {
  std::string line;
  if (failed_) return line;
  while (true) {
    const int c = in_.get();
    if (c == std::char_traits<char>::eof()) {
      // End of file: a last line without a line feed is returned normally, and every read
      // after it (or a read that finds nothing at all) yields an empty line.
      failed_ = true;
      return line;
    }
    if (c == '\n') return line;
    if (c == '\r' && in_.peek() == '\n') {
      in_.get();
      return line;
    }
    if (line.size() == kMaxLineChars) {
      failed_ = true;  // the line does not fit: keep what fits, read nothing more
      return line;
    }
    line.push_back(static_cast<char>(c));
  }
}

}  // namespace mdx::world
