#include "world/level_meta.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace mdx::world {
namespace {

TEST(PackMetaFile, WrittenWordsReadBackForEveryLevel) {
  std::map<int, LevelMeta> levels;
  levels[1] = {"Mind the gap", "One pillar fills one gap.", "Watch where the gap is."};
  levels[12] = {"Lift relay", "", "Two lifts; the second one waits."};
  levels[3] = {};  // no words: left out of the file
  const std::string text = writePackMeta(levels);
  const PackMeta read = parsePackMeta(text, "levels.ini");
  EXPECT_TRUE(read.problems.empty()) << read.problems.front();
  EXPECT_EQ(read.levels.size(), 2u);
  EXPECT_EQ(read.levelMeta(1), levels[1]);
  EXPECT_EQ(read.levelMeta(12), levels[12]);
  EXPECT_TRUE(read.levelMeta(3).empty());
  EXPECT_NE(text.find("[level01]\nname=Mind the gap\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("idea=\n"), std::string::npos) << "an empty field is not written";
}

// A broken line is named with its line number and skipped; the lines around it are kept.
TEST(PackMetaFile, BrokenLinesAreReportedAndTheRestKept) {
  const std::string text =
      "# words\n"
      "name=before any section\n"  // 2
      "[level02]\n"
      "name = Spaced out \r\n"  // spaces around the text and CR LF are not part of it
      "colour=blue\n"           // 5
      "hint just words\n"       // 6
      "hint=" +
      std::string(73, 'h') +
      "\n"                  // 7: too long
      "idea=caf\xC3\xA9\n"  // 8
      "[level]\n"           // 9
      "name=lost with its section\n"
      "[level1000]\n"  // 11
      "[level04]\n"
      "idea=Still read\n";
  const PackMeta meta = parsePackMeta(text, "p/levels.ini");
  EXPECT_EQ(meta.levelMeta(2).name, "Spaced out");
  EXPECT_EQ(meta.levelMeta(2).hint, "");
  EXPECT_EQ(meta.levelMeta(4).idea, "Still read");
  ASSERT_EQ(meta.problems.size(), 7u);
  EXPECT_EQ(meta.problems[0], "p/levels.ini:2: 'name' before the first [levelNN] line");
  EXPECT_EQ(meta.problems[1], "p/levels.ini:5: unknown key (name, idea and hint are known)");
  EXPECT_EQ(meta.problems[2], "p/levels.ini:6: a line reads [levelNN], KEY=TEXT or # comment");
  EXPECT_EQ(meta.problems[3], "p/levels.ini:7: the hint has 73 characters, at most 72 fit");
  EXPECT_EQ(meta.problems[4], "p/levels.ini:8: the idea holds a character outside ASCII");
  EXPECT_EQ(meta.problems[5].substr(0, 29), "p/levels.ini:9: a section is ");
  EXPECT_EQ(meta.problems[6].substr(0, 17), "p/levels.ini:11: ");
}

// The pack's own name lives in a [pack] section; it survives a rewrite and only name is known
// there. A file without it (any file written before packs had names) names no pack.
TEST(PackMetaFile, ThePacksOwnNameReadsBackAndOnlyNameIsKnownInItsSection) {
  std::map<int, LevelMeta> levels;
  levels[2] = {"Lift relay", "", ""};
  PackMeta read = parsePackMeta(writePackMeta(levels, "The Machine Works"), "levels.ini");
  EXPECT_TRUE(read.problems.empty());
  EXPECT_EQ(read.packName, "The Machine Works");
  EXPECT_EQ(read.levelMeta(2).name, "Lift relay");
  EXPECT_EQ(parsePackMeta(writePackMeta(levels), "levels.ini").packName, "");

  read = parsePackMeta("[pack]\nhint=no\nname=" + std::string(kMaxPackNameChars + 1, 'n') +
                           "\n[level01]\nname=One\n[pack]\nname=Second word\n",
                       "p/levels.ini");
  ASSERT_EQ(read.problems.size(), 2u);
  EXPECT_EQ(read.problems[0], "p/levels.ini:2: unknown key in [pack] (name is known)");
  EXPECT_EQ(read.problems[1].substr(0, 40), "p/levels.ini:3: the pack's name has 33 c");
  EXPECT_EQ(read.levelMeta(1).name, "One");
  EXPECT_EQ(read.packName, "Second word");
  EXPECT_EQ(packNameProblem(std::string(kMaxPackNameChars, 'n')), "");
}

TEST(PackMetaFile, AMissingFileMeansNoWordsAndNoProblem) {
  const std::string dir = ::testing::TempDir();
  PackMeta meta = readPackMeta(dir + "/no-such-levels.ini");
  EXPECT_TRUE(meta.levels.empty());
  EXPECT_TRUE(meta.problems.empty());
  meta = readPackMeta(dir);  // a folder is no file of words
  EXPECT_TRUE(meta.levels.empty());
  EXPECT_EQ(meta.problems.size(), 1u);
  std::ofstream(dir + "/levels.ini") << "[level05]\nname=On disk\n";
  EXPECT_EQ(readPackMeta(dir + "/levels.ini").levelMeta(5).name, "On disk");
}

TEST(PackMetaFile, TextsMustBeOneLineOfPlainAsciiThatFits) {
  const LevelMetaField& name = *findLevelMetaField("name");
  EXPECT_EQ(levelMetaTextProblem(name, "Lift relay"), "");
  EXPECT_EQ(levelMetaTextProblem(name, "two\nlines"), "must be one line");
  EXPECT_EQ(levelMetaTextProblem(name, "tab\there"), "holds a control character");
  EXPECT_EQ(levelMetaTextProblem(name, " padded"), "starts or ends with a space");
  EXPECT_EQ(levelMetaTextProblem(name, std::string(name.maxChars, 'n')), "");
  EXPECT_NE(levelMetaTextProblem(name, std::string(name.maxChars + 1, 'n')), "");
  EXPECT_EQ(findLevelMetaField("colour"), nullptr);
}

}  // namespace
}  // namespace mdx::world
