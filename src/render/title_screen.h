// The title screen: four robots flying over the landscape, logo, emblem, text lines, menu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/assets.h"
#include "world/game_state.h"

namespace mdx::render {

// The two lines of text at the bottom of the title screen. Held as strings made once, so
// drawing them allocates nothing.
inline const std::string kVersionLine = "Marvolen DX - version 1.0";
inline const std::string kOwnershipLine = "(c) 2026 The Marvolen DX authors";

// The line that names the key to the How to play pages, at the bottom right above the keys
// page's: "F1  How to play" with the key the player has bound.
std::string howToKeyLine(const world::GameState& state);

// "2 hints" beside the title's level choice: the hints used in level of usedPerLevel (indexed
// by level number); "" for none.
std::string hintsUsedText(const std::vector<int32_t>& usedPerLevel, int32_t level);

// The four title robots, riding on the lower strip's positions whether or not it is drawn.
// Drawn after the landscape and before the lower strip.
void drawTitleRobots(const world::GameState& state, Assets& assets);

// Logo, emblem, the text lines (black shadow, then white), the two-entry menu with its
// bobbing highlight bar, the level choice and the chosen pack's name. Drawn after the lower strip
// and before the upper strip.
void drawTitleForeground(const world::GameState& state, Assets& assets);

}  // namespace mdx::render
