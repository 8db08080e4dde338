// Small levels built in code for the world's tests: set cells by row and column, run the
// world's operations, and read back the sounds by file name.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "world/game_state.h"

namespace mdx::world::testing {

class WorldTest : public ::testing::Test {
 protected:
  WorldTest() : game(&sink, &boxes) { game.options.soundEnabled = 1; }

  int32_t& A(int row, int column) { return game.world.blockLayer[cellIndex(row, column)]; }
  int32_t& B(int row, int column) { return game.world.deviceLayer[cellIndex(row, column)]; }

  // Puts the robot at (row, column) and points robotRow / robotColumn at it.
  void placeRobot(int row, int column) {
    A(row, column) = kRobot;
    game.world.robotRow = row;
    game.world.robotColumn = column;
  }

  void expectRobotAt(int row, int column) {
    EXPECT_EQ(A(row, column), kRobot);
    EXPECT_EQ(game.world.robotRow, row);
    EXPECT_EQ(game.world.robotColumn, column);
  }

  // The effects played so far, by file name, and forgets them.
  std::vector<std::string> takeSounds() {
    std::vector<std::string> names;
    for (Sample sample : sink.played) names.push_back(sampleFile(sample));
    sink.played.clear();
    return names;
  }

  int countCells(const LevelGrid& layer, int32_t value) {
    int count = 0;
    for (int32_t cell : layer) count += cell == value;
    return count;
  }

  RecordingSampleSink sink;
  RecordingMessageBoxes boxes;
  GameState game;
};

inline std::string writeTempFile(const std::string& name, const std::string& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace mdx::world::testing
