// The robot-path preview of a winnable level: where the solution's pieces land, the robot's
// walk, and the world at any world step of the solution, replayed with the game's own rules.
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

// The preview of a status with a solution (Winnable or StraightDrops); invalid otherwise.
PathPreview makePathPreview(const ProofStatus& status);

// The world after step world steps of the robot's run (0 = as the pieces left it), with
// lifts moved, bars turned and bombs gone as the game's rules leave them.
world::GameState worldAtStep(const PathPreview& preview, int step);

}  // namespace mdx::edit
