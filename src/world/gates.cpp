// The gate pass: swing bars made solid for gateState, explosion markers cleared, and the
// position of the exit light.
#include "world/cell_access.h"
#include "world/game_state.h"

namespace mdx::world {
namespace {

// Bar cells never overwrite the robot or an explosion marker (99 and above). A bar's block
// reaching above row 0 (a bar in row 0) is skipped there.
void writeBarCell(LevelGrid& blocks, int index, int32_t value) {
  if (isInsideGrid(index) && blocks[static_cast<std::size_t>(index)] < kRobot) {
    writeCell(blocks, index, value);
  }
}

// Standing bar: the middle column of the 3 x 3 block is filler, the side columns are cleared.
// Rows r - 1, r, r + 1, each from column c to c + 2.
void standBar(LevelGrid& blocks, int k) {
  for (int dr = -1; dr <= 1; ++dr) {
    for (int dc = 0; dc <= 2; ++dc) {
      writeBarCell(blocks, k + kColumns * dr + dc, dc == 1 ? kGateFiller : 0);
    }
  }
}

// Lying bar: row r is filler, rows r + 1 and r - 1 are cleared, each from column c + 2 down
// to c. Where two bars' blocks overlap the later bar in the walk wins.
void layBar(LevelGrid& blocks, int k) {
  for (int dr : {0, 1, -1}) {
    for (int dc = 2; dc >= 0; --dc) {
      writeBarCell(blocks, k + kColumns * dr + dc, dr == 0 ? kGateFiller : 0);
    }
  }
}

}  // namespace

void GameState::applyGates() {
  LevelGrid& blocks = world.blockLayer;
  const bool standing = world.gateState == 2 || world.gateState == 3;
  const bool lying = world.gateState == 0 || world.gateState == 1;
  // Row 27 is never drawn and not visited: markers there stay.
  for (int k = 0; k < kDrawnRows * kColumns; ++k) {
    const std::size_t cell = static_cast<std::size_t>(k);
    if (blocks[cell] == kExplosionMarker) blocks[cell] = 0;
    const int32_t device = world.deviceLayer[cell];
    if (standing && device == kSwingBar) standBar(blocks, k);
    if (lying) {
      if (device == kSwingBar) {
        layBar(blocks, k);
      } else if (device == kExit) {
        world.lightX = static_cast<float>(kCellSize * (k % kColumns)) - 2.0f;
        world.lightY = static_cast<float>(kCellSize * (k / kColumns)) - 39.0f;
      }
    }
  }
}

}  // namespace mdx::world
