#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "world_fixture.h"

namespace mdx::world {
namespace {

using testing::writeTempFile;

// These tests build a pack folder under the temp folder and lay the game's pack there.
class LevelStart : public testing::WorldTest {
 protected:
  void SetUp() override {
    // A folder per test: CTest runs the cases in parallel.
    folder =
        std::string("startpack_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    pack = ::testing::TempDir() + folder;
    mkdir(pack.c_str(), 0755);
    game.pack = PackLayout{::testing::TempDir(), pack};
  }

  void writeLevel(const std::string& name, const World& level) {
    writeTempFile(folder + "/" + name, world::writeLevel(level));
  }

  std::string folder;
  std::string pack;
};

TEST_F(LevelStart, ReadsLevelCountFromPrefIniEveryTime) {
  writeTempFile(folder + "/pref.ini", "Number of levels in this pack\r\n12 levels\r\n");
  game.progress.levelCount = 3;
  game.startLevel(1);
  EXPECT_EQ(game.progress.levelCount, 12);
  game.progress.levelCount = 40;
  game.startLevel(1);
  EXPECT_EQ(game.progress.levelCount, 12);
}

TEST_F(LevelStart, MissingOrBrokenPrefIniIsReportedOnceAndTheLevelFilesAreCounted) {
  std::remove((pack + "/pref.ini").c_str());  // a temp folder may outlive an earlier run
  for (const char* name : {"level01.dat", "level02.dat", "level03.dat", "level05.dat"}) {
    writeLevel(name, World{});
  }
  game.startLevel(1);
  EXPECT_EQ(game.progress.levelCount, 3);  // level 4 is missing: the pack ends after 3
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, pack +
                                     "/pref.ini could not be opened: the pack's 3 "
                                     "consecutive level files from level 1 on are played.");
  game.startLevel(2);  // said once
  EXPECT_EQ(boxes.shown.size(), 1u);
  for (const char* count : {"0", "-4", "many"}) {
    GameState fresh(nullptr, &boxes);
    fresh.pack = game.pack;
    writeTempFile(folder + "/pref.ini", std::string("levels\n") + count + "\n");
    boxes.shown.clear();
    fresh.startLevel(1);
    EXPECT_EQ(fresh.progress.levelCount, 3) << count;
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("pref.ini does not give a positive number"),
              std::string::npos);
  }
}

// The level's words come from the pack's words file at every start: the number's own, none
// for a level the file leaves out, and a broken line is told once while the rest is used.
TEST_F(LevelStart, ReadsTheLevelsWordsAndReportsABrokenWordsFileOnce) {
  writeTempFile(folder + "/pref.ini", "levels\n3\n");
  std::remove((pack + "/levels.ini").c_str());  // a temp folder may outlive an earlier run
  for (const char* name : {"level01.dat", "level02.dat"}) writeLevel(name, World{});
  game.startLevel(1);
  EXPECT_TRUE(game.levelWords.empty()) << "no words file: the number only";
  EXPECT_TRUE(boxes.shown.empty());
  writeTempFile(folder + "/levels.ini",
                "[level01]\nname=First steps\nhint=Walk.\nshade=blue\n[level02]\nidea=Two\n");
  game.startLevel(1);
  EXPECT_EQ(game.levelWords.name, "First steps");
  EXPECT_EQ(game.levelWords.hint, "Walk.");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("levels.ini:4: unknown key"), std::string::npos)
      << boxes.shown[0].text;
  game.startLevel(2);
  EXPECT_EQ(game.levelWords, (LevelMeta{"", "Two", ""}));
  EXPECT_EQ(boxes.shown.size(), 1u) << "told once";
}

TEST_F(LevelStart, AMissingLevelFileIsNamedAndReported) {
  writeTempFile(folder + "/pref.ini", "levels\n5\n");
  EXPECT_FALSE(game.startLevel(4).opened);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Error opening file " + pack + "/level04.dat");
}

TEST_F(LevelStart, ATruncatedLevelFileIsPlayedAndReportedOnceWithItsLastLine) {
  writeTempFile(folder + "/pref.ini", "levels\n5\n");
  std::string head;
  const std::string whole = world::writeLevel(World{});
  for (std::size_t i = 0, lines = 0; lines < 120; ++i) {
    head += whole[i];
    if (whole[i] == '\n') ++lines;
  }
  writeTempFile(folder + "/level02.dat", head);
  const LevelFileReport report = game.startLevel(2);
  EXPECT_TRUE(report.opened);
  EXPECT_EQ(report.lines, 120);
  game.startLevel(2);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "The level file " + pack +
                                     "/level02.dat ends after line 120 of 1938; the rest of the "
                                     "level reads as 0.");
  writeTempFile(folder + "/level03.dat", std::string(300, '7') + "\n");
  game.startLevel(3);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_NE(boxes.shown[1].text.find("longer than 254 characters at line 1 of"), std::string::npos);
}

