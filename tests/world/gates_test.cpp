#include <gtest/gtest.h>

#include "world_fixture.h"

namespace mdx::world {
namespace {

class Gates : public testing::WorldTest {};

TEST_F(Gates, LyingBarFillsItsRowAndClearsTheRowsBesideIt) {
  B(10, 5) = kSwingBar;
  for (int r = 9; r <= 11; ++r) {
    for (int c = 5; c <= 7; ++c) A(r, c) = 1;
  }
  game.applyGates();
  for (int c = 5; c <= 7; ++c) {
    EXPECT_EQ(A(10, c), kGateFiller);
    EXPECT_EQ(A(9, c), 0);
    EXPECT_EQ(A(11, c), 0);
  }
  EXPECT_EQ(A(10, 8), 0);
  EXPECT_EQ(A(10, 4), 0);
}

TEST_F(Gates, StandingBarFillsItsMiddleColumnAndSparesTheRobot) {
  B(10, 5) = kSwingBar;
  A(10, 5) = kGateFiller;
  A(10, 7) = kGateFiller;
  A(9, 7) = kRobot;
  game.world.gateState = 2;
  game.applyGates();
  for (int r = 9; r <= 11; ++r) {
    EXPECT_EQ(A(r, 6), kGateFiller);
    EXPECT_EQ(A(r, 5), 0);
  }
  EXPECT_EQ(A(9, 7), kRobot);
  EXPECT_EQ(A(10, 7), 0);
  EXPECT_EQ(A(11, 7), 0);
  game.world.gateState = 3;  // turning back: still standing
  A(10, 5) = 4;
  game.applyGates();
  EXPECT_EQ(A(10, 5), 0);
}

TEST_F(Gates, MarkersAreClearedInRows0To26Only) {
  A(0, 0) = kExplosionMarker;
  A(26, 33) = kExplosionMarker;
  A(27, 4) = kExplosionMarker;
  game.applyGates();
  EXPECT_EQ(A(0, 0), 0);
  EXPECT_EQ(A(26, 33), 0);
  EXPECT_EQ(A(27, 4), kExplosionMarker);
}

TEST_F(Gates, MarkerInsideABarBlockDependsOnWalkOrder) {
  // Before the bar's cell: cleared first, then written by the bar. After it: the bar skips
  // it (999 is never overwritten) and the walk clears it later.
  B(10, 5) = kSwingBar;
  A(9, 6) = kExplosionMarker;
  A(11, 6) = kExplosionMarker;
  A(10, 7) = kExplosionMarker;
  game.applyGates();
  EXPECT_EQ(A(9, 6), 0);
  EXPECT_EQ(A(10, 7), 0);  // skipped by the bar, then cleared
  EXPECT_EQ(A(11, 6), 0);
  game.world.gateState = 2;
  A(9, 6) = kExplosionMarker;
  A(11, 6) = kExplosionMarker;
  game.applyGates();
  EXPECT_EQ(A(9, 6), kGateFiller);
  EXPECT_EQ(A(11, 6), 0);
}

TEST_F(Gates, LaterBarWinsWhereBlocksOverlap) {
  B(10, 5) = kSwingBar;  // lying: row 10, columns 5..7
  B(11, 6) = kSwingBar;  // lying: clears row 10, columns 6..8, and fills row 11
  game.applyGates();
  EXPECT_EQ(A(10, 5), kGateFiller);
  EXPECT_EQ(A(10, 6), 0);
  EXPECT_EQ(A(10, 7), 0);
  EXPECT_EQ(A(11, 6), kGateFiller);
}

TEST_F(Gates, ExitLightFollowsTheLastExitWhileBarsLie) {
  B(4, 6) = kExit;
  B(20, 30) = kExit;
  game.applyGates();
  EXPECT_EQ(game.world.lightX, 19.0f * 30 - 2);
  EXPECT_EQ(game.world.lightY, 19.0f * 20 - 39);
  game.world.lightX = 1.0f;
  game.world.gateState = 2;  // standing bars leave the light where it was
  game.applyGates();
  EXPECT_EQ(game.world.lightX, 1.0f);
  B(27, 1) = kExit;  // row 27 is not visited
  game.world.gateState = 1;
  game.applyGates();
  EXPECT_EQ(game.world.lightY, 19.0f * 20 - 39);
}

TEST_F(Gates, BarsAtTheGridEdgesStayInsideTheLayer) {
  B(0, 10) = kSwingBar;  // its block reaches row -1
  game.world.gateState = 2;
  game.applyGates();
  EXPECT_EQ(A(0, 11), kGateFiller);
  EXPECT_EQ(A(1, 11), kGateFiller);
  B(26, 33) = kSwingBar;  // columns 34 and 35 are columns 0 and 1 of the next row
  game.world.gateState = 0;
  game.applyGates();
  EXPECT_EQ(A(26, 33), kGateFiller);
  EXPECT_EQ(A(27, 0), kGateFiller);
  EXPECT_EQ(A(27, 1), kGateFiller);
}

}  // namespace
}  // namespace mdx::world
