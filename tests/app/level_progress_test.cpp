// The game's way through its states: title, new game, ready, running, the exit sequence,
// the next level, the ending, and the state log the shell writes.
#include <gtest/gtest.h>

#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

class LevelProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeLevel(1, exitLevel());
    folder.writeLevel(2, exitLevel());
  }
  // Title -> new game -> StateRunning on level 1.
  void startRunning() {
    h.tap(DIK_SPACE);
    h.tap(DIK_SPACE);
  }
  // Frames of 10 ms until the state changes or the time runs out.
  void runUntilStateChanges(uint32_t limit) {
    const int32_t before = h.gameState();
    for (uint32_t t = 0; t < limit && h.gameState() == before; t += 10) h.frame(10);
  }

  GameFolder folder{2};
  Harness h{&folder};
};

TEST_F(LevelProgress, FirstTitleScreenHasTheLandscapeAndStripsOfALaterReturn) {
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.game.state.world.landscapeChoice, 1);
  EXPECT_EQ(h.game.state.world.parallax1On, 1);
  EXPECT_EQ(h.game.state.world.parallax2Mode, 2);
}

TEST_F(LevelProgress, SpaceStartsLevelOneButASecondReleaseIsNeededToRun) {
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.state.progress.levelNumber, 1);
  EXPECT_EQ(h.game.state.progress.levelCount, 2);  // read from the pack's pref.ini
  h.run(1000);
  EXPECT_EQ(h.gameState(), StateReady);
  h.tap(DIK_RETURN);
  EXPECT_EQ(h.gameState(), StateRunning);  // no pieces: the robot walks at once
  EXPECT_EQ(h.game.state.scene.hudPhase, 0);
}

TEST_F(LevelProgress, RobotReachesExitAndSequenceLasts46WorldSteps) {
  startRunning();
  int steps = 0;
  h.clock.advance(1);
  while (!h.game.state.world.levelComplete && steps < 10) {
    h.frame(150);
    ++steps;
  }
  ASSERT_EQ(steps, 4);  // the walk of three cells ends inside the exit
  int sequence = 1;     // the step that reached the exit also ran the first sequence step
  while (h.game.state.progress.levelNumber == 1 && sequence < 100) {
    h.frame(150);
    ++sequence;
  }
  EXPECT_EQ(sequence, 46);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.state.progress.levelNumber, 2);
  EXPECT_FLOAT_EQ(h.game.state.scene.robotScale, 1.0f);
  EXPECT_EQ(h.game.state.world.levelComplete, 0);
}

TEST_F(LevelProgress, LastLevelLeadsToEndingLevel99) {
  startRunning();
  runUntilStateChanges(20000);  // level 1 done
  h.tap(DIK_SPACE);
  runUntilStateChanges(20000);  // level 2 done
  EXPECT_EQ(h.gameState(), StateEnding);
  EXPECT_EQ(h.game.state.progress.levelNumber, 99);
  EXPECT_EQ(h.game.state.world.levelMusic, 99);
  // The ending runs the world step: the robot walks on.
  const int32_t column = h.game.state.world.robotColumn;
  h.run(600);
  EXPECT_GT(h.game.state.world.robotColumn, column);
  // R does not act in the ending, and its endless walk is no lost level.
  h.tap(DIK_R);
  EXPECT_EQ(h.gameState(), StateEnding);
  h.run(8000);
  EXPECT_EQ(h.game.state.scene.stuckHint, 0);
}

TEST_F(LevelProgress, SpaceDuringExitSequenceGoesWhereWaitingGoes) {
  startRunning();
  h.run(700);  // the exit is reached within four steps
  ASSERT_EQ(h.game.state.world.levelComplete, 1);
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.game.state.progress.levelNumber, 2);
  EXPECT_EQ(h.gameState(), StateReady);
  h.tap(DIK_SPACE);
  h.run(700);
  ASSERT_EQ(h.game.state.world.levelComplete, 1);
  h.tap(DIK_SPACE);  // the pack's last level: on to the ending, not the same level again
  EXPECT_EQ(h.gameState(), StateEnding);
  EXPECT_EQ(h.game.state.progress.levelNumber, 99);
  EXPECT_EQ(h.game.state.world.levelComplete, 0);
}

