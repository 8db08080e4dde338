#include "world/piece_table.h"

#include "world/grid.h"

namespace mdx::world {
namespace {

constexpr uint32_t kStairs = codeBit(kStairA) | codeBit(kStairB);
constexpr uint32_t kBombOnly = codeBit(kBomb);

CellTest solid(int row, int column) {
  return {Layer::Block, row, column, 0};
}
CellTest device(int row, int column, uint32_t mask) {
  return {Layer::Device, row, column, mask};
}
CellTest bomb(int row, int column) {
  return device(row, column, kBombOnly);
}
CellWrite block(int row, int column, int32_t value) {
  return {Layer::Block, row, column, value};
}

// Blocks written by a landing piece of types 3 to 5 become explosion markers instead.
std::vector<CellWrite> markers(const std::vector<CellWrite>& landWrites) {
  std::vector<CellWrite> result = landWrites;
  for (CellWrite& write : result) write.value = kExplosionMarker;
  return result;
}

PieceKind liftKind() {
  PieceKind kind{{{{0, 3, 0}, {0, 3, 0}, {0, 3, 0}, {0, 2, 0}}}, 0, {}, {}, {}, {}, {}};
  // A lift stands on anything solid, and also stops on a stair or just above an exit.
  kind.fallChecks = {
      {{solid(4, 1)}, FallAction::Land},
      {{device(4, 1, kStairs | codeBit(kExit)), device(5, 1, codeBit(kExit))}, FallAction::Land},
      {{bomb(4, 1)}, FallAction::BlowUp},
  };
  kind.landWrites = {{Layer::Device, 0, 1, kLiftShaft},
                     {Layer::Device, 1, 1, kLiftShaft},
                     {Layer::Device, 2, 1, kLiftShaft},
                     {Layer::Device, 3, 1, kLiftCar}};
  kind.blowUpWrites = {block(0, 1, 0), block(1, 1, 0), block(2, 1, 0),
                       block(3, 1, kExplosionMarker)};
  // Only the car's row (and the exit under it) stops a side move; the shaft passes blocks.
  const uint32_t carBlockers = kStairs | kBombOnly | codeBit(kExit);
  kind.leftBlockedBy = {solid(3, 0), device(3, 0, carBlockers), device(4, 0, codeBit(kExit))};
  kind.rightBlockedBy = {solid(3, 2), device(3, 2, carBlockers), device(4, 2, codeBit(kExit))};
  return kind;
}

PieceKind pillarKind() {
  // The foot shows image 48 while falling and is written as block 5.
  PieceKind kind{{{{0, 30, 0}, {0, 5, 0}, {0, 5, 0}, {0, 48, 0}}}, 1, {}, {}, {}, {}, {}};
  kind.fallChecks = {{{solid(4, 1)}, FallAction::Land}, {{bomb(4, 1)}, FallAction::BlowUp}};
  kind.landWrites = {block(0, 1, 30), block(1, 1, 5), block(2, 1, 5), block(3, 1, 5)};
  kind.blowUpWrites = markers(kind.landWrites);
  for (int r = 0; r < 4; ++r) {
    kind.leftBlockedBy.push_back(solid(r, 0));
    kind.leftBlockedBy.push_back(bomb(r, 0));
    kind.rightBlockedBy.push_back(solid(r, 2));
    kind.rightBlockedBy.push_back(bomb(r, 2));
  }
  return kind;
}

// Types 3 to 5 land on any of their lower cells' supports and blow up on a bomb there.
PieceKind stairKind(std::array<std::array<int32_t, 3>, 4> shape,
                    std::vector<std::pair<int, int>> supports, std::vector<CellWrite> writes,
                    std::vector<std::pair<int, int>> left, std::vector<std::pair<int, int>> right) {
  PieceKind kind{shape, 1, {}, writes, markers(writes), {}, {}};
  FallCheck land{{}, FallAction::Land};
  FallCheck blow{{}, FallAction::BlowUp};
  for (auto [r, c] : supports) {
    land.anyOf.push_back(solid(r, c));
    blow.anyOf.push_back(bomb(r, c));
  }
  kind.fallChecks = {land, blow};
  for (auto [r, c] : left) kind.leftBlockedBy.push_back(solid(r, c));
  for (auto [r, c] : left) kind.leftBlockedBy.push_back(bomb(r, c));
  for (auto [r, c] : right) kind.rightBlockedBy.push_back(solid(r, c));
  for (auto [r, c] : right) kind.rightBlockedBy.push_back(bomb(r, c));
  return kind;
}

std::array<PieceKind, kPieceKinds> buildKinds() {
  PieceKind empty{{}, 1, {}, {}, {}, {}, {}};
  return {
      empty,
      liftKind(),
      pillarKind(),
      stairKind({{{0, 0, 0}, {0, 0, 0}, {2, 16, 4}, {0, 17, 0}}}, {{4, 1}, {3, 0}, {3, 1}, {3, 2}},
                {block(2, 0, 2), block(2, 1, 16), block(2, 2, 4), block(3, 1, 17)},
                {{2, -1}, {3, 0}}, {{2, 3}, {3, 2}}),
      stairKind({{{0, 0, 0}, {0, 0, 0}, {0, 10, 4}, {0, 17, 0}}}, {{4, 1}, {3, 1}, {3, 2}},
                {block(2, 1, 10), block(2, 2, 4), block(3, 1, 17)}, {{2, 0}, {3, 0}},
                {{2, 3}, {3, 2}}),
      stairKind({{{0, 0, 0}, {0, 0, 0}, {2, 11, 0}, {0, 17, 0}}}, {{4, 1}, {3, 0}, {3, 1}},
                {block(2, 0, 2), block(2, 1, 11), block(3, 1, 17)}, {{2, -1}, {3, 0}},
                {{2, 2}, {3, 2}}),
  };
}

}  // namespace

const PieceKind* pieceKind(int32_t type) {
  static const std::array<PieceKind, kPieceKinds> kinds = buildKinds();
  if (type < 0 || type >= kPieceKinds) return nullptr;
  return &kinds[static_cast<std::size_t>(type)];
}

}  // namespace mdx::world
