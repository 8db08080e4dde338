// The levels we ship, as the tests find them: the pack's sources and the built level files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "level/level_source.h"

namespace mdx::level::testing {

struct ShippedLevel {
  int number = 0;
  std::string source;  // levels/PACK/levelNN.src
  std::string built;   // the game folder's PACK/levelNN.dat
  std::string pack;    // "mappack1"
};

// The map packs we ship, in the order of mappacks.ini.
std::vector<std::string> shippedPacks();

// Every levelNN.src of levels/PACK, in level order.
std::vector<ShippedLevel> packLevels(const std::string& pack);

// The levels of every shipped pack, pack by pack.
std::vector<ShippedLevel> packLevels();

// Parses a shipped source; fails the test on a parse error.
LevelSource loadSource(const std::string& path);

// The ending level's source and built file.
ShippedLevel endingLevel();

// "level07".
std::string levelName(int number);

// "mappack1_level07" for gtest's parameter names.
std::string testName(const ShippedLevel& level);

// How gtest prints a shipped level in its test names and messages.
inline void PrintTo(const ShippedLevel& level, std::ostream* out) {
  *out << level.pack << '/' << levelName(level.number);
}

}  // namespace mdx::level::testing