TEST_F(LevelProgress, RestartKeyActsOnlyOnALevelInPlay) {
  h.tap(DIK_R);  // the title: nothing starts
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.game.levelStarts, 0);
  startRunning();
  h.run(300);
  const int before = h.game.levelStarts;
  h.tap(DIK_R);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.levelStarts, before + 1);
  EXPECT_EQ(h.game.state.world.robotColumn, 2);  // back at the level's start
  h.tap(DIK_R);                                  // on the ready sign too
  EXPECT_EQ(h.game.levelStarts, before + 2);
  // The level is won: R neither throws it away nor, held into the next level, restarts that.
  h.tap(DIK_SPACE);
  h.run(700);
  ASSERT_EQ(h.game.state.world.levelComplete, 1);
  h.tap(DIK_R);
  h.keys.press(DIK_R);
  h.frame();
  EXPECT_EQ(h.game.state.world.levelComplete, 1);
  h.run(20000);  // the sequence ends with R still held
  ASSERT_EQ(h.game.state.progress.levelNumber, 2);
  const int starts = h.game.levelStarts;
  h.keys.release(DIK_R);
  h.frame();
  EXPECT_EQ(h.game.levelStarts, starts);
  // After Q the title ignores R.
  h.game.escapeReleased();
  h.tap(DIK_Q);
  ASSERT_EQ(h.gameState(), StateTitle);
  h.tap(DIK_R);
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.game.levelStarts, starts);
}

TEST_F(LevelProgress, ALostLevelShowsTheRestartHintUntilItRestarts) {
  startRunning();
  h.run(700);  // a robot that reaches the exit never sees it
  ASSERT_EQ(h.game.state.world.levelComplete, 1);
  EXPECT_EQ(h.game.state.scene.stuckHint, 0);
  // Walled in with no piece left: the robot stands still.
  folder.writeLevel(2, pillarLevel());
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  h.tap(DIK_DOWN);
  h.run(1000);
  ASSERT_EQ(h.gameState(), StateRunning);
  h.run(1500);
  EXPECT_EQ(h.game.state.scene.stuckHint, 1);
  h.tap(DIK_R);
  EXPECT_EQ(h.game.state.scene.stuckHint, 0);
  // A floor with no exit: the robot walks round the wrapping grid for ever.
  folder.writeLevel(2, endingLevel());
  h.tap(DIK_R);
  h.tap(DIK_SPACE);
  h.run(4000);  // the first round takes 34 steps
  EXPECT_EQ(h.game.state.scene.stuckHint, 0);
  h.run(2000);
  EXPECT_EQ(h.game.state.scene.stuckHint, 1);
}

// A pack that counts more levels than it holds, and a deleted ending: the message names the
// file and the game goes back to the title instead of a dead black level.
TEST_F(LevelProgress, AMissingLevelFileLeadsBackToTheTitleOnce) {
  std::filesystem::remove(folder.root / "pack" / "level02.dat");
  startRunning();
  h.run(700);
  ASSERT_EQ(h.game.state.world.levelComplete, 1);
  h.run(10000);  // the exit sequence ends: level 2 cannot be opened
  EXPECT_EQ(h.gameState(), StateTitle);
  ASSERT_EQ(h.messages.shown.size(), 1u) << h.messages.shown.back().text;
  EXPECT_EQ(h.messages.shown[0].text, "Error opening file " + folder.pack().levelPath(2));
  h.tap(DIK_R);
  h.run(1000);
  EXPECT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.gameState(), StateTitle);
  // The title still starts a game.
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateReady);
  folder.writeLevel(2, exitLevel());
  std::filesystem::remove(folder.root / "media" / "level99.dat");
  h.tap(DIK_SPACE);
  h.game.state.progress.levelNumber = 2;
  h.run(700);
  h.tap(DIK_SPACE);  // skips to the ending, which is gone
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.messages.shown.back().text,
            "Error opening file " + folder.pack().levelPath(world::kEndingLevel));
}

