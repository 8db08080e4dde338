#include <gtest/gtest.h>

#include "world_fixture.h"

namespace mdx::world {
namespace {

using Sounds = std::vector<std::string>;
const std::string kRun = "media/run01.wav";
const std::string kButton = "media/button01.wav";

class WorldStep : public testing::WorldTest {
 protected:
  void step() { game.worldStep(); }
};

TEST_F(WorldStep, RobotWalksRightOnSolidGround) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  step();
  expectRobotAt(10, 6);
  EXPECT_EQ(A(10, 5), 0);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
  EXPECT_EQ(game.world.robotFalling, 0);
}

TEST_F(WorldStep, WallOrLowCeilingStopsTheRobotForGood) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  A(10, 6) = 1;
  for (int i = 0; i < 3; ++i) step();
  expectRobotAt(10, 5);
  A(10, 6) = 0;
  A(9, 6) = 1;  // the robot is two cells tall
  step();
  expectRobotAt(10, 5);
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(WorldStep, FallsWrapsFromTheBottomAndFallsOn) {
  placeRobot(25, 3);
  step();
  expectRobotAt(26, 3);
  EXPECT_EQ(game.world.robotFalling, 1);
  step();
  expectRobotAt(0, 3);
  EXPECT_EQ(A(26, 3), 0);
  EXPECT_EQ(game.world.robotFalling, 1);
  step();
  expectRobotAt(1, 3);
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(WorldStep, StandingRobotInRow26WrapsWhenRow27IsEmpty) {
  placeRobot(26, 3);
  A(0, 3) = 5;  // overwritten, whatever it held
  step();
  expectRobotAt(0, 3);
  EXPECT_EQ(game.world.robotFalling, 1);
}

TEST_F(WorldStep, FallingRobotLandsAndStepsRightInTheSameStep) {
  placeRobot(10, 5);
  game.world.robotFalling = 1;
  A(11, 5) = 1;
  step();
  expectRobotAt(10, 6);
  EXPECT_EQ(game.world.robotFalling, 0);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
  // Against a wall it only lands.
  game.world.blockLayer.fill(0);
  placeRobot(10, 20);
  A(10, 21) = 1;
  A(11, 20) = 1;
  game.world.robotFalling = 1;
  step();
  expectRobotAt(10, 20);
  EXPECT_EQ(game.world.robotFalling, 0);
}

TEST_F(WorldStep, RightEdgeWrapsToColumnZeroOverwritingIt) {
  placeRobot(10, 33);
  A(10, 0) = 7;
  A(11, 33) = 1;
  step();
  expectRobotAt(10, 0);
  EXPECT_EQ(A(10, 33), 0);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
}

TEST_F(WorldStep, WalkingIntoTheExitCompletesInTheSameStep) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  B(10, 6) = kExit;
  step();
  expectRobotAt(10, 6);
  EXPECT_EQ(game.world.levelComplete, 1);
  EXPECT_EQ(game.world.robotFrame, 3);
  EXPECT_EQ(takeSounds(), (Sounds{kRun, "media/fin.wav"}));
  step();  // completion is reported once
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(WorldStep, FallingIntoTheExitCompletesInTheSameStep) {
  placeRobot(10, 5);
  B(11, 5) = kExit;
  step();
  expectRobotAt(11, 5);
  EXPECT_EQ(game.world.levelComplete, 1);
  EXPECT_EQ(game.world.robotFalling, 0);
}

TEST_F(WorldStep, ClimbsAStairUpAndRight) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  B(10, 6) = kStairA;
  step();
  expectRobotAt(9, 6);
  EXPECT_EQ(game.world.robotClimbing, 1);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
  // Standing on the stair it steps right; climbing is cleared at the next step.
  B(10, 6) = kStairB;
  step();
  expectRobotAt(9, 7);
  EXPECT_EQ(game.world.robotClimbing, 0);
}

TEST_F(WorldStep, ClimbNeedsHeadroomTwoRowsUp) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  B(10, 6) = kStairA;
  A(8, 6) = 1;
  step();
  // No climb: the walk rule moves it into the stair's cell instead.
  expectRobotAt(10, 6);
  EXPECT_EQ(game.world.robotClimbing, 0);
}

