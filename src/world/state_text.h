// The game state as text, field by field from the one field list (world/state_fields.h): JSON
// for the simulator and the replay references, and a hash of chosen fields for the solver.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"

namespace mdx::world {

// A JSON string literal for text: quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view text);

// A float that reads back exactly (nine significant digits); null if it is not finite.
std::string jsonFloat(float value);

// One value of the state: a scalar field, or one element of an array field, keyed
// "name", "name[i]" or "name[i][j]", with its JSON text. real marks floats.
struct StateEntry {
  std::string key;
  std::string text;
  bool real = false;
};

// Every scalar of the state, in field-list order.
std::vector<StateEntry> stateEntries(const GameState& state);

// The JSON text of the named field (arrays, nested ones flattened, as one list). Throws
// std::logic_error for a name that is not a field.
std::string fieldJson(const GameState& state, std::string_view name);

// A hash of the named fields' values, in the order given. Throws std::logic_error for a name
// that is not a field, so a renamed field cannot silently drop out of a key.
uint64_t fieldsHash(const GameState& state, std::initializer_list<std::string_view> names);

// Every field of the state (options, progress, world, pieces, scene, keys) as one JSON object
// on one line, arrays as lists: for comparing two runs line by line.
std::string stateJson(const GameState& state);

// A hash of every field of the state, for a quick same-or-not check.
uint64_t stateHash(const GameState& state);

}  // namespace mdx::world
