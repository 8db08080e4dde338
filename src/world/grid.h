// The level grid: 28 rows of 34 columns, addressed by linear index.
#pragma once

#include <array>
#include <cstdint>

#include "world/cell_table.h"  // what the codes in a layer mean

namespace mdx::world {

constexpr int kColumns = 34;
constexpr int kRows = 28;
constexpr int kCells = kColumns * kRows;  // 952
constexpr int kDrawnRows = 27;            // row 27 takes part in the rules but is never drawn
constexpr int kCellSize = 19;             // pixels

// One layer of a level, row by row: index 34 * row + column.
using LevelGrid = std::array<int32_t, kCells>;

constexpr int cellIndex(int row, int column) {
  return kColumns * row + column;
}

// Screen position of a cell's top-left corner: row 0 lies above the screen.
constexpr float cellPixelX(int column) {
  return static_cast<float>(kCellSize * column);
}
constexpr float cellPixelY(int row) {
  return static_cast<float>(kCellSize * row - 26);
}

}  // namespace mdx::world
