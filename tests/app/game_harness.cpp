#include "game_harness.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "world/level_format.h"

namespace mdx::app::testing {

namespace fs = std::filesystem;

LevelPlan& LevelPlan::floor(int r) {
  for (int c = 0; c < 34; ++c) blocks[{r, c}] = 1;
  return *this;
}

LevelPlan& LevelPlan::robotAt(int r, int c) {
  blocks[{r, c}] = 99;
  return *this;
}

void writeLevelFile(const fs::path& path, const LevelPlan& plan) {
  world::LevelValues level;
  for (const auto& [cell, value] : plan.blocks)
    level.blockLayer[world::cellIndex(cell.first, cell.second)] = value;
  for (const auto& [cell, value] : plan.devices)
    level.deviceLayer[world::cellIndex(cell.first, cell.second)] = value;
  level.pieceCount = plan.pieceCount;
  std::copy(plan.pieceTypes.begin(), plan.pieceTypes.end(), level.pieceTypes.begin());
  level.landscapeChoice = plan.landscapeChoice;
  level.parallax1On = 1;
  level.parallax2Mode = 2;
  level.levelMusic = plan.levelMusic;
  std::ofstream(path, std::ios::binary) << world::writeLevel(level);
}

LevelPlan exitLevel() {
  LevelPlan plan;
  plan.floor(11).robotAt(10, 2);
  plan.devices[{10, 6}] = 8;
  return plan;
}

LevelPlan pillarLevel() {
  LevelPlan plan;
  plan.floor(20).robotAt(19, 1);
  plan.blocks[{19, 2}] = 1;
  plan.blocks[{18, 2}] = 1;
  plan.pieceCount = 1;
  plan.pieceTypes[0] = 2;
  plan.levelMusic = 2;
  return plan;
}

LevelPlan bombLevel() {
  LevelPlan plan;
  plan.floor(11).robotAt(10, 2);
  plan.devices[{11, 4}] = 12;
  return plan;
}

LevelPlan endingLevel() {
  LevelPlan plan;
  plan.floor(11).robotAt(10, 2);
  plan.levelMusic = 1;  // the ending forces its own music whatever the file says
  return plan;
}

LevelPlan holeLevel() {
  LevelPlan plan;
  plan.floor(11).robotAt(10, 2);
  plan.blocks.erase({11, 5});
  plan.blocks[{15, 5}] = 1;
  plan.devices[{14, 6}] = 12;  // a robot fallen into the hole walks onto a bomb
  plan.devices[{10, 8}] = 8;
  plan.pieceCount = 1;
  plan.pieceTypes[0] = 2;
  return plan;
}

GameFolder::GameFolder(int levelCount) {
  std::random_device random;
  root = fs::temp_directory_path() / ("mdx-app-" + std::to_string(random()));
  fs::create_directories(root / "pack");
  fs::create_directories(root / "media");
  std::ofstream(root / "pack" / "pref.ini") << "levels\n" << levelCount << "\n";
  writeLevelFile(pack().levelPath(world::kEndingLevel), endingLevel());
}

GameFolder::~GameFolder() {
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

void GameFolder::writeLevel(int n, const LevelPlan& plan) {
  writeLevelFile(pack().levelPath(n), plan);
}

world::PackLayout GameFolder::pack(const std::string& name) const {
  return world::shippedPackLayout(root.string(), name);
}

Harness::Harness(const GameFolder* folder, sound::Music* music, bool soundEnabled,
                 KeySource* keyboard)
    : game(clock, keyboard != nullptr ? *keyboard : keys, presenter, window, music, &messages) {
  game.state.options.packName = "pack";
  game.state.pack =
      folder != nullptr ? folder->pack() : world::shippedPackLayout("/no-game-folder", "pack");
  game.state.options.soundEnabled = music != nullptr && soundEnabled ? 1 : 0;
  game.state.options.windowed = 1;
  game.windowActive = 1;
  game.stateLog = [this](const std::string& line) { log.push_back(line); };
  game.startUp();
}

void Harness::frame(uint32_t ms) {
  clock.advance(ms);
  game.runFrame();
}

void Harness::run(uint32_t total, uint32_t ms) {
  for (uint32_t t = 0; t < total; t += ms) frame(ms);
}

void Harness::tap(uint8_t key) {
  keys.press(key);
  frame();
  keys.release(key);
  frame();
}

}  // namespace mdx::app::testing
