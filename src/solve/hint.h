// A hint for the level in play: where the falling piece should land, from a solution of the
// level as it stands (the pieces already placed count), found by the solver within a budget.
#pragma once

#include <atomic>
#include <cstdint>

#include "world/game_state.h"

namespace mdx::level {

// How long a hint may search, in seconds: a player waits this long at most.
constexpr double kHintBudgetSeconds = 0.3;

enum class HintOutcome {
  Place,       // the falling piece should end at column, row
  NoSolution,  // the search looked at every choice: the level cannot be won from here
  NotFound,    // the budget ran out (or the search was cancelled) before an answer
};

struct Hint {
  HintOutcome outcome = HintOutcome::NotFound;
  int32_t pieceType = 0;  // the falling piece's type
  int column = 0;         // the piece box's column and row where it should end
  int row = 0;
};

// The hint for now, a level just started or one whose pieces are falling (a state with no
// piece left to place has nothing to hint: NotFound). The state is copied without its sound
// and message sinks, so the search may run on another thread. cancel, when given, stops the
// search as soon as it turns true.
Hint findHint(const world::GameState& now, const std::atomic<bool>* cancel,
              double budgetSeconds = kHintBudgetSeconds);

}  // namespace mdx::level
