// Level sources made by the tests: a small winnable level whose rows can be changed before
// the text is made.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace mdx::level::testing {

// A floor on row 20, the robot at (19, 2), the exit at (19, 30), no pieces: won by straight
// drops. The header is lines 1 to 7, the blocks map's rows are lines 9 to 36 and the
// devices' 38 to 65.
struct Source {
  std::string header =
      "pieces\nlandscapeChoice 1\nparallax1On 1\nparallax2Mode 2\nlevelMusic 1\n"
      "landscapeMotion 0\nchar block g 1\n";
  std::vector<std::string> blocks = std::vector<std::string>(28, std::string(34, '.'));
  std::vector<std::string> devices = std::vector<std::string>(28, std::string(34, '.'));
  std::string tail;

  Source() {
    for (int r = 20; r < 28; ++r) blocks[r] = std::string(34, 'g');
    blocks[19][2] = '@';
    devices[19][30] = 'E';
  }
  // A pit at column 22 that only a pillar steered into it fills: proven, not by straight drops.
  static Source needingAPillar() {
    Source source;
    source.header.replace(0, 6, "pieces pillar");
    for (int r = 20; r < 24; ++r) source.blocks[r][22] = '.';
    return source;
  }
  std::string str() const {
    std::string out = header + "blocks\n";
    for (const auto& row : blocks) out += row + "\n";
    out += "devices\n";
    for (const auto& row : devices) out += row + "\n";
    return out + tail;
  }
  // Writes the source into the test's temporary folder; returns its path.
  std::string write(const std::string& name) const {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << str();
    return path;
  }
};

}  // namespace mdx::level::testing
