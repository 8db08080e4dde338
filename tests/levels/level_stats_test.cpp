// The level statistics on small levels made in code: what the count finds, how the estimate
// and the table behave.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/files.h"
#include "level/level_source.h"
#include "level/stats.h"
#include "level/tool_commands.h"

namespace mdx::level {
namespace {

// A floor across row 20, the robot at (19, 2), an exit at (19, 30) and pillar holes (four
// deep) at the given columns; one pillar per hole.
LevelSource sourceWithHoles(std::initializer_list<int> holes) {
  LevelSource level;
  for (int c = 0; c < world::kColumns; ++c) {
    for (int r = 20; r < world::kRows; ++r) level.blockLayer[world::cellIndex(r, c)] = 1;
  }
  for (int c : holes) {
    for (int r = 20; r < 24; ++r) level.blockLayer[world::cellIndex(r, c)] = 0;
  }
  level.blockLayer[world::cellIndex(19, 2)] = world::kRobot;
  level.deviceLayer[world::cellIndex(19, 30)] = world::kExit;
  level.pieceCount = static_cast<int32_t>(holes.size());
  for (int32_t i = 0; i < level.pieceCount; ++i) level.pieceTypes[i] = 2;  // pillar
  return level;
}

world::GameState levelWithHoles(std::initializer_list<int> holes) {
  const LevelSource level = sourceWithHoles(holes);
  // From memory: tests run side by side, and a file of a fixed name would be shared.
  world::GameState game;
  game.startLevelFromBytes(writeDat(level));
  return game;
}

TEST(LevelStats, CountsEverySequenceAndTheOnesThatWin) {
  const LevelStats one = measureLevel(levelWithHoles({10}), StatsLimits{});
  ASSERT_TRUE(one.counted);
  EXPECT_TRUE(one.solved);
  EXPECT_EQ(one.wins, 1);  // only the pillar in the hole lets the robot by
  EXPECT_GT(one.sequences, 20);
  EXPECT_EQ(one.winningFirsts, 1);
  EXPECT_FALSE(one.straightDropsWin);
  EXPECT_GT(one.shortestSteps, 0);

  // Two holes: the pillars can fill them in either order, and both orders win.
  const LevelStats two = measureLevel(levelWithHoles({10, 20}), StatsLimits{});
  ASSERT_TRUE(two.counted);
  EXPECT_EQ(two.wins, 2);
  EXPECT_EQ(two.winningFirsts, 2);
  EXPECT_LT(two.winShare(), one.winShare());
}

TEST(LevelStats, EstimatesWhenTheCountIsCutShort) {
  StatsLimits limits;
  limits.maxSequences = 1;
  const LevelStats exact = measureLevel(levelWithHoles({10}), StatsLimits{});
  const LevelStats estimated = measureLevel(levelWithHoles({10}), limits);
  EXPECT_FALSE(estimated.counted);
  // With one piece every random path ends in one of the same endings: the count is exact.
  EXPECT_EQ(estimated.sequences, exact.sequences);
  EXPECT_EQ(estimated.shortestSteps, exact.shortestSteps);  // the solver's win is the shortest
  EXPECT_EQ(measureLevel(levelWithHoles({10}), limits).wins, estimated.wins);  // fixed seed
  EXPECT_EQ(estimated.winningFirsts, 0);  // far above the limit: not counted at all

  // A level within the limit is counted even though its estimate is taken first.
  limits.maxSequences = exact.sequences + 1;
  const LevelStats within = measureLevel(levelWithHoles({10}), limits);
  EXPECT_TRUE(within.counted);
  EXPECT_EQ(within.wins, exact.wins);
  EXPECT_EQ(within.winningFirsts, exact.winningFirsts);
}

TEST(LevelStats, TableReadsBackAndRefusesAForeignHeader) {
  std::vector<LevelStats> written{measureLevel(levelWithHoles({10}), StatsLimits{})};
  written[0].file = "levels/x/level07.src";
  written[0].name = "Commas, in a name";
  std::vector<LevelStats> read;
  std::string error;
  ASSERT_TRUE(readStatsCsv(statsTable(written, true), read, error)) << error;
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].file, "level07");
  EXPECT_EQ(read[0].name, "Commas; in a name");
  EXPECT_EQ(read[0].sequences, written[0].sequences);
  EXPECT_EQ(read[0].wins, written[0].wins);
  EXPECT_EQ(read[0].shortestSteps, written[0].shortestSteps);
  EXPECT_NEAR(read[0].pressRate.perSecond, written[0].pressRate.perSecond, 0.01);
  EXPECT_TRUE(read[0].pressRate.reachable);
  EXPECT_DOUBLE_EQ(read[0].winShare(), written[0].winShare());

  EXPECT_FALSE(readStatsCsv("level,name\nlevel01,x\n", read, error));
  EXPECT_FALSE(readStatsCsv(statsTable(written, true) + "level02,too,few\n", read, error));
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

TEST(LevelStats, PressRateGrowsWithTheDistanceToSteer) {
  // Pieces appear over column 16: a hole far from it needs more presses than one near it in
  // the same fall to the floor.
  const LevelStats near = measureLevel(levelWithHoles({14}), StatsLimits{});
  const LevelStats far = measureLevel(levelWithHoles({5}), StatsLimits{});
  ASSERT_TRUE(near.solved && far.solved);
  EXPECT_GT(far.pressRate.presses, near.pressRate.presses);
  EXPECT_GT(far.pressRate.perSecond, near.pressRate.perSecond);
}

// The Markdown table takes name and idea from the source and says when a win share is an
// estimate.
TEST(LevelStats, MarkdownRowsCarryTheIdeaAndMarkEstimates) {
  const std::string dir = ::testing::TempDir() + "stats_markdown/";
  std::filesystem::create_directories(dir);
  std::string error;
  const std::string source =
      "name Pipes | holes\nidea First line of the idea, and its second.\n\n" +
      writeSource(sourceWithHoles({10, 20}));
  ASSERT_TRUE(mdx::base::writeFileSafely(dir + "level03.src", source, error)) << error;

  std::vector<LevelStats> exact, estimated;
  std::ostringstream messages;
  ASSERT_TRUE(measureFolder(dir, StatsLimits{}, exact, messages)) << messages.str();
  StatsLimits cut;
  cut.maxSequences = 1;
  ASSERT_TRUE(measureFolder(dir, cut, estimated, messages)) << messages.str();

  const std::string row = levelsMarkdown(exact);
  EXPECT_NE(row.find("| 3 | Pipes \\| holes | First line of the idea, and its second. | 2 |"),
            std::string::npos)
      << row;
  EXPECT_EQ(row.find("estimated"), std::string::npos) << row;
  EXPECT_NE(levelsMarkdown(estimated).find("(estimated"), std::string::npos);
}

TEST(LevelStats, TinyWinSharesKeepTwoSignificantDigits) {
  LevelStats level;
  level.file = "level31.src";
  level.counted = level.solved = true;
  level.sequences = 1710491;
  level.wins = 2;  // 0.000117 %
  EXPECT_NE(statsTable({level}, true).find(",0.00012,"), std::string::npos);
  EXPECT_NE(levelsMarkdown({level}).find("| 0.00012 % |"), std::string::npos);
  level.wins = 1000;  // 0.058 %: four decimals as before
  EXPECT_NE(statsTable({level}, true).find(",0.0585,"), std::string::npos);
}

}  // namespace
}  // namespace mdx::level
