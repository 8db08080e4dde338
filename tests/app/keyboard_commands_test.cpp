// The keyboard commands as the player meets them: release-fires, the title menu, the shared
// confirm latch, steering and the fast drop of pieces, and the keys that only act sometimes.
#include <gtest/gtest.h>

#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

class KeyboardCommands : public ::testing::Test {
 protected:
  void SetUp() override { folder.writeLevel(1, pillarLevel()); }
  // Title -> level 1 -> StateDropping.
  void startDropping() {
    h.tap(DIK_SPACE);
    h.tap(DIK_SPACE);
    ASSERT_EQ(h.gameState(), StateDropping);
  }
  const Pieces& pieces() const { return h.game.state.pieces; }

  GameFolder folder{5};
  Harness h{&folder};
};

TEST_F(KeyboardCommands, KeyActsOnlyWhenReleased) {
  h.keys.press(DIK_DOWN);
  for (int i = 0; i < 10; ++i) h.frame();
  EXPECT_EQ(h.game.state.keys.titleChoice, 1);
  h.keys.release(DIK_DOWN);
  h.frame();
  EXPECT_EQ(h.game.state.keys.titleChoice, 0);
  // A press and release between two polls is never seen.
  h.keys.press(DIK_UP);
  h.keys.release(DIK_UP);
  h.frame();
  EXPECT_EQ(h.game.state.keys.titleChoice, 0);
}

TEST_F(KeyboardCommands, QuitChoiceOnTitleDestroysWindow) {
  h.tap(DIK_DOWN);
  h.tap(DIK_UP);
  h.tap(DIK_DOWN);
  h.tap(DIK_RETURN);
  EXPECT_EQ(h.window.destroyed, 1);
  EXPECT_EQ(h.gameState(), StateTitle);
}

TEST_F(KeyboardCommands, SpaceAndEnterShareOneLatch) {
  h.keys.press(DIK_SPACE);
  h.frame();
  h.keys.press(DIK_RETURN);
  h.keys.release(DIK_SPACE);
  h.frame();
  EXPECT_EQ(h.gameState(), StateTitle);  // Enter still held
  h.keys.release(DIK_RETURN);
  h.frame();
  EXPECT_EQ(h.gameState(), StateReady);  // fired once: not on to StateRunning
}

TEST_F(KeyboardCommands, FailedReadCountsAsAllKeysUp) {
  h.keys.press(DIK_SPACE);
  h.frame();
  h.keys.failReads = 1;  // the key is still held, but the read fails
  h.frame();
  EXPECT_EQ(h.keys.acquires, 1);
  EXPECT_EQ(h.gameState(), StateReady);
}

TEST_F(KeyboardCommands, LeavingReadyWithPiecesEndsTheFrameInDropping) {
  h.tap(DIK_SPACE);
  h.keys.press(DIK_SPACE);
  h.frame();
  h.keys.release(DIK_SPACE);
  h.frame();  // this frame's poll sets StateRunning, its loop moves on at once
  EXPECT_EQ(h.gameState(), StateDropping);
  EXPECT_EQ(h.log.back(), "state StateDropping level 1");
}

TEST_F(KeyboardCommands, LeftAndRightSteerWithinColumnsZeroTo31) {
  startDropping();
  EXPECT_EQ(pieces().pieceColumn, 15);
  h.tap(DIK_LEFT);
  EXPECT_EQ(pieces().pieceColumn, 14);
  for (int i = 0; i < 20; ++i) h.tap(DIK_LEFT);
  EXPECT_EQ(pieces().pieceColumn, 0);
  for (int i = 0; i < 40; ++i) h.tap(DIK_RIGHT);
  EXPECT_EQ(pieces().pieceColumn, 31);
}

TEST_F(KeyboardCommands, SideKeysAreIgnoredOutsideDropping) {
  h.keys.press(DIK_LEFT);
  h.frame();
  EXPECT_EQ(h.game.state.keys.keyLatch[LatchLeft], 0);
  h.keys.release(DIK_LEFT);
  startDropping();
  EXPECT_EQ(pieces().pieceColumn, 15);
}

TEST_F(KeyboardCommands, TimedDropFallsOneRowEvery600ms) {
  startDropping();
  const int32_t row = pieces().pieceRow;
  h.run(590);
  EXPECT_LE(pieces().pieceRow, row + 1);
  h.run(1200);
  EXPECT_GE(pieces().pieceRow, row + 2);
  EXPECT_LE(pieces().pieceRow, row + 3);
}

TEST_F(KeyboardCommands, DownDropsPieceOneRowPerFrameUntilItLands) {
  startDropping();
  h.tap(DIK_DOWN);
  int frames = 0;
  while (h.gameState() == StateDropping && frames < 40) {
    h.frame();
    ++frames;
  }
  EXPECT_LT(frames, 20);  // far faster than 17 timed drops
  EXPECT_EQ(h.gameState(), StateRunning);
  EXPECT_EQ(h.game.state.scene.hudPhase, 1);
  EXPECT_EQ(h.game.state.world.blockLayer[34 * 16 + 16], 30);  // the pillar landed at row 16
  EXPECT_EQ(h.game.state.keys.keyLatch[LatchDown], 0);
}

