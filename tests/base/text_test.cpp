// Lines and words of text: where lines end, which line end they had, and the first word.
#include "base/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mdx::base {
namespace {

// A line as "text|end" for readable comparisons: end is "" (none), "lf" or "crlf".
std::vector<std::string> described(std::string_view text) {
  std::vector<std::string> out;
  for (const Line& line : splitLines(text)) {
    const char* end = line.end == LineEnd::Lf ? "lf" : line.end == LineEnd::CrLf ? "crlf" : "";
    out.push_back(line.text + "|" + end);
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST(Lines, EachLineFeedEndsALineAndALastLineWithoutOneCountsWhenNotEmpty) {
  EXPECT_EQ(described(""), Lines{});
  EXPECT_EQ(described("a"), Lines{"a|"});
  EXPECT_EQ(described("a\n"), Lines{"a|lf"});
  EXPECT_EQ(described("a\nb"), (Lines{"a|lf", "b|"}));
  EXPECT_EQ(described("\n\n"), (Lines{"|lf", "|lf"}));
  EXPECT_EQ(described(std::string("a\0b\n", 4)), Lines{std::string("a\0b|lf", 6)});
}

TEST(Lines, ACarriageReturnBelongsToTheLineEndOnlyRightBeforeALineFeed) {
  EXPECT_EQ(described("a\r\nb\r\n"), (Lines{"a|crlf", "b|crlf"}));
  EXPECT_EQ(described("\r\n"), Lines{"|crlf"});
  EXPECT_EQ(described("a\r\nb\n"), (Lines{"a|crlf", "b|lf"}));
  EXPECT_EQ(described("a\r\r\n"), Lines{"a\r|crlf"});
  EXPECT_EQ(described("a\rb\n"), Lines{"a\rb|lf"});
  EXPECT_EQ(described("a\r"), Lines{"a|"});
  EXPECT_EQ(described("a\n\r"), (Lines{"a|lf", "|"}));
}

TEST(Words, FirstWordSkipsLeadingSpaceOfAnyKind) {
  EXPECT_EQ(firstWord("pieces 3 4"), "pieces");
  EXPECT_EQ(firstWord(" \t\v\f\rtitle\tThe Maze"), "title");
  EXPECT_EQ(firstWord("last"), "last");
  EXPECT_EQ(firstWord(""), "");
  EXPECT_EQ(firstWord(" \t\r "), "");
}

TEST(Words, TrimmedDropsSpacesAndTabsAtTheEndsOnly) {
  EXPECT_EQ(trimmed(" \t a b\t "), "a b");
  EXPECT_EQ(trimmed(" \t "), "");
  EXPECT_EQ(trimmed("\na\r"), "\na\r") << "line ends are not white space here";
}

TEST(Words, StartsAndEndsCompareWholeAffixes) {
  EXPECT_TRUE(endsWith("level.src", ".src"));
  EXPECT_TRUE(endsWith(".src", ".src"));
  EXPECT_TRUE(endsWith("x", ""));
  EXPECT_FALSE(endsWith("src", ".src"));
  EXPECT_FALSE(endsWith("level.src.bak", ".src"));
  EXPECT_TRUE(startsWith("--pack", "--"));
  EXPECT_FALSE(startsWith("-", "--"));
  EXPECT_FALSE(startsWith("a--", "--"));
}

TEST(Escaping, ControlBytesAndBrokenUtf8BecomeHexWhileLettersStay) {
  EXPECT_EQ(escaped("plain = text"), "plain = text");
  EXPECT_EQ(escaped(std::string("\0\t\x1B[2J\x7F", 7)), "\\x00\\x09\\x1B[2J\\x7F");
  EXPECT_EQ(escaped("a\\b"), "a\\\\b");  // so an escape in the text cannot pass for ours
  EXPECT_EQ(escaped("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82"),
            "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82");
  // A cut sequence, a stray continuation, an overlong slash, a surrogate, a C1 control.
  EXPECT_EQ(escaped("\xC3"), "\\xC3");
  EXPECT_EQ(escaped("\xE2\x82"), "\\xE2\\x82");
  EXPECT_EQ(escaped("\xA9x"), "\\xA9x");
  EXPECT_EQ(escaped("\xC0\xAF"), "\\xC0\\xAF");
  EXPECT_EQ(escaped("\xED\xA0\x80"), "\\xED\\xA0\\x80");
  EXPECT_EQ(escaped("\xC2\x9B"), "\\xC2\\x9B");
  EXPECT_EQ(escaped("\xF4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");  // past U+10FFFF
}

TEST(Escaping, PlainAsciiModeEscapesEveryHighByte) {
  EXPECT_EQ(escaped("Caf\xC3\xA9", NonAscii::Escape), "Caf\\xC3\\xA9");
  EXPECT_EQ(escaped("~ \x7F", NonAscii::Escape), "~ \\x7F");
}

}  // namespace
}  // namespace mdx::base
