// The puzzle world's work per timer tick and per level change, on the shipped levels of the
// built game folder: the 150 ms world step, the 600 ms piece handler, loading a level file and
// the whole level start (pref.ini, level file, resets, gate pass, first piece).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "world/actions.h"
#include "world/game_state.h"
#include "world/timed_steps.h"

namespace {

using mdx::world::GameState;

// The game folder's mappack1, which the benchmarks play.
const mdx::world::PackLayout kPack = mdx::world::shippedPackLayout(MDX_GAME_DIR, "mappack1");

// False (and the benchmark skipped) when the game folder's mappack1 is missing.
bool enterGameFolder(benchmark::State& bench) {
  if (!std::filesystem::exists(kPack.levelPath(1))) {
    bench.SkipWithError("build the game folder first (mappack1 missing)");
    return false;
  }
  return true;
}

GameState startedLevel(int level) {
  GameState game;
  game.options.packName = "mappack1";
  game.pack = kPack;
  game.progress.levelNumber = level;
  game.startLevel(level);
  return game;
}

// One world step of a robot on its way: the level's pieces are dropped straight down first,
// then the robot walks; the level restarts whenever it ends.
void worldStep(benchmark::State& bench) {
  if (!enterGameFolder(bench)) return;
  const GameState start = startedLevel(static_cast<int>(bench.range(0)));
  GameState game = start;
  auto dropAll = [&game] {
    for (int i = 0; i < 400 && game.pieces.pieceIndex < game.world.pieceCount; ++i)
      mdx::world::performAction(game, 'd');
  };
  dropAll();
  int steps = 0;
  for (auto _ : bench) {
    mdx::world::worldStepWithFrame(game);
    if (++steps == 500 || game.world.levelComplete || game.world.robotExploded) {
      bench.PauseTiming();
      game = start;
      dropAll();
      steps = 0;
      bench.ResumeTiming();
    }
  }
}
BENCHMARK(worldStep)->ArgName("level")->Arg(1)->Arg(9);

// One 600 ms drop of the falling piece with the bottom-row rule, pieces handed out again and
// again.
void pieceDrop(benchmark::State& bench) {
  if (!enterGameFolder(bench)) return;
  const GameState start = startedLevel(static_cast<int>(bench.range(0)));
  GameState game = start;
  for (auto _ : bench) {
    mdx::world::dropStep(game);
    mdx::world::bottomRowStep(game);
    if (game.pieces.pieceIndex >= game.world.pieceCount) {
      bench.PauseTiming();
      game = start;
      bench.ResumeTiming();
    }
  }
}
BENCHMARK(pieceDrop)->ArgName("level")->Arg(1)->Arg(9);

// One side-move request to the piece handler (the Left key while dropping).
void pieceSideMove(benchmark::State& bench) {
  if (!enterGameFolder(bench)) return;
  GameState game = startedLevel(9);
  bool left = true;
  for (auto _ : bench) {
    mdx::world::sideMoveStep(game, left);
    if (game.pieces.pieceColumn == 0 || game.pieces.pieceColumn == 31) left = !left;
  }
}
BENCHMARK(pieceSideMove);

// Reading one 1938-line level file into the two layers and the level values.
void levelLoad(benchmark::State& bench) {
  if (!enterGameFolder(bench)) return;
  GameState game;
  for (auto _ : bench) {
    game.loadLevelFile(kPack.levelPath(9));
    benchmark::DoNotOptimize(game.world.blockLayer.data());
  }
}
BENCHMARK(levelLoad)->Unit(benchmark::kMicrosecond);

// The whole level start, as a restart makes it.
void levelStart(benchmark::State& bench) {
  if (!enterGameFolder(bench)) return;
  GameState game;
  game.options.packName = "mappack1";
  game.pack = kPack;
  game.progress.levelNumber = 9;
  for (auto _ : bench) {
    game.startLevel(9);
    benchmark::DoNotOptimize(game.world.blockLayer.data());
  }
}
BENCHMARK(levelStart)->Unit(benchmark::kMicrosecond);

}  // namespace
