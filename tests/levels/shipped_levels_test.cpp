// The shipped map pack and ending: every level can be won and needs its pieces, the built
// files are the sources', and the pack as a whole uses every landscape, motion and music.
#include "shipped_levels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/files.h"
#include "level/solve_report.h"
#include "level/tool_commands.h"
#include "world/actions.h"
#include "world/game_state.h"
#include "world/level_meta.h"
#include "world/pack_catalog.h"

namespace mdx::level::testing {
namespace {

world::GameState startedFrom(const std::string& dat, int32_t levelNumber = 1) {
  world::GameState game;
  game.progress.levelNumber = levelNumber;
  game.startLevelFromFile(dat);
  return game;
}

int robotCount(const LevelSource& level) {
  int robots = 0;
  for (int32_t cell : level.blockLayer) robots += cell == world::kRobot;
  return robots;
}

class PackLevel : public ::testing::TestWithParam<ShippedLevel> {};

// The solver wins the level, its action string wins it again when replayed through the world's
// action letters, and (unless the level is an introduction) dropping every piece straight
// down does not.
TEST_P(PackLevel, IsWonAndNeedsItsPieces) {
  const LevelSource source = loadSource(GetParam().source);
  const world::GameState start = startedFrom(GetParam().built);
  ASSERT_GT(start.world.pieceCount, 0);

  SolverLimits limits;
  limits.maxSeconds = 120;
  const SolveResult result = solveLevel(start, limits);
  ASSERT_TRUE(result.solved) << describeSolution(result);

  world::GameState replay = start;
  for (char action : result.actions()) ASSERT_TRUE(world::performAction(replay, action));
  EXPECT_EQ(replay.world.levelComplete, 1) << result.actions();
  EXPECT_EQ(replay.world.robotExploded, 0);

  if (!source.intro) {
    EXPECT_NE(runStraightDrops(start, limits.maxWorldSteps).end, RobotEnd::Exit)
        << "the level is won with every piece dropped straight down";
  }
}

// What the game needs of a level: one robot on a row the rules can move it from, real pieces,
// and look-and-sound values the drawing and the music know.
TEST_P(PackLevel, FollowsTheLevelRules) {
  const LevelSource level = loadSource(GetParam().source);
  EXPECT_EQ(robotCount(level), 1);
  const world::GameState start = startedFrom(GetParam().built);
  EXPECT_GT(start.world.robotRow, 1);
  EXPECT_LT(start.world.robotRow, 27);
  EXPECT_GE(level.pieceCount, 1);
  EXPECT_LE(level.pieceCount, 10);
  for (int i = 0; i < 10; ++i) {
    if (i < level.pieceCount) {
      EXPECT_GE(level.pieceTypes[i], 1);
      EXPECT_LE(level.pieceTypes[i], 5);
    } else {
      EXPECT_EQ(level.pieceTypes[i], 0);
    }
  }
  EXPECT_GE(level.landscapeChoice, 1);
  EXPECT_LE(level.landscapeChoice, 3);
  EXPECT_GE(level.levelMusic, 1);
  EXPECT_LE(level.levelMusic, 3);
  bool hasExit = false;
  for (int32_t device : level.deviceLayer) hasExit = hasExit || device == world::kExit;
  EXPECT_TRUE(hasExit);
  for (int32_t block : level.blockLayer) {
    EXPECT_TRUE(block == 0 || block == world::kRobot || (block >= 1 && block <= 61))
        << "block " << block << " has no picture";
  }
}

// The level file in the game folder is exactly what the converter makes of the source.
TEST_P(PackLevel, BuiltFileMatchesItsSource) {
  std::string built, error;
  ASSERT_TRUE(mdx::base::readWholeFile(GetParam().built, built, error)) << error;
  EXPECT_EQ(built, writeDat(loadSource(GetParam().source)));
}

// A player sees the level's name on the ready sign and its hint when stuck, and a designer
// reads its idea: the pack the game reads carries all three, as the source words them.
TEST_P(PackLevel, ItsPackCarriesItsNameIdeaAndHint) {
  const world::LevelMeta& source = loadSource(GetParam().source).meta;
  for (const world::LevelMetaField& field : world::levelMetaFields())
    EXPECT_FALSE((source.*field.text).empty()) << "the source has no " << field.key;
  const world::PackLayout layout = world::shippedPackLayout(MDX_GAME_DIR, GetParam().pack);
  const world::PackMeta pack = world::readPackMeta(layout.wordsPath());
  EXPECT_TRUE(pack.problems.empty()) << pack.problems.front();
  EXPECT_EQ(pack.levelMeta(GetParam().number), source);
}

INSTANTIATE_TEST_SUITE_P(Packs, PackLevel, ::testing::ValuesIn(packLevels()),
                         [](const auto& info) { return testName(info.param); });

TEST(Packs, SettingsNameTheLastLevelAndThePackList) {
  std::string list;
  for (const std::string& pack : shippedPacks()) {
    const std::vector<ShippedLevel> levels = packLevels(pack);
    ASSERT_GE(levels.size(), 8u) << pack;
    for (size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(levels[i].number, static_cast<int>(i + 1));
    std::string pref, error;
    ASSERT_TRUE(mdx::base::readWholeFile(std::string(MDX_GAME_DIR) + "/" + pack + "/pref.ini", pref,
                                         error));
    EXPECT_EQ(pref, "levelCount\n" + std::to_string(levels.size()) + "\n");
    list += (list.empty() ? "" : "\n") + pack;
  }
  std::string packs, error;
  ASSERT_TRUE(mdx::base::readWholeFile(std::string(MDX_GAME_DIR) + "/mappacks.ini", packs, error));
  EXPECT_EQ(packs, list);  // one pack a line; a final line break would add an empty pack
}

// Across each pack every landscape, motion, music, parallax switch, piece type and device
// of the game turns up.
class WholePack : public ::testing::TestWithParam<std::string> {};

TEST_P(WholePack, UsesEveryLookSoundPieceAndMechanism) {
  std::set<int32_t> landscapes, motions, musics, parallax1, parallax2, pieces, devices, blocks;
  for (const ShippedLevel& shipped : packLevels(GetParam())) {
    const LevelSource level = loadSource(shipped.source);
    landscapes.insert(level.landscapeChoice);
    motions.insert(level.landscapeMotion);
    musics.insert(level.levelMusic);
    parallax1.insert(level.parallax1On);
    parallax2.insert(level.parallax2Mode);
    for (int i = 0; i < level.pieceCount; ++i) pieces.insert(level.pieceTypes[i]);
    devices.insert(level.deviceLayer.begin(), level.deviceLayer.end());
    blocks.insert(level.blockLayer.begin(), level.blockLayer.end());
  }
  EXPECT_EQ(landscapes, (std::set<int32_t>{1, 2, 3}));
  EXPECT_EQ(motions, (std::set<int32_t>{0, 1, 2}));
  EXPECT_EQ(musics, (std::set<int32_t>{1, 2, 3}));
  EXPECT_EQ(parallax1, (std::set<int32_t>{0, 1}));
  EXPECT_EQ(parallax2, (std::set<int32_t>{0, 2}));
  EXPECT_EQ(pieces, (std::set<int32_t>{1, 2, 3, 4, 5}));
  for (int32_t device : {world::kLiftCar, world::kLiftShaft, world::kLiftButton, world::kSwingBar,
                         world::kBarSwitch, world::kExit, world::kStairA, world::kBomb}) {
    EXPECT_TRUE(devices.count(device)) << "no level uses device " << device;
  }
  EXPECT_TRUE(blocks.count(42) || blocks.count(43) || blocks.count(44)) << "no conveyor";
}

INSTANTIATE_TEST_SUITE_P(Packs, WholePack, ::testing::ValuesIn(shippedPacks()));

// The ending: no exit and no pieces, the end music, and a robot that walks its loop for ever
// without coming to harm, turning the swing bar as it goes.
TEST(Ending, RobotWalksItsLoopForEver) {
  const ShippedLevel ending = endingLevel();
  const LevelSource source = loadSource(ending.source);
  EXPECT_EQ(robotCount(source), 1);
  EXPECT_EQ(source.pieceCount, 0);
  EXPECT_EQ(source.levelMusic, 99);
  std::string built, error;
  ASSERT_TRUE(mdx::base::readWholeFile(ending.built, built, error)) << error;
  EXPECT_EQ(built, writeDat(source));

  world::GameState game = startedFrom(ending.built, 99);
  std::set<int32_t> columns, gateStates;
  for (int step = 0; step < 400; ++step) {
    for (char action : std::string("ggggg")) world::performAction(game, action);
    world::performAction(game, 'w');
    ASSERT_EQ(game.world.robotExploded, 0);
    ASSERT_EQ(game.world.levelComplete, 0);
    columns.insert(game.world.robotColumn);
    gateStates.insert(game.world.gateState);
  }
  EXPECT_EQ(columns.size(), 34u) << "the robot should walk the whole corridor";
  EXPECT_EQ(gateStates, (std::set<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(runRobot(startedFrom(ending.built, 99), 1000).end, RobotEnd::Repeats);
}

}  // namespace
}  // namespace mdx::level::testing
