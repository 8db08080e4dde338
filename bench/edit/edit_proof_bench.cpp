// Proof latency of the level editor on every level of the shipped packs: the editor's proof
// worker is busy on an edit of the level (one bomb more, so it must search), then the next
// edit arrives and cancels that search; the time from that edit to its status on screen is
// measured, and the processor time spent in it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "edit/proof.h"
#include "level/tool_commands.h"

namespace {

namespace fs = std::filesystem;
using mdx::edit::ProofState;

void proofAfterEdit(benchmark::State& bench, const std::string& path) {
  mdx::level::LevelSource level, edited;
  std::string error;
  if (!mdx::level::loadLevel(path, level, error)) {
    bench.SkipWithError(error.c_str());
    return;
  }
  edited = level;
  edited.deviceLayer[mdx::world::cellIndex(1, 0)] = mdx::world::kBomb;
  mdx::edit::ProofStatus answer;
  double cpuSeconds = 0;
  for (auto _ : bench) {
    // A fresh worker each time: the one before remembers this level's answer.
    mdx::edit::ProofWorker worker(mdx::edit::kDefaultBudgetSeconds);
    worker.submit(1, edited);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // its search is under way
    const auto edit = std::chrono::steady_clock::now();
    const std::clock_t editCpu = std::clock();
    worker.submit(2, level);
    answer = worker.wait();
    bench.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - edit).count());
    cpuSeconds += static_cast<double>(std::clock() - editCpu) / CLOCKS_PER_SEC;
  }
  bench.SetLabel(mdx::edit::describeProof(answer));
  bench.counters["winnable"] = answer.state == ProofState::Winnable ? 1 : 0;
  // Processor time of the whole program from the edit to its answer (the cancelled search
  // winding down and the new one): on a busy machine it still says what the proof costs.
  bench.counters["cpu_ms"] = 1000 * cpuSeconds / static_cast<double>(bench.iterations());
}

// Registers one benchmark per level source of a shipped pack; returns how many.
int registerPack(const std::string& packName) {
  const fs::path pack = fs::path(MDX_SOURCE_DIR) / "levels" / packName;
  int registered = 0;
  for (int number = 1; number <= 98; ++number) {
    char name[32];
    std::snprintf(name, sizeof name, "level%02d.src", number);
    if (!fs::exists(pack / name)) break;
    benchmark::RegisterBenchmark(
        ("proof_after_edit/" + packName + "/" + std::string(name, 7)).c_str(), proofAfterEdit,
        (pack / name).string())
        ->Iterations(5)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    ++registered;
  }
  if (registered == 0) std::fprintf(stderr, "no level sources in %s\n", pack.string().c_str());
  return registered;
}

}  // namespace

int main(int argc, char** argv) {
  int registered = 0;
  std::stringstream packs(MDX_PACKS);
  for (std::string pack; std::getline(packs, pack, ',');) registered += registerPack(pack);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return registered == 0 ? 1 : 0;
}
