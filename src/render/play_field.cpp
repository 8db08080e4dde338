#include "render/play_field.h"

#include "render/draw_helpers.h"
#include "render/overlays.h"

namespace mdx::render {

namespace {

using world::kCellSize;
using world::kColumns;
using world::kDrawnRows;

// An unrotated cell picture is passed the cell's middle as its centre; it has no effect.
constexpr float kCellCentre = 9.5f;
// How much of the hint's copy of the piece shows: a little over half.
constexpr uint32_t kGhostAlpha = 0x90000000u;

struct Cell {
  int32_t code;
  float x, y;
};

// Calls visit(Cell) for every drawn cell of a layer in scan order: rows 0 to 26, columns 0 to 33.
template <typename Visit>
void forEachDrawnCell(const world::LevelGrid& layer, Visit visit) {
  for (int row = 0; row < kDrawnRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      visit(Cell{layer[static_cast<size_t>(world::cellIndex(row, column))],
                 world::cellPixelX(column), world::cellPixelY(row)});
    }
  }
}

void drawCellImage(gfx::SpriteImage& image, float x, float y, uint32_t colour) {
  image.draw(x, y, colour, 0.0f, kCellCentre, kCellCentre, 1.0f, 1.0f);
}

// With the "3D" blocks option every block is drawn once more, 2 right and 1 down, under the
// main pass: the copy peeks out as a thin edge on the right and at the bottom.
void drawDepthPass(const world::GameState& state, Assets& assets, uint32_t grey) {
  if (state.options.blocks3D != 1) return;
  forEachDrawnCell(state.world.blockLayer, [&](const Cell& cell) {
    if (!world::hasBlockPicture(cell.code)) return;
    drawCellImage(assets.blockImages[static_cast<size_t>(cell.code)], cell.x + 2.0f, cell.y + 1.0f,
                  grey);
  });
}

void drawExplosion(const world::GameState& state, Assets& assets, const Cell& cell, uint32_t grey) {
  assets.explosionImages[0].draw(cell.x - 9.0f, cell.y + 8.0f, grey, -state.scene.explosionAngle,
                                 19.5f, 19.5f, 1.0f, 1.0f);
}

// A conveyor: a small turning wheel underneath, then one of its two alternating pictures.
void drawConveyor(const world::GameState& state, Assets& assets, const Cell& cell, uint32_t grey) {
  assets.deviceImages[world::kWheel].draw(cell.x + 2.0f, cell.y + 2.0f, grey, state.scene.spinAngle,
                                          7.125f, 7.125f, 0.75f, 0.75f);
  const int32_t picture = state.scene.altFramePhase != 0
                              ? cell.code
                              : world::findCellKind(world::Layer::Block, cell.code)->secondPicture;
  drawCellImage(assets.blockImages[static_cast<size_t>(picture)], cell.x, cell.y, grey);
}

// The block pass; the ending shows conveyors as nothing at all.
void drawBlockPass(const world::GameState& state, Assets& assets, uint32_t grey,
                   bool withConveyors) {
  forEachDrawnCell(state.world.blockLayer, [&](const Cell& cell) {
    if (cell.code == world::kExplosionMarker) {
      drawExplosion(state, assets, cell, grey);
    } else if (world::isConveyor(cell.code)) {
      if (withConveyors) drawConveyor(state, assets, cell, grey);
    } else if (world::hasBlockPicture(cell.code)) {
      drawCellImage(assets.blockImages[static_cast<size_t>(cell.code)], cell.x, cell.y, grey);
    }
  });
}

void drawDevice(const world::GameState& state, Assets& assets, const Cell& cell, uint32_t grey) {
  const world::Scene& scene = state.scene;
  gfx::SpriteImage& image = assets.deviceImages[static_cast<size_t>(cell.code)];
  switch (cell.code) {
    case world::kWheel:
      image.draw(cell.x, cell.y, grey, scene.spinAngle, 9.5f, 9.5f, 1.0f, 1.0f);
      break;
    case world::kSwingBar:  // turns about the middle of its left cell, reaching two cells right
      image.draw(cell.x, cell.y, grey, scene.gateAngle, 28.5f, 9.5f, 1.0f, 1.0f);
      break;
    case world::kExit:  // two cells tall: it reaches into the row above
      drawCellImage(image, cell.x, cell.y - kCellSize, grey);
      break;
    case world::kBomb:
      drawCellImage(image, cell.x, cell.y, grey);
      if (scene.blinkPhase == 0) drawCellImage(image, cell.x, cell.y, redColour(scene.fadeLevel));
      break;
    case world::kBlinker:  // lit in the phases where the bombs show no red
      if (scene.blinkPhase != 0) drawCellImage(image, cell.x, cell.y, grey);
      break;
    default:
      drawCellImage(image, cell.x, cell.y, grey);
      break;
  }
}

void drawDevicePass(const world::GameState& state, Assets& assets, uint32_t grey) {
  forEachDrawnCell(state.world.deviceLayer, [&](const Cell& cell) {
    if (!world::hasDevicePicture(cell.code)) return;
    drawDevice(state, assets, cell, grey);
  });
}

void drawExitLight(Assets& assets, const world::GameState& state, int index, int32_t level,
                   float rotation) {
  assets.lightImages[static_cast<size_t>(index)].draw(state.world.lightX, state.world.lightY,
                                                      greyColour(level), rotation, 12.5f, 19.0f,
                                                      1.0f, 1.0f);
}

// The falling piece's pictures with its box at (boxColumn, boxRow). A piece sits on grid cells;
// it is shown while its top-left cell is in the drawn grid, even when lower rows of its box
// reach beyond it.
void drawPieceAt(const world::Pieces& piece, Assets& assets, int32_t boxColumn, int32_t boxRow,
                 uint32_t colour) {
  if (boxColumn < 0 || boxColumn >= kColumns || boxRow < 0 || boxRow >= kDrawnRows) return;
  auto& images = piece.pieceShapeInBlocks == 1 ? assets.blockImages : assets.deviceImages;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int32_t code = piece.pieceShape[static_cast<size_t>(row)][static_cast<size_t>(column)];
      // Codes past the picture arrays have no picture; never index beyond them.
      if (code <= 0 || code >= static_cast<int32_t>(images.size())) continue;
      const float x = static_cast<float>(kCellSize * (boxColumn + column));
      const float y = static_cast<float>(kCellSize * (boxRow + row) - 26);
      drawPlain(images[static_cast<size_t>(code)], x, y, colour);
    }
  }
}

