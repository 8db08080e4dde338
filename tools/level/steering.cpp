#include "level/steering.h"

#include "world/timed_steps.h"

namespace mdx::level {

SteeringSlack steeringSlack(const PiecePlan& plan) {
  const int window = static_cast<int>(world::kDropPeriod);
  SteeringSlack tightest{plan.startRow, 0, window, window};
  int row = plan.startRow;
  int presses = 0;
  for (char action : plan.actions) {
    if (action == 'l' || action == 'r') {
      ++presses;
      if (presses > tightest.presses) tightest = {row, presses, window, window / presses};
    } else if (action == 'd') {
      ++row;
      presses = 0;
    }
  }
  return tightest;
}

std::vector<SteeringSlack> steeringSlacks(const SolveResult& result) {
  std::vector<SteeringSlack> slacks;
  for (const PiecePlan& plan : result.pieces) slacks.push_back(steeringSlack(plan));
  return slacks;
}

SteeringSlack tightestSteering(const SolveResult& result) {
  SteeringSlack tightest{0, 0, static_cast<int>(world::kDropPeriod),
                         static_cast<int>(world::kDropPeriod)};
  for (const SteeringSlack& slack : steeringSlacks(result)) {
    if (slack.presses > tightest.presses) tightest = slack;
  }
  return tightest;
}

}  // namespace mdx::level
