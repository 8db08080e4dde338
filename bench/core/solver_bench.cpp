// The level solver on every level of every shipped pack of the built game folder, one search each:
// the slowest of them is the figure for the hardest shipped level. Then the in-game hint on each
// level's start and after its first piece has landed where the solution puts it: a hint is
// to come within its budget (kHintBudgetSeconds), and "found" says whether it did.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "solve/hint.h"
#include "solve/solver.h"
#include "world/actions.h"
#include "world/game_state.h"
#include "world/pack_catalog.h"

namespace {

namespace fs = std::filesystem;

void solveShippedLevel(benchmark::State& bench, const std::string& path) {
  mdx::world::GameState start;
  start.startLevelFromFile(path);
  mdx::level::SolverLimits limits;
  limits.maxSeconds = 120.0;
  mdx::level::SolveResult result;
  for (auto _ : bench) result = mdx::level::solveLevel(start, limits);
  bench.counters["solved"] = result.solved ? 1 : 0;
  bench.counters["placements"] = static_cast<double>(result.placements);
  bench.counters["robot_runs"] = static_cast<double>(result.robotRuns);
}

// The level after the solution's first piece: its presses played, the next piece falling.
mdx::world::GameState afterFirstPiece(const mdx::world::GameState& start) {
  mdx::level::SolverLimits limits;
  limits.maxSeconds = 120.0;
  const mdx::level::SolveResult solution = mdx::level::solveLevel(start, limits);
  mdx::world::GameState game = start;
  if (!solution.solved || solution.pieces.empty()) return game;
  for (char action : solution.pieces.front().actions) mdx::world::performAction(game, action);
  game.progress.gameState = mdx::world::StateDropping;
  return game;
}

void hintOnShippedLevel(benchmark::State& bench, const std::string& path, bool afterFirst) {
  mdx::world::GameState start;
  start.startLevelFromFile(path);
  const mdx::world::GameState asked = afterFirst ? afterFirstPiece(start) : start;
  mdx::level::Hint hint;
  for (auto _ : bench) hint = mdx::level::findHint(asked, nullptr);
  bench.counters["found"] = hint.outcome == mdx::level::HintOutcome::Place ? 1 : 0;
  // A level of one piece has nothing left to hint after it.
  bench.counters["pieces_left"] = asked.world.pieceCount - asked.pieces.pieceIndex;
}

// Registers the solver and the hint on every level of one shipped pack, named
// "solve/mappack1/level07" and "hint/mappack1/level07/start"; returns how many levels it has.
int registerPack(const mdx::world::PackCatalog& catalog, const mdx::world::CatalogPack& pack) {
  const mdx::world::PackLayout layout = catalog.layout(pack);
  int registered = 0;
  for (int32_t level = 1; level <= mdx::world::kMaxPackLevels; ++level) {
    const std::string path = layout.levelPath(level);
    if (!fs::exists(path)) break;
    const std::string name = pack.name + "/" + fs::path(path).stem().string();
    benchmark::RegisterBenchmark(("solve/" + name).c_str(), solveShippedLevel, path)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    for (const bool afterFirst : {false, true}) {
      const std::string when = afterFirst ? "/after_first_piece" : "/start";
      benchmark::RegisterBenchmark(("hint/" + name + when).c_str(), hintOnShippedLevel, path,
                                   afterFirst)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
    }
    ++registered;
  }
  return registered;
}

}  // namespace

int main(int argc, char** argv) {
  const mdx::world::PackCatalog catalog = mdx::world::readPackCatalog(MDX_GAME_DIR, "");
  int registered = 0;
  for (const mdx::world::CatalogPack& pack : catalog.packs)
    registered += registerPack(catalog, pack);
  if (registered == 0)
    std::fprintf(stderr, "no shipped levels in %s: build the game first\n", MDX_GAME_DIR);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return registered == 0 ? 1 : 0;
}
