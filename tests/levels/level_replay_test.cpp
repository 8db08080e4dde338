// Every shipped level played through the whole game loop: the solver's key presses go in as
// keyboard releases between the timed drops, a virtual clock drives the frame loop's timers,
// and the robot must reach the exit and the game go on to the next level (or the ending).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "app/game.h"
#include "level/solve_report.h"
#include "shipped_levels.h"

namespace mdx::level::testing {
namespace {

using app::DIK_LEFT;
using app::DIK_RIGHT;
using app::DIK_SPACE;

// The game with a scripted keyboard and a virtual clock, run from the built game folder.
class LoopDriver {
 public:
  LoopDriver() {
    game.startUp();
    game.windowActive = 1;
  }

  void frame(uint32_t ms) {
    clock.advance(ms);
    game.runFrame();
  }
  // A key goes down in one frame and comes up in the next: the command fires on the release.
  void tap(uint8_t key) {
    keys.press(key);
    frame(1);
    keys.release(key);
    frame(1);
  }
  std::tuple<int32_t, int32_t, int32_t> pieceState() const {
    return {game.state.pieces.pieceIndex, game.state.pieces.pieceRow,
            game.state.progress.gameState};
  }
  // Lets the clock run until the frame loop's 600 ms drop has happened.
  bool waitForDrop() {
    const auto before = pieceState();
    for (int i = 0; i < 100; ++i) {
      frame(10);
      if (pieceState() != before) return true;
    }
    return false;
  }