void drawFallingPiece(const world::GameState& state, Assets& assets, uint32_t grey) {
  if (state.progress.gameState != world::StateDropping) return;
  drawPieceAt(state.pieces, assets, state.pieces.pieceColumn, state.pieces.pieceRow, grey);
}

// The hint: the falling piece once more, see-through, where it should land. Under the piece
// itself, so the piece stays plain where the two meet.
void drawHintGhost(const world::GameState& state, Assets& assets, uint32_t grey) {
  const world::HintView& hint = state.hint;
  const int32_t gameState = state.progress.gameState;
  if (!hint.ghost || hint.pieceIndex != state.pieces.pieceIndex) return;
  if (gameState != world::StateDropping && gameState != world::StateReady) return;
  drawPieceAt(state.pieces, assets, hint.column, hint.row, (grey & 0x00FFFFFFu) | kGhostAlpha);
}

struct RobotOffset {
  float dx = 0.0f, dy = 0.0f;
};

// Riding a lift car lifts the robot 3 pixels; climbing moves it 9 left and 10 down.
RobotOffset robotOffset(const world::World& world) {
  if (world.liftCounter >= 1 && world.liftCounter <= 3) return {0.0f, -3.0f};
  if (world.robotClimbing == 1) return {-9.0f, 10.0f};
  return {};
}

