// The solver's reports in words, for the level tools and their tests.
#pragma once

#include <string>

#include "solve/solver.h"

namespace mdx::level {

// Human-readable report of a result: the key presses per piece, the robot's run, the search
// time and the one-line action string; for no solution, the furthest try.
std::string describeSolution(const SolveResult& result);

// How a try goes, for a level that cannot be won: where each piece ends, the robot's path
// from its start (the cells where it turns), and where and why the run ends. Lines each
// ending with a line break.
std::string describeAttempt(const Attempt& attempt);

}  // namespace mdx::level