TEST_F(WorldStep, BombBelowBlowsTheRobotUp) {
  placeRobot(10, 5);
  B(11, 5) = kBomb;
  step();
  EXPECT_EQ(A(10, 5), kExplosionMarker);
  EXPECT_EQ(B(11, 5), 0);
  EXPECT_EQ(game.world.robotExploded, 1);
  EXPECT_EQ(game.world.explosionTicks, 1);
  EXPECT_EQ(game.world.robotExplosionX, 95.0f);
  EXPECT_EQ(game.world.robotExplosionY, 19.0f * 10 - 26);
  EXPECT_EQ(takeSounds(), Sounds{"media/explode.wav"});
  game.applyGates();
  EXPECT_EQ(A(10, 5), 0);
}

TEST_F(WorldStep, BombInTheRobotsCellBlowsItUp) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  B(10, 5) = kBomb;
  game.world.robotFalling = 1;
  step();
  EXPECT_EQ(A(10, 5), kExplosionMarker);
  EXPECT_EQ(B(10, 5), 0);
  EXPECT_EQ(game.world.robotFalling, 0);
}

TEST_F(WorldStep, ConveyorCarriesTheRobotLeft) {
  placeRobot(10, 5);
  A(11, 5) = 43;
  step();
  expectRobotAt(10, 4);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
  A(9, 3) = 1;  // the cell above the target must be free too; then the robot walks
  A(11, 4) = 42;
  A(11, 5) = 1;
  step();
  expectRobotAt(10, 5);
}

TEST_F(WorldStep, StillConveyorPicturesCarryNothing) {
  for (int32_t still : {49, 50, 51}) {
    game.world.blockLayer.fill(0);
    placeRobot(10, 5);
    A(11, 5) = still;
    A(10, 6) = 1;  // and a wall keeps the robot from walking on
    step();
    expectRobotAt(10, 5);
    EXPECT_TRUE(takeSounds().empty()) << still;
  }
}

TEST_F(WorldStep, ConveyorAtColumnZeroMovesToColumn33OfTheRowAbove) {
  placeRobot(10, 0);
  A(11, 0) = 44;
  step();
  expectRobotAt(9, 33);
  EXPECT_EQ(A(10, 0), 0);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
  // At the very first cell there is no cell to the left: the robot stays.
  game.world.blockLayer.fill(0);
  placeRobot(0, 0);
  A(1, 0) = 44;
  A(0, 1) = 1;  // and a wall keeps it from walking
  step();
  expectRobotAt(0, 0);
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(WorldStep, BarSwitchStartsATurnWithoutMoving) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  A(10, 6) = 1;
  B(10, 5) = kBarSwitch;
  step();
  EXPECT_EQ(game.world.gateState, 1);
  EXPECT_EQ(takeSounds(), Sounds{kButton});
  step();  // mid-turn the state stays, the sound plays again
  EXPECT_EQ(game.world.gateState, 1);
  EXPECT_EQ(takeSounds(), Sounds{kButton});
  game.world.gateState = 2;
  step();
  EXPECT_EQ(game.world.gateState, 3);
  game.world.liftCounter = 3;  // at the top of a lift ride the switch is not worked
  game.world.gateState = 0;
  step();
  EXPECT_EQ(game.world.gateState, 0);
}

TEST_F(WorldStep, WalkingOntoTheSwitchWorksItInTheSameStep) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  A(11, 6) = 1;
  B(10, 6) = kBarSwitch;
  step();
  expectRobotAt(10, 6);
  EXPECT_EQ(game.world.gateState, 1);
  EXPECT_EQ(takeSounds(), (Sounds{kRun, kButton}));
}

TEST_F(WorldStep, LiftButtonPlaysRunThenButton) {
  placeRobot(10, 5);
  A(10, 6) = 3;  // overwritten, whatever it held
  B(10, 6) = kLiftButton;
  step();
  expectRobotAt(10, 6);
  EXPECT_EQ(game.world.liftReturnTimer, 4);
  EXPECT_EQ(takeSounds(), (Sounds{kRun, kButton}));
}

