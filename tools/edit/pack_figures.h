// The figures the pack manager shows beside each level, which take a search to know: its
// proof (the editor's live proof, decided once) and its win share (the level tools' stats).
// A worker thread measures the levels one after another; the answers are kept by the level's
// file text, so a level that was only moved, renamed or duplicated is not measured again.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "edit/proof.h"
#include "level/level_source.h"
#include "level/stats.h"

namespace mdx::edit {

struct FigureLimits {
  double proofSeconds = kDefaultBudgetSeconds;
  level::StatsLimits stats;  // the win share's count and probes
};

// Limits that keep a pack of thirty levels within a few minutes on one core: the count stops
// early and the share is then estimated from random sequences (and says so).
FigureLimits packFigureLimits();

struct LevelFigures {
  ProofStatus proof;
  level::LevelStats stats;
};

// Decides and measures one level (blocking). cancel ends the proof search early.
LevelFigures measureFigures(const level::LevelSource& level, const FigureLimits& limits,
                            const std::atomic<bool>* cancel = nullptr);

// The manager's short line for a level's figures: "winnable, win share 2.41 %", "not
// winnable, win share 0 %", with "~" before an estimated share.
std::string describeFigures(const LevelFigures& figures);

class FiguresWorker {
 public:
  // notify runs on the worker thread after each level measured (the window wakes its event
  // loop with it); it may be empty.
  explicit FiguresWorker(FigureLimits limits = packFigureLimits(),
                         std::function<void()> notify = {});
  ~FiguresWorker();
  FiguresWorker(const FiguresWorker&) = delete;
  FiguresWorker& operator=(const FiguresWorker&) = delete;

  // Asks for the figures of levels, first to last; levels asked for before and not among
  // these are dropped from the queue.
  void submit(const std::vector<level::LevelSource>& levels);
  // The level's figures once measured.
  std::optional<LevelFigures> figures(const level::LevelSource& level) const;
  // Blocks until every submitted level is measured (tests).
  void wait() const;

 private:
  void run();

  const FigureLimits limits_;
  std::function<void()> notify_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool stopping_ = false;
  std::deque<std::pair<std::string, level::LevelSource>> queue_;  // by level file text
  std::map<std::string, LevelFigures> measured_;
  bool busy_ = false;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
};

}  // namespace mdx::edit
