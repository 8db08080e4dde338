// Level start: the pack's settings, the level path, and every per-level reset.
#include "world/game_state.h"
#include "world/level_format.h"

namespace mdx::world {
namespace {

// The pack's last level from packName/pref.ini: a label line, then the number. A missing
// file gives 0 without a message. Lines follow the level-file rules, so a long label works.
int32_t packLevelCount(const std::string& packName) {
  std::string bytes;
  readFileStart(packName + "/pref.ini", kPrefLines, bytes);
  return readLevelCount(bytes);
}

void resetScene(Scene& scene) {
  scene.hudPhase = 0;
  scene.hudSlide = 0.0f;
  scene.blinkPhase = 0;
  scene.explosionAngle = 0.0f;
  scene.robotScale = 1.0f;
  scene.robotPivotX = 8.0f;
  scene.robotPivotY = 25.0f;
  scene.bannerScale = 0.0f;
  scene.bannerX = 100.0f;
  scene.waveClock = 0.0f;
  scene.landscapeClock = 45.0f;
  scene.gateTurn = 0.0f;
  scene.parallax1X = {0.0f, 639.0f};
  scene.parallax2X = {0.0f, 639.0f};
  scene.fadeLevel = 255;
  scene.lightLevel1 = 255;
  scene.lightLevel2 = 255;
  scene.lightFalling1 = 1;
  scene.lightFalling2 = 1;
}

}  // namespace

std::string GameState::levelFilePath(int32_t n) const {
  if (n == 99) return "media/level99.dat";
  const std::string number = std::to_string(n);
  const std::string padded = (n >= 0 && n <= 9) ? "0" + number : number;
  return options.packName + "/level" + padded + ".dat";
}

LevelFileReport GameState::startLevel(int32_t n) {
  progress.levelCount = packLevelCount(options.packName);
  return startLevelFromFile(levelFilePath(n));
}

LevelFileReport GameState::startLevelFromFile(const std::string& path) {
  const LevelFileReport report = loadLevelFile(path);
  resetForLevel();
  return report;
}

LevelFileReport GameState::startLevelFromBytes(std::string_view bytes) {
  const LevelFileReport report = loadLevelBytes(bytes);
  resetForLevel();
  return report;
}

void GameState::resetForLevel() {
  world.gateState = 0;
  world.levelComplete = 0;
  keys.quitPrompt = 0;
  world.robotClimbing = 0;
  applyGates();
  resetScene(scene);
  world.explosionTicks = 0;
  world.robotExploded = 0;
  world.robotFrame = 0;
  // Carried over on purpose: robotFalling, liftCounter, liftReturnTimer, the explosion
  // position, and the exit light when the new level has no exit.
  pieces.pieceIndex = 0;
  pieces.pieceCommand = 2;
  pieces.pieceMoveAllowed = 1;
  setupPiece();
}

}  // namespace mdx::world
