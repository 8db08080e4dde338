// The level file reader: 1938 lines, one value per line, labels in between.
#include "world/game_state.h"
#include "world/line_reader.h"

namespace mdx::world {
namespace {

// Reads 952 values into layer in index order; calls onValue for each cell after storing it.
template <typename OnValue>
void readLayer(LineReader& reader, LevelGrid& layer, OnValue onValue) {
  for (int k = 0; k < kCells; ++k) {
    layer[static_cast<std::size_t>(k)] = reader.readValue();
    onValue(k, layer[static_cast<std::size_t>(k)]);
  }
}

// Skips a label line and converts the line after it.
int32_t readLabelledValue(LineReader& reader) {
  reader.skipLine();
  return reader.readValue();
}

}  // namespace

void GameState::loadLevelFile(const std::string& path) {
  LineReader reader(path);
  if (!reader.opened() && messages != nullptr) {
    // The text is fixed and does not name the level; loading goes on from the failed
    // stream, so the level comes out empty and the robot keeps its old position.
    messages->showMessage("Error opening file level??.dat", "Critical Error", MessageIcon::Error);
  }
  reader.skipLine();
  readLayer(reader, world.blockLayer, [this](int k, int32_t value) {
    if (value == kRobot) {  // the last robot in file order sets the position
      world.robotColumn = k % kColumns;
      world.robotRow = k / kColumns;
    }
  });
  reader.skipLine();
  readLayer(reader, world.deviceLayer, [](int, int32_t) {});
  reader.skipLine();
  world.pieceCount = reader.readValue();
  for (int32_t& type : world.pieceTypes) type = readLabelledValue(reader);
  world.landscapeChoice = readLabelledValue(reader);
  world.parallax1On = readLabelledValue(reader);
  world.parallax2Mode = readLabelledValue(reader);
  world.levelMusic = readLabelledValue(reader);
  world.landscapeMotion = readLabelledValue(reader);
  if (progress.levelNumber == 99) world.levelMusic = 99;  // the ending always plays its own music
}

}  // namespace mdx::world
