// The hint search on a worker thread, for the desktop game: the frame loop goes on drawing
// while the solver looks, for at most its budget.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/hint_search.h"

namespace mdx::app {

class WorkerHintSearch : public HintSearch {
 public:
  explicit WorkerHintSearch(double budgetSeconds = level::kHintBudgetSeconds)
      : budgetSeconds_(budgetSeconds) {}
  ~WorkerHintSearch() override { cancel(); }
  WorkerHintSearch(const WorkerHintSearch&) = delete;
  WorkerHintSearch& operator=(const WorkerHintSearch&) = delete;

  void submit(const world::GameState& now) override;
  std::optional<level::Hint> poll() override;
  // Waits for the worker to see the cancel, which the solver checks between its steps.
  void cancel() override;

 private:
  double budgetSeconds_;
  std::thread worker_;
  std::atomic<bool> cancelled_{false};
  std::mutex mutex_;                   // guards answer_
  std::optional<level::Hint> answer_;  // set by the worker when it is done
};

}  // namespace mdx::app
