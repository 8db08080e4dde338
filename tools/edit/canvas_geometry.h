// Where the level's cells lie on the editor's canvas. The canvas shows the whole grid at its
// true size: the game's 640 x 480 picture, which cuts rows 1 and 26 and column 33 and never
// shows rows 0 and 27, is placed inside the 646 x 532 grid, and the editor fills in the rest.
// Platform-free, so the zoom and the cell under the mouse are tested headless.
#pragma once

#include "world/grid.h"

namespace mdx::edit {

// The grid's size in picture pixels at zoom 1.
constexpr float kGridWidth = world::kColumns * world::kCellSize;
constexpr float kGridHeight = world::kRows * world::kCellSize;
// Where the game's picture's top-left corner lies in the grid (row 0 is above it).
constexpr float kPictureLeft = 0.0f;
constexpr float kPictureTop = -world::cellPixelY(0);

// The zooms the canvas offers: quarter steps from kMinZoom to kMaxZoom.
constexpr float kMinZoom = 0.5f;
constexpr float kMaxZoom = 4.0f;
constexpr float kZoomStep = 0.25f;

// The largest zoom (a quarter step, at least kMinZoom) at which the whole grid fits into an
// area of width x height screen pixels.
float fitZoom(float width, float height);

// A cell's top-left corner in grid pixels at zoom 1.
constexpr float cellGridX(int column) {
  return static_cast<float>(world::kCellSize * column);
}
constexpr float cellGridY(int row) {
  return static_cast<float>(world::kCellSize * row);
}

// The cell at grid pixel (x, y) at zoom 1; false outside the grid.
bool cellAtGrid(float x, float y, int& row, int& column);

}  // namespace mdx::edit
