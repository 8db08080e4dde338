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

}  // namespace
}  // namespace mdx::base
