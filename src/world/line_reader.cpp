#include "world/line_reader.h"

#include <climits>
#include <filesystem>
#include <fstream>

namespace mdx::world {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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

bool readFileStart(const std::string& path, std::size_t lines, std::string& bytes) {
  bytes.clear();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // A line takes at most kMaxLineChars characters, a CR and a LF; a reader fails on the
  // character after the longest line, which this still holds.
  bytes.resize(lines * (kMaxLineChars + 2));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

LineReader LineReader::failed() {
  LineReader reader{std::string_view()};
  reader.failed_ = true;
  return reader;
}

std::string_view LineReader::readLine() {
  if (failed_) return {};
  const std::size_t start = next_;
  while (true) {
    if (next_ == bytes_.size()) {
      // End of the bytes: a last line without a line feed is returned normally, and every
      // read after it (or a read that finds nothing at all) yields an empty line.
      failed_ = true;
      if (next_ > start) ++linesRead_;
      return bytes_.substr(start, next_ - start);
    }
    const char c = bytes_[next_];
    const std::size_t length = next_ - start;
    if (c == '\n' || (c == '\r' && next_ + 1 < bytes_.size() && bytes_[next_ + 1] == '\n')) {
      next_ += c == '\n' ? 1 : 2;
      ++linesRead_;
      return bytes_.substr(start, length);
    }
    if (length == kMaxLineChars) {
      failed_ = overlong_ = true;  // the line does not fit: keep what fits, read nothing more
      ++linesRead_;
      return bytes_.substr(start, length);
    }
    ++next_;
  }
}

}  // namespace mdx::world
