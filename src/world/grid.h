// The level grid: 28 rows of 34 columns, addressed by linear index.
#pragma once

#include <array>
#include <cstdint>

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

// blockLayer codes 1 to kLastPicturedBlock are drawn with a block picture of their own; other
// block codes below kGateFiller are solid but invisible.
constexpr int32_t kLastPicturedBlock = 61;

// blockLayer codes with a meaning of their own.
constexpr int32_t kGateFiller = 98;
constexpr int32_t kRobot = 99;
constexpr int32_t kExplosionMarker = 999;

// deviceLayer codes.
enum Device : int32_t {
  kLiftCar = 2,
  kLiftShaft = 3,
  kLiftButton = 4,
  kWheel = 5,
  kSwingBar = 6,
  kBarSwitch = 7,
  kExit = 8,
  kStairA = 10,
  kStairB = 11,
  kBomb = 12,
  kBlinker = 13,
};
constexpr int32_t kLastDevice = kBlinker;  // device codes above it do nothing

}  // namespace mdx::world
