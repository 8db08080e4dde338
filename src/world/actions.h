// Action letters: one letter per step of play, so tools can replay a sequence of moves
// headless (the simulator's --do string, the level solver's candidate solutions).
#pragma once

#include <string_view>

#include "world/game_state.h"

namespace mdx::world {

// The letters performAction knows: l r (side moves), d (timed drop), h (hard drop),
// w (world step), g (swing-bar timer), x (explosion timer), a (gate pass).
constexpr std::string_view kActionLetters = "lrdhwgxa";

// The letters that act on the falling piece: with no piece left to fall they do nothing.
constexpr std::string_view kPieceLetters = "lrdh";

// True when every letter of actions is one performAction knows.
bool isValidActionString(std::string_view actions);

// Performs one action letter on game; returns false (and changes nothing) for an unknown one.
//   l / r  the Left / Right key as it acts while dropping;
//   d      the 600 ms drop followed by the bottom-row rule;
//   h      hardDrop: the falling piece drops until it ends, and only that piece;
//   w      the 150 ms world step with the robotFrame update, only while levelComplete is 0;
//   g      the swing-bar steps of the 30 ms timer;  x  the explosion step of the 20 ms timer;
//   a      applyGates().
bool performAction(GameState& game, char action);

// True while a piece is still to fall (the pieces phase of the level).
bool pieceFalling(const GameState& game);

// Drops the falling piece row by row until it lands, blows up or falls out, and nothing
// more: the next piece is set up but never moved. When another piece follows, the explosion
// of a bomb the piece hit plays out, as it does in the game before the next timed drop;
// after the last piece it runs on beside the robot's steps. Does nothing with no piece left.
void hardDrop(GameState& game);

}  // namespace mdx::world
