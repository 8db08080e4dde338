#include "world/line_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace mdx::world {
namespace {

// Space, or one of \t \n \v \f \r (codes 9 to 13), as isspace takes them in the C locale.
bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int32_t parseValue(std::string_view line) {
  // Walked by pointer: the game reads close to two thousand of these per level.
  const char* c = line.data();
  const char* const end = c + line.size();
  while (c != end && isSpace(*c)) ++c;
  bool negative = false;
  if (c != end && (*c == '+' || *c == '-')) {
    negative = *c == '-';
    ++c;
  }
  int64_t value = 0;
  for (; c != end && *c >= '0' && *c <= '9'; ++c) {
    value = value * 10 + (*c - '0');
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
  const char* const begin = bytes_.data() + next_;
  const std::size_t left = bytes_.size() - next_;
  // The line break of the longest line that fits sits at most at index kMaxLineChars + 1
  // (after a CR), so the search looks no further.
  const char* feed = nullptr;
  if (left > 0) {
    feed = static_cast<const char*>(std::memchr(begin, '\n', std::min(left, kMaxLineChars + 2)));
  }
  if (feed == nullptr && left <= kMaxLineChars) {
    // End of the bytes: a last line without a line feed is returned normally, and every
    // read after it (or a read that finds nothing at all) yields an empty line.
    failed_ = true;
    if (left > 0) ++linesRead_;
    return {begin, left};
  }
  ++linesRead_;
  if (feed != nullptr) {
    const std::size_t length = static_cast<std::size_t>(feed - begin);
    const std::size_t text = length > 0 && feed[-1] == '\r' ? length - 1 : length;
    if (text <= kMaxLineChars) {
      next_ += length + 1;
      return {begin, text};
    }
  }
  failed_ = overlong_ = true;  // the line does not fit: keep what fits, read nothing more
  return {begin, kMaxLineChars};
}

}  // namespace mdx::world
