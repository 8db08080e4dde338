#include "world/actions.h"

#include "world/timed_steps.h"

namespace mdx::world {

bool isValidActionString(std::string_view actions) {
  return actions.find_first_not_of(kActionLetters) == std::string_view::npos;
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
