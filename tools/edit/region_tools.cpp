#include "edit/region_tools.h"

#include <algorithm>
#include <cstdlib>

#include "world/cell_table.h"

namespace mdx::edit {

bool inGrid(int row, int column) {
  return row >= 0 && row < world::kRows && column >= 0 && column < world::kColumns;
}

bool rectBetween(int row0, int column0, int row1, int column1, CellRect& rect) {
  if (!inGrid(row0, column0) || !inGrid(row1, column1)) return false;
  rect = {std::min(row0, row1), std::min(column0, column1), std::max(row0, row1),
          std::max(column0, column1)};
  return true;
}

CellRect wholeGrid() {
  return {0, 0, world::kRows - 1, world::kColumns - 1};
}

CellRect shiftedInGrid(const CellRect& rect, int rows, int columns) {
  const int top = std::clamp(rect.top + rows, 0, world::kRows - rect.rows());
  const int left = std::clamp(rect.left + columns, 0, world::kColumns - rect.columns());
  return {top, left, top + rect.rows() - 1, left + rect.columns() - 1};
}

CellBlock copyCells(const level::LevelSource& level, const CellRect& rect) {
  CellBlock cells;
  cells.rows = rect.rows();
  cells.columns = rect.columns();
  for (int row = rect.top; row <= rect.bottom; ++row) {
    for (int column = rect.left; column <= rect.right; ++column) {
      const int k = world::cellIndex(row, column);
      cells.blocks.push_back(level.blockLayer[k]);
      cells.devices.push_back(level.deviceLayer[k]);
    }
  }
  return cells;
}

void clearCells(level::LevelSource& level, const CellRect& rect) {
  for (int row = rect.top; row <= rect.bottom; ++row) {
    for (int column = rect.left; column <= rect.right; ++column) {
      level.blockLayer[world::cellIndex(row, column)] = 0;
      level.deviceLayer[world::cellIndex(row, column)] = 0;
    }
  }
}

void pasteCells(level::LevelSource& level, const CellBlock& cells, int row, int column) {
  for (int r = 0; r < cells.rows; ++r) {
    for (int c = 0; c < cells.columns; ++c) {
      if (!inGrid(row + r, column + c)) continue;
      const int32_t block = cells.blocks[r * cells.columns + c];
      if (block == world::kRobot) {
        // A level has one robot: pasting one moves it.
        std::replace(level.blockLayer.begin(), level.blockLayer.end(), world::kRobot, 0);
      }
      const int k = world::cellIndex(row + r, column + c);
      level.blockLayer[k] = block;
      level.deviceLayer[k] = cells.devices[r * cells.columns + c];
    }
  }
}

CellRect pastedRect(const CellBlock& cells, int row, int column) {
  return {row, column, std::min(row + cells.rows, world::kRows) - 1,
          std::min(column + cells.columns, world::kColumns) - 1};
}

void floodFill(world::LevelGrid& grid, int row, int column, int32_t code) {
  const int32_t old = grid[world::cellIndex(row, column)];
  if (old == code) return;
  std::vector<int> pending{world::cellIndex(row, column)};
  grid[pending.back()] = code;
  while (!pending.empty()) {
    const int k = pending.back();
    pending.pop_back();
    const int r = k / world::kColumns, c = k % world::kColumns;
    const int neighbours[4][2] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
    for (const auto& next : neighbours) {
      if (!inGrid(next[0], next[1])) continue;
      const int n = world::cellIndex(next[0], next[1]);
      if (grid[n] != old) continue;
      grid[n] = code;
      pending.push_back(n);
    }
  }
}

std::vector<int> lineCells(int row0, int column0, int row1, int column1) {
  // Bresenham's line: one cell per step along the longer axis.
  const int dr = std::abs(row1 - row0), dc = std::abs(column1 - column0);
  const int stepR = row0 < row1 ? 1 : -1, stepC = column0 < column1 ? 1 : -1;
  int error = dc - dr;
  std::vector<int> cells;
  for (int r = row0, c = column0;;) {
    cells.push_back(world::cellIndex(r, c));
    if (r == row1 && c == column1) break;
    const int twice = 2 * error;
    if (twice > -dr) {
      error -= dr;
      c += stepC;
    }
    if (twice < dc) {
      error += dc;
      r += stepR;
    }
  }
  return cells;
}

void mirrorCells(level::LevelSource& level, const CellRect& rect) {
  for (int row = rect.top; row <= rect.bottom; ++row) {
    for (int left = rect.left, right = rect.right; left <= right; ++left, --right) {
      const int a = world::cellIndex(row, left), b = world::cellIndex(row, right);
      std::swap(level.deviceLayer[a], level.deviceLayer[b]);
      std::swap(level.blockLayer[a], level.blockLayer[b]);
      level.blockLayer[a] = world::mirroredBlock(level.blockLayer[a]);
      if (a != b) level.blockLayer[b] = world::mirroredBlock(level.blockLayer[b]);
    }
  }
}

}  // namespace mdx::edit
