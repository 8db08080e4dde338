// The pace of presses a solution needs: presses are left as late as the piece's own fall
// allows, and only the stretch in which they can be made counts.
#include "level/press_rate.h"

#include <gtest/gtest.h>

#include "level/level_checks.h"
#include "level/tool_commands.h"
#include "test_sources.h"

namespace mdx::level {
namespace {

struct Measured {
  world::GameState start;
  SolveResult solution;
  std::vector<PressRate> rates;
};

Measured measure(const testing::Source& source) {
  Measured measured;
  LevelSource level;
  std::string error;
  EXPECT_TRUE(parseSource(source.str(), level, error)) << error;
  startLevelGame(level, measured.start);
  measured.solution = solveLevel(measured.start, SolverLimits{});
  EXPECT_TRUE(measured.solution.solved);
  measured.rates = pressRates(measured.start, measured.solution);
  return measured;
}

// The pit is six columns right of where the pillar appears (box column 15, pit under box
// column 21). Falling by itself the pillar would land on the floor at row 20 with the drop from
// box row 16, 16 drops after it appeared: the six presses have the whole fall.
TEST(PressRate, PressesMayTakeTheWholeFallUntilThePieceWouldLand) {
  const Measured level = measure(testing::Source::needingAPillar());
  ASSERT_EQ(level.rates.size(), 1u);
  const PressRate rate = level.rates[0];
  EXPECT_TRUE(rate.reachable);
  EXPECT_EQ(rate.presses, 6);
  EXPECT_DOUBLE_EQ(rate.perSecond, 6 / 9.6);
  EXPECT_EQ(describePressRate(tightestPressRate(level.rates)), "0.62 presses a second (6 presses)");
}

// A roof over the floor from column 17 on: steered early the pillar would land on it, so the
// six presses wait until the pillar is below the roof (box row 11) and still have to be made
// before it would land on the floor.
TEST(PressRate, PressesThatMustWaitForAnObstacleHaveOnlyTheStretchAfterIt) {
  testing::Source source = testing::Source::needingAPillar();
  for (int c = 17; c < 31; ++c) source.blocks[10][c] = 'g';
  const Measured level = measure(source);
  ASSERT_EQ(level.rates.size(), 1u);
  EXPECT_EQ(level.rates[0].presses, 6);
  EXPECT_DOUBLE_EQ(level.rates[0].perSecond, 6 / 3.6);
}

// A bomb under the column where the pillar appears: it must be dodged with one press before
// the second drop, 1.2 s after it appears, however long the other five may take.
TEST(PressRate, APressNeededEarlyHasOnlyTheTimeBeforeItsDeadline) {
  testing::Source source = testing::Source::needingAPillar();
  source.devices[6][16] = 'X';
  const Measured level = measure(source);
  ASSERT_EQ(level.rates.size(), 1u);
  EXPECT_EQ(level.rates[0].presses, 6);
  EXPECT_DOUBLE_EQ(level.rates[0].perSecond, 1 / 1.2);
}

// Two pillars for two pits: the first needs no press, the second (into the far pit) the most.
// A piece that falls straight needs none, and the level's figure is its tightest piece.
TEST(PressRate, EveryPieceIsMeasuredAndTheTightestIsTheLevels) {
  testing::Source source = testing::Source::needingAPillar();
  source.header.replace(0, 13, "pieces pillar pillar");
  for (int r = 20; r < 24; ++r) source.blocks[r][16] = '.';
  const Measured level = measure(source);
  ASSERT_EQ(level.rates.size(), 2u);
  const PressRate straight = level.rates[0].presses == 0 ? level.rates[0] : level.rates[1];
  const PressRate steered = level.rates[0].presses == 0 ? level.rates[1] : level.rates[0];
  EXPECT_EQ(straight.presses, 0);
  EXPECT_EQ(straight.perSecond, 0.0);
  EXPECT_EQ(steered.presses, 6);
  EXPECT_EQ(tightestPressRate(level.rates).perSecond, steered.perSecond);
  EXPECT_EQ(describePressRate(straight), "no presses");
}

}  // namespace
}  // namespace mdx::level
