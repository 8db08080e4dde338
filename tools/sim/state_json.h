// The simulator's output: the world state as one line of JSON, with the effects and messages
// requested so far.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"
#include "world/state_text.h"

namespace mdx::sim {

using world::jsonFloat;
using world::jsonString;

// One JSON object on one line with the world, piece and level values, the effects played
// (by file name, in order) and the message boxes shown.
std::string stateJson(const world::GameState& game, const std::vector<world::Sample>& sounds,
                      const std::vector<world::RecordedMessage>& messages);

// Every field of the game state (options, progress, world, pieces, scene, keys) as one JSON
// object on one line, arrays as lists.
std::string fullStateJson(const world::GameState& game);

}  // namespace mdx::sim
