// How hard a solution is on the hands: for each piece, the row where the player must press
// Left or Right most often before the piece drops again, and the time that leaves per press.
// The search figures say how hard a level is to find out; this says how hard it is to play.
#pragma once

#include <vector>

#include "level/solver.h"

namespace mdx::level {

// The tightest moment of steering one piece.
struct SteeringSlack {
  int row = 0;         // the row the piece is on while the presses are needed
  int presses = 0;     // side presses between two drops there (0: the piece falls straight)
  int windowMs = 0;    // the time between those drops
  int msPerPress = 0;  // windowMs / presses: the time each press may take (windowMs if none)
};

// The tightest moment of plan (ties: the earliest row).
SteeringSlack steeringSlack(const PiecePlan& plan);

// The tightest moment of every piece of a solution, in piece order.
std::vector<SteeringSlack> steeringSlacks(const SolveResult& result);

// The tightest of them all (most presses in one row); an empty slack when no piece needs any.
SteeringSlack tightestSteering(const SolveResult& result);

}  // namespace mdx::level
