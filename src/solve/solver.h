// The level solver: searches the player's choices for each falling piece, then runs the robot
// with the game's own world code under the frame loop's timing, until it reaches the exit,
// blows up or repeats a state.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "world/game_state.h"

namespace mdx::level {

struct SolverLimits {
  double maxSeconds = 60.0;  // the whole search gives up after this long
  int maxWorldSteps = 3000;  // one robot run gives up after this many world steps
  // When set, the search gives up as soon as it sees the flag true (another thread may set
  // it at any time): an editor cancels a search whose level has changed.
  const std::atomic<bool>* cancel = nullptr;
};

// How a robot run ends. A run that comes back to a state it was in goes on the same way for
// ever: Stuck when the robot stands on one cell all the while, FallsOut when it keeps falling
// out of the bottom of the grid into its top row, Repeats when it walks round a loop.
enum class RobotEnd { Exit, Exploded, Stuck, FallsOut, Repeats, StepLimit };

// One run of the robot phase from the moment the last piece has landed.
struct RobotRun {
  RobotEnd end = RobotEnd::StepLimit;
  int worldSteps = 0;
  int closestToExit = 1 << 20;  // smallest row + column distance of the robot to an exit
  std::string actions;          // w, g and x in the order the frame loop runs them
  int startCell = 0;            // the robot's cell before the first world step
  std::vector<int> path;        // the robot's cell after each world step
  int cycleStart = 0;           // where in path the run's final loop (or its end) begins
};

enum class PieceEnd { Landed, BlewUp, FellOut };

// What the player does with one piece, and where it ends.
struct PiecePlan {
  int32_t type = 0;
  std::string actions;  // l, r and d (and x while a blown-up piece's explosion plays)
  PieceEnd end = PieceEnd::Landed;
  int column = 0;  // the piece box's column and row when it ended
  int row = 0;
  int startRow = 1;  // the row the piece was on when its actions begin
};

// One whole try at a level: what the player does with each piece, then the robot's run.
struct Attempt {
  std::vector<PiecePlan> pieces;
  RobotRun robot;

  // The try in simulator letters: the pieces' l, r, d, then the robot's w, g, x.
  std::string actions() const;
};

struct SolveResult {
  bool solved = false;
  bool exhausted = false;  // the search looked at every choice (no solution means none exists)
  bool cancelled = false;  // the cancel flag stopped the search before it decided
  std::vector<PiecePlan> pieces;
  RobotRun robot;
  double seconds = 0.0;
  long placements = 0;  // piece outcomes generated
  long robotRuns = 0;
  // Of every try searched, the one whose robot walked through the most different cells (the
  // nearest to an exit among those): where an unwinnable level gets furthest.
  Attempt furthest;

  // The whole solution in simulator letters: the pieces' l, r, d, then the robot's w, g, x.
  std::string actions() const;
};

// Runs the robot phase of game (its pieces all placed) under a steady 10 ms frame, starting
// in the frame of the last drop.
RobotRun runRobot(world::GameState game, int maxWorldSteps);

// Searches game, which has just been started (startLevelFromFile), for a solution.
SolveResult solveLevel(const world::GameState& start, const SolverLimits& limits);

// Searches a level in play for a solution from where it stands: a level just started (as
// solveLevel), or one in its dropping phase, from the falling piece where it is now with the
// pieces already placed. The plans start with the falling piece.
SolveResult solveFromHere(const world::GameState& now, const SolverLimits& limits);

// Plays the level with every piece dropped straight down from column 15 and runs the robot.
RobotRun runStraightDrops(const world::GameState& start, int maxWorldSteps);

// One distinct way the falling piece can end: the state it leaves and what the player did.
struct PieceEnding {
  world::GameState state;
  PiecePlan plan;
};

// Every distinct ending of the falling piece of state (deduplicated by the state it leaves);
// adds the piece positions tried to placements. The level statistics count sequences of these.
std::vector<PieceEnding> pieceEndings(const world::GameState& state, long& placements);

// A hash of what the rest of the dropping phase depends on, for memoising searches over it.
uint64_t droppingStateKey(const world::GameState& state);

// The dropping phase where the player first steers: the first piece's opening drop done (and,
// when that drop ended it, its explosion played out).
world::GameState openingState(const world::GameState& start);

}  // namespace mdx::level
