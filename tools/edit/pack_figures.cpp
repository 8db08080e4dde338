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

FiguresWorker::FiguresWorker(FigureLimits limits)
    : limits_(std::move(limits)), thread_([this] { run(); }) {}

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
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    auto [key, level] = std::move(queue_.front());
    queue_.pop_front();
    if (measured_.count(key)) continue;
    busy_ = true;
    lock.unlock();
    LevelFigures figures = measureFigures(level, limits_, &cancel_);
    lock.lock();
    busy_ = false;
    if (figures.proof.state != ProofState::Searching) measured_[key] = std::move(figures);
    changed_.notify_all();
  }
}

}  // namespace mdx::edit