// The robot spinning into the exit: placed by its pivot relative to the exit lights.
void drawRobotAtExit(const world::GameState& state, gfx::SpriteImage& image, uint32_t grey) {
  const world::Scene& scene = state.scene;
  image.draw(state.world.lightX + 13.0f - scene.robotPivotX,
             state.world.lightY + 17.0f - scene.robotPivotY, grey, scene.spinAngle,
             scene.robotPivotX, scene.robotPivotY, scene.robotScale, scene.robotScale);
}

void drawRobot(const world::GameState& state, Assets& assets, const Cell& cell,
               const RobotOffset& offset, uint32_t grey) {
  const world::World& world = state.world;
  const float y = cell.y - kCellSize + offset.dy;  // one row above its cell
  const int32_t frame = world.robotFrame;
  if (frame == 0 || frame == 1) {
    gfx::SpriteImage& image = assets.robotImages[static_cast<size_t>(frame)];
    if (world.robotClimbing == 0) {
      drawCellImage(image, cell.x, y, grey);
    } else if (world.robotClimbing == 1) {
      image.draw(cell.x + offset.dx, y, grey, 0.75f, 9.5f, 19.0f, 1.0f, 1.0f);
    }
  } else if (frame == 2) {
    if (world.levelComplete == 0) drawCellImage(assets.robotImages[3], cell.x, y, grey);
    if (world.levelComplete == 1) drawRobotAtExit(state, assets.robotImages[3], grey);
  } else if (frame == 3 && world.levelComplete == 1) {
    drawRobotAtExit(state, assets.robotImages[2], grey);
  }
}

void drawRobotPass(const world::GameState& state, Assets& assets, uint32_t grey) {
  const RobotOffset offset = robotOffset(state.world);
  forEachDrawnCell(state.world.blockLayer, [&](const Cell& cell) {
    if (cell.code == world::kRobot) drawRobot(state, assets, cell, offset, grey);
  });
}

// After a blow-up the robot flies off, swaying, from where the frame loop has carried it.
void drawFlyingRobot(const world::GameState& state, Assets& assets, uint32_t grey) {
  const world::World& world = state.world;
  const world::Scene& scene = state.scene;
  if (world.robotExploded != 1) return;
  assets.robotImages[3].draw(world.robotExplosionX, world.robotExplosionY - kCellSize, grey,
                             5.0f * sinDegrees(4.0f * scene.waveClock), 9.5f, 19.0f,
                             scene.robotScale, scene.robotScale);
}

// In the ending the robot stands still: frame 0 shows picture 3, frame 1 picture 2.
void drawEndingRobots(const world::GameState& state, Assets& assets, uint32_t grey) {
  const int32_t frame = state.world.robotFrame;
  if (frame != 0 && frame != 1) return;
  gfx::SpriteImage& image = assets.robotImages[frame == 0 ? 3 : 2];
  forEachDrawnCell(state.world.blockLayer, [&](const Cell& cell) {
    if (cell.code == world::kRobot) drawCellImage(image, cell.x, cell.y - kCellSize, grey);
  });
}

}  // namespace

void drawPlayField(const world::GameState& state, Assets& assets) {
  const uint32_t grey = greyColour(state.scene.fadeLevel);
  drawDepthPass(state, assets, grey);
  drawExitLight(assets, state, 0, state.scene.lightLevel1, state.scene.spinAngle);
  drawBlockPass(state, assets, grey, true);
  drawDevicePass(state, assets, grey);
  drawHintGhost(state, assets, grey);
  drawFallingPiece(state, assets, grey);
  drawExitLight(assets, state, 1, state.scene.lightLevel2, 0.5f * state.scene.spinAngle);
  drawRobotPass(state, assets, grey);
  drawFlyingRobot(state, assets, grey);
}

void drawEnding(const world::GameState& state, Assets& assets) {
  const uint32_t grey = greyColour(state.scene.fadeLevel);
  drawDepthPass(state, assets, grey);
  drawBlockPass(state, assets, grey, false);
  drawDevicePass(state, assets, grey);
  drawEndingRobots(state, assets, grey);
  drawEndingQuitPrompt(state, assets);
}

}  // namespace mdx::render
