// Level start: the pack's settings, the level path, and every per-level reset.
#include "world/game_state.h"
#include "world/level_format.h"
#include "world/timed_steps.h"

namespace mdx::world {
namespace {

// The loop's animation start values, and the rest of the scene's per-level values.
void resetScene(Scene& scene) {
  setAnimationStartValues(scene);
  scene.hudPhase = 0;
  scene.hudSlide = 0.0f;
  scene.blinkPhase = 0;
  scene.explosionAngle = 0.0f;
  scene.bannerScale = 0.0f;
  scene.bannerX = 100.0f;
  scene.lightFalling1 = 1;
  scene.lightFalling2 = 1;
}

}  // namespace

// The pack's last level from its pref.ini: a label line, then the number. Lines follow
// the level-file rules, so a long label works. When the file is missing or its number is not
// positive, the pack's consecutive level files from level 1 on are counted instead.
int32_t GameState::packLevelCount() {
  const std::string prefPath = pack.prefPath();
  std::string bytes;
  const bool opened = readFileStart(prefPath, kPrefLines, bytes);
  const int32_t count = readLevelCount(bytes);
  if (opened && count > 0) return count;
  int32_t found = 0;
  std::string ignored;
  while (found < kMaxPackLevels && readFileStart(pack.levelPath(found + 1), 1, ignored)) ++found;
  const std::string problem =
      opened ? " does not give a positive number of levels" : " could not be opened";
  tellOnce(prefPath, prefPath + problem + ": the pack's " + std::to_string(found) +
                         " consecutive level files from level 1 on are played.");
  return found;
}

LevelMeta GameState::packLevelWords(int32_t n) {
  if (n == kEndingLevel) return {};
  const std::string path = pack.wordsPath();
  const PackMeta words = readPackMeta(path);
  if (!words.problems.empty()) {
    std::string text = "Some level names and hints of the pack could not be read:";
    for (const std::string& problem : words.problems) text += "\n" + problem;
    tellOnce(path, text);
  }
  return words.levelMeta(n);
}

LevelFileReport GameState::startLevel(int32_t n) {
  progress.levelCount = packLevelCount();
  levelWords = packLevelWords(n);
  const std::string path = pack.levelPath(n);
  const LevelFileReport report = startLevelFromFile(path);
  if (report.opened && !report.complete()) {
    // Missing lines read as 0, so the level is played as read; the player learns why once.
    const std::string where =
        report.overlong ? " has a line longer than 254 characters at line " : " ends after line ";
    tellOnce(path, "The level file " + path + where + std::to_string(report.lines) + " of " +
                       std::to_string(kLevelFileLines) + "; the rest of the level reads as 0.");
  }
  return report;
}

void GameState::tellOnce(const std::string& file, const std::string& text) {
  if (messages == nullptr || !toldFiles_.insert(file).second) return;
  messages->showMessage(text, "MarvolenDX", MessageIcon::Information);
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
  pieces.pieceCommand = kPieceFallStep;
  pieces.pieceMoveAllowed = 1;
  setupPiece();
}

}  // namespace mdx::world
