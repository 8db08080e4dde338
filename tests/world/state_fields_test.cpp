// The one list of state fields: every field reaches the digest and the text forms, names are
// unique, and lookups by a name that is not a field fail loudly.
#include "world/state_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "world/state_text.h"

namespace mdx::world {
namespace {

// Changes a value: a number by one, an array in its last element, a string by a letter.
template <typename Value>
void nudge(Value& value) {
  if constexpr (std::is_same_v<Value, std::string>) {
    value += 'x';
  } else if constexpr (std::is_arithmetic_v<Value>) {
    value = static_cast<Value>(value + 1);
  } else {
    nudge(value.back());
  }
}

TEST(StateFields, EveryFieldChangesTheHashAndItsText) {
  const GameState original;
  const uint64_t hash = stateHash(original);
  std::set<std::string> names;
  visitState(original, [&](const char* name, const auto&) {
    EXPECT_TRUE(names.insert(name).second) << "listed twice: " << name;
    GameState changed;
    visitState(changed, [&](const char* other, auto& value) {
      if (std::string(other) == name) nudge(value);
    });
    EXPECT_NE(stateHash(changed), hash) << name;
    EXPECT_NE(fieldJson(changed, name), fieldJson(original, name)) << name;
  });
  EXPECT_TRUE(names.count("blockLayer") && names.count("stuckHint") && names.count("packName"));
}

// The hash reads a grid in wide words: a change in any one cell, a swap of two neighbours and
// a name one letter longer each give another hash, and no two of them the same.
TEST(StateFields, HashSeesEveryCellAndEveryLength) {
  GameState state;
  for (int k = 0; k < kCells; ++k) state.world.deviceLayer[static_cast<std::size_t>(k)] = k % 7;
  std::set<uint64_t> hashes{stateHash(state)};
  for (std::size_t k = 0; k < static_cast<std::size_t>(kCells); ++k) {
    GameState changed = state;
    changed.world.deviceLayer[k] += 1;
    EXPECT_TRUE(hashes.insert(stateHash(changed)).second) << "cell " << k;
    if (k + 1 < static_cast<std::size_t>(kCells)) {
      GameState swapped = state;
      std::swap(swapped.world.deviceLayer[k], swapped.world.deviceLayer[k + 1]);
      EXPECT_TRUE(hashes.insert(stateHash(swapped)).second) << "swap at " << k;
    }
  }
  for (int letters = 0; letters < 40; ++letters) {
    state.options.packName = std::string(static_cast<std::size_t>(letters), 'a');
    EXPECT_TRUE(hashes.insert(fieldsHash(state, {"packName"})).second) << letters;
  }
}

TEST(StateFields, EntriesSpellOutArraysElementByElement) {
  GameState state;
  state.world.blockLayer[cellIndex(3, 4)] = 99;
  state.pieces.pieceShape[1][2] = 30;
  state.scene.robotScale = 0.5f;
  state.options.packName = "say \"hi\"";
  int found = 0;
  for (const StateEntry& entry : stateEntries(state)) {
    if (entry.key == "blockLayer[106]") found += entry.text == "99";
    if (entry.key == "pieceShape[1][2]") found += entry.text == "30";
    if (entry.key == "robotScale") found += entry.text == "0.5" && entry.real;
    if (entry.key == "packName") found += entry.text == "\"say \\\"hi\\\"\"";
  }
  EXPECT_EQ(found, 4);
  EXPECT_EQ(fieldJson(state, "pieceShape"), "[0,0,0,0,0,30,0,0,0,0,0,0]");
}

TEST(StateFields, UnknownNamesFailLoudly) {
  const GameState state;
  EXPECT_THROW(fieldJson(state, "robotColumns"), std::logic_error);
  EXPECT_THROW(fieldsHash(state, {"robotRow", "nosuch"}), std::logic_error);
  GameState moved = state;
  moved.world.robotRow = 3;
  EXPECT_NE(fieldsHash(moved, {"robotRow"}), fieldsHash(state, {"robotRow"}));
  EXPECT_EQ(fieldsHash(moved, {"robotColumn"}), fieldsHash(state, {"robotColumn"}));
}

}  // namespace
}  // namespace mdx::world
