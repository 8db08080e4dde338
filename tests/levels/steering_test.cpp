// Steering slack: the row of a solution where the player must press most often.
#include "level/steering.h"

#include <gtest/gtest.h>

#include "level/level_checks.h"
#include "level/tool_commands.h"
#include "test_sources.h"

namespace mdx::level {
namespace {

PiecePlan plan(const char* actions, int startRow) {
  PiecePlan piece;
  piece.actions = actions;
  piece.startRow = startRow;
  return piece;
}

TEST(SteeringSlack, TheRowWithTheMostPressesBetweenTwoDrops) {
  const SteeringSlack mixed = steeringSlack(plan("drdlrlrdrrdd", 0));
  EXPECT_EQ(mixed.row, 2);  // "lrlr" after the second drop
  EXPECT_EQ(mixed.presses, 4);
  EXPECT_EQ(mixed.windowMs, 600);
  EXPECT_EQ(mixed.msPerPress, 150);
  const SteeringSlack tie = steeringSlack(plan("rrdlld", 3));
  EXPECT_EQ(tie.row, 3);  // the earlier of two equal rows
  EXPECT_EQ(tie.presses, 2);
  const SteeringSlack straight = steeringSlack(plan("dddxx", 1));
  EXPECT_EQ(straight.presses, 0);
  EXPECT_EQ(straight.msPerPress, 600);
}

TEST(SteeringSlack, ASolvedLevelReportsItsTightestPiece) {
  LevelSource level;
  std::string error;
  ASSERT_TRUE(parseSource(testing::Source::needingAPillar().str(), level, error)) << error;
  const LevelVerdict verdict = decideLevel(level, CheckOptions{});
  ASSERT_EQ(verdict.verdict, Verdict::Proven);
  const SteeringSlack tightest = tightestSteering(verdict.solution);
  EXPECT_EQ(tightest.row, 1);  // six presses of Right before the pillar's second drop
  EXPECT_EQ(tightest.presses, 6);
  EXPECT_EQ(tightest.msPerPress, 100);
  EXPECT_NE(describeSolution(verdict.solution)
                .find("tightest steering: 6 presses within one "
                      "600 ms row, 100 ms each"),
            std::string::npos)
      << describeSolution(verdict.solution);
}

}  // namespace
}  // namespace mdx::level
