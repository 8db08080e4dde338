// The level statistics on small levels made in code: what the count finds, how the estimate
// and the table behave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "level/level_source.h"
#include "level/stats.h"
#include "level/tool_commands.h"

namespace mdx::level {
namespace {

// A floor across row 20, the robot at (19, 2), an exit at (19, 30) and pillar holes (four
// deep) at the given columns; one pillar per hole.
world::GameState levelWithHoles(std::initializer_list<int> holes) {
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
  const std::string path = ::testing::TempDir() + "stats_level.dat";
  std::string error;
  EXPECT_TRUE(writeTextFile(path, writeDat(level), error)) << error;
  world::GameState game;
  game.startLevelFromFile(path);
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
  EXPECT_DOUBLE_EQ(read[0].winShare(), written[0].winShare());

  EXPECT_FALSE(readStatsCsv("level,name\nlevel01,x\n", read, error));
  EXPECT_FALSE(readStatsCsv(statsTable(written, true) + "level02,too,few\n", read, error));
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

}  // namespace
}  // namespace mdx::level
