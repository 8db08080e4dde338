// The region tools' work on a level, apart from undo: a rectangle of cells of both layers
// taken out and put back, the connected area of one code, a straight line of cells, and the
// left-right mirror. EditModel wraps each one as one undo step.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level_source.h"

namespace mdx::edit {

// True for a cell of the grid: rows 0 to 27, columns 0 to 33.
bool inGrid(int row, int column);

// A rectangle of cells, corners included, top-left first.
struct CellRect {
  int top = 0, left = 0, bottom = 0, right = 0;
  int rows() const { return bottom - top + 1; }
  int columns() const { return right - left + 1; }
  bool holds(int row, int column) const {
    return row >= top && row <= bottom && column >= left && column <= right;
  }
};

// The rectangle between two corner cells given in any order, cut to the grid; false when the
// two cells do not both lie in the grid.
bool rectBetween(int row0, int column0, int row1, int column1, CellRect& rect);
// The whole grid.
CellRect wholeGrid();
// The rectangle moved by the given rows and columns but kept whole inside the grid: a drag of
// a selection past an edge stops at the edge, so a move never drops cells.
CellRect shiftedInGrid(const CellRect& rect, int rows, int columns);

// The cells of a rectangle, both layers, row by row.
struct CellBlock {
  int rows = 0, columns = 0;
  std::vector<int32_t> blocks, devices;
  bool empty() const { return rows == 0; }
};

CellBlock copyCells(const level::LevelSource& level, const CellRect& rect);
// Empties both layers of the rectangle.
void clearCells(level::LevelSource& level, const CellRect& rect);
// Writes the cells with their top-left corner at (row, column); what falls outside the grid is
// dropped. A robot start in the cells moves the level's one robot there.
void pasteCells(level::LevelSource& level, const CellBlock& cells, int row, int column);
// The cells a paste at (row, column) writes: the block's size from there, cut to the grid.
CellRect pastedRect(const CellBlock& cells, int row, int column);

// Gives every cell connected to (row, column) through edge neighbours holding the same code
// the new code. The cell must lie in the grid.
void floodFill(world::LevelGrid& grid, int row, int column, int32_t code);
// The cells of the straight line from one cell to another, both ends included, each step
// moving to an edge or corner neighbour.
std::vector<int> lineCells(int row0, int column0, int row1, int column1);
// Mirrors the rectangle left to right on both layers; blocks drawn as left/right twins swap
// so that beams and conveyors still read the right way round.
void mirrorCells(level::LevelSource& level, const CellRect& rect);

}  // namespace mdx::edit
