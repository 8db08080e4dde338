// The How to play pages as a player meets them: opened with F1 from the title and from a level,
// paged with Left and Right, closed with Escape or F1 back to where they were opened, with the
// level behind them waiting and its keys kept from it.
#include <gtest/gtest.h>

#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

class HowToPlay : public ::testing::Test {
 protected:
  void SetUp() override { folder.writeLevel(1, pillarLevel()); }
  int32_t page() const { return h.game.state.keys.howToPage; }

  GameFolder folder{5};
  Harness h{&folder};
};

TEST_F(HowToPlay, OpensFromTitlePagesWithinItsPagesAndEscapeReturnsToTitle) {
  h.tap(DIK_F1);
  ASSERT_EQ(page(), 1);
  h.tap(DIK_LEFT);  // the first page stays the first
  EXPECT_EQ(page(), 1);
  for (int32_t expected = 2; expected <= kHowToPages; ++expected) {
    h.tap(DIK_RIGHT);
    EXPECT_EQ(page(), expected);
  }
  h.tap(DIK_RIGHT);  // and the last the last
  EXPECT_EQ(page(), kHowToPages);
  h.tap(DIK_LEFT);
  EXPECT_EQ(page(), kHowToPages - 1);
  // The title's keys wait behind the pages: no menu move, no game started.
  h.tap(DIK_DOWN);
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.game.state.keys.titleChoice, 1);
  h.game.escapeReleased();
  EXPECT_EQ(page(), 0);
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(h.window.destroyed, 0);  // Escape closed the pages, it did not quit
  h.tap(DIK_F1);                     // opened again: from the first page
  EXPECT_EQ(page(), 1);
  h.tap(DIK_F1);  // F1 closes them too
  EXPECT_EQ(page(), 0);
}

TEST_F(HowToPlay, OpensFromLevelOnesReadySignAndTheLevelWaitsForIt) {
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateReady);
  h.tap(DIK_F1);
  ASSERT_EQ(page(), 1);
  h.tap(DIK_RIGHT);
  h.tap(DIK_SPACE);  // does not start the level behind the pages
  h.tap(DIK_R);
  h.run(5000);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(page(), 2);
  h.game.escapeReleased();
  EXPECT_EQ(page(), 0);
  EXPECT_EQ(h.game.state.keys.quitPrompt, 0);  // Escape closed the pages only
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.state.progress.levelNumber, 1);
  EXPECT_EQ(h.game.levelStarts, 1);  // R behind the pages restarted nothing
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateDropping);
}

TEST_F(HowToPlay, FallingPieceAndAnimationHoldWhileOpenAndResumeWhereTheyStood) {
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateDropping);
  h.run(300);
  const int32_t row = h.game.state.pieces.pieceRow;
  const float wave = h.game.state.scene.waveClock;
  h.tap(DIK_F1);
  h.run(6000);
  EXPECT_EQ(h.game.state.pieces.pieceRow, row);
  EXPECT_EQ(h.game.state.scene.waveClock, wave);
  h.tap(DIK_F1);
  EXPECT_EQ(page(), 0);
  // The drop comes 600 ms after the last one, not at once for the time the pages were shown.
  h.run(200);
  EXPECT_EQ(h.game.state.pieces.pieceRow, row);
  h.run(400);
  EXPECT_EQ(h.game.state.pieces.pieceRow, row + 1);
}

TEST_F(HowToPlay, NotOpenedBehindTheQuitPromptNorInTheEnding) {
  h.tap(DIK_SPACE);
  h.game.escapeReleased();
  ASSERT_EQ(h.game.state.keys.quitPrompt, 1);
  h.tap(DIK_F1);
  EXPECT_EQ(page(), 0);
  h.game.escapeReleased();
  h.game.state.progress.gameState = StateEnding;
  h.tap(DIK_F1);
  EXPECT_EQ(page(), 0);
}

}  // namespace
}  // namespace mdx::app::testing
