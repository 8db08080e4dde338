#include "edit/proof.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

#include "level/tool_commands.h"

namespace mdx::edit {

std::string describeProof(const ProofStatus& status) {
  char text[160];
  switch (status.state) {
    case ProofState::Searching:
      return "searching...";
    case ProofState::Winnable:
      std::snprintf(text, sizeof text, "winnable in %d world steps (%ld placements searched)",
                    status.worldSteps, status.placements);
      return text;
    case ProofState::NotWinnable:
      return "not winnable";
    case ProofState::StraightDrops:
      return "won by dropping every piece straight down";
    case ProofState::Undecided:
      std::snprintf(text, sizeof text, "undecided after %.0f s", status.budget);
      return text;
  }
  return "";
}

world::GameState startedGame(const level::LevelSource& level) {
  // The game's own loader reads the level, from a level file written for it, so the editor
  // sees exactly what the game will.
  world::GameState game;
  char name[] = "/tmp/marvolen-edit-XXXXXX";
  const int fd = mkstemp(name);
  if (fd >= 0) {
    close(fd);
    std::string error;
    if (level::writeTextFile(name, level::writeDat(level), error)) {
      game.progress.levelNumber = 1;
      game.startLevelFromFile(name);
    }
    std::remove(name);
  }
  return game;
}

ProofStatus decideProof(const level::LevelSource& level, double budgetSeconds,
                        const std::atomic<bool>* cancel) {
  ProofStatus status;
  status.budget = budgetSeconds;
  auto start = std::make_shared<world::GameState>(startedGame(level));
  status.start = start;
  level::SolverLimits limits;
  limits.maxSeconds = budgetSeconds;
  const level::RobotRun straight = level::runStraightDrops(*start, limits.maxWorldSteps);
  if (straight.end == level::RobotEnd::Exit) {
    auto result = std::make_shared<level::SolveResult>();
    result->solved = true;
    result->robot = straight;
    status.state = ProofState::StraightDrops;
    status.worldSteps = straight.worldSteps;
    status.solution = std::move(result);
    return status;
  }
  if (cancel != nullptr && cancel->load()) return status;
  // The solver is stopped by its time budget only; a cancelled search runs on to its answer,
  // which the worker then drops because a newer revision is waiting.
  auto result = std::make_shared<level::SolveResult>(level::solveLevel(*start, limits));
  status.placements = result->placements;
  status.seconds = result->seconds;
  if (result->solved) {
    status.state = ProofState::Winnable;
    status.worldSteps = result->robot.worldSteps;
    status.solution = std::move(result);
  } else {
    status.state = result->exhausted ? ProofState::NotWinnable : ProofState::Undecided;
  }
  return status;
}

ProofWorker::ProofWorker(double budgetSeconds, std::function<void()> notify)
    : budget_(budgetSeconds), notify_(std::move(notify)) {
  status_.budget = budgetSeconds;
  thread_ = std::thread([this] { run(); });
}

ProofWorker::~ProofWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    cancel_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ProofWorker::submit(uint64_t revision, const level::LevelSource& level) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (revision == status_.revision && !pending_) return;
    pendingLevel_ = level;
    pending_ = true;
    status_ = ProofStatus{};
    status_.revision = revision;
    status_.budget = budget_;
    cancel_ = true;
  }
  changed_.notify_all();
}

ProofStatus ProofWorker::status() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

ProofStatus ProofWorker::wait() const {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] {
    return stopping_ || (!pending_ && status_.state != ProofState::Searching) ||
           status_.revision == 0;
  });
  return status_;
}

void ProofWorker::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || pending_; });
    if (stopping_) return;
    const uint64_t revision = status_.revision;
    const level::LevelSource level = std::move(pendingLevel_);
    pending_ = false;
    cancel_ = false;
    lock.unlock();
    ProofStatus answer = decideProof(level, budget_, &cancel_);
    lock.lock();
    // Only the newest revision's own answer is ever published.
    if (pending_ || stopping_ || status_.revision != revision) continue;
    answer.revision = revision;
    status_ = std::move(answer);
    changed_.notify_all();
    if (notify_) {
      lock.unlock();
      notify_();
      lock.lock();
    }
  }
}

}  // namespace mdx::edit
