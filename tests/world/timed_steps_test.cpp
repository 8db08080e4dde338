#include "world/timed_steps.h"

#include <gtest/gtest.h>

#include "world/actions.h"
#include "world_fixture.h"

namespace mdx::world {
namespace {

class TimedSteps : public testing::WorldTest {};

TEST_F(TimedSteps, SwingBarTurnsUpInNineRunsAndBackInNineMore) {
  B(10, 5) = kSwingBar;
  game.applyGates();
  game.world.gateState = 1;
  for (int i = 0; i < 8; ++i) swingBarStep(game);
  EXPECT_EQ(game.world.gateState, 1);
  EXPECT_EQ(A(10, 5), kGateFiller);  // still solid lying while it turns
  swingBarStep(game);
  EXPECT_EQ(game.world.gateState, 2);
  EXPECT_EQ(game.scene.gateTurn, 45.0f);
  EXPECT_EQ(A(10, 5), 0);
  EXPECT_EQ(A(9, 6), kGateFiller);
  EXPECT_FLOAT_EQ(game.scene.gateAngle, 45.0f * 3.141592654f / 90.0f);
  swingBarStep(game);  // standing still: nothing turns
  EXPECT_EQ(game.scene.gateTurn, 45.0f);
  game.world.gateState = 3;
  for (int i = 0; i < 8; ++i) swingBarStep(game);
  EXPECT_EQ(game.world.gateState, 3);
  swingBarStep(game);
  EXPECT_EQ(game.world.gateState, 0);
  EXPECT_EQ(game.scene.gateTurn, 0.0f);
  EXPECT_EQ(A(10, 5), kGateFiller);
  EXPECT_EQ(game.scene.gateAngle, 0.0f);
}

TEST_F(TimedSteps, ExplosionEndsAfterTwentyTicksAndClearsMarkers) {
  A(5, 5) = kExplosionMarker;
  explosionStep(game);  // nothing runs without an explosion
  EXPECT_EQ(game.scene.explosionAngle, 0.0f);
  game.world.explosionTicks = 1;
  for (int i = 0; i < 19; ++i) explosionStep(game);
  EXPECT_EQ(game.world.explosionTicks, 20);
  EXPECT_EQ(A(5, 5), kExplosionMarker);
  explosionStep(game);
  EXPECT_EQ(game.world.explosionTicks, 0);
  EXPECT_EQ(A(5, 5), 0);
  EXPECT_EQ(game.scene.explosionAngle, -5.0f);
}

TEST_F(TimedSteps, DropPlaysTheMoveSoundAndAdvancesEvenAfterALanding) {
  game.world.pieceTypes = {2, 2};
  game.world.pieceCount = 2;
  game.setupPiece();
  A(4, 16) = 1;
  dropStep(game);
  EXPECT_EQ(A(0, 16), 30);
  EXPECT_EQ(game.pieces.pieceIndex, 1);
  EXPECT_EQ(game.pieces.pieceRow, 1);  // the new piece already moved one row
  EXPECT_EQ(takeSounds(), (std::vector<std::string>{"media/move.wav", "media/stick.wav"}));
}

TEST_F(TimedSteps, BottomRowRuleStartsTheNextPiece) {
  game.world.pieceTypes = {0, 2};
  game.pieces.pieceRow = 27;
  bottomRowStep(game);
  EXPECT_EQ(game.pieces.pieceIndex, 0);
  game.pieces.pieceRow = 28;
  bottomRowStep(game);
  EXPECT_EQ(game.pieces.pieceIndex, 1);
  EXPECT_EQ(game.pieces.pieceRow, 0);  // set to 27, then the new piece starts at the top
  EXPECT_EQ(game.pieces.pieceShape[0][1], 30);
}

TEST_F(TimedSteps, SideMovesStayWithinColumns0To31) {
  game.world.pieceTypes = {0};
  game.setupPiece();
  game.pieces.pieceColumn = 0;
  sideMoveStep(game, true);
  EXPECT_EQ(game.pieces.pieceColumn, 0);
  game.pieces.pieceColumn = 31;
  sideMoveStep(game, false);
  EXPECT_EQ(game.pieces.pieceColumn, 31);
  sideMoveStep(game, true);
  EXPECT_EQ(game.pieces.pieceColumn, 30);
  EXPECT_EQ(game.pieces.pieceCommand, 0);
}

TEST_F(TimedSteps, RefusedSideMoveLeavesTheColumn) {
  game.world.pieceTypes = {2};
  game.setupPiece();
  A(2, 15) = 1;  // left of the pillar's column 16
  sideMoveStep(game, true);
  EXPECT_EQ(game.pieces.pieceColumn, 15);
  EXPECT_EQ(game.pieces.pieceMoveAllowed, 0);
  sideMoveStep(game, false);
  EXPECT_EQ(game.pieces.pieceColumn, 16);
}

TEST_F(TimedSteps, RobotFrameFollowsTheMove) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  A(11, 6) = 1;
  worldStepWithFrame(game);
  EXPECT_EQ(game.world.robotFrame, 1);
  worldStepWithFrame(game);  // walks off the edge of the floor
  EXPECT_EQ(game.world.robotFrame, 0);
  worldStepWithFrame(game);  // falls
  EXPECT_EQ(game.world.robotFrame, 2);
  game.world.robotFrame = 3;
  game.world.robotFalling = 0;
  game.world.blockLayer.fill(0);
  worldStepWithFrame(game);
  EXPECT_EQ(game.world.robotFrame, 3);
}

TEST(Actions, LettersPerformTheirStepsAndUnknownLettersAreRefused) {
  RecordingSampleSink sink;
  GameState game(&sink, nullptr);
  game.options.soundEnabled = 1;
  game.world.pieceTypes = {2};
  game.world.pieceCount = 1;
  game.setupPiece();
  EXPECT_TRUE(performAction(game, 'l'));
  EXPECT_EQ(game.pieces.pieceColumn, 14);
  EXPECT_TRUE(performAction(game, 'r'));
  EXPECT_TRUE(performAction(game, 'r'));
  EXPECT_EQ(game.pieces.pieceColumn, 16);
  EXPECT_TRUE(performAction(game, 'd'));
  EXPECT_EQ(game.pieces.pieceRow, 1);
  game.world.gateState = 1;
  EXPECT_TRUE(performAction(game, 'g'));
  EXPECT_EQ(game.scene.gateTurn, 5.0f);
  game.world.explosionTicks = 1;
  EXPECT_TRUE(performAction(game, 'x'));
  EXPECT_EQ(game.world.explosionTicks, 2);
  game.world.blockLayer[3] = kExplosionMarker;
  EXPECT_TRUE(performAction(game, 'a'));
  EXPECT_EQ(game.world.blockLayer[3], 0);
  const GameState before = game;
  EXPECT_FALSE(performAction(game, 'q'));
  EXPECT_FALSE(performAction(game, 'L'));
  EXPECT_EQ(game.pieces.pieceColumn, before.pieces.pieceColumn);
  EXPECT_TRUE(isValidActionString("lrdwgxa"));
  EXPECT_TRUE(isValidActionString(""));
  EXPECT_FALSE(isValidActionString("dd d"));
}

TEST(Actions, WorldStepWaitsWhileTheLevelIsComplete) {
  GameState game;
  game.world.blockLayer[cellIndex(5, 5)] = kRobot;
  game.world.robotRow = 5;
  game.world.robotColumn = 5;
  game.world.levelComplete = 1;
  performAction(game, 'w');
  EXPECT_EQ(game.world.blockLayer[cellIndex(5, 5)], kRobot);
  game.world.levelComplete = 0;
  performAction(game, 'w');
  EXPECT_EQ(game.world.blockLayer[cellIndex(6, 5)], kRobot);
  EXPECT_EQ(game.world.robotFrame, 2);
}

}  // namespace
}  // namespace mdx::world
