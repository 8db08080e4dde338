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

// How escaped treats bytes 0x80 and above.
enum class NonAscii {
  KeepUtf8,  // whole printable UTF-8 characters stay as they are; any other such byte is escaped
  Escape     // every one is escaped, so the result is plain ASCII
};

// text with the bytes a reader cannot see or a terminal would act on written as \xNN (two
// upper-case hex digits) and the backslash as \\: control bytes, DEL, and the bytes above
// 0x7F as nonAscii says. Notes quote the lines of the player's files with it, and the level
// sources write their texts with it (reversibly: nothing else produces a backslash).
std::string escaped(std::string_view text, NonAscii nonAscii = NonAscii::KeepUtf8);

// text without the spaces and tabs at either end.
std::string trimmed(std::string_view text);

// The first word of line (white space separates words); "" when the line is blank.
std::string firstWord(std::string_view line);

}  // namespace mdx::base
