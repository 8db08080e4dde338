#include "world/timed_steps.h"

namespace mdx::world {

namespace {
constexpr double kDegreesToBarAngle = 0.034906585044444445;  // pi / 90: 45 degrees draw as 90
constexpr int kLastPieceColumn = 31;  // the 3-column box stays on the 34-column grid
constexpr int kBottomRow = 27;
}  // namespace

void setAnimationStartValues(Scene& scene) {
  scene.fadeLevel = 255;
  scene.lightLevel1 = 255;
  scene.lightLevel2 = 255;
  scene.robotScale = 1.0f;
  scene.robotPivotX = 8.0f;
  scene.robotPivotY = 25.0f;
  scene.waveClock = 0.0f;
  scene.landscapeClock = 45.0f;
  scene.gateTurn = 0.0f;
  scene.parallax1X = {0.0f, 639.0f};
  scene.parallax2X = {0.0f, 639.0f};
}

void swingBarStep(GameState& game) {
  World& world = game.world;
  Scene& scene = game.scene;
  if (world.gateState == 1 || world.gateState == 3) scene.gateTurn += 5.0f;
  if (scene.gateTurn > 44.0f && world.gateState == 1) {
    world.gateState = 2;
    scene.gateTurn = 45.0f;
    game.applyGates();
  }
  if (scene.gateTurn > 89.0f && world.gateState == 3) {
    world.gateState = 0;
    scene.gateTurn = 0.0f;
    game.applyGates();
  }
  scene.gateAngle = static_cast<float>(scene.gateTurn * kDegreesToBarAngle);
}

void explosionStep(GameState& game) {
  World& world = game.world;
  if (world.explosionTicks <= 0) return;
  game.scene.explosionAngle -= 0.25f;
  world.explosionTicks = static_cast<int16_t>(world.explosionTicks + 1);
  if (world.explosionTicks > 20) {
    world.explosionTicks = 0;
    game.applyGates();
  }
}

void dropStep(GameState& game) {
  game.pieces.pieceCommand = kPieceFallStep;
  game.playSample(Sample::Move);
  game.handlePieceCommand();
  game.pieces.pieceRow += 1;
}

void bottomRowStep(GameState& game) {
  Pieces& pieces = game.pieces;
  if (pieces.pieceRow <= kBottomRow) return;
  pieces.pieceRow = kBottomRow;
  pieces.pieceIndex += 1;
  game.setupPiece();
}

void sideMoveStep(GameState& game, bool left) {
  Pieces& pieces = game.pieces;
  pieces.pieceCommand = left ? kPieceTestLeft : kPieceTestRight;
  pieces.pieceMoveAllowed = 1;
  game.handlePieceCommand();
  if (pieces.pieceMoveAllowed != 1) return;
  if (left) {
    pieces.pieceColumn = pieces.pieceColumn - 1 < 0 ? 0 : pieces.pieceColumn - 1;
  } else {
    pieces.pieceColumn =
        pieces.pieceColumn + 1 > kLastPieceColumn ? kLastPieceColumn : pieces.pieceColumn + 1;
  }
}

void worldStepWithFrame(GameState& game) {
  game.worldStep();
  int32_t& frame = game.world.robotFrame;
  if (game.world.robotFalling == 1) {
    frame = 2;
  } else if (frame == 2 || frame == 1) {
    frame = 0;
  } else if (frame == 0) {
    frame = 1;
  }
}

}  // namespace mdx::world
