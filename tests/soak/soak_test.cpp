// The whole game under random play for a long run: every invariant after every frame, and a
// heap that stays flat. MDX_SOAK_FRAMES sets the length (default a million frames).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "game_harness.h"
#include "soak_driver.h"

namespace mdx::soak {
namespace {

namespace fs = std::filesystem;
using app::testing::LevelPlan;

constexpr uint64_t kDefaultFrames = 1000000;
constexpr int64_t kHeapSlack = 512 * 1024;  // bytes the heap may move by between checkpoints

uint64_t soakFrames() {
  const char* text = std::getenv("MDX_SOAK_FRAMES");
  const uint64_t frames = text != nullptr ? std::strtoull(text, nullptr, 10) : 0;
  return frames > 0 ? frames : kDefaultFrames;
}

// The robot walks under a roof to the exit, four cells on; the pieces land on the roof, and
// with bombs on it some of them blow up there.
LevelPlan roofedExitLevel(bool bombsOnRoof) {
  LevelPlan plan;
  plan.floor(11).robotAt(10, 2);
  for (int c = 0; c < 34; ++c) plan.blocks[{8, c}] = 1;
  plan.devices[{10, 6}] = 8;
  if (bombsOnRoof) {
    plan.devices[{7, 12}] = 12;
    plan.devices[{7, 18}] = 12;
  }
  plan.pieceCount = 4;
  plan.pieceTypes = {1, 2, 3, 4, 5, 0, 0, 0, 0, 0};
  plan.landscapeChoice = bombsOnRoof ? 2 : 3;
  plan.levelMusic = bombsOnRoof ? 2 : 3;
  return plan;
}

// A trap: the robot walks onto a bomb, blows up and the level starts again, until a key ends it.
LevelPlan bombTrapLevel() {
  LevelPlan plan = app::testing::bombLevel();
  plan.pieceCount = 2;
  plan.pieceTypes = {2, 3, 0, 0, 0, 0, 0, 0, 0, 0};
  return plan;
}

// Packs of the soak folder: "pack" (two roofed exit levels, then the ending), "trap" (the
// bomb trap), and the shipped map pack with its ending when the game folder has been built.
std::vector<std::string> writePacks(app::testing::GameFolder& folder) {
  folder.writeLevel(1, roofedExitLevel(false));
  folder.writeLevel(2, roofedExitLevel(true));
  fs::create_directories(folder.root / "trap");
  std::ofstream(folder.root / "trap" / "pref.ini") << "levels\n1\n";
  app::testing::writeLevelFile(folder.root / "trap" / "level01.dat", bombTrapLevel());
  std::vector<std::string> packs = {"pack", "trap"};
  const fs::path shipped = fs::path(MDX_GAME_DIR) / "mappack1";
  if (fs::exists(shipped / "level01.dat") && fs::exists(shipped / "pref.ini")) {
    fs::copy(shipped, folder.root / "mappack1", fs::copy_options::recursive);
    packs.push_back("mappack1");
  }
  return packs;
}

TEST(Soak, RandomPlayKeepsEveryInvariantAndTheHeapFlat) {
  app::testing::GameFolder folder(2);
  const std::vector<std::string> packs = writePacks(folder);
  const uint64_t frames = soakFrames();

  const SoakReport report = runSoak(frames, folder.root.string(), packs, 20261207);

  EXPECT_EQ(report.firstFault, "");
  EXPECT_EQ(report.frames, frames);
  // The run went everywhere: levels won and restarted, the ending, the title, new runs.
  EXPECT_GT(report.levelsCompleted, 0u);
  EXPECT_GT(report.blowUps, 0u);
  EXPECT_GT(report.endingVisits, 0u);
  EXPECT_GT(report.titleVisits, 0u);
  EXPECT_GT(report.levelStarts, report.levelsCompleted);
  EXPECT_GT(report.spritesDrawn, frames * 10);
  ASSERT_EQ(report.heapAtCheckpoints.size(), 4u);
  // The first quarter warms up; from then on the heap must not grow.
  EXPECT_LT(report.heapAtCheckpoints[3] - report.heapAtCheckpoints[1], kHeapSlack)
      << "live heap at the quarters: " << report.heapAtCheckpoints[0] << ", "
      << report.heapAtCheckpoints[1] << ", " << report.heapAtCheckpoints[2] << ", "
      << report.heapAtCheckpoints[3];
  std::cout << "soak: " << report.frames << " frames, " << report.programRuns << " runs, "
            << report.levelStarts << " level starts, " << report.levelsCompleted << " levels won, "
            << report.blowUps << " blow-ups, " << report.endingVisits << " endings, "
            << report.titleVisits << " title visits\n";
}

}  // namespace
}  // namespace mdx::soak
