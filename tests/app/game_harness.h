// Test helpers for driving the whole game headless: small level files in a temporary game
// folder, and a harness with a virtual clock, a scripted keyboard and recording doubles.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/game.h"

namespace mdx::app::testing {

// A level to write: cells by (row, column), the level values.
struct LevelPlan {
  std::map<std::pair<int, int>, int> blocks;
  std::map<std::pair<int, int>, int> devices;
  int pieceCount = 0;
  std::array<int, 10> pieceTypes{};
  int landscapeChoice = 1;
  int levelMusic = 1;

  // A floor of block 1 across the whole of row r.
  LevelPlan& floor(int r);
  LevelPlan& robotAt(int r, int c);
};

// Writes the plan as a level file of 1938 lines.
void writeLevelFile(const std::filesystem::path& path, const LevelPlan& plan);

// Five ready-made levels: the robot walks right onto the exit (4 world steps, no pieces);
// one pillar piece falls onto a floor at row 20 (robot walled in); the robot walks onto a
// bomb; the ending level, where the robot walks on for ever; a hole four cells deep between
// the robot and the exit, which the one pillar fills flush only with its box at column 4, row
// 11 (anywhere else the robot falls in and onto a bomb).
LevelPlan exitLevel();
LevelPlan pillarLevel();
LevelPlan bombLevel();
LevelPlan endingLevel();
LevelPlan holeLevel();

// A temporary game folder (map pack "pack", pref.ini, media/level99.dat), removed with it.
class GameFolder {
 public:
  explicit GameFolder(int levelCount);
  ~GameFolder();
  void writeLevel(int n, const LevelPlan& plan);
  // Where the game finds the files of the named pack of this folder.
  world::PackLayout pack(const std::string& name = "pack") const;

  std::filesystem::path root;
};

// The game with every platform seam replaced by a test double.
struct Harness {
  // Runs the start-up with the pack "pack" of folder (none: the game finds no files); sound
  // is enabled when a music is given unless told otherwise. The game reads keys, or the
  // keyboard given.
  explicit Harness(const GameFolder* folder = nullptr, sound::Music* music = nullptr,
                   bool soundEnabled = true, KeySource* keyboard = nullptr);

  // Advances the clock by ms, then runs one frame.
  void frame(uint32_t ms = 1);
  // Runs frames of ms each until the clock has moved by total ms.
  void run(uint32_t total, uint32_t ms = 10);
  // Presses key for one frame and releases it in the next.
  void tap(uint8_t key);

  int32_t gameState() const { return game.state.progress.gameState; }

  VirtualClock clock{1000};
  ScriptedKeySource keys;
  CountingPresenter presenter;
  RecordingWindow window;
  world::RecordingMessageBoxes messages;
  std::vector<std::string> log;
  Game game;
};

}  // namespace mdx::app::testing
