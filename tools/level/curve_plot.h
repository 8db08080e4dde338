// The difficulty curve of map packs as a picture: each level's win share and the placements
// the solver searched, on logarithmic scales, as `marvolen-level stats` measures them.
#pragma once

#include <string>
#include <vector>

#include "level/stats.h"

namespace mdx::level {

// One pack's levels, in order.
struct PackCurve {
  std::string pack;  // shown under its levels
  std::vector<LevelStats> levels;
};

// Draws the packs one after another along the x axis: win share above, placements searched
// below. Writes a PNG; false with a message when it cannot be written.
bool drawCurve(const std::vector<PackCurve>& packs, const std::string& png, std::string& error);

}  // namespace mdx::level
