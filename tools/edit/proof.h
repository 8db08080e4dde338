// Live proof: after each edit the solver decides on a worker thread whether the level can be
// won. A newer edit cancels the running search and restarts it; an answer is only ever shown
// for the level revision it was computed on.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "level/level_checks.h"
#include "level/level_source.h"
#include "world/game_state.h"

namespace mdx::edit {

// The search budget when none is given.
constexpr double kDefaultBudgetSeconds = 10.0;

enum class ProofState {
  Searching,      // no answer yet for the current revision
  Winnable,       // proven: a solution exists (an intro level may be won by straight drops)
  NotWinnable,    // every choice was searched and none reaches the exit
  StraightDrops,  // every piece dropped straight down already wins
  Undecided,      // the budget ran out first
};

struct ProofStatus {
  uint64_t revision = 0;
  ProofState state = ProofState::Searching;
  double budget = kDefaultBudgetSeconds;
  // The toolchain's decision (null while searching) and the level as the game starts it, for
  // the path preview and the export.
  std::shared_ptr<const level::LevelVerdict> verdict;
  std::shared_ptr<const world::GameState> start;
};

// The status bar's sentence for a status: "winnable in 212 world steps (1840 placements
// searched)", "not winnable", "searching...", ...
std::string describeProof(const ProofStatus& status);

// The level started as the game starts it (its own loader, per-level resets, gate pass, first
// piece), ready for the drawing.
world::GameState startedGame(const level::LevelSource& level);

// Decides one level (blocking) with the level toolchain's checks. cancel, when set, ends the
// search early; the status then stays Searching and the caller drops it.
ProofStatus decideProof(const level::LevelSource& level, double budgetSeconds,
                        const std::atomic<bool>* cancel = nullptr);

class ProofWorker {
 public:
  // notify runs on the worker thread after each published answer (the window wakes its event
  // loop with it); it may be empty.
  explicit ProofWorker(double budgetSeconds = kDefaultBudgetSeconds,
                       std::function<void()> notify = {});
  ~ProofWorker();
  ProofWorker(const ProofWorker&) = delete;
  ProofWorker& operator=(const ProofWorker&) = delete;

  // Asks for revision's answer; any search on an older revision is cancelled. A level that
  // was decided before (an undo, a redo, an edit taken back by hand) gets its answer at once.
  void submit(uint64_t revision, const level::LevelSource& level);
  // The newest submitted revision's status: Searching until its answer is in.
  ProofStatus status() const;
  // Blocks until the newest submitted revision has its answer (tests and benchmarks).
  ProofStatus wait() const;

 private:
  void run();

  const double budget_;
  std::function<void()> notify_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool stopping_ = false;
  bool pending_ = false;
  level::LevelSource pendingLevel_;
  std::string pendingKey_;
  // Recent decided answers by the level file text of their level, newest last.
  std::deque<std::pair<std::string, ProofStatus>> answers_;
  ProofStatus status_;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
};

}  // namespace mdx::edit
