// The hint from the solver as the player meets it: the hint key shows where the falling piece
// should land until it lands, a hopeless level says so, a level lost three times in a row
// offers a hint, and the searches answer off the frame loop or at once, alike.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/replay.h"
#include "app/saved_progress.h"
#include "app/worker_hint_search.h"
#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

// Where holeLevel's pillar must land.
constexpr int kHoleColumn = 4;
constexpr int kHoleRow = 11;

class Hints : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeLevel(1, holeLevel());
    folder.writeLevel(2, pillarLevel());
    folder.writeLevel(3, bombLevel());
    // A generous budget: how fast the search is, is the benchmark's business.
    h.game.useHintSearch(search);
    h.game.hintShown = [this](int32_t level) { shownIn.push_back(level); };
  }
  const HintView& hint() const { return h.game.state.hint; }
  // Drops the falling piece fast (Down acts on its release) until it has landed.
  void dropPiece() {
    const int32_t piece = h.game.state.pieces.pieceIndex;
    h.tap(DIK_DOWN);
    for (int i = 0; i < 200 && h.game.state.pieces.pieceIndex == piece; ++i) h.frame(5);
  }

  GameFolder folder{3};
  Harness h{&folder};
  ImmediateHintSearch search{60.0};
  std::vector<int32_t> shownIn;
};

TEST_F(Hints, TheGhostShowsWhereThePieceWinsAndGoesWhenItLands) {
  h.tap(DIK_H);  // on the title: nothing to hint
  EXPECT_FALSE(hint().ghost);
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateReady);
  h.tap(DIK_H);
  ASSERT_TRUE(hint().ghost) << hint().line;
  EXPECT_EQ(hint().column, kHoleColumn);
  EXPECT_EQ(hint().row, kHoleRow);
  EXPECT_TRUE(hint().line.empty());
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateDropping);
  h.tap(DIK_H);  // the same piece: shown already, counted once
  EXPECT_EQ(shownIn, std::vector<int32_t>{1});
  while (h.game.state.pieces.pieceColumn > kHoleColumn) h.tap(DIK_LEFT);
  EXPECT_TRUE(hint().ghost);
  dropPiece();
  EXPECT_FALSE(hint().ghost);
  // Steered where the ghost stood, the piece wins the level.
  h.run(12000);  // the walk, then the exit sequence
  EXPECT_EQ(h.game.state.progress.levelNumber, 2);
}

// Each hint shown counts for its level in the progress file, and the title shows the count.
TEST_F(Hints, HintsShownAreSavedWithTheProgressAndShownOnTheTitle) {
  ProgressFile progress((folder.root / "progress.txt").string(), [](const std::string&) {});
  connectProgress(h.game, progress);
  h.game.beginGame(1);
  h.tap(DIK_H);
  ASSERT_TRUE(hint().ghost);
  EXPECT_EQ(hint().usedPerLevel, (std::vector<int32_t>{0, 1}));
  h.tap(DIK_R);  // the same piece once more after a restart is another hint
  h.tap(DIK_H);
  EXPECT_EQ(hint().usedPerLevel, (std::vector<int32_t>{0, 2}));
  ProgressFile later((folder.root / "progress.txt").string(), [](const std::string&) {});
  later.load();
  EXPECT_EQ(later.progress().hintsUsed("pack"), (std::vector<int32_t>{0, 2}));
}

TEST_F(Hints, AHopelessLevelSaysSoUntilItStartsAgain) {
  h.game.beginGame(2);  // the robot is walled in and there is no exit
  h.tap(DIK_SPACE);
  h.tap(DIK_H);
  EXPECT_FALSE(hint().ghost);
  EXPECT_EQ(hint().line, "No solution from here - press R");
  EXPECT_TRUE(shownIn.empty());
  dropPiece();
  h.frame();
  EXPECT_EQ(hint().line, "No solution from here - press R");
  h.tap(DIK_R);
  EXPECT_TRUE(hint().line.empty());
}

TEST_F(Hints, ASearchOutOfTimeSaysSoAndTheNextPieceForgetsIt) {
  ImmediateHintSearch noTime{0.0};
  h.game.useHintSearch(noTime);
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  h.tap(DIK_H);
  EXPECT_EQ(hint().line, "No hint found in time");
  dropPiece();
  EXPECT_TRUE(hint().line.empty()) << hint().line;
}

TEST_F(Hints, TheThirdLostAttemptInARowOffersAHint) {
  h.game.beginGame(3);  // the robot walks onto a bomb
  const auto loseOnce = [this] {
    h.tap(DIK_SPACE);
    const int starts = h.game.levelStarts;
    for (int i = 0; i < 400 && h.game.levelStarts == starts; ++i) h.frame(20);
    ASSERT_EQ(h.gameState(), StateReady);
  };
  loseOnce();
  h.tap(DIK_R);  // a restart on the ready sign loses nothing
  loseOnce();
  EXPECT_TRUE(hint().offer.empty());
  h.tap(DIK_SPACE);
  h.tap(DIK_R);  // given up while the robot walks: the third loss
  EXPECT_EQ(hint().offer, "Press H for a hint");
  loseOnce();
  EXPECT_EQ(hint().offer, "Press H for a hint");  // offered on every try from now on
  // Another level starts the count again.
  h.game.beginGame(1);
  EXPECT_TRUE(hint().offer.empty());
}

// Polls the way the frame loop does until the answer comes (or a minute has passed).
std::optional<level::Hint> waitForAnswer(HintSearch& search) {
  for (int i = 0; i < 60000; ++i) {
    if (std::optional<level::Hint> answer = search.poll()) return answer;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return std::nullopt;
}

// The worker's answer is the immediate search's; a search called off leaves no answer behind.
TEST(HintSearches, TheWorkerAnswersAsTheImmediateSearchAndCancelForgets) {
  GameFolder folder{1};
  folder.writeLevel(1, holeLevel());
  GameState level;
  level.startLevelFromFile(folder.pack().levelPath(1));
  ImmediateHintSearch immediate{60.0};
  immediate.submit(level);
  const std::optional<level::Hint> expected = immediate.poll();
  ASSERT_TRUE(expected.has_value());
  EXPECT_FALSE(immediate.poll().has_value());  // taken once

  WorkerHintSearch worker{60.0};
  worker.submit(level);
  const std::optional<level::Hint> answer = waitForAnswer(worker);
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->outcome, level::HintOutcome::Place);
  EXPECT_EQ(answer->column, expected->column);
  EXPECT_EQ(answer->row, expected->row);

  worker.submit(level);
  worker.cancel();
  EXPECT_FALSE(worker.poll().has_value());
  worker.submit(level);  // and it searches again after a cancel
  EXPECT_TRUE(waitForAnswer(worker).has_value());
}

}  // namespace
}  // namespace mdx::app::testing
