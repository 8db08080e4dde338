// The search for a hint, kept off the frame loop: the game submits the level as it stands,
// asks each frame whether the answer has come, and cancels a search whose piece is gone. The
// desktop searches on a worker thread (worker_hint_search.h); tests, replays, the simulator
// and the web page, which has no threads, search at once inside submit.
#pragma once

#include <optional>

#include "solve/hint.h"
#include "world/game_state.h"

namespace mdx::app {

class HintSearch {
 public:
  virtual ~HintSearch() = default;
  // Starts a search for the hint of now, calling off one under way. now is copied.
  virtual void submit(const world::GameState& now) = 0;
  // The answer of the last search, once, as soon as it is there; nothing before or after.
  virtual std::optional<level::Hint> poll() = 0;
  // Calls off the search under way and forgets an answer not yet taken.
  virtual void cancel() = 0;
};

// Searches inside submit, so the answer is there at the next poll: nothing runs beside the
// game. The answer may still depend on the machine's speed (the budget is wall-clock time).
class ImmediateHintSearch : public HintSearch {
 public:
  explicit ImmediateHintSearch(double budgetSeconds = level::kHintBudgetSeconds)
      : budgetSeconds_(budgetSeconds) {}
  void submit(const world::GameState& now) override;
  std::optional<level::Hint> poll() override;
  void cancel() override { answer_.reset(); }

 private:
  double budgetSeconds_;
  std::optional<level::Hint> answer_;
};

}  // namespace mdx::app
