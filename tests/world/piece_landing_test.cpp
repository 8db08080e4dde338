#include <gtest/gtest.h>

#include "world/timed_steps.h"
#include "world_fixture.h"

namespace mdx::world {
namespace {

class Pieces : public testing::WorldTest {
 protected:
  // Makes the level hand out the given types and shows the first at column x, row y.
  void start(std::vector<int32_t> types, int x, int y) {
    for (std::size_t i = 0; i < types.size(); ++i) game.world.pieceTypes[i] = types[i];
    game.world.pieceCount = static_cast<int32_t>(types.size());
    game.pieces.pieceIndex = 0;
    game.setupPiece();
    game.pieces.pieceColumn = x;
    game.pieces.pieceRow = y;
  }

  void fall() {
    game.pieces.pieceCommand = kPieceFallStep;
    game.handlePieceCommand();
  }

  bool moveAllowed(PieceCommand command) {
    game.pieces.pieceCommand = command;
    game.pieces.pieceMoveAllowed = 1;
    game.handlePieceCommand();
    EXPECT_EQ(game.pieces.pieceCommand, kPieceCommandDone);
    return game.pieces.pieceMoveAllowed == 1;
  }

  void expectNextPieceAtTop(int index) {
    EXPECT_EQ(game.pieces.pieceIndex, index);
    EXPECT_EQ(game.pieces.pieceColumn, 15);
    EXPECT_EQ(game.pieces.pieceRow, 0);
  }
};

TEST_F(Pieces, SetupShowsTheShapeOfTheType) {
  start({1, 2, 7}, 3, 9);
  game.setupPiece();
  EXPECT_EQ(game.pieces.pieceColumn, 15);
  EXPECT_EQ(game.pieces.pieceShapeInBlocks, 0);
  EXPECT_EQ(game.pieces.pieceShape[0][1], 3);
  EXPECT_EQ(game.pieces.pieceShape[3][1], 2);
  game.pieces.pieceIndex = 2;  // type 7: the shape stays as it was, the position resets
  game.pieces.pieceRow = 5;
  game.setupPiece();
  EXPECT_EQ(game.pieces.pieceShape[3][1], 2);
  EXPECT_EQ(game.pieces.pieceRow, 0);
  game.pieces.pieceIndex = 12;  // beyond the ten stored types: type 0, nothing shown
  game.setupPiece();
  EXPECT_EQ(game.pieces.pieceShape, (std::array<std::array<int32_t, 3>, 4>{}));
  EXPECT_EQ(game.pieces.pieceShapeInBlocks, 1);
}

TEST_F(Pieces, PillarLandsOnBlockBelow) {
  A(20, 11) = 1;
  start({2, 3}, 10, 16);
  game.keys.keyLatch[LatchDown] = 1;
  fall();
  EXPECT_EQ(A(16, 11), 30);
  EXPECT_EQ(A(17, 11), 5);
  EXPECT_EQ(A(19, 11), 5);
  EXPECT_EQ(game.keys.keyLatch[LatchDown], 0);
  EXPECT_EQ(takeSounds(), std::vector<std::string>{"media/stick.wav"});
  expectNextPieceAtTop(1);
  EXPECT_EQ(game.pieces.pieceShape[2][0], 2);
}

TEST_F(Pieces, PillarFallsFreeOneStepAtATime) {
  A(21, 11) = 1;
  start({2}, 10, 16);
  fall();
  EXPECT_EQ(game.pieces.pieceIndex, 0);
  EXPECT_EQ(game.pieces.pieceRow, 16);  // the caller moves the row
  EXPECT_EQ(countCells(game.world.blockLayer, 30), 0);
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(Pieces, LiftStopsOnAStairOrAboveAnExitAndWritesOnlyDevices) {
  B(12, 5) = kStairA;
  start({1}, 4, 8);
  const LevelGrid blocks = game.world.blockLayer;
  fall();
  EXPECT_EQ(B(8, 5), kLiftShaft);
  EXPECT_EQ(B(10, 5), kLiftShaft);
  EXPECT_EQ(B(11, 5), kLiftCar);
  EXPECT_EQ(game.world.blockLayer, blocks);
  EXPECT_EQ(game.pieces.pieceIndex, 1);

  B(14, 21) = kExit;  // the exit one row further down
  start({1}, 20, 9);
  fall();
  EXPECT_EQ(B(12, 21), kLiftCar);
}

TEST_F(Pieces, StairPieceLandsOnItsArmThoughTheStemHangsFree) {
  A(13, 4) = 1;  // under the left arm: A(Y+3, X)
  start({3}, 4, 10);
  fall();
  EXPECT_EQ(A(12, 4), 2);
  EXPECT_EQ(A(12, 5), 16);
  EXPECT_EQ(A(12, 6), 4);
  EXPECT_EQ(A(13, 5), 17);
}

TEST_F(Pieces, TypeFourAndFiveLandOnTheirOwnCells) {
  A(13, 4) = 1;  // type 4 has no left arm: this block does not stop it
  start({4}, 4, 10);
  fall();
  EXPECT_EQ(game.pieces.pieceIndex, 0);
  A(13, 6) = 1;
  fall();
  EXPECT_EQ(A(12, 5), 10);
  EXPECT_EQ(A(12, 6), 4);
  EXPECT_EQ(A(12, 4), 0);  // type 4 writes no left arm
  EXPECT_EQ(A(13, 5), 17);

  A(18, 22) = 1;  // type 5 has no right arm
  start({5}, 20, 15);
  fall();
  EXPECT_EQ(game.pieces.pieceIndex, 0);
  A(18, 20) = 1;
  fall();
  EXPECT_EQ(A(17, 20), 2);
  EXPECT_EQ(A(17, 21), 11);
  EXPECT_EQ(A(18, 21), 17);
}

TEST_F(Pieces, TypeFourOverABombBlowsUp) {
  B(13, 6) = kBomb;  // B(Y+3, X+2)
  start({4, 2}, 4, 10);
  fall();
  EXPECT_EQ(A(12, 5), kExplosionMarker);
  EXPECT_EQ(A(12, 6), kExplosionMarker);
  EXPECT_EQ(A(13, 5), kExplosionMarker);
  EXPECT_EQ(B(13, 6), 0);
  EXPECT_EQ(game.world.explosionTicks, 1);
  EXPECT_EQ(takeSounds(), std::vector<std::string>{"media/explode.wav"});
  expectNextPieceAtTop(1);
}

TEST_F(Pieces, LiftAndPillarBlowUpOnABombUnderTheirFoot) {
  B(12, 5) = kBomb;
  A(9, 5) = 7;
  start({1}, 4, 8);
  fall();
  EXPECT_EQ(A(8, 5), 0);
  EXPECT_EQ(A(9, 5), 0);
  EXPECT_EQ(A(11, 5), kExplosionMarker);
  EXPECT_EQ(B(12, 5), 0);
  EXPECT_EQ(B(11, 5), 0);  // nothing written into the devices

  B(12, 5) = kBomb;
  start({2}, 4, 8);
  fall();
  for (int r = 8; r <= 11; ++r) EXPECT_EQ(A(r, 5), kExplosionMarker);
  EXPECT_EQ(B(12, 5), 0);
}

TEST_F(Pieces, SolidGroundWinsOverABomb) {
  A(20, 11) = 1;
  B(20, 11) = kBomb;
  start({2, 0}, 10, 16);
  fall();
  EXPECT_EQ(A(16, 11), 30);
  EXPECT_EQ(B(20, 11), kBomb);  // the pillar landed; the next piece is type 0
}

TEST_F(Pieces, PieceBelowRow24FallsOutSilently) {
  start({2, 2}, 10, 25);
  game.keys.keyLatch[LatchDown] = 1;
  fall();
  expectNextPieceAtTop(1);
  EXPECT_EQ(game.keys.keyLatch[LatchDown], 0);
  EXPECT_TRUE(takeSounds().empty());
  EXPECT_EQ(countCells(game.world.blockLayer, 0), 952);
}

TEST_F(Pieces, TypeZeroFallsThroughEverything) {
  start({0, 2}, 10, 0);
  A(4, 11) = 1;
  B(4, 11) = kBomb;
  for (int row = 0; row <= 24; ++row) {
    fall();
    ASSERT_EQ(game.pieces.pieceIndex, 0);
    game.pieces.pieceRow += 1;
  }
  fall();  // row 25: dropped
  EXPECT_EQ(game.pieces.pieceIndex, 1);
  EXPECT_EQ(countCells(game.world.blockLayer, 0), 951);
}

TEST_F(Pieces, NextPieceIsTestedInTheSameStepAfterAPlacement) {
  // A lift lands; the next piece, a pillar, appears at (15, 0) straight above a block at
  // (4, 16), so the pillar checks that come later in the same step land it at once.
  A(12, 5) = 1;
  A(4, 16) = 1;
  start({1, 2, 1}, 4, 8);
  fall();
  EXPECT_EQ(B(11, 5), kLiftCar);
  EXPECT_EQ(A(0, 16), 30);
  EXPECT_EQ(A(3, 16), 5);
  expectNextPieceAtTop(2);
  EXPECT_EQ(takeSounds(), (std::vector<std::string>{"media/stick.wav", "media/stick.wav"}));
}

TEST_F(Pieces, EarlierTypeChecksAreNotMadeAgainForTheNextPiece) {
  // A pillar lands; the next pillar above a block at the top is only tested in the next step.
  A(20, 11) = 1;
  A(4, 16) = 1;
  start({2, 2}, 10, 16);
  fall();
  expectNextPieceAtTop(1);
  EXPECT_EQ(A(0, 16), 0);
  fall();
  EXPECT_EQ(A(0, 16), 30);
}

TEST_F(Pieces, FallenOutPieceIsFollowedByTheNextPiecesChecks) {
  A(4, 16) = 1;
  start({0, 2}, 10, 25);
  fall();
  EXPECT_EQ(A(0, 16), 30);  // the new pillar landed at the top in the same step
  EXPECT_EQ(game.pieces.pieceIndex, 2);
}

TEST_F(Pieces, LaterChecksOfTheSameTypeSeeTheNewPiece) {
  // A lift lands on a block; the next lift appears at (15, 0) above a stair at (4, 16):
  // the stair check of the same lift block lands it at once.
  A(12, 5) = 1;
  B(4, 16) = kStairB;
  start({1, 1, 2}, 4, 8);
  fall();
  EXPECT_EQ(B(11, 5), kLiftCar);
  EXPECT_EQ(B(3, 16), kLiftCar);
  EXPECT_EQ(game.pieces.pieceIndex, 2);
}

TEST_F(Pieces, PillarSideMoveIsRefusedByAnyOfItsFourNeighbours) {
  start({2}, 10, 5);
  EXPECT_TRUE(moveAllowed(kPieceTestLeft));
  EXPECT_TRUE(moveAllowed(kPieceTestRight));
  A(8, 10) = 1;
  EXPECT_FALSE(moveAllowed(kPieceTestLeft));
  EXPECT_TRUE(moveAllowed(kPieceTestRight));
  B(5, 12) = kBomb;
  EXPECT_FALSE(moveAllowed(kPieceTestRight));
  B(5, 12) = kStairA;  // only bombs among the devices
  EXPECT_TRUE(moveAllowed(kPieceTestRight));
  EXPECT_EQ(game.pieces.pieceColumn, 10);  // the handler never moves the piece itself
}

TEST_F(Pieces, LiftSideMoveIsRefusedOnlyByItsCarRow) {
  start({1}, 10, 5);
  A(5, 10) = 1;  // beside the shaft
  EXPECT_TRUE(moveAllowed(kPieceTestLeft));
  A(8, 10) = 1;  // beside the car
  EXPECT_FALSE(moveAllowed(kPieceTestLeft));
  B(9, 12) = kExit;  // an exit under the right neighbour of the car
  EXPECT_FALSE(moveAllowed(kPieceTestRight));
  B(9, 12) = 0;
  B(8, 12) = kStairB;
  EXPECT_FALSE(moveAllowed(kPieceTestRight));
}

TEST_F(Pieces, StairPiecesTestTheirArmsForSideMoves) {
  start({3}, 10, 5);
  A(7, 9) = 1;  // A(Y+2, X-1)
  EXPECT_FALSE(moveAllowed(kPieceTestLeft));
  A(7, 9) = 0;
  B(8, 12) = kBomb;  // B(Y+3, X+2)
  EXPECT_FALSE(moveAllowed(kPieceTestRight));
  B(8, 12) = 0;
  start({5}, 10, 5);
  A(7, 12) = 1;  // type 5's right arm ends at column X+1
  EXPECT_FALSE(moveAllowed(kPieceTestRight));
  start({4}, 10, 5);
  EXPECT_TRUE(moveAllowed(kPieceTestRight));  // type 4 looks at X+3 on row Y+2
  A(7, 13) = 1;
  EXPECT_FALSE(moveAllowed(kPieceTestRight));
}

TEST_F(Pieces, UnknownCommandOnlyResetsItself) {
  start({2}, 10, 5);
  A(9, 11) = 1;
  game.pieces.pieceCommand = 7;
  game.handlePieceCommand();
  EXPECT_EQ(game.pieces.pieceCommand, 0);
  EXPECT_EQ(game.pieces.pieceIndex, 0);
}

TEST_F(Pieces, RobotFillerAndMarkersAreSolidToPieces) {
  for (int32_t solid : {kRobot, kGateFiller, kExplosionMarker}) {
    game.world.blockLayer.fill(0);
    A(10, 11) = solid;
    start({2}, 10, 6);
    fall();
    EXPECT_EQ(A(6, 11), 30) << solid;
  }
}

TEST_F(Pieces, StepsNearTheBottomNeverReachOutsideTheGrid) {
  start({3}, 0, 24);  // tests rows 27 and 28; row 28 does not exist and reads empty
  fall();
  EXPECT_EQ(game.pieces.pieceIndex, 0);
  A(27, 1) = 1;
  fall();
  EXPECT_EQ(A(26, 0), 2);
  EXPECT_EQ(A(27, 1), 17);
}

}  // namespace
}  // namespace mdx::world
