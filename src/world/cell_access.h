// Reading and writing layer cells by linear index, safe for indices outside the grid.
// The rules find neighbours by fixed offsets, so they can reach above row 0 or below row 27.
// Such a cell does not exist: it reads as empty (0) in both layers, and a write to it is not
// made. Every rule reads through readCell and writes through writeCell.
#pragma once

#include <cstdint>

#include "world/grid.h"

namespace mdx::world {

// True when index addresses one of the 952 cells.
constexpr bool isInsideGrid(int index) {
  return index >= 0 && index < kCells;
}

// The cell at index, or 0 (empty) when index lies outside the grid.
inline int32_t readCell(const LevelGrid& layer, int index) {
  return isInsideGrid(index) ? layer[static_cast<std::size_t>(index)] : 0;
}

// Stores value at index; returns false and changes nothing when index lies outside the grid.
inline bool writeCell(LevelGrid& layer, int index, int32_t value) {
  if (!isInsideGrid(index)) return false;
  layer[static_cast<std::size_t>(index)] = value;
  return true;
}

// Linear index of (row, column) the way the rules address cells: column -1 is column 33 of
// the row above and column 34 is column 0 of the row below.
constexpr int linearIndex(int row, int column) {
  return kColumns * row + column;
}

}  // namespace mdx::world
