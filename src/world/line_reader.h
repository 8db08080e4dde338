// Line-by-line reading of the game's text files (level files, pref.ini), with the rules the
// stored files rely on: a line is at most 254 characters, CR before LF is not part of it,
// and once the stream has failed every later line reads as empty.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

namespace mdx::world {

// Longest line a read returns; a longer line fails the stream after its first 254 characters.
constexpr std::size_t kMaxLineChars = 254;

// Converts a line the way atoi does: leading white space, an optional sign, the decimal
// digits after it; anything else ends the number. No digits gives 0; values beyond the
// 32-bit range saturate at its limits.
int32_t parseValue(std::string_view line);

// Reads one text file line by line. Never blocks or reads without limit: a folder or any
// other non-regular file counts as a file that cannot be opened.
class LineReader {
 public:
  explicit LineReader(const std::string& path);

  // False when the file could not be opened (missing, a folder, unreadable).
  bool opened() const { return opened_; }

  // The next line without its line break; empty once the stream has failed. The stream fails
  // on a line longer than kMaxLineChars (after returning its first characters), at the end of
  // the file, and when the file could not be opened.
  std::string readLine();

  // Reads the next line and converts it with parseValue.
  int32_t readValue() { return parseValue(readLine()); }

  // Reads and drops one line (a label line).
  void skipLine() { readLine(); }

 private:
  std::ifstream in_;
  bool opened_ = false;
  bool failed_ = false;
};

}  // namespace mdx::world
