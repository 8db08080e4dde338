#include "edit/path_preview.h"

#include <algorithm>

#include "world/actions.h"

namespace mdx::edit {

namespace {

// The robot-run limit of the checks' default options.
constexpr int kMaxWorldSteps = level::CheckOptions{}.maxWorldSteps;

bool allPlaced(const world::GameState& game) {
  return game.pieces.pieceIndex >= game.world.pieceCount;
}

}  // namespace

PathPreview makePathPreview(const ProofStatus& status) {
  PathPreview preview;
  const level::LevelVerdict* verdict = status.verdict.get();
  if (verdict == nullptr || !status.start || status.state == ProofState::Searching ||
      status.state == ProofState::Undecided) {
    return preview;
  }
  // A straight-drop win is decided without a search: its run is played again here.
  const level::SolveResult& search = verdict->solution;
  const level::Attempt tried =
      verdict->byStraightDrops
          ? level::Attempt{{}, level::runStraightDrops(*status.start, kMaxWorldSteps)}
      : status.state == ProofState::NotWinnable ? search.furthest
                                                : level::Attempt{search.pieces, search.robot};
  const level::RobotRun& run = tried.robot;
  const std::string actions = tried.actions();
  world::GameState game = *status.start;
  size_t robotStart = actions.size();
  for (size_t i = 0; i < actions.size(); ++i) {
    if (allPlaced(game)) {
      robotStart = i;
      break;
    }
    world::performAction(game, actions[i]);
  }
  preview.placed = game;
  preview.robotActions = actions.substr(std::min(robotStart, actions.size()));
  for (int k = 0; k < world::kCells; ++k) {
    if (game.world.blockLayer[k] != status.start->world.blockLayer[k] &&
        game.world.blockLayer[k] != world::kRobot &&
        status.start->world.blockLayer[k] != world::kRobot) {
      preview.ghostCells.push_back(k);
    }
  }
  preview.robotCells.push_back(world::cellIndex(game.world.robotRow, game.world.robotColumn));
  preview.robotCells.insert(preview.robotCells.end(), run.path.begin(), run.path.end());
  preview.worldSteps = run.worldSteps;
  preview.valid = true;
  return preview;
}

world::GameState worldAtStep(const PathPreview& preview, int step) {
  world::GameState game = preview.placed;
  int done = 0;
  for (char action : preview.robotActions) {
    if (done >= step) break;
    world::performAction(game, action);
    if (action == 'w') ++done;
  }
  return game;
}

}  // namespace mdx::edit