TEST_F(LevelProgress, BlownUpRobotFliesOffAndLevelRestarts) {
  folder.writeLevel(1, bombLevel());
  startRunning();
  h.run(500);  // two steps to the bomb, one to blow up
  ASSERT_EQ(h.game.state.world.robotExploded, 1);
  const int before = h.game.levelStarts;
  h.keys.press(DIK_DOWN);  // a Down latch left over is cleared by the restart
  h.frame();
  h.keys.release(DIK_DOWN);
  for (int i = 0; i < 100 && h.game.state.world.robotExploded; ++i) h.frame(20);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.levelStarts, before + 1);
  EXPECT_EQ(h.game.state.keys.keyLatch[LatchDown], 0);
  EXPECT_EQ(h.game.state.progress.levelNumber, 1);
}

TEST_F(LevelProgress, QDuringBlowUpFlightStaysOnTitle) {
  folder.writeLevel(1, bombLevel());
  startRunning();
  h.run(500);
  ASSERT_EQ(h.game.state.world.robotExploded, 1);
  h.game.escapeReleased();
  h.tap(DIK_Q);
  h.run(2000);
  EXPECT_EQ(h.gameState(), StateTitle);
}

TEST_F(LevelProgress, QuitPromptTogglesAndQGoesBackToTitle) {
  startRunning();
  h.tap(DIK_Q);  // no prompt: Q does nothing
  EXPECT_EQ(h.gameState(), StateRunning);
  h.game.escapeReleased();
  EXPECT_EQ(h.game.state.keys.quitPrompt, 1);
  h.game.escapeReleased();
  EXPECT_EQ(h.game.state.keys.quitPrompt, 0);
  h.game.escapeReleased();
  h.tap(DIK_Q);
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.game.state.keys.quitPrompt, 0);
  EXPECT_EQ(h.game.state.world.landscapeChoice, 1);
  EXPECT_EQ(h.game.state.world.parallax2Mode, 2);
  EXPECT_EQ(h.window.destroyed, 0);
  h.game.escapeReleased();  // Escape on the title quits
  EXPECT_EQ(h.window.destroyed, 1);
}

TEST_F(LevelProgress, QuitPromptHoldsTheLevelAndItResumesWhereItStood) {
  h.tap(DIK_SPACE);
  h.game.escapeReleased();  // on the ready sign
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateReady);  // Space does not start the level behind the prompt
  h.game.escapeReleased();
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateRunning);
  // The robot walks a step every 150 ms; 100 ms into a step the prompt comes up.
  h.clock.advance(1);
  h.frame(150);
  const int32_t column = h.game.state.world.robotColumn;
  h.frame(100);
  h.game.escapeReleased();
  h.run(5000);
  EXPECT_EQ(h.game.state.world.robotColumn, column);
  EXPECT_EQ(h.game.state.world.levelComplete, 0);
  h.game.escapeReleased();
  h.frame(40);  // 140 ms of the step have passed
  EXPECT_EQ(h.game.state.world.robotColumn, column);
  h.frame(10);  // the step that was due before the prompt
  EXPECT_EQ(h.game.state.world.robotColumn, column + 1);
}

TEST_F(LevelProgress, LogHasOneLinePerStateChangeAndLevelStart) {
  startRunning();
  h.tap(DIK_R);
  h.tap(DIK_R);
  const std::vector<std::string> expected = {
      "state StateTitle level 1", "state StateReady level 1", "state StateRunning level 1",
      "state StateReady level 1", "state StateReady level 1"};
  EXPECT_EQ(h.log, expected);
}

}  // namespace
}  // namespace mdx::app::testing
