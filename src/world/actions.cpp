#include "world/actions.h"

#include "world/timed_steps.h"

namespace mdx::world {

bool isValidActionString(std::string_view actions) {
  return actions.find_first_not_of(kActionLetters) == std::string_view::npos;
}

bool pieceFalling(const GameState& game) {
  return game.pieces.pieceIndex < game.world.pieceCount;
}

void hardDrop(GameState& game) {
  if (!pieceFalling(game)) return;
  const int32_t piece = game.pieces.pieceIndex;
  // Every drop moves the piece a row down, and the bottom-row rule ends it below the last
  // row, so this ends within one drop per row.
  while (game.pieces.pieceIndex == piece) {
    dropStep(game);
    bottomRowStep(game);
  }
  if (!pieceFalling(game)) return;
  while (game.world.explosionTicks > 0) explosionStep(game);
}

bool performAction(GameState& game, char action) {
  switch (action) {
    case 'l':
      sideMoveStep(game, true);
      return true;
    case 'r':
      sideMoveStep(game, false);
      return true;
    case 'd':
      dropStep(game);
      bottomRowStep(game);
      return true;
    case 'h':
      hardDrop(game);
      return true;
    case 'w':
      if (game.world.levelComplete == 0) worldStepWithFrame(game);
      return true;
    case 'g':
      swingBarStep(game);
      return true;
    case 'x':
      explosionStep(game);
      return true;
    case 'a':
      game.applyGates();
      return true;
    default:
      return false;
  }
}

}  // namespace mdx::world
