// Action letters: one letter per step of play, so tools can replay a sequence of moves
// headless (the simulator's --do string, the level solver's candidate solutions).
#pragma once

#include <string_view>

#include "world/game_state.h"

namespace mdx::world {

// The letters performAction knows: l r (side moves), d (timed drop), w (world step),
// g (swing-bar timer), x (explosion timer), a (gate pass).
constexpr std::string_view kActionLetters = "lrdwgxa";

// True when every letter of actions is one performAction knows.
bool isValidActionString(std::string_view actions);

// Performs one action letter on game; returns false (and changes nothing) for an unknown one.
//   l / r  the Left / Right key as it acts while dropping;
//   d      the 600 ms drop followed by the bottom-row rule;
//   w      the 150 ms world step with the robotFrame update, only while levelComplete is 0;
//   g      the swing-bar steps of the 30 ms timer;  x  the explosion step of the 20 ms timer;
//   a      applyGates().
bool performAction(GameState& game, char action);

}  // namespace mdx::world
