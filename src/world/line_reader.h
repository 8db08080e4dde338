// Line-by-line reading of the game's text files (level files, pref.ini), with the rules the
// stored files rely on: a line is at most 254 characters, CR before LF is not part of it,
// and once the stream has failed every later line reads as empty. The reader works on bytes
// in memory; readFileStart fetches those bytes from a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mdx::world {

// Longest line a read returns; a longer line fails the stream after its first 254 characters.
constexpr std::size_t kMaxLineChars = 254;

// Converts a line the way atoi does: leading white space, an optional sign, the decimal
// digits after it; anything else ends the number. No digits gives 0; values beyond the
// 32-bit range saturate at its limits.
int32_t parseValue(std::string_view line);

// Reads the start of a file into bytes: as much as `lines` lines can take (a reader never
// looks further). Only regular files are read, so a folder, pipe or device never blocks and
// never runs on. Returns false (bytes empty) when the file cannot be opened.
bool readFileStart(const std::string& path, std::size_t lines, std::string& bytes);

// Reads lines from bytes that stay alive and unchanged while the reader is used.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  // A reader whose stream has failed from the start (a file that could not be opened).
  static LineReader failed();

  // The next line without its line break; empty once the stream has failed. The stream fails
  // on a line longer than kMaxLineChars (after returning its first characters) and at the end
  // of the bytes.
  std::string_view readLine();

  // Reads the next line and converts it with parseValue.
  int32_t readValue() { return parseValue(readLine()); }

  // Reads and drops one line (a label line).
  void skipLine() { readLine(); }

  // How many lines the bytes really held among those read so far: a read that found the end
  // at once does not count, a last line without a line feed does.
  int linesRead() const { return linesRead_; }

  // True when the stream failed on a line longer than kMaxLineChars.
  bool overlong() const { return overlong_; }

 private:
  std::string_view bytes_;
  std::size_t next_ = 0;
  int linesRead_ = 0;
  bool failed_ = false;
  bool overlong_ = false;
};

}  // namespace mdx::world
