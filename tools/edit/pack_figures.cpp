#include "edit/pack_figures.h"

#include <utility>

namespace mdx::edit {

FigureLimits packFigureLimits() {
  FigureLimits limits;
  // The proof has its own search: the stats' solver only needs to run briefly.
  limits.stats.solverSeconds = 0.5;
  limits.stats.countSeconds = 3.0;
  limits.stats.probes = 400;
  return limits;
}

LevelFigures measureFigures(const level::LevelSource& level, const FigureLimits& limits,
                            const std::atomic<bool>* cancel) {
  LevelFigures figures;
  figures.proof = decideProof(level, limits.proofSeconds, cancel);
  if (figures.proof.state != ProofState::Searching) {
    figures.stats = level::measureLevel(startedGame(level), limits.stats);
  }
  return figures;
}

std::string describeFigures(const LevelFigures& figures) {
  std::string proof;
  switch (figures.proof.state) {
    case ProofState::Searching:
      return "measuring...";
    case ProofState::Winnable:
      proof = "winnable";
      break;
    case ProofState::NotWinnable:
      proof = "not winnable";
      break;
    case ProofState::StraightDrops:
      proof = "won by straight drops";
      break;
    case ProofState::Undecided:
      proof = "undecided";
      break;
  }
  return proof + ", win share " + (figures.stats.counted ? "" : "~") +
         level::winSharePercent(figures.stats) + " %";
}

FiguresWorker::FiguresWorker(FigureLimits limits, std::function<void()> notify)
    : limits_(std::move(limits)), notify_(std::move(notify)), thread_([this] { run(); }) {}

FiguresWorker::~FiguresWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    cancel_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void FiguresWorker::submit(const std::vector<level::LevelSource>& levels) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    for (const level::LevelSource& level : levels) {
      std::string key = level::writeDat(level);
      if (!measured_.count(key)) queue_.emplace_back(std::move(key), level);
    }
  }
  changed_.notify_all();
}

std::optional<LevelFigures> FiguresWorker::figures(const level::LevelSource& level) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = measured_.find(level::writeDat(level));
  if (found == measured_.end()) return std::nullopt;
  return found->second;
}

void FiguresWorker::wait() const {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stopping_ || (queue_.empty() && !busy_); });
}

void FiguresWorker::run() {
  while (true) {
    std::pair<std::string, level::LevelSource> next;
    bool fresh = false;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      next = std::move(queue_.front());
      queue_.pop_front();
      // A duplicated level is queued twice and measured once.
      fresh = measured_.count(next.first) == 0;
      busy_ = fresh;
    }
    if (!fresh) continue;
    LevelFigures figures = measureFigures(next.second, limits_, &cancel_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      busy_ = false;
      // A cancelled search has no answer: the level waits for the next submit.
      if (figures.proof.state != ProofState::Searching) {
        measured_[next.first] = std::move(figures);
      }
    }
    changed_.notify_all();
    if (notify_) notify_();
  }
}

}  // namespace mdx::edit
