// The game's level loader: reads a level file into the world.
#include "world/game_state.h"
#include "world/level_format.h"

namespace mdx::world {

LevelFileReport GameState::loadLevelFile(const std::string& path) {
  std::string bytes;
  if (!readFileStart(path, kLevelFileLines, bytes)) {
    if (messages != nullptr) {
      // Loading goes on from the failed stream, so the level comes out empty and the robot
      // keeps its old position; the game does not play such a level.
      messages->showMessage("Error opening file " + path, "Critical Error", MessageIcon::Error);
    }
    LineReader failed = LineReader::failed();
    LevelFileReport report = readLevelInto(failed);
    report.opened = false;
    return report;
  }
  LineReader reader(bytes);
  return readLevelInto(reader);
}

LevelFileReport GameState::loadLevelBytes(std::string_view bytes) {
  LineReader reader(bytes);
  return readLevelInto(reader);
}

LevelFileReport GameState::readLevelInto(LineReader& reader) {
  const LevelFileReport report = readLevel(reader, world);
  // The last robot in file order sets the position; without one the robot stays where it was.
  for (int k = kCells - 1; k >= 0; --k) {
    if (world.blockLayer[static_cast<std::size_t>(k)] == kRobot) {
      world.robotColumn = k % kColumns;
      world.robotRow = k / kColumns;
      break;
    }
  }
  // The ending always plays its own music.
  if (progress.levelNumber == kEndingLevel) world.levelMusic = kEndingLevel;
  return report;
}

}  // namespace mdx::world