TEST_F(WorldStep, RidesALiftThreeRowsThenStepsOff) {
  for (int r = 14; r <= 17; ++r) B(r, 5) = kLiftShaft;
  B(18, 5) = kLiftCar;
  placeRobot(18, 5);
  A(19, 5) = 1;
  for (int ride = 1; ride <= 3; ++ride) {
    step();
    expectRobotAt(18 - ride, 5);
    EXPECT_EQ(B(18 - ride, 5), kLiftCar);
    EXPECT_EQ(B(19 - ride, 5), kLiftShaft);
    EXPECT_EQ(game.world.liftCounter, ride);
  }
  EXPECT_EQ(takeSounds(), (Sounds{"media/lift01.wav", "media/lift01.wav", "media/lift01.wav"}));
  step();
  expectRobotAt(15, 6);
  EXPECT_EQ(game.world.liftCounter, 4);
  EXPECT_EQ(takeSounds(), Sounds{kRun});
  step();
  EXPECT_EQ(game.world.liftCounter, 0);
}

TEST_F(WorldStep, BlockedAtTheLiftTopTheRobotFallsBack) {
  for (int r = 14; r <= 17; ++r) B(r, 5) = kLiftShaft;
  B(18, 5) = kLiftCar;
  A(15, 6) = 1;
  A(19, 5) = 1;
  placeRobot(18, 5);
  for (int i = 0; i < 4; ++i) step();
  expectRobotAt(16, 5);  // the fourth step could not step off; it fell one row
  EXPECT_EQ(game.world.robotFalling, 1);
}

TEST_F(WorldStep, CallButtonSinksCarsInTheSecondThirdAndFourthStep) {
  for (int r = 5; r <= 9; ++r) B(r, 20) = kLiftShaft;
  B(4, 20) = kLiftCar;
  game.world.liftReturnTimer = 4;
  step();
  EXPECT_EQ(B(4, 20), kLiftCar);  // 4 -> 3: no sinking
  for (int row = 5; row <= 7; ++row) {
    step();
    EXPECT_EQ(B(row, 20), kLiftCar);
    EXPECT_EQ(B(row - 1, 20), kLiftShaft);
  }
  step();
  EXPECT_EQ(B(7, 20), kLiftCar);
  EXPECT_EQ(game.world.liftReturnTimer, 0);
}

TEST_F(WorldStep, FallingRobotLandsOnACarOrPressesAButtonBelow) {
  placeRobot(10, 5);
  game.world.robotFalling = 1;
  B(11, 5) = kLiftCar;
  step();
  expectRobotAt(11, 5);
  EXPECT_EQ(game.world.robotFalling, 0);
  EXPECT_TRUE(takeSounds().empty());

  game.world.blockLayer.fill(0);
  placeRobot(10, 20);
  game.world.robotFalling = 1;
  B(11, 20) = kLiftButton;
  step();
  expectRobotAt(11, 20);
  EXPECT_EQ(game.world.liftReturnTimer, 4);
  EXPECT_EQ(takeSounds(), Sounds{kButton});
}

TEST_F(WorldStep, OnlyOneRobotMovesPerStep) {
  placeRobot(10, 5);
  A(11, 5) = 1;
  placeRobot(20, 5);
  A(21, 5) = 1;
  game.world.robotColumn = 5;
  step();
  EXPECT_EQ(A(10, 6), kRobot);
  EXPECT_EQ(A(20, 5), kRobot);
}

TEST_F(WorldStep, EffectsAreSilentWithSoundOff) {
  game.options.soundEnabled = 0;
  placeRobot(10, 5);
  A(11, 5) = 1;
  step();
  expectRobotAt(10, 6);
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(WorldStep, RulesAtTheTopRowNeverLeaveTheGrid) {
  // A robot in row 0 riding a car would move above the grid: it stays and the car stays.
  placeRobot(0, 5);
  B(0, 5) = kLiftCar;
  A(1, 5) = 1;
  A(0, 6) = 1;
  step();
  expectRobotAt(0, 5);
  EXPECT_EQ(B(0, 5), kLiftCar);
  EXPECT_EQ(game.world.liftCounter, 0);
  // A stair in row 0 cannot be climbed; the robot steps into the stair's cell instead.
  game.world.deviceLayer.fill(0);
  A(0, 6) = 0;
  B(0, 6) = kStairA;
  step();
  expectRobotAt(0, 6);
  EXPECT_EQ(game.world.robotClimbing, 0);
}

TEST_F(WorldStep, RobotInRow27StandsOnNothingAndWraps) {
  placeRobot(27, 8);
  step();
  expectRobotAt(0, 8);
  EXPECT_EQ(game.world.robotFalling, 1);
}

}  // namespace
}  // namespace mdx::world