TEST_F(LevelStart, LoadsTheNumberedLevelOfThePack) {
  writeTempFile(folder + "/pref.ini", "levels\n12\n");
  World seven;
  seven.pieceCount = 7;
  writeLevel("level07.dat", seven);
  World twelve;
  twelve.pieceCount = 12;
  writeLevel("level12.dat", twelve);
  game.startLevel(7);
  EXPECT_EQ(game.world.pieceCount, 7);
  game.startLevel(12);
  EXPECT_EQ(game.world.pieceCount, 12);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LevelStart, ResetsTheLevelAndShowsTheFirstPiece) {
  World level;
  level.pieceCount = 2;
  level.pieceTypes[0] = 2;
  level.deviceLayer[cellIndex(10, 5)] = kSwingBar;
  level.deviceLayer[cellIndex(4, 6)] = kExit;
  level.blockLayer[cellIndex(8, 8)] = kExplosionMarker;
  writeLevel("level03.dat", level);
  game.world.gateState = 2;
  game.world.levelComplete = 1;
  game.world.robotExploded = 1;
  game.world.explosionTicks = 9;
  game.world.robotClimbing = 1;
  game.world.robotFrame = 3;
  game.keys.quitPrompt = 1;
  game.pieces.pieceIndex = 4;
  game.scene.robotScale = 0.3f;
  game.scene.hudPhase = 2;
  game.scene.gateTurn = 30.0f;
  game.startLevel(3);
  EXPECT_EQ(game.world.gateState, 0);
  EXPECT_EQ(game.world.levelComplete, 0);
  EXPECT_EQ(game.world.robotExploded, 0);
  EXPECT_EQ(game.world.explosionTicks, 0);
  EXPECT_EQ(game.world.robotClimbing, 0);
  EXPECT_EQ(game.world.robotFrame, 0);
  EXPECT_EQ(game.keys.quitPrompt, 0);
  EXPECT_EQ(game.scene.robotScale, 1.0f);
  EXPECT_EQ(game.scene.hudPhase, 0);
  EXPECT_EQ(game.scene.gateTurn, 0.0f);
  EXPECT_EQ(game.scene.bannerX, 100.0f);
  EXPECT_EQ(game.scene.landscapeClock, 45.0f);
  EXPECT_EQ(game.scene.parallax1X[1], 639.0f);
  EXPECT_EQ(game.scene.fadeLevel, 255);
  // The bars lie flat, markers are cleared and the exit light is placed.
  EXPECT_EQ(A(10, 5), kGateFiller);
  EXPECT_EQ(A(10, 7), kGateFiller);
  EXPECT_EQ(A(8, 8), 0);
  EXPECT_EQ(game.world.lightX, 19.0f * 6 - 2);
  EXPECT_EQ(game.world.lightY, 19.0f * 4 - 39);
  // The first piece, a pillar, waits at column 15, row 0.
  EXPECT_EQ(game.pieces.pieceIndex, 0);
  EXPECT_EQ(game.pieces.pieceColumn, 15);
  EXPECT_EQ(game.pieces.pieceRow, 0);
  EXPECT_EQ(game.pieces.pieceCommand, kPieceFallStep);
  EXPECT_EQ(game.pieces.pieceMoveAllowed, 1);
  EXPECT_EQ(game.pieces.pieceShape[3][1], 48);
  EXPECT_EQ(game.pieces.pieceShapeInBlocks, 1);
}

TEST_F(LevelStart, CarriesLiftAndFallStateAndTheLightOver) {
  writeLevel("level01.dat", World{});
  game.world.liftCounter = 2;
  game.world.liftReturnTimer = 3;
  game.world.robotFalling = 1;
  game.world.robotExplosionX = 55.0f;
  game.world.lightX = 17.0f;
  game.startLevel(1);
  EXPECT_EQ(game.world.liftCounter, 2);
  EXPECT_EQ(game.world.liftReturnTimer, 3);
  EXPECT_EQ(game.world.robotFalling, 1);
  EXPECT_EQ(game.world.robotExplosionX, 55.0f);
  EXPECT_EQ(game.world.lightX, 17.0f);  // this level has no exit
}

TEST_F(LevelStart, FromFileSkipsPrefIni) {
  World level;
  level.pieceCount = 4;
  const std::string path = writeTempFile("loose.dat", world::writeLevel(level));
  game.progress.levelCount = 32;
  game.startLevelFromFile(path);
  EXPECT_EQ(game.progress.levelCount, 32);
  EXPECT_EQ(game.world.pieceCount, 4);
}

}  // namespace
}  // namespace mdx::world
