// The robot-path preview of a level: where the pieces of its solution (or, for a level that
// cannot be won, of its furthest try) land, the robot's walk, and the world at any world step
// of that run, replayed with the game's own rules.
#pragma once

#include <string>
#include <vector>

#include "edit/proof.h"
#include "world/game_state.h"

namespace mdx::edit {

struct PathPreview {
  bool valid = false;
  world::GameState placed;      // the moment the last piece has landed
  std::vector<int> ghostCells;  // cells the pieces filled, by linear index
  std::vector<int> robotCells;  // the robot's cell at world step 0 (placed) to worldSteps
  std::string robotActions;     // the letters after the last landing
  int worldSteps = 0;
};

// The preview of a status with a solution (Winnable or StraightDrops) or with the furthest
// try of a level that cannot be won (NotWinnable); invalid otherwise.
PathPreview makePathPreview(const ProofStatus& status);

// The world after step world steps of the robot's run (0 = as the pieces left it), with
// lifts moved, bars turned and bombs gone as the game's rules leave them.
world::GameState worldAtStep(const PathPreview& preview, int step);

}  // namespace mdx::edit
