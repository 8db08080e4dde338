// The levels we ship, as the tests find them: the pack's sources and the built level files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "level/level_source.h"

namespace mdx::level::testing {

struct ShippedLevel {
  int number = 0;
  std::string source;  // levels/mappack1/levelNN.src
  std::string built;   // the game folder's mappack1/levelNN.dat
};

// Every levelNN.src of levels/mappack1, in level order.
std::vector<ShippedLevel> packLevels();

// Parses a shipped source; fails the test on a parse error.
LevelSource loadSource(const std::string& path);

// The ending level's source and built file.
ShippedLevel endingLevel();

// "level07" for gtest's parameter names.
std::string levelName(int number);

// How gtest prints a shipped level in its test names and messages.
inline void PrintTo(const ShippedLevel& level, std::ostream* out) {
  *out << levelName(level.number);
}

}  // namespace mdx::level::testing
