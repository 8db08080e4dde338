#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "level/level_source.h"
#include "level/tool_commands.h"

namespace mdx::level {
namespace {

// A source with empty maps; rows can be replaced before joining.
struct SourceText {
  std::string header = "pieces pillar lift\n";
  std::vector<std::string> blocks = std::vector<std::string>(28, std::string(34, '.'));
  std::vector<std::string> devices = std::vector<std::string>(28, std::string(34, '.'));
  std::string tail;

  std::string str() const {
    std::string out = header + "blocks\n";
    for (const auto& row : blocks) out += row + "\n";
    out += "devices\n";
    for (const auto& row : devices) out += row + "\n";
    return out + tail;
  }
};

std::vector<std::string> datLines(const std::string& dat) {
  std::vector<std::string> lines;
  std::istringstream in(dat);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

LevelSource parseOk(const std::string& text) {
  LevelSource level;
  std::string error;
  EXPECT_TRUE(parseSource(text, level, error)) << error;
  return level;
}

std::string parseError(const std::string& text) {
  LevelSource level;
  std::string error;
  EXPECT_FALSE(parseSource(text, level, error));
  return error;
}

TEST(LevelSourceMaps, CellsLandOnTheirFileLines) {
  SourceText source;
  source.blocks[5][7] = '@';
  source.header += "char block z 61\n";
  source.blocks[27][33] = 'z';
  source.blocks[0][0] = '?';
  source.devices[12][5] = '/';
  source.devices[3][4] = 'E';
  source.tail = "cell block 0 0 -7\n";
  const std::vector<std::string> lines = datLines(writeDat(parseOk(source.str())));
  ASSERT_EQ(lines.size(), 1938u);
  EXPECT_EQ(lines[1 + 34 * 5 + 7], "99");  // file line 2 + 34 * 5 + 7
  EXPECT_EQ(lines[952], "61");             // last block cell, file line 953
  EXPECT_EQ(lines[1], "-7");
  EXPECT_EQ(lines[954 + 34 * 12 + 5], "10");
  EXPECT_EQ(lines[954 + 34 * 3 + 4], "8");
  EXPECT_EQ(lines[1907], "2");  // pieceCount defaults to the pieces listed
  EXPECT_EQ(lines[1909], "2");  // pillar
  EXPECT_EQ(lines[1911], "1");  // lift
  EXPECT_EQ(lines[1913], "0");
  EXPECT_EQ(lines[953], "deviceLayer");
}

TEST(LevelSourceMaps, OwnLegendAndHeaderValues) {
  SourceText source;
  source.header =
      "# a comment\nintro\npieceCount 4\npieces tee rightarm leftarm 9\nlandscapeChoice 3\n"
      "parallax1On 1\nparallax2Mode 2\nlevelMusic 2\nlandscapeMotion 1\nchar block # 42\n";
  source.blocks[20] = std::string(34, '#');
  const LevelSource level = parseOk(source.str());
  EXPECT_TRUE(level.intro);
  EXPECT_EQ(level.pieceCount, 4);
  EXPECT_EQ(level.pieceTypes, (std::array<int32_t, 10>{3, 4, 5, 9, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(level.landscapeChoice, 3);
  EXPECT_EQ(level.parallax1On, 1);
  EXPECT_EQ(level.parallax2Mode, 2);
  EXPECT_EQ(level.levelMusic, 2);
  EXPECT_EQ(level.landscapeMotion, 1);
  EXPECT_EQ(level.blockLayer[34 * 20 + 9], 42);
  EXPECT_EQ(datLines(writeDat(level))[0], "blockLayer (introduction)");
}

// The name, idea and hint lines: parsed, written by a fresh source, and kept, changed, added
// or dropped when an edited level is written over its source.
TEST(LevelSourceWords, ReadWrittenAndUpdatedInPlace) {
  SourceText source;
  source.header = "# Level 3\nname   Lift relay  \nhint Wait for the lift.\npieces lift\n";
  LevelSource level = parseOk(source.str());
  EXPECT_EQ(level.meta.name, "Lift relay");
  EXPECT_EQ(level.meta.idea, "");
  EXPECT_EQ(level.meta.hint, "Wait for the lift.");
  EXPECT_EQ(parseOk(writeSource(level)).meta, level.meta);

  level.meta.name = "Lift relay race";
  level.meta.idea = "Two lifts in a row.";
  level.meta.hint = "";
  std::string updated;
  ASSERT_TRUE(updateSource(source.str(), level, updated));
  EXPECT_EQ(parseOk(updated).meta, level.meta);
  const std::string expected =
      "# Level 3\nname Lift relay race\nidea Two lifts in a row.\npieces lift\n";
  EXPECT_EQ(updated.substr(0, expected.size()), expected) << updated;
  EXPECT_EQ(updated.find("hint"), std::string::npos);
}

TEST(LevelSourceWords, BadTextsAreRefusedWithTheirLine) {
  SourceText twice, empty, tooLong;
  twice.header = "name A\nname B\n";
  empty.header = "pieces lift\nhint   \n";
  tooLong.header = "name " + std::string(29, 'x') + "\n";
  EXPECT_EQ(parseError(twice.str()), "2:1: a second name line");
  EXPECT_EQ(parseError(empty.str()), "2:1: hint needs a text after it");
  EXPECT_EQ(parseError(tooLong.str()), "1:6: the name has 29 characters, at most 28 fit");
}

// Level files with any values, odd labels and odd value lines come back byte for byte.
TEST(LevelFileRoundTrip, DecompiledFilesRebuildByteIdentical) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int64_t> anyInt(INT32_MIN, INT32_MAX);
  const std::vector<std::string> oddTexts = {"",    " ",    "12 apples",   "  -3x",     "+5", "007",
                                             "\t9", "a\\b", "caf\xC3\xA9", "tab\there", "x\r"};
  for (int variant = 0; variant < 12; ++variant) {
    std::string dat;
    const bool crlf = variant == 3 || variant == 4;
    for (int line = 1; line <= kDatLines; ++line) {
      std::string text;
      const int pick = static_cast<int>(random() % 10);
      if (isLabelLine(line)) {
        text = pick < 6 ? defaultLabel(line, false) : oddTexts[random() % oddTexts.size()];
      } else if (variant == 0) {
        text = "0";
      } else {
        text = pick < 2 ? oddTexts[random() % oddTexts.size()] : std::to_string(anyInt(random));
      }
      if (crlf && !text.empty() && text.back() == '\r') text.pop_back();
      if (variant == 4 && line == kDatLines) text = "5\r";  // CR as text, no line feed after it
      dat += text;
      if (line < kDatLines || (variant != 4 && variant != 5)) dat += crlf ? "\r\n" : "\n";
    }
    LevelSource fromDat, fromSource;
    std::string error;
    ASSERT_TRUE(readDat(dat, fromDat, error)) << error;
    const std::string source = writeSource(fromDat);
    ASSERT_TRUE(parseSource(source, fromSource, error)) << "variant " << variant << ": " << error;
    EXPECT_EQ(writeDat(fromSource), dat) << "variant " << variant;
  }
}

TEST(LevelFileRoundTrip, ValuesAreReadAsTheGameReadsThem) {
  EXPECT_EQ(lineValue("  -3abc"), -3);
  EXPECT_EQ(lineValue(""), 0);
  EXPECT_EQ(lineValue("7\r"), 7);
  EXPECT_EQ(lineValue("12 word"), 12);
  EXPECT_EQ(lineValue("x12"), 0);
  EXPECT_EQ(lineValue("99999999999"), INT32_MAX);
  EXPECT_EQ(lineValue("-2147483648"), INT32_MIN);
}

TEST(LevelFileRoundTrip, FilesOfTheWrongLengthAreRefused) {
  LevelSource level;
  std::string error;
  EXPECT_FALSE(readDat(std::string(1000, '\n'), level, error));
  EXPECT_NE(error.find("has 1000"), std::string::npos) << error;
  EXPECT_FALSE(readDat("", level, error));
}

TEST(LevelFileRoundTrip, LineTooLongForTheGameIsRefused) {
  LevelSource level;
  std::string dat = writeDat(level);
  const size_t third = dat.find('\n', dat.find('\n') + 1) + 1;  // start of line 3
  dat.insert(third, std::string(300, ' '));
  std::string error;
  EXPECT_FALSE(readDat(dat, level, error));
  EXPECT_NE(error.find("line 3 "), std::string::npos) << error;
}

TEST(LevelSourceErrors, MessagesNameLineAndColumn) {
  struct Case {
    std::string text;
    std::string expected;
  };
  SourceText shortRow;
  shortRow.blocks[3] = std::string(33, '.');
  SourceText badChar;
  badChar.devices[2][6] = 'Q';
  SourceText missingCell;
  missingCell.blocks[1][1] = '?';
  SourceText strayCell;
  strayCell.tail = "cell device 4 4 13\n";
  SourceText badPiece;
  badPiece.header = "pieces pillar hammer\n";
  SourceText hugeNumber;
  hugeNumber.header = "levelMusic 99999999999\n";
  SourceText rawMismatch;
  rawMismatch.tail = "raw 1908 5 pieces\n";
  const std::vector<Case> cases = {
      {shortRow.str(), "6:34: a map row has 34 cells, this one has 33"},
      {badChar.str(), "34:7: 'Q' is not in the device legend; define it with: char device Q CODE"},
      {missingCell.str(), "4:2: block row 1 column 1 is '?' but has no cell entry"},
      {strayCell.str(), "60:1: a cell entry for a cell whose map character is not '?'"},
      {badPiece.str(), "1:15: unknown piece 'hammer'"},
      {hugeNumber.str(), "1:12: levelMusic needs one whole number"},
      {rawMismatch.str(), "60:1: the raw text reads as 5 but the level says 2"},
      {"blocks\n...\n", "1:1: the blocks map has 1 row, a map has 28"},
      {"pieces lift\nfrobnicate 3\n", "2:1: unknown keyword 'frobnicate'"},
      {"pieces lift\n", "1:1: the source has no blocks map"},
      {"label 2 hello\n", "1:1: line 2 is not a label"},
      {"raw 0 5\n", "1:1: raw needs a level-file line number"},
  };
  for (const Case& c : cases) {
    const std::string error = parseError(c.text);
    EXPECT_EQ(error.substr(0, c.expected.size()), c.expected) << error;
  }
}

TEST(LevelSourceErrors, BuildReportsFileAndLineAndWritesNothing) {
  const std::string dir = ::testing::TempDir();
  SourceText bad;
  bad.blocks[10] = "too short";
  std::ofstream(dir + "bad.src") << bad.str();
  std::remove((dir + "bad.dat").c_str());
  std::ostringstream err;
  EXPECT_EQ(buildCommand(dir + "bad.src", dir + "bad.dat", err), 1);
  EXPECT_EQ(err.str(), dir +
                           "bad.src:13:4: a map row has 34 cells, this one has 3 (a space ends the "
                           "cells; use '.' for an empty cell)\n");
  EXPECT_FALSE(std::ifstream(dir + "bad.dat").good());

  std::ostringstream missing;
  EXPECT_EQ(buildCommand(dir + "no-such.src", dir + "x.dat", missing), 1);
  EXPECT_NE(missing.str().find("no-such.src: cannot read"), std::string::npos);
}

TEST(LevelSourceErrors, DecompileRefusesAShortFileAndWritesNothing) {
  const std::string dir = ::testing::TempDir();
  std::ofstream(dir + "short.dat") << "label\n1\n2\n";
  std::remove((dir + "short.src").c_str());
  std::ostringstream err;
  EXPECT_EQ(decompileCommand(dir + "short.dat", dir + "short.src", err), 1);
  EXPECT_EQ(err.str(), dir + "short.dat:4:1: a level file has 1938 lines, this one has 3\n");
  EXPECT_FALSE(std::ifstream(dir + "short.src").good());
}

}  // namespace
}  // namespace mdx::level
