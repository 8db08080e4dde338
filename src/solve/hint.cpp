#include "solve/hint.h"

#include "solve/solver.h"

namespace mdx::level {

Hint findHint(const world::GameState& now, const std::atomic<bool>* cancel, double budgetSeconds) {
  world::GameState quiet = now;
  quiet.samples = nullptr;
  quiet.messages = nullptr;
  Hint hint;
  if (quiet.pieces.pieceIndex >= quiet.world.pieceCount) return hint;
  hint.pieceType = quiet.world.pieceTypes[static_cast<size_t>(quiet.pieces.pieceIndex)];
  SolverLimits limits;
  limits.maxSeconds = budgetSeconds;
  limits.cancel = cancel;
  const SolveResult result = solveFromHere(quiet, limits);
  if (result.solved && !result.pieces.empty()) {
    const PiecePlan& first = result.pieces.front();
    hint.outcome = HintOutcome::Place;
    hint.column = first.column;
    hint.row = first.row;
  } else if (result.exhausted) {
    hint.outcome = HintOutcome::NoSolution;
  }
  return hint;
}

}  // namespace mdx::level
