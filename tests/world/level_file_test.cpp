#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "world/level_format.h"
#include "world_fixture.h"

namespace mdx::world {
namespace {

using testing::writeTempFile;

// A file of 1938 lines: a label on every label line, "0" on every value line, with the
// given (1-based) lines replaced.
std::string fileWithLines(const std::vector<std::pair<int, std::string>>& lines) {
  std::vector<std::string> text(1938, "0");
  for (int label : {1, 954, 1907, 1929, 1931, 1933, 1935, 1937}) text[label - 1] = "label";
  for (int i = 0; i < 10; ++i) text[1909 + 2 * i - 1] = "label";
  for (const auto& [line, value] : lines) text[line - 1] = value;
  std::string joined;
  for (const std::string& line : text) joined += line + "\n";
  return joined;
}

class LevelFile : public testing::WorldTest {
 protected:
  void load(const std::string& name, const std::string& bytes) {
    game.loadLevelFile(writeTempFile(name, bytes));
  }
};

TEST(LineValues, ConvertLikeAtoi) {
  EXPECT_EQ(parseValue("  -3abc"), -3);
  EXPECT_EQ(parseValue("12 apples"), 12);
  EXPECT_EQ(parseValue("\t+42"), 42);
  EXPECT_EQ(parseValue("7\r"), 7);
  EXPECT_EQ(parseValue(""), 0);
  EXPECT_EQ(parseValue("x12"), 0);
  EXPECT_EQ(parseValue("- 5"), 0);
  EXPECT_EQ(parseValue(std::string("4\0"
                                   "9",
                                   3)),
            4);
  EXPECT_EQ(parseValue("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(parseValue("-2147483648"), INT32_MIN);
  EXPECT_EQ(parseValue("-99999999999"), INT32_MIN);
}

TEST(LineReading, BreaksLinesAtLfAndDropsCrBeforeIt) {
  LineReader reader("a\r\nb\rc\n\nlast");
  EXPECT_EQ(reader.readLine(), "a");
  EXPECT_EQ(reader.readLine(), "b\rc");
  EXPECT_EQ(reader.readLine(), "");
  EXPECT_EQ(reader.readLine(), "last");  // no final line feed: still read
  EXPECT_EQ(reader.readLine(), "");
  EXPECT_EQ(reader.linesRead(), 4);  // the read past the end does not count
  EXPECT_FALSE(reader.overlong());
}

TEST(LineReading, LongLineKeeps254CharactersAndFailsTheStream) {
  const std::string fits(254, '1');
  const std::string bytes = fits + "\r\n" + std::string(255, '2') + "\n5\n";
  LineReader reader(bytes);
  EXPECT_EQ(reader.readLine(), fits);  // 254 characters and CR LF is a whole line
  EXPECT_EQ(reader.readLine(), std::string(254, '2'));
  EXPECT_EQ(reader.readLine(), "");  // the 5 is never reached
  EXPECT_EQ(reader.readValue(), 0);
  EXPECT_EQ(reader.linesRead(), 2);
  EXPECT_TRUE(reader.overlong());
}

TEST(LineReading, LongestLineAtTheEndOfTheBytes) {
  const std::string fits(254, '3');
  struct Case {
    std::string bytes;
    std::string firstLine;
    bool overlong;
  } cases[] = {
      {fits, fits, false},           // ends the bytes without a line feed
      {fits + "\r", fits, true},     // a CR with no LF is a 255th character
      {fits + "\rx\n", fits, true},  // likewise before more text
      {fits + "4", fits, true},      // 255 characters up to the end
      {"\r", "\r", false},           // a lone CR is the line's text
      {std::string(300, '5') + "\n", std::string(254, '5'), true},
  };
  for (const Case& c : cases) {
    LineReader reader(c.bytes);
    EXPECT_EQ(reader.readLine(), c.firstLine) << c.bytes.size();
    EXPECT_EQ(reader.overlong(), c.overlong) << c.bytes.size();
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.linesRead(), 1);
  }
}

TEST(LineReading, MissingFileAndFolderCannotBeOpened) {
  std::string bytes = "left over";
  EXPECT_FALSE(readFileStart(::testing::TempDir() + "no-such-file.dat", 2, bytes));
  EXPECT_EQ(bytes, "");
  EXPECT_FALSE(readFileStart(::testing::TempDir(), 2, bytes));
  EXPECT_EQ(LineReader::failed().readLine(), "");
}

TEST(LineReading, FileStartHoldsAllTheLinesAReaderCanTake) {
  // Two lines of the longest kind with CR LF, then a third the reader never needs.
  const std::string line(kMaxLineChars, '8');
  const std::string path = writeTempFile("start.txt", line + "\r\n" + line + "\r\nthird\n");
  std::string bytes;
  ASSERT_TRUE(readFileStart(path, 2, bytes));
  LineReader reader(bytes);
  EXPECT_EQ(reader.readLine(), line);
  EXPECT_EQ(reader.readLine(), line);
  EXPECT_EQ(reader.linesRead(), 2);
  EXPECT_FALSE(reader.overlong());
}

TEST(LevelLayout, LabelsSitBetweenTheBlocksOfValues) {
  const std::vector<int> labels = {1, 954, 1907, 1909, 1927, 1929, 1937};
  for (int line : labels) EXPECT_TRUE(isLabelLine(line)) << line;
  for (int line : {2, 953, 955, 1906, 1908, 1910, 1928, 1938}) EXPECT_FALSE(isLabelLine(line));
  EXPECT_EQ(defaultLabel(1909), "pieceType0");
  EXPECT_EQ(defaultLabel(1937), "landscapeMotion");
  EXPECT_EQ(defaultLabel(2), "");
  LevelValues level;
  EXPECT_EQ(valueAt(level, 0), nullptr);
  EXPECT_EQ(valueAt(level, 1939), nullptr);
  EXPECT_EQ(valueAt(level, 1), nullptr);
  EXPECT_EQ(valueAt(level, 953), &level.blockLayer[951]);
  EXPECT_EQ(valueAt(level, 955), &level.deviceLayer[0]);
  EXPECT_EQ(valueAt(level, 1928), &level.pieceTypes[9]);
  EXPECT_EQ(valueAt(level, 1936), &level.levelMusic);
}

TEST(LevelBytes, WrittenLevelReadsBackWhole) {
  LevelValues level;
  for (int k = 0; k < kCells; ++k) level.blockLayer[k] = k % 100;
  level.deviceLayer[951] = -13;
  level.pieceTypes = {1, 2, 3, 4, 5, 0, 1, 2, 3, 9};
  level.landscapeMotion = 2;
  const std::string bytes = writeLevel(level);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), kLevelFileLines);
  EXPECT_EQ(bytes.substr(0, 13), "blockLayer\n0\n");
  LevelValues back;
  back.levelMusic = 7;  // every value is assigned
  const LevelFileReport report = readLevel(bytes, back);
  EXPECT_TRUE(report.complete());
  EXPECT_EQ(back.blockLayer, level.blockLayer);
  EXPECT_EQ(back.deviceLayer, level.deviceLayer);
  EXPECT_EQ(back.pieceTypes, level.pieceTypes);
  EXPECT_EQ(back.levelMusic, 0);
  EXPECT_EQ(back.landscapeMotion, 2);
}

TEST(LevelBytes, ReportTellsWhereTheInputStopped) {
  const std::string whole = writeLevel(LevelValues{});
  LevelValues level;
  EXPECT_EQ(readLevel(whole + "more\n", level).lines, kLevelFileLines);
  EXPECT_TRUE(readLevel(whole.substr(0, whole.size() - 1), level).complete());
  const LevelFileReport cut = readLevel(whole.substr(0, whole.size() - 2), level);
  EXPECT_EQ(cut.lines, kLevelFileLines - 1);  // the last value line is gone
  EXPECT_FALSE(cut.complete());
  EXPECT_EQ(readLevel("", level).lines, 0);
  const LevelFileReport longLine = readLevel("x\n" + std::string(300, '1') + "\n", level);
  EXPECT_EQ(longLine.lines, 2);
  EXPECT_TRUE(longLine.overlong);
  EXPECT_FALSE(longLine.complete());
}

TEST(PackSettings, LevelCountIsTheSecondLine) {
  EXPECT_EQ(readLevelCount("levels\n12\n"), 12);
  EXPECT_EQ(readLevelCount("levels\r\n 7 levels"), 7);
  EXPECT_EQ(readLevelCount("12\n"), 0);
  EXPECT_EQ(readLevelCount(std::string(255, 'x') + "\n12\n"),
            0);  // the long label fails the stream
}

TEST_F(LevelFile, FillsLayersAndValuesInFileOrder) {
  World source;
  source.blockLayer[cellIndex(5, 7)] = kRobot;
  source.blockLayer[cellIndex(27, 33)] = 61;
  source.deviceLayer[0] = 12;
  source.deviceLayer[cellIndex(27, 33)] = 8;
  source.pieceCount = 3;
  source.pieceTypes = {1, 2, 3, 4, 5, 0, 1, 2, 3, 9};
  source.landscapeChoice = 2;
  source.parallax1On = 1;
  source.parallax2Mode = 2;
  source.levelMusic = 3;
  source.landscapeMotion = 1;
  load("full.dat", writeLevel(source));
  EXPECT_EQ(game.world.blockLayer, source.blockLayer);
  EXPECT_EQ(game.world.deviceLayer, source.deviceLayer);
  EXPECT_EQ(game.world.pieceCount, 3);
  EXPECT_EQ(game.world.pieceTypes, source.pieceTypes);
  EXPECT_EQ(game.world.landscapeChoice, 2);
  EXPECT_EQ(game.world.parallax1On, 1);
  EXPECT_EQ(game.world.parallax2Mode, 2);
  EXPECT_EQ(game.world.levelMusic, 3);
  EXPECT_EQ(game.world.landscapeMotion, 1);
  EXPECT_EQ(game.world.robotRow, 5);
  EXPECT_EQ(game.world.robotColumn, 7);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LevelFile, LastRobotInFileOrderSetsThePosition) {
  load("robots.dat", fileWithLines({{2 + 34 * 5 + 7, "99"}, {2 + 34 * 20 + 3, "99 robot"}}));
  EXPECT_EQ(A(5, 7), kRobot);
  EXPECT_EQ(A(20, 3), kRobot);
  EXPECT_EQ(game.world.robotRow, 20);
  EXPECT_EQ(game.world.robotColumn, 3);
}

TEST_F(LevelFile, ValueLinesIgnoreWhatFollowsTheNumberAndLabelsAreIgnored) {
  load("values.dat", fileWithLines({{1, "123"},
                                    {2, "  -3abc"},
                                    {3, "7\r"},
                                    {954, "42"},
                                    {955, "\t12 bomb"},
                                    {1908, "+4"},
                                    {1936, "2 (music)"}}));
  EXPECT_EQ(A(0, 0), -3);
  EXPECT_EQ(A(0, 1), 7);
  EXPECT_EQ(B(0, 0), 12);
  EXPECT_EQ(game.world.pieceCount, 4);
  EXPECT_EQ(game.world.levelMusic, 2);
}

TEST_F(LevelFile, ShortFileLeavesTheRestZero) {
  game.world.pieceCount = 5;
  game.world.levelMusic = 2;
  game.world.deviceLayer.fill(7);
  std::string text = "label\n";
  for (int i = 0; i < 952; ++i) text += "1\n";
  text += "label\n";
  for (int i = 0; i < 46; ++i) text += "3\n";  // the file ends after line 1000
  EXPECT_EQ(game.loadLevelFile(writeTempFile("short.dat", text)).lines, 1000);
  EXPECT_EQ(countCells(game.world.blockLayer, 1), 952);
  EXPECT_EQ(countCells(game.world.deviceLayer, 3), 46);
  EXPECT_EQ(game.world.deviceLayer[46], 0);
  EXPECT_EQ(game.world.deviceLayer[951], 0);
  EXPECT_EQ(game.world.pieceCount, 0);
  EXPECT_EQ(game.world.levelMusic, 0);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LevelFile, LastLineWithoutLineFeedIsRead) {
  std::string text = fileWithLines({{1938, "2"}});
  text.pop_back();
  load("nolf.dat", text);
  EXPECT_EQ(game.world.landscapeMotion, 2);
}

TEST_F(LevelFile, LineLongerThan254CharactersEndsTheReading) {
  load("long.dat", fileWithLines({{2, "5" + std::string(254, ' ') + "x"}, {3, "9"}, {1908, "3"}}));
  EXPECT_EQ(A(0, 0), 5);  // its own value comes from its first 254 characters
  EXPECT_EQ(A(0, 1), 0);
  EXPECT_EQ(game.world.pieceCount, 0);
  // 254 characters and a line break is still a whole line.
  load("fits.dat", fileWithLines({{2, "5" + std::string(253, ' ')}, {3, "9"}}));
  EXPECT_EQ(A(0, 1), 9);
}

TEST_F(LevelFile, EndingLevelForcesItsMusic) {
  const std::string text = fileWithLines({{1936, "1"}});
  game.progress.levelNumber = 99;
  load("ending.dat", text);
  EXPECT_EQ(game.world.levelMusic, 99);
  game.progress.levelNumber = 98;
  load("ending.dat", text);
  EXPECT_EQ(game.world.levelMusic, 1);
}

TEST_F(LevelFile, MissingFileShowsOneMessageAndGivesAnEmptyLevel) {
  game.world.blockLayer.fill(4);
  game.world.deviceLayer.fill(8);
  game.world.pieceCount = 6;
  placeRobot(3, 4);
  const std::string path = ::testing::TempDir() + "mappackX/level07.dat";
  EXPECT_FALSE(game.loadLevelFile(path).opened);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Error opening file " + path);
  EXPECT_EQ(boxes.shown[0].caption, "Critical Error");
  EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
  EXPECT_EQ(countCells(game.world.blockLayer, 0), 952);
  EXPECT_EQ(countCells(game.world.deviceLayer, 0), 952);
  EXPECT_EQ(game.world.pieceCount, 0);
  EXPECT_EQ(game.world.robotRow, 3);
  EXPECT_EQ(game.world.robotColumn, 4);
}

TEST_F(LevelFile, FolderAsPathIsReportedLikeAMissingFile) {
  game.loadLevelFile(::testing::TempDir());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Critical Error");
}

TEST_F(LevelFile, PipesAndHugeFilesNeitherBlockNorExhaustMemory) {
  const std::string fifo = ::testing::TempDir() + "level_fifo.dat";
  unlink(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  game.loadLevelFile(fifo);  // a pipe without a writer would block an open: it is refused
  EXPECT_EQ(boxes.shown.size(), 1u);
  unlink(fifo.c_str());
  // A sparse 8 GB file of zero bytes is one endless line: reading stops after 254 bytes.
  const std::string huge = writeTempFile("level_huge.dat", "");
  ASSERT_EQ(truncate(huge.c_str(), 8LL << 30), 0);
  game.world.pieceCount = 4;
  game.loadLevelFile(huge);
  EXPECT_EQ(game.world.pieceCount, 0);
  EXPECT_EQ(boxes.shown.size(), 1u);
  unlink(huge.c_str());
}

TEST_F(LevelFile, WithoutAMessageServiceAMissingFileStillLoadsEmpty) {
  GameState quiet;
  quiet.world.pieceCount = 3;
  quiet.loadLevelFile(::testing::TempDir() + "absent.dat");
  EXPECT_EQ(quiet.world.pieceCount, 0);
}

}  // namespace
}  // namespace mdx::world
