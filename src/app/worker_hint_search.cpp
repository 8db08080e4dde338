#include "app/worker_hint_search.h"

namespace mdx::app {

void WorkerHintSearch::submit(const world::GameState& now) {
  cancel();
  cancelled_ = false;
  // The copy is made here, on the game's thread; the worker owns it from then on.
  auto state = std::make_shared<world::GameState>(now);
  worker_ = std::thread([this, state] {
    const level::Hint hint = level::findHint(*state, &cancelled_, budgetSeconds_);
    const std::lock_guard<std::mutex> lock(mutex_);
    answer_ = hint;
  });
}

std::optional<level::Hint> WorkerHintSearch::poll() {
  std::optional<level::Hint> taken;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    taken.swap(answer_);
  }
  // The answer is the worker's last act, so the join does not wait.
  if (taken && worker_.joinable()) worker_.join();
  return taken;
}

void WorkerHintSearch::cancel() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
  const std::lock_guard<std::mutex> lock(mutex_);
  answer_.reset();
}

}  // namespace mdx::app
