// Export into a map pack and play-testing: both put the edited level where the game reads
// levels, as a level file in a pack folder.
#pragma once

#include <string>

#include "edit/proof.h"
#include "level/level_source.h"

namespace mdx::edit {

// Why a level with this proof may not go into a pack, or an empty string when it may: only a
// level proven winnable, and not by dropping every piece straight down, is exported.
std::string exportRefusal(const ProofStatus& proof, uint64_t revision);

// Writes level NN of the pack folder (levelNN.dat) and raises pref.ini's level count to
// number when it is lower. Refuses (with the reason in error) what exportRefusal refuses.
bool exportToPack(const level::LevelSource& level, const ProofStatus& proof, uint64_t revision,
                  const std::string& packDir, int number, std::string& error);

// The lowest level number whose file the pack folder lacks (1 for an empty or missing folder).
int nextFreeLevel(const std::string& packDir);

// Makes a fresh temporary pack folder holding the level as level01.dat and a pref.ini of one
// level, for a play-test, with links to the landscapes and music of mediaPack (a pack folder
// of the game). Returns its path, or an empty string with error set.
std::string makePlayTestPack(const level::LevelSource& level, const std::string& mediaPack,
                             std::string& error);

}  // namespace mdx::edit
