#include "app/hint_search.h"

namespace mdx::app {

void ImmediateHintSearch::submit(const world::GameState& now) {
  answer_ = level::findHint(now, nullptr, budgetSeconds_);
}

std::optional<level::Hint> ImmediateHintSearch::poll() {
  std::optional<level::Hint> taken;
  taken.swap(answer_);
  return taken;
}

}  // namespace mdx::app
