#include "edit/proof.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace mdx::edit {

namespace {

// How many decided levels the worker remembers.
constexpr size_t kRememberedAnswers = 64;

}  // namespace

std::string describeProof(const ProofStatus& status) {
  char text[200];
  const level::LevelVerdict* verdict = status.verdict.get();
  switch (status.state) {
    case ProofState::Searching:
      return "searching...";
    case ProofState::Winnable:
      if (verdict->byStraightDrops) {
        std::snprintf(text, sizeof text,
                      "winnable in %d world steps (an intro level, won by straight drops)",
                      verdict->worldSteps);
      } else {
        std::snprintf(text, sizeof text, "winnable in %d world steps (%ld placements searched)",
                      verdict->worldSteps, verdict->solution.placements);
      }
      return text;
    case ProofState::NotWinnable:
      return "not winnable";
    case ProofState::StraightDrops:
      return "won by dropping every piece straight down";
    case ProofState::Undecided:
      std::snprintf(text, sizeof text, "undecided after %g s", status.budget);
      return text;
  }
  return "";
}

world::GameState startedGame(const level::LevelSource& level) {
  world::GameState game;
  level::startLevelGame(level, game);
  return game;
}

ProofStatus decideProof(const level::LevelSource& level, double budgetSeconds,
                        const std::atomic<bool>* cancel) {
  ProofStatus status;
  status.budget = budgetSeconds;
  level::CheckOptions options;
  options.budgetSeconds = budgetSeconds;
  options.cancel = cancel;
  auto verdict = std::make_shared<level::LevelVerdict>(level::decideLevel(level, options));
  switch (verdict->verdict) {
    case level::Verdict::Proven:
      status.state = ProofState::Winnable;
      break;
    case level::Verdict::NotWinnable:
      status.state = ProofState::NotWinnable;
      break;
    case level::Verdict::StraightDrops:
      status.state = ProofState::StraightDrops;
      break;
    case level::Verdict::Undecided:
      status.state = ProofState::Undecided;
      break;
    case level::Verdict::Cancelled:
      return status;
  }
  status.verdict = std::move(verdict);
  status.start = std::make_shared<world::GameState>(startedGame(level));
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
  std::string key = level::writeDat(level);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (revision == status_.revision && !pending_) return;
    cancel_ = true;
    const auto known = std::find_if(answers_.begin(), answers_.end(),
                                    [&](const auto& answer) { return answer.first == key; });
    if (known != answers_.end()) {
      pending_ = false;
      status_ = known->second;
    } else {
      pendingLevel_ = level;
      pendingKey_ = std::move(key);
      pending_ = true;
      status_ = ProofStatus{};
      status_.budget = budget_;
    }
    status_.revision = revision;
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
    std::string key = std::move(pendingKey_);
    pending_ = false;
    cancel_ = false;
    lock.unlock();
    ProofStatus answer = decideProof(level, budget_, &cancel_);
    lock.lock();
    // Only the newest revision's own answer is ever published.
    if (pending_ || stopping_ || status_.revision != revision) continue;
    answer.revision = revision;
    status_ = answer;
    // An undecided answer may be decided next time (a less busy machine): not remembered.
    if (answer.state != ProofState::Undecided) {
      answers_.emplace_back(std::move(key), std::move(answer));
      if (answers_.size() > kRememberedAnswers) answers_.pop_front();
    }
    changed_.notify_all();
    if (notify_) {
      lock.unlock();
      notify_();
      lock.lock();
    }
  }
}

}  // namespace mdx::edit
