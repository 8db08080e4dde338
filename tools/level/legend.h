// The characters that stand for cell codes in a level source's maps.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace mdx::level {

// A map cell holding this character takes its code from the source's cell table.
constexpr char kCellTableChar = '?';

// One layer's legend: character to code, and back.
class Legend {
 public:
  // Block layer: '.' empty, '1'-'9' 'A'-'Z' 'a'-'z' codes 1 to 61, '=' 98, '@' 99, '*' 999.
  static Legend defaultBlocks();
  // Device layer: '.' none, 'C' car, '|' shaft, 'B' button, 'W' bar, 'S' switch, 'E' exit,
  // '/' and '^' stairs, 'X' bomb, '*' blinker, '1' '5' '9' decorations.
  static Legend defaultDevices();

  // Makes c stand for code (a source's own legend entry); replaces what c meant before.
  void define(char c, int32_t code);
  // The code c stands for; false if c is not in the legend.
  bool codeOf(char c, int32_t& code) const;
  // The character written for code, or kCellTableChar when it has none.
  char charFor(int32_t code) const;

 private:
  std::map<char, int32_t> codes_;
  std::map<int32_t, char> chars_;
};

// Writes text with backslash escapes for backslashes and bytes outside printable ASCII.
std::string escapeText(const std::string& text);
// Reverses escapeText; false on a malformed escape.
bool unescapeText(const std::string& text, std::string& out);

}  // namespace mdx::level
