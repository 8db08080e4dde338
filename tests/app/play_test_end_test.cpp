// A play-test (--play-test) ends on the level's result: won, blown up or stuck, each told once
// on the state log, and the window closes instead of the game going on.
#include <gtest/gtest.h>

#include <algorithm>

#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

class PlayTestEnd : public ::testing::Test {
 protected:
  // Plays level 1 of a two-level pack as a play-test until the window closes or a minute of
  // game time has passed; returns the play-test lines of the log.
  std::vector<std::string> playTest(const LevelPlan& plan) {
    folder.writeLevel(1, plan);
    folder.writeLevel(2, exitLevel());
    h.game.playTest = true;
    h.game.beginGame(1);
    h.tap(DIK_RETURN);
    for (uint32_t t = 0; t < 60000 && h.window.destroyed == 0; t += 10) h.frame(10);
    h.run(2000);  // frames drawn before the window is gone change nothing
    std::vector<std::string> lines;
    std::copy_if(h.log.begin(), h.log.end(), std::back_inserter(lines),
                 [](const std::string& line) { return line.rfind("play-test ", 0) == 0; });
    return lines;
  }

  GameFolder folder{2};
  Harness h{&folder};
};

TEST_F(PlayTestEnd, AWonLevelEndsAfterItsExitSequenceInsteadOfTheNextLevel) {
  EXPECT_EQ(playTest(exitLevel()), std::vector<std::string>{"play-test won in 4 steps"});
  EXPECT_EQ(h.window.destroyed, 1);
  EXPECT_EQ(h.game.state.progress.levelNumber, 1);
  EXPECT_EQ(h.game.levelStarts, 1);
}

TEST_F(PlayTestEnd, ABlownUpRobotEndsItInsteadOfARestart) {
  const std::vector<std::string> lines = playTest(bombLevel());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("play-test lost: the robot blew up on a bomb after ", 0), 0u)
      << lines[0];
  EXPECT_EQ(h.window.destroyed, 1);
  EXPECT_EQ(h.game.levelStarts, 1);
}

TEST_F(PlayTestEnd, AStuckRobotEndsIt) {
  const std::vector<std::string> lines = playTest(pillarLevel());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("play-test stuck after ", 0), 0u) << lines[0];
  EXPECT_EQ(h.window.destroyed, 1);
}

TEST_F(PlayTestEnd, WithoutItAWonLevelGoesOnToTheNext) {
  folder.writeLevel(1, exitLevel());
  folder.writeLevel(2, exitLevel());
  h.game.beginGame(1);
  h.tap(DIK_RETURN);
  for (uint32_t t = 0; t < 20000 && h.game.levelStarts < 2; t += 10) h.frame(10);
  EXPECT_EQ(h.game.state.progress.levelNumber, 2);
  EXPECT_EQ(h.window.destroyed, 0);
}

}  // namespace
}  // namespace mdx::app::testing
