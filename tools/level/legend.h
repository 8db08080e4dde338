// The characters that stand for cell codes in a level source's maps.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mdx::level {

// A map cell holding this character takes its code from the source's cell table.
constexpr char kCellTableChar = '?';

// One character of a default legend. A plain character means what it shows (a robot, an exit,
// a lift car) and may be used without a legend entry; the others (the pictured blocks as
// '1'-'9' 'A'-'Z' 'a'-'z') are kept so older sources still build, but a source should say
// what they mean with its own `char` line.
struct LegendDefault {
  char symbol;
  int32_t code;
  const char* name;
  bool plain;
};

// The default characters of each layer, from the game's cell table (world/cell_table.h).
const std::vector<LegendDefault>& defaultBlockEntries();
const std::vector<LegendDefault>& defaultDeviceEntries();

// One layer's legend: character to code, and back.
class Legend {
 public:
  static Legend defaultBlocks();
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

// The default entry of symbol in a layer's default legend, or null.
const LegendDefault* findDefault(const std::vector<LegendDefault>& entries, char symbol);

// Writes text with backslash escapes for backslashes and bytes outside printable ASCII.
std::string escapeText(const std::string& text);
// Reverses escapeText; false on a malformed escape.
bool unescapeText(const std::string& text, std::string& out);

}  // namespace mdx::level
