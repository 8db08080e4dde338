// The falling pieces as data: what each type shows, what stops it, what it writes when it
// lands or blows up, and what blocks its side moves. Offsets are (row, column) inside the
// piece's 3 x 4 box, measured from its top-left cell.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/cell_table.h"

namespace mdx::world {

// One cell test: in the block layer "holds a solid value (above 0)", in the device layer
// "holds one of the codes in codeMask" (bit n set for code n).
struct CellTest {
  Layer layer;
  int row;
  int column;
  uint32_t codeMask = 0;
};

enum class FallAction : uint8_t { Land, BlowUp };

// One check of a fall step: if any of its tests holds, the action is taken.
struct FallCheck {
  std::vector<CellTest> anyOf;
  FallAction action;
};

// One cell written when the piece lands or blows up.
struct CellWrite {
  Layer layer;
  int row;
  int column;
  int32_t value;
};

struct PieceKind {
  std::array<std::array<int32_t, 3>, 4> shape;  // image codes, row by row
  uint8_t shapeInBlocks;                        // 1 block images, 0 device images
  std::vector<FallCheck> fallChecks;            // in the order they are made
  std::vector<CellWrite> landWrites;
  std::vector<CellWrite> blowUpWrites;  // bombs named by the BlowUp check are cleared besides
  std::vector<CellTest> leftBlockedBy;
  std::vector<CellTest> rightBlockedBy;
};

constexpr int kPieceKinds = 6;  // types 0 to 5; any other type behaves as "no checks at all"

// The kind of piece type, or nullptr for a type outside 0 to 5.
const PieceKind* pieceKind(int32_t type);

// Bit mask for CellTest::codeMask.
constexpr uint32_t codeBit(int code) {
  return 1u << code;
}

}  // namespace mdx::world
