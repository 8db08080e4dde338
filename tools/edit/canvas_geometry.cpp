#include "edit/canvas_geometry.h"

#include <algorithm>
#include <cmath>

namespace mdx::edit {

float fitZoom(float width, float height) {
  const float fits = std::min(width / kGridWidth, height / kGridHeight);
  const float steps = std::floor(fits / kZoomStep);
  return std::clamp(steps * kZoomStep, kMinZoom, kMaxZoom);
}

bool cellAtGrid(float x, float y, int& row, int& column) {
  if (!(x >= 0 && y >= 0 && x < kGridWidth && y < kGridHeight)) return false;
  column = std::min(static_cast<int>(x / world::kCellSize), world::kColumns - 1);
  row = std::min(static_cast<int>(y / world::kCellSize), world::kRows - 1);
  return true;
}

}  // namespace mdx::edit
