#include "shipped_levels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>

#include "level/tool_commands.h"

namespace mdx::level::testing {

std::vector<std::string> shippedPacks() {
  std::vector<std::string> packs;
  std::stringstream list(MDX_PACKS);  // the build's pack list, separated by commas
  for (std::string pack; std::getline(list, pack, ',');) packs.push_back(pack);
  return packs;
}

std::vector<ShippedLevel> packLevels(const std::string& pack) {
  std::vector<ShippedLevel> levels;
  const std::filesystem::path dir = std::filesystem::path(MDX_SOURCE_DIR) / "levels" / pack;
  const std::regex name("level([0-9][0-9])\\.src");
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::smatch match;
    const std::string file = entry.path().filename().string();
    if (!std::regex_match(file, match, name)) continue;
    ShippedLevel level;
    level.number = std::stoi(match[1]);
    level.source = entry.path().string();
    level.built =
        std::string(MDX_GAME_DIR) + "/" + pack + "/level" + std::string(match[1]) + ".dat";
    level.pack = pack;
    levels.push_back(level);
  }
  std::sort(levels.begin(), levels.end(),
            [](const ShippedLevel& a, const ShippedLevel& b) { return a.number < b.number; });
  return levels;
}

std::vector<ShippedLevel> packLevels() {
  std::vector<ShippedLevel> levels;
  for (const std::string& pack : shippedPacks()) {
    for (ShippedLevel& level : packLevels(pack)) levels.push_back(std::move(level));
  }
  return levels;
}

LevelSource loadSource(const std::string& path) {
  LevelSource level;
  std::string error;
  EXPECT_TRUE(loadLevel(path, level, error)) << error;
  return level;
}

ShippedLevel endingLevel() {
  return {99, std::string(MDX_SOURCE_DIR) + "/levels/ending/level99.src",
          std::string(MDX_GAME_DIR) + "/media/level99.dat", "ending"};
}

std::string levelName(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "level%02d", number);
  return name;
}

std::string testName(const ShippedLevel& level) {
  return level.pack + "_" + levelName(level.number);
}

}  // namespace mdx::level::testing
