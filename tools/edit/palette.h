// The editor's palette: every block picture and every device, with the names the designer
// searches by.
#pragma once

#include <string>
#include <vector>

#include "edit/edit_model.h"

namespace mdx::edit {

struct PaletteEntry {
  std::string name;  // "red brick", "conveyor, left end", "lift car", "robot start", ...
  Brush brush;
};

// Every entry, devices and the robot start first, then the blocks by code.
const std::vector<PaletteEntry>& palette();

// The entries whose name contains every word of filter (case-insensitive), in palette order.
std::vector<const PaletteEntry*> searchPalette(const std::string& filter);

// The name of a brush ("blue metal", "bomb", "invisible block 70", "block code 1234").
std::string brushName(const Brush& brush);

}  // namespace mdx::edit
