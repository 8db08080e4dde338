// The level solver on every shipped level of the built game folder, one search each: the
// slowest of them is the figure for the hardest shipped level.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "solve/solver.h"
#include "world/game_state.h"

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

}  // namespace

int main(int argc, char** argv) {
  const fs::path pack = fs::path(MDX_GAME_DIR) / "mappack1";
  int registered = 0;
  for (int level = 1; level <= 99; ++level) {
    char name[32];
    std::snprintf(name, sizeof name, "level%02d.dat", level);
    if (!fs::exists(pack / name)) break;
    benchmark::RegisterBenchmark(("solve/" + std::string(name, 7)).c_str(), solveShippedLevel,
                                 (pack / name).string())
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    ++registered;
  }
  if (registered == 0)
    std::fprintf(stderr, "no shipped levels in %s: build the game first\n", pack.string().c_str());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return registered == 0 ? 1 : 0;
}