TEST_F(KeyboardCommands, SideKeySkippedInPollWhereDownEndsDropping) {
  startDropping();
  h.tap(DIK_DOWN);
  while (pieces().pieceRow < 15) h.frame();
  // Left is released in the poll whose drop step lands the last piece.
  h.keys.press(DIK_LEFT);
  h.frame();
  h.keys.release(DIK_LEFT);
  h.frame();
  ASSERT_EQ(h.gameState(), StateRunning);
  EXPECT_EQ(h.game.state.keys.keyLatch[LatchLeft], 1);
  EXPECT_EQ(h.game.state.world.blockLayer[34 * 16 + 16], 30);
}

TEST_F(KeyboardCommands, DownReleaseWaitsForExplosionToEnd) {
  LevelPlan plan = pillarLevel();
  plan.pieceCount = 2;
  plan.pieceTypes = {2, 2};
  plan.devices[{10, 16}] = 12;  // the first pillar blows up on this bomb
  folder.writeLevel(1, plan);
  startDropping();
  h.tap(DIK_DOWN);
  while (h.game.state.world.explosionTicks == 0 && pieces().pieceIndex == 0) h.frame();
  ASSERT_EQ(pieces().pieceIndex, 1);
  h.run(160);  // past the moment a Down still belongs to the piece that blew up
  ASSERT_GT(h.game.state.world.explosionTicks, 0);
  h.tap(DIK_DOWN);  // released while the explosion plays: held back
  const int32_t row = pieces().pieceRow;
  h.frame();
  EXPECT_EQ(pieces().pieceRow, row);
  EXPECT_EQ(h.game.state.keys.keyLatch[LatchDown], 1);
  while (h.game.state.world.explosionTicks != 0) h.frame(20);
  h.frame();  // first poll after the explosion starts the fast drop
  h.frame();
  EXPECT_GE(pieces().pieceRow, row + 2);
}

TEST_F(KeyboardCommands, F2WithoutSoundOnlyClearsItsLatch) {
  h.tap(DIK_F2);
  EXPECT_EQ(h.game.state.keys.keyLatch[LatchMusic], 0);
  h.keys.press(DIK_F2);
  h.keys.press(DIK_SPACE);
  h.frame();
  h.keys.releaseAll();
  h.frame();  // without sound F2 does not hold back Space
  EXPECT_EQ(h.gameState(), StateReady);
}

TEST_F(KeyboardCommands, KeypadEnterConfirmsLikeEnter) {
  h.tap(DIK_NUMPADENTER);
  EXPECT_EQ(h.gameState(), StateReady);
  h.keys.press(DIK_NUMPADENTER);
  h.keys.press(DIK_SPACE);
  h.frame();
  h.keys.release(DIK_SPACE);
  h.frame();
  EXPECT_EQ(h.gameState(), StateReady);  // one latch: keypad Enter still held
  h.keys.release(DIK_NUMPADENTER);
  h.frame();
  EXPECT_EQ(h.gameState(), StateDropping);
}

// A Down press counts only for the piece that falls while it is pressed.
TEST_F(KeyboardCommands, StaleDownNeverDropsALaterPiece) {
  LevelPlan plan = pillarLevel();
  plan.pieceCount = 2;
  plan.pieceTypes = {2, 2};
  folder.writeLevel(1, plan);
  h.tap(DIK_SPACE);
  h.tap(DIK_DOWN);         // on the ready sign
  h.keys.press(DIK_DOWN);  // and pressed again, held while the level starts
  h.frame();
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateDropping);
  h.keys.release(DIK_DOWN);
  for (int i = 0; i < 5; ++i) h.frame();
  EXPECT_LE(pieces().pieceRow, 1);
  h.tap(DIK_LEFT);  // the first piece can still be steered
  EXPECT_EQ(pieces().pieceColumn, 14);
  // Down held while the first piece lands is no press for the second.
  h.tap(DIK_DOWN);
  h.keys.press(DIK_DOWN);
  while (pieces().pieceIndex == 0) h.frame();
  h.keys.release(DIK_DOWN);
  for (int i = 0; i < 5; ++i) h.frame();
  EXPECT_LE(pieces().pieceRow, 1);
  EXPECT_EQ(h.gameState(), StateDropping);
}

// Tab shows the field only while it is held; the ready level waits through it for Space, and
// the prompted level stays held.
TEST_F(KeyboardCommands, PeekLastsWhileHeldAndStartsNothing) {
  h.keys.press(DIK_TAB);
  h.frame();
  EXPECT_EQ(h.game.state.keys.peeking, 0);  // nothing to look at on the title
  h.keys.release(DIK_TAB);
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateReady);
  h.keys.press(DIK_TAB);
  h.run(5000);
  EXPECT_EQ(h.game.state.keys.peeking, 1);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(pieces().pieceRow, 0);
  h.keys.release(DIK_TAB);
  h.frame();
  EXPECT_EQ(h.game.state.keys.peeking, 0);
  EXPECT_EQ(h.gameState(), StateReady);
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateDropping);
  h.game.escapeReleased();
  const int32_t row = pieces().pieceRow;
  h.keys.press(DIK_TAB);
  h.run(3000);
  EXPECT_EQ(h.game.state.keys.peeking, 1);
  EXPECT_EQ(h.game.state.keys.quitPrompt, 1);
  EXPECT_EQ(pieces().pieceRow, row);
}

}  // namespace
}  // namespace mdx::app::testing
