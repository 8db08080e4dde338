// Lines and words of text, as the programs' text files and messages need them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mdx::base {

// How a line of text ended.
enum class LineEnd {
  None,  // the text's last line, with no line feed after it
  Lf,    // "\n"
  CrLf   // "\r\n"
};

struct Line {
  std::string text;  // without its line end
  LineEnd end = LineEnd::None;
};

// The lines of text, split after each "\n". A "\r" right before a "\n" belongs to the line end,
// and so does one that ends the text (an editor's last line); any other "\r" is text. A last
// line without a line feed counts when it is not empty, so "a\nb\n" and "a\nb" both have two
// lines and "" has none.
std::vector<Line> splitLines(std::string_view text);

bool startsWith(std::string_view text, std::string_view start);
bool endsWith(std::string_view text, std::string_view end);

// The first word of line (white space separates words); "" when the line is blank.
std::string firstWord(std::string_view line);

}  // namespace mdx::base