  app::VirtualClock clock{5000};
  app::ScriptedKeySource keys;
  app::CountingPresenter presenter;
  app::RecordingWindow window;
  app::Game game{clock, keys, presenter, window, nullptr, nullptr};
};

class PackLevelReplay : public ::testing::TestWithParam<ShippedLevel> {};

TEST_P(PackLevelReplay, SolutionWinsThroughTheGameLoop) {
  const ShippedLevel& level = GetParam();
  world::GameState start;
  start.startLevelFromFile(level.built);
  const SolveResult solution = solveLevel(start, SolverLimits{});
  ASSERT_TRUE(solution.solved) << describeSolution(solution);
  std::string pieceKeys;
  for (const PiecePlan& plan : solution.pieces) pieceKeys += plan.actions;

  LoopDriver loop;
  world::GameState& state = loop.game.state;
  state.options.packName = level.pack;
  state.pack = world::shippedPackLayout(MDX_GAME_DIR, level.pack);
  loop.game.beginGame(level.number);  // as START GAME does with the title's level choice
  ASSERT_EQ(state.progress.gameState, world::StateReady);
  ASSERT_EQ(state.world.pieceCount, start.world.pieceCount);
  for (int i = 0; i < 70; ++i) loop.frame(10);  // wait long enough for the first drop to be due

  // Leaving the ready state makes the first drop at once, in the same frame.
  loop.tap(DIK_SPACE);
  ASSERT_EQ(state.progress.gameState, world::StateDropping);
  ASSERT_EQ(pieceKeys.front(), 'd');
  ASSERT_EQ(state.pieces.pieceRow, 1);
  for (size_t i = 1; i < pieceKeys.size(); ++i) {
    const char key = pieceKeys[i];
    if (key == 'l' || key == 'r') {
      const auto before = loop.pieceState();
      loop.tap(key == 'l' ? DIK_LEFT : DIK_RIGHT);
      ASSERT_EQ(loop.pieceState(), before) << "a drop came between the key presses";
    } else if (key == 'd') {
      ASSERT_TRUE(loop.waitForDrop()) << "no drop at letter " << i;
    } else {
      loop.frame(20);  // an explosion tick: the explosion plays out before the next piece moves
    }
  }
  ASSERT_EQ(state.progress.gameState, world::StateRunning);

  bool completed = false;
  for (int i = 0; i < 100000 && state.progress.levelNumber == level.number; ++i) {
    loop.frame(10);
    ASSERT_EQ(state.world.robotExploded, 0);
    completed = completed || state.world.levelComplete == 1;
  }
  EXPECT_TRUE(completed);
  // After the exit sequence the game loads the next level, or the ending after the last one.
  const bool last = level.number == static_cast<int>(packLevels(level.pack).size());
  EXPECT_EQ(state.progress.levelNumber, last ? 99 : level.number + 1);
  EXPECT_EQ(state.progress.gameState, last ? world::StateEnding : world::StateReady);
}

// The hint key on shipped levels: each piece, steered to where its ghost stands and dropped,
// lands there, and the ghosts together lead the robot to the exit.
class PackLevelHints : public ::testing::TestWithParam<int> {};

TEST_P(PackLevelHints, FollowingTheGhostsWinsTheLevel) {
  LoopDriver loop;
  app::ImmediateHintSearch search{60.0};  // how fast it answers is the benchmark's business
  loop.game.useHintSearch(search);
  world::GameState& state = loop.game.state;
  state.options.packName = "mappack1";
  state.pack = world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  loop.game.beginGame(GetParam());
  loop.tap(DIK_SPACE);
  int followed = 0;
  while (state.progress.gameState == world::StateDropping) {
    const int32_t piece = state.pieces.pieceIndex;
    loop.tap(app::DIK_H);
    const world::HintView& hint = state.hint;
    ASSERT_TRUE(hint.ghost) << "piece " << piece << ": " << hint.line;
    while (state.pieces.pieceColumn != hint.column) {
      const int32_t column = state.pieces.pieceColumn;
      loop.tap(column > hint.column ? DIK_LEFT : DIK_RIGHT);
      ASSERT_NE(state.pieces.pieceColumn, column) << "piece " << piece << " cannot move on";
    }
    for (int i = 0; i < 20; ++i) loop.frame(10);  // a Down this soon would be for the last piece
    loop.tap(app::DIK_DOWN);
    int32_t row = state.pieces.pieceRow;
    while (state.pieces.pieceIndex == piece) {
      row = state.pieces.pieceRow;
      loop.frame(10);
    }
    EXPECT_EQ(row, hint.row) << "piece " << piece;
    EXPECT_FALSE(hint.ghost);  // gone with its piece
    ++followed;
  }
  EXPECT_EQ(followed, state.world.pieceCount);
  for (int i = 0; i < 100000 && state.progress.levelNumber == GetParam(); ++i) loop.frame(10);
  EXPECT_EQ(state.progress.levelNumber, GetParam() + 1);
}

INSTANTIATE_TEST_SUITE_P(MapPack1, PackLevelHints, ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8));

// On map pack 1's level 20 the first pillar reaches a bomb by itself after a few rows. A Down
// the player presses an instant later was meant for that pillar, not the one now at the top;
// one pressed once the new pillar has been out a moment drops it.
TEST(LandedPieceDown, DownJustAfterAPieceLandsLeavesTheNextOne) {
  LoopDriver loop;
  world::GameState& state = loop.game.state;
  state.options.packName = "mappack1";
  state.pack = world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  loop.game.beginGame(20);
  ASSERT_EQ(state.progress.gameState, world::StateReady);
  loop.tap(DIK_SPACE);
  int rowsFallen = 0;
  while (state.pieces.pieceIndex == 0 && rowsFallen < 30) {
    ASSERT_TRUE(loop.waitForDrop());
    ++rowsFallen;
  }
  ASSERT_EQ(state.pieces.pieceIndex, 1);
  EXPECT_LE(rowsFallen, 6) << "the first pillar should meet the bomb after a few rows";

  const int32_t shownRow = state.pieces.pieceRow;
  const uint32_t shownAt = loop.clock.now;
  const auto runUntil = [&](uint32_t ms) {
    while (loop.clock.now - shownAt < ms) loop.frame(10);
  };
  // The next timed drop is 600 ms away; the second pillar lands on the first drop.
  runUntil(40);
  loop.keys.press(app::DIK_DOWN);  // 40 ms after the second pillar appeared, held 60 ms
  runUntil(100);
  loop.keys.release(app::DIK_DOWN);
  runUntil(250);
  EXPECT_EQ(state.pieces.pieceIndex, 1);
  EXPECT_EQ(state.pieces.pieceRow, shownRow);

  loop.keys.press(app::DIK_DOWN);  // a fresh press, once the pillar has been out a while
  runUntil(310);
  loop.keys.release(app::DIK_DOWN);
  runUntil(350);
  EXPECT_GT(state.pieces.pieceIndex, 1);  // dropped and landed before its timed drop
}

INSTANTIATE_TEST_SUITE_P(Packs, PackLevelReplay, ::testing::ValuesIn(packLevels()),
                         [](const auto& info) { return testName(info.param); });

}  // namespace
}  // namespace mdx::level::testing
