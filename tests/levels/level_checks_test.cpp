// The level checks: rule warnings located in sources, source errors that point at line and
// column, build's --strict, and check's decision with its exit codes.
#include "level/level_checks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "level/tool_commands.h"
#include "test_sources.h"

namespace mdx::level {
namespace {

using testing::Source;

std::vector<std::string> warningsOf(const Source& source) {
  const std::string path = source.write("warned.src");
  CheckedFile file;
  EXPECT_TRUE(readCheckedFile(path, file)) << file.error;
  std::vector<std::string> lines;
  for (const LevelWarning& w : file.warnings) {
    lines.push_back(formatWarning("", w).substr(1));  // drop the empty file name's ':'
  }
  return lines;
}

std::string errorOf(const std::string& text) {
  LevelSource level;
  SourceLayout layout;
  SourceError error;
  EXPECT_FALSE(parseSourceAt(text, level, layout, error));
  return std::to_string(error.line) + ":" + std::to_string(error.column) + ": " + error.message;
}

TEST(LevelWarnings, EachRuleIsNamedWhereTheSourceSaysIt) {
  EXPECT_TRUE(warningsOf(Source{}).empty());
  struct Case {
    const char* what;
    Source source;
    std::string expected;  // the start of the only warning
  };
  std::vector<Case> cases(9);
  cases[0] = {"no robot", {}, "8:1: warning: no robot start"};
  cases[0].source.blocks[19][2] = '.';
  cases[1] = {
      "two robots", {}, "29:6: warning: a second robot cell (the first is at row 19, column 2)"};
  cases[1].source.blocks[20][5] = '@';
  cases[2] = {"no exit", {}, "37:1: warning: no exit"};
  cases[2].source.devices[19][30] = '.';
  cases[3] = {"landscape", {}, "2:1: warning: landscapeChoice 4 is outside 1 to 3"};
  cases[3].source.header.replace(cases[3].source.header.find("Choice 1"), 8, "Choice 4");
  cases[4] = {"music", {}, "5:1: warning: levelMusic 7 plays nothing"};
  cases[4].source.header.replace(cases[4].source.header.find("Music 1"), 7, "Music 7");
  cases[5] = {"no picture", {}, "10:4: warning: block code 70 at row 0, column 3 has no picture"};
  cases[5].source.header += "char block h 70\n";
  cases[5].source.blocks[0][3] = 'h';
  cases[6] = {"dot", {}, "8:1: warning: the legend makes '.' block 5"};
  cases[6].source.header += "char block . 5\n";
  cases[7] = {"two exits", {}, "57:31: warning: a second exit (the first is at row 5, column 7)"};
  cases[7].source.devices[5][7] = 'E';
  cases[8] = {"strip", {}, "4:1: warning: parallax2Mode 3 is outside 0 to 2"};
  cases[8].source.header.replace(cases[8].source.header.find("Mode 2"), 6, "Mode 3");
  for (const Case& c : cases) {
    const std::vector<std::string> warnings = warningsOf(c.source);
    std::string all;
    for (const std::string& w : warnings) all += w + "\n";
    ASSERT_EQ(warnings.size(), 1u) << c.what << ":\n" << all;
    EXPECT_TRUE(base::startsWith(warnings[0], c.expected)) << c.what << ": " << warnings[0];
  }
}

TEST(LevelWarnings, LevelFilesNameTheirOwnLines) {
  Source source;
  source.blocks[19][2] = '.';
  source.devices[0][0] = '?';
  source.tail = "cell device 0 0 40\n";
  CheckedFile fromSource;
  ASSERT_TRUE(readCheckedFile(source.write("odd.src"), fromSource)) << fromSource.error;
  const std::string dat = ::testing::TempDir() + "odd.dat";
  std::string error;
  ASSERT_TRUE(mdx::base::writeFileSafely(dat, writeDat(fromSource.level), error));
  CheckedFile file;
  ASSERT_TRUE(readCheckedFile(dat, file)) << file.error;
  ASSERT_EQ(file.warnings.size(), 2u);
  EXPECT_TRUE(base::startsWith(formatWarning("f", file.warnings[0]), "f:1:1: warning: no robot"));
  EXPECT_TRUE(
      base::startsWith(formatWarning("f", file.warnings[1]), "f:955:1: warning: device code 40"));
  // In the source the cell table's entry is named, not the '?' in the map.
  EXPECT_TRUE(
      base::startsWith(formatWarning("f", fromSource.warnings[1]), "f:66:1: warning: device"));
}

TEST(SourceErrors, RowCountsComeFirstAndNameTheCount) {
  Source shortMap;
  shortMap.blocks.pop_back();
  shortMap.devices[0] = "bad row";  // a later mistake is not reported first
  EXPECT_TRUE(
      base::startsWith(errorOf(shortMap.str()), "8:1: the blocks map has 27 rows, a map has 28"))
      << errorOf(shortMap.str());
  Source longMap;
  longMap.devices.push_back(std::string(34, '.'));
  EXPECT_TRUE(base::startsWith(errorOf(longMap.str()), "37:1: the devices map has 29 rows"));
  Source blankInside;
  blankInside.blocks[4] = "";  // still 28 rows: a blank line inside a map is a row
  EXPECT_TRUE(
      base::startsWith(errorOf(blankInside.str()), "13:1: a map row has 34 cells, this one has 0"));
  Source trailing;
  trailing.tail = "\n# the end\n";
  trailing.blocks.back() += "\n\n# notes before the devices";
  LevelSource level;
  std::string error;
  EXPECT_TRUE(parseSource(trailing.str(), level, error)) << error;
}

TEST(SourceErrors, TabsNonAsciiAndByteOrderMarksAreNamed) {
  Source tab;
  tab.blocks[2][5] = '\t';
  EXPECT_TRUE(base::startsWith(errorOf(tab.str()), "11:6: a tab in a map row"))
      << errorOf(tab.str());
  Source accent;
  accent.blocks[3] = std::string(4, '.') + "\xC3\xA9" + std::string(29, '.');  // 34 characters
  EXPECT_TRUE(
      base::startsWith(errorOf(accent.str()), "12:5: a non-ASCII character (U+00E9) in a map row"))
      << errorOf(accent.str());
  Source stray;
  stray.header += "levelMusic 1\xFF\n";
  EXPECT_TRUE(base::startsWith(errorOf(stray.str()), "8:13: a non-ASCII character (byte 0xFF)"))
      << errorOf(stray.str());
  EXPECT_TRUE(base::startsWith(errorOf("\xEF\xBB\xBF" + Source{}.str()),
                               "1:1: the file starts with a byte-order mark"));
  Source spaced;
  spaced.blocks[6][10] = ' ';
  EXPECT_EQ(errorOf(spaced.str()),
            "15:11: a map row has 34 cells, this one has 10 (a space ends the cells; use '.' for "
            "an empty cell)");
  Source unknown;
  unknown.devices[2][6] = 'Q';
  EXPECT_TRUE(base::startsWith(
      errorOf(unknown.str()),
      "40:7: 'Q' is not in the device legend; define it with: char device Q CODE"));
  // A letter with only an old default meaning is a typo until a char line says otherwise.
  Source typo;
  typo.blocks[1][7] = 'D';
  EXPECT_TRUE(base::startsWith(
      errorOf(typo.str()),
      "10:8: 'D' in the block map is not defined in this source; define it with: char block D"))
      << errorOf(typo.str());
  typo.header += "char block D 13\n";
  LevelSource level;
  std::string error;
  EXPECT_TRUE(parseSource(typo.str(), level, error)) << error;
}

TEST(BuildCommand, WarnsButBuildsAndStrictRefuses) {
  Source source;
  source.devices[19][30] = '.';
  const std::string path = source.write("noexit.src");
  const std::string out = ::testing::TempDir() + "noexit.dat";
  std::remove(out.c_str());
  std::ostringstream err;
  EXPECT_EQ(buildCommand(path, out, err), 0);
  EXPECT_EQ(err.str(), path +
                           ":37:1: warning: no exit: the level cannot be won; put an 'E' in "
                           "the devices map\n");
  EXPECT_TRUE(std::ifstream(out).good());
  std::remove(out.c_str());
  std::ostringstream strict;
  EXPECT_EQ(buildCommand(path, out, strict, true), 1);
  EXPECT_TRUE(base::startsWith(strict.str(), path + ":37:1: error: no exit")) << strict.str();
  EXPECT_FALSE(std::ifstream(out).good());
  std::ostringstream clean;
  EXPECT_EQ(buildCommand(Source{}.write("clean.src"), out, clean, true), 0);
  EXPECT_EQ(clean.str(), "");
}

int runCheck(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::vector<char*> argv;
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  std::ostringstream o, e;
  const int code = checkCommand(static_cast<int>(argv.size()), argv.data(), o, e);
  out = o.str();
  err = e.str();
  return code;
}

TEST(CheckCommand, OneLineAndAnExitCodePerVerdict) {
  const Source needsPillar = Source::needingAPillar();
  Source walled;
  walled.blocks[19][29] = 'g';
  walled.blocks[18][29] = 'g';
  Source straight;  // no pieces: the robot walks to the exit by itself
  std::string out, err;
  EXPECT_EQ(runCheck({needsPillar.write("pit.src")}, out, err), 0);
  EXPECT_TRUE(base::startsWith(out, "proven: ")) << out;
  EXPECT_NE(out.find(" world steps\n"), std::string::npos);
  // With no piece to place the robot walks up to the wall and stands there: the check says
  // why, not just that.
  EXPECT_EQ(runCheck({walled.write("walled.src")}, out, err), 3);
  EXPECT_EQ(out,
            "not winnable\n"
            "the furthest the robot gets:\n"
            "no piece falls: the robot walks the map as drawn\n"
            "robot: row 19, column 2 -> row 19, column 28\n"
            "the robot stands stuck at row 19, column 28 from world step 26, with no piece to "
            "place\n");
  EXPECT_EQ(runCheck({straight.write("straight.src")}, out, err), 4);
  EXPECT_EQ(out, "won by straight drops\n");
  straight.header = "intro\n" + straight.header;
  EXPECT_EQ(runCheck({straight.write("intro.src")}, out, err), 0);
  EXPECT_TRUE(base::startsWith(out, "proven: ")) << out;
  EXPECT_EQ(runCheck({needsPillar.write("pit.src"), "--budget", "0.000001"}, out, err), 5);
  EXPECT_EQ(out, "undecided after 1e-06 s\n");

  Source broken;
  broken.blocks[3] = "short";
  const std::string brokenPath = broken.write("broken.src");
  EXPECT_EQ(runCheck({brokenPath}, out, err), 2);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(base::startsWith(err, brokenPath + ":12:6: a map row has 34 cells")) << err;
  EXPECT_EQ(runCheck({::testing::TempDir() + "absent.src"}, out, err), 2);
  EXPECT_NE(err.find("absent.src: cannot read"), std::string::npos);
  EXPECT_EQ(runCheck({"pit.src", "--budget", "soon"}, out, err), 2);
}

TEST(CheckCommand, ACancelledSearchSaysSoAndNothingElse) {
  const Source needsPillar = Source::needingAPillar();
  LevelSource level;
  std::string error;
  ASSERT_TRUE(parseSource(needsPillar.str(), level, error)) << error;
  std::atomic<bool> cancel{true};
  CheckOptions options;
  options.cancel = &cancel;
  const LevelVerdict cancelled = decideLevel(level, options);
  EXPECT_EQ(cancelled.verdict, Verdict::Cancelled);
  EXPECT_FALSE(cancelled.solution.exhausted);
  cancel = false;
  EXPECT_EQ(decideLevel(level, options).verdict, Verdict::Proven);
}

}  // namespace
}  // namespace mdx::level
