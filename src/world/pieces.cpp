// The falling piece: its start at the top, the fall step and the side-move tests.
#include "world/cell_access.h"
#include "world/game_state.h"
#include "world/piece_table.h"

namespace mdx::world {
namespace {

constexpr int kStartColumn = 15;
constexpr int kLastFallRow = 24;  // a piece below this row has fallen out

const LevelGrid& layerOf(const World& world, Layer layer) {
  return layer == Layer::Block ? world.blockLayer : world.deviceLayer;
}

// The grid index of a cell of the piece's box; column -1 is column 33 of the row above.
int boxIndex(const Pieces& pieces, int row, int column) {
  return linearIndex(pieces.pieceRow + row, pieces.pieceColumn + column);
}

bool holds(const World& world, const Pieces& pieces, const CellTest& test) {
  const int32_t value =
      readCell(layerOf(world, test.layer), boxIndex(pieces, test.row, test.column));
  if (test.layer == Layer::Block) return value > 0;
  return value >= 0 && value < 32 && (test.codeMask & codeBit(value)) != 0;
}

bool anyHolds(const World& world, const Pieces& pieces, const std::vector<CellTest>& tests) {
  for (const CellTest& test : tests) {
    if (holds(world, pieces, test)) return true;
  }
  return false;
}

void writeCells(World& world, const Pieces& pieces, const std::vector<CellWrite>& writes) {
  for (const CellWrite& write : writes) {
    LevelGrid& layer = write.layer == Layer::Block ? world.blockLayer : world.deviceLayer;
    writeCell(layer, boxIndex(pieces, write.row, write.column), write.value);
  }
}

// The type of piece pieceIndex. Only ten types are stored; any piece beyond them is type 0.
int32_t fallingType(const GameState& game) {
  const int32_t index = game.pieces.pieceIndex;
  return (index >= 0 && index < 10) ? game.world.pieceTypes[index] : 0;
}

}  // namespace

void GameState::setupPiece() {
  pieces.pieceColumn = kStartColumn;
  pieces.pieceRow = 0;
  const PieceKind* kind = pieceKind(fallingType(*this));
  if (kind == nullptr) return;  // unknown type: the shown shape stays as it was
  pieces.pieceShape = kind->shape;
  pieces.pieceShapeInBlocks = kind->shapeInBlocks;
}

namespace {

// The next piece appears at once; the fast drop of the Down key ends with this piece.
void nextPiece(GameState& game) {
  game.pieces.pieceIndex += 1;
  game.setupPiece();
  game.keys.keyLatch[LatchDown] = 0;
}

void land(GameState& game, const PieceKind& kind) {
  writeCells(game.world, game.pieces, kind.landWrites);
  nextPiece(game);
  game.playSample(Sample::Stick);
}

void blowUp(GameState& game, const PieceKind& kind, const FallCheck& check) {
  writeCells(game.world, game.pieces, kind.blowUpWrites);
  for (const CellTest& test : check.anyOf) {
    if (test.layer != Layer::Device) continue;
    const int index = boxIndex(game.pieces, test.row, test.column);
    if (readCell(game.world.deviceLayer, index) == kBomb)
      writeCell(game.world.deviceLayer, index, 0);
  }
  game.world.explosionTicks = 1;
  nextPiece(game);
  game.playSample(Sample::Explode);
}

// One fall step. Every check reads the piece as it stands when the check runs: after a
// piece has landed the next one is already at the top, and the later checks (and the later
// type blocks) test that new piece.
void fallStep(GameState& game) {
  if (game.pieces.pieceRow > kLastFallRow) nextPiece(game);
  for (int32_t type = 1; type < kPieceKinds; ++type) {
    if (fallingType(game) != type) continue;
    const PieceKind& kind = *pieceKind(type);
    for (const FallCheck& check : kind.fallChecks) {
      if (!anyHolds(game.world, game.pieces, check.anyOf)) continue;
      if (check.action == FallAction::Land) {
        land(game, kind);
      } else {
        blowUp(game, kind, check);
      }
    }
  }
}

void sideTest(GameState& game, bool left) {
  const PieceKind* kind = pieceKind(fallingType(game));
  if (kind == nullptr) return;
  const std::vector<CellTest>& tests = left ? kind->leftBlockedBy : kind->rightBlockedBy;
  if (anyHolds(game.world, game.pieces, tests)) game.pieces.pieceMoveAllowed = 0;
}

}  // namespace

void GameState::handlePieceCommand() {
  switch (pieces.pieceCommand) {
    case kPieceTestLeft:
      sideTest(*this, true);
      break;
    case kPieceFallStep:
      fallStep(*this);
      break;
    case kPieceTestRight:
      sideTest(*this, false);
      break;
    default:
      break;
  }
  pieces.pieceCommand = kPieceCommandDone;
}

}  // namespace mdx::world
