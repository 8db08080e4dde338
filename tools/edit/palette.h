// The editor's palette: every block picture and every device, with the names the designer
// searches by.
#pragma once

#include <string>
#include <vector>

#include "edit/edit_model.h"

namespace mdx::edit {

struct PaletteEntry {
  std::string name;  // "block 12", "conveyor 42", "lift car", "robot start", ...
  Brush brush;
};

// Every entry, devices and the robot start first, then the blocks by code.
const std::vector<PaletteEntry>& palette();

// The entries whose name contains every word of filter (case-insensitive), in palette order.
std::vector<const PaletteEntry*> searchPalette(const std::string& filter);

// The palette name of a brush ("block 7", "bomb"), or its code for one not in the palette.
std::string brushName(const Brush& brush);

}  // namespace mdx::edit
