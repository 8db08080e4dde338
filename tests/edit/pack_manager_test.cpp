// The pack manager on temporary pack folders: reordering renumbers every file of a level and
// its words together, each change undoes byte for byte, a failed write leaves the pack whole,
// and the names it gives reach the game's own reader.
#include "edit/pack_manager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/files.h"
#include "edit/pack_figures.h"
#include "level/pack_commands.h"
#include "level/tool_commands.h"
#include "world/game_state.h"
#include "world/pack_catalog.h"

namespace mdx::edit {
namespace {

namespace fs = std::filesystem;

// A floor across row 21, the robot at row 20 column 2 and an exit further along the row: each
// exit column makes a level of its own bytes.
level::LevelSource walkToExit(int exitColumn) {
  level::LevelSource level;
  for (int column = 0; column < world::kColumns; ++column) {
    level.blockLayer[world::cellIndex(21, column)] = 1;
  }
  level.blockLayer[world::cellIndex(20, 2)] = world::kRobot;
  level.deviceLayer[world::cellIndex(20, exitColumn)] = world::kExit;
  return level;
}

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> folderFiles(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string text, error;
    EXPECT_TRUE(base::readWholeFile(entry.path().string(), text, error)) << error;
    files[entry.path().filename().string()] = text;
  }
  return files;
}

// The names of the files that differ between two folders' contents ("" when none does).
std::string differingFiles(const std::map<std::string, std::string>& a,
                           const std::map<std::string, std::string>& b) {
  std::string names;
  for (const auto& [name, bytes] : a) {
    if (!b.count(name) || b.at(name) != bytes) names += name + " ";
  }
  for (const auto& [name, bytes] : b) {
    if (!a.count(name)) names += name + " ";
  }
  return names;
}

// The bytes of a file in a folder's contents; "" when it is not there.
std::string bytesOf(const std::map<std::string, std::string>& files, int number,
                    const std::string& suffix) {
  const auto found = files.find(world::levelFileName(number).replace(8, 3, suffix));
  return found == files.end() ? "" : found->second;
}

class PackManagerTest : public ::testing::Test {
 protected:
  // A pack of four levels, exits at columns 10 to 13: levels 1 to 3 with sources and names,
  // level 4 a bare level file without words; a picture the manager must leave alone.
  void SetUp() override {
    fs::remove_all(root_);
    fs::create_directories(pack_);
    std::map<int, world::LevelMeta> words;
    for (int number = 1; number <= 4; ++number) {
      level::LevelSource level = walkToExit(9 + number);
      if (number < 4) level.meta = {"Walk " + std::to_string(number), "idea", "hint"};
      write(level::packLevelPath(pack_, number), level::writeDat(level));
      if (number < 4) {
        write(level::packSourcePath(pack_, number),
              "# my own comment\n" + level::writeSource(level));
        words[number] = level.meta;
      }
    }
    write(level::packMetaPath(pack_), world::writePackMeta(words));
    write(pack_ + "/pref.ini", "My pack\n4\n");
    write(pack_ + "/lndscp02.tga", "picture");
    std::string error;
    ASSERT_TRUE(manager_.open(pack_, error)) << error;
    original_ = folderFiles(pack_);
  }
  void TearDown() override { fs::remove_all(root_); }

  static void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The bytes of level number's file ("dat" or "src") as the pack had them, and has them now.
  std::string originalAt(int number, const std::string& suffix) {
    return bytesOf(original_, number, suffix);
  }
  std::string nowAt(int number, const std::string& suffix) {
    return bytesOf(folderFiles(pack_), number, suffix);
  }
  world::LevelMeta wordsAt(int number) {
    return world::readPackMeta(level::packMetaPath(pack_)).levelMeta(number);
  }
  void expectUndoneToTheOriginal() {
    std::string error;
    ASSERT_TRUE(manager_.undo(error)) << error;
    EXPECT_EQ(differingFiles(folderFiles(pack_), original_), "");
  }

  const std::string root_ =
      (fs::temp_directory_path() / ("mdx-pack-manager-" + std::to_string(getpid()))).string();
  const std::string pack_ = root_ + "/mine";
  PackManager manager_;
  std::map<std::string, std::string> original_;
};

TEST_F(PackManagerTest, ListsTheLevelsInOrderWithTheirWords) {
  ASSERT_EQ(manager_.levels().size(), 4u);
  EXPECT_EQ(manager_.levels()[0].meta.name, "Walk 1");
  EXPECT_EQ(manager_.levels()[0].path, level::packSourcePath(pack_, 1));
  EXPECT_EQ(manager_.levels()[3].path, level::packLevelPath(pack_, 4));
  EXPECT_TRUE(manager_.levels()[3].meta.empty());
  EXPECT_EQ(manager_.levels()[2].level.deviceLayer[world::cellIndex(20, 12)], world::kExit);
  PackManager other;
  std::string error;
  EXPECT_FALSE(other.open(root_, error));
  EXPECT_NE(error.find("not a pack"), std::string::npos) << error;
}

TEST_F(PackManagerTest, AMoveRenumbersFilesSourcesAndWordsTogetherAndUndoes) {
  std::string error;
  ASSERT_TRUE(manager_.move(1, 3, error)) << error;  // level 1 becomes the last
  // Every level's bytes and words end up at its new number: 2, 3, 4 move up to 1, 2, 3.
  const int from[] = {0, 2, 3, 4, 1};
  for (int to = 1; to <= 4; ++to) {
    EXPECT_TRUE(nowAt(to, "dat") == originalAt(from[to], "dat")) << to;
    EXPECT_TRUE(nowAt(to, "src") == originalAt(from[to], "src")) << to;
  }
  EXPECT_EQ(wordsAt(4).name, "Walk 1");
  EXPECT_EQ(wordsAt(1).name, "Walk 2");
  EXPECT_TRUE(wordsAt(3).empty()) << "the bare level keeps having no words";
  EXPECT_EQ(manager_.levels()[3].meta.name, "Walk 1");
  // Nothing else was touched; no temporary file is left.
  EXPECT_EQ(folderFiles(pack_).size(), original_.size());
  EXPECT_EQ(folderFiles(pack_)["pref.ini"], "My pack\n4\n");
  ASSERT_TRUE(manager_.move(2, -1, error)) << error;
  EXPECT_TRUE(nowAt(1, "dat") == originalAt(3, "dat"));
  EXPECT_EQ(manager_.undoSteps(), 2u);
  ASSERT_TRUE(manager_.undo(error)) << error;
  expectUndoneToTheOriginal();
  EXPECT_FALSE(manager_.undo(error));

  for (const auto& [number, delta] : {std::pair{1, -1}, {4, 1}, {2, 0}, {5, -1}, {0, 1}}) {
    EXPECT_FALSE(manager_.move(number, delta, error)) << number << " by " << delta;
  }
  EXPECT_EQ(differingFiles(folderFiles(pack_), original_), "");
}

TEST_F(PackManagerTest, ARenameReachesTheGameAndTheSourceAndUndoes) {
  std::string error;
  ASSERT_TRUE(manager_.rename(2, "Two lifts", error)) << error;
  world::GameState game;
  game.pack = world::PackLayout{"", pack_};
  game.startLevel(2);
  EXPECT_EQ(game.levelWords, (world::LevelMeta{"Two lifts", "idea", "hint"}));
  // The source keeps its own lines and now carries the name; its level file stays.
  level::LevelSource fromSource;
  ASSERT_TRUE(level::loadLevel(level::packSourcePath(pack_, 2), fromSource, error)) << error;
  EXPECT_EQ(fromSource.meta.name, "Two lifts");
  EXPECT_EQ(nowAt(2, "src").rfind("# my own comment\n", 0), 0u);
  EXPECT_TRUE(nowAt(2, "dat") == originalAt(2, "dat"));
  // A level without words or source gets its first words.
  ASSERT_TRUE(manager_.rename(4, "Bare", error)) << error;
  EXPECT_EQ(wordsAt(4).name, "Bare");
  ASSERT_TRUE(manager_.undo(error)) << error;
  expectUndoneToTheOriginal();

  EXPECT_FALSE(manager_.rename(1, "two\nlines", error));
  EXPECT_FALSE(manager_.rename(1, "Walk 1", error)) << "the same name is no change";
  EXPECT_FALSE(manager_.rename(9, "Nine", error));
  EXPECT_EQ(manager_.undoSteps(), 0u);
}

TEST_F(PackManagerTest, DuplicateAndDeleteShiftTheLevelsAfterAndUndo) {
  std::string error;
  ASSERT_TRUE(manager_.duplicate(2, error)) << error;
  ASSERT_EQ(manager_.levels().size(), 5u);
  const int from[] = {0, 1, 2, 2, 3, 4};
  for (int to = 1; to <= 5; ++to)
    EXPECT_TRUE(nowAt(to, "dat") == originalAt(from[to], "dat")) << to;
  EXPECT_TRUE(nowAt(3, "src") == originalAt(2, "src"));
  EXPECT_EQ(wordsAt(3).name, "Walk 2");
  EXPECT_EQ(level::packLevelCount(pack_), 5);
  expectUndoneToTheOriginal();

  ASSERT_TRUE(manager_.remove(1, error)) << error;
  ASSERT_EQ(manager_.levels().size(), 3u);
  EXPECT_TRUE(nowAt(1, "dat") == originalAt(2, "dat"));
  EXPECT_TRUE(nowAt(2, "src") == originalAt(3, "src"));
  EXPECT_FALSE(fs::exists(level::packLevelPath(pack_, 4)));
  EXPECT_FALSE(fs::exists(level::packSourcePath(pack_, 3))) << "level 3 is the bare one now";
  EXPECT_EQ(wordsAt(1).name, "Walk 2");
  EXPECT_EQ(level::packLevelCount(pack_), 3);
  expectUndoneToTheOriginal();
}

TEST_F(PackManagerTest, AFailedWriteLeavesThePackWholeAndRecordsNoStep) {
  // The disk fills up at the third file of the renumbered set.
  int writes = 0;
  manager_.setWriter([&](int fd, const void* data, size_t size) -> ssize_t {
    if (++writes == 3) return -1;
    return ::write(fd, data, size);
  });
  std::string error;
  EXPECT_FALSE(manager_.move(1, 3, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(differingFiles(folderFiles(pack_), original_), "")
      << "every file as it was, no file left over";
  EXPECT_EQ(manager_.undoSteps(), 0u);
  EXPECT_EQ(manager_.levels()[0].meta.name, "Walk 1");
}

TEST_F(PackManagerTest, ABrokenWordsFileIsNotRewritten) {
  write(level::packMetaPath(pack_), "[level01]\nname=Walk 1\ncolour=blue\n");
  manager_.reload();
  std::string error;
  EXPECT_FALSE(manager_.move(1, 1, error));
  EXPECT_NE(error.find("levels.ini:3"), std::string::npos) << error;
  EXPECT_FALSE(manager_.duplicate(1, error));
}

TEST_F(PackManagerTest, AddsTheOpenLevelOnlyWhenProvenAndUndoes) {
  level::LevelSource level;
  std::string error;
  ASSERT_TRUE(level::loadLevel(MDX_SOURCE_DIR "/levels/mappack1/level01.src", level, error));
  ProofStatus proof = decideProof(level, 5.0);
  proof.revision = 3;
  int number = 0;
  EXPECT_FALSE(manager_.addLevel(level, proof, 4, "", number, error)) << "a stale proof";
  ASSERT_TRUE(manager_.addLevel(level, proof, 3, "", number, error)) << error;
  EXPECT_EQ(number, 5);
  ASSERT_EQ(manager_.levels().size(), 5u);
  EXPECT_EQ(manager_.levels()[4].meta, level.meta);
  EXPECT_TRUE(nowAt(5, "dat") == level::writeDat(level));
  expectUndoneToTheOriginal();
}

TEST(PackFigures, ProofAndWinShareOfEachLevelAreMeasuredOnce) {
  FigureLimits limits = packFigureLimits();
  limits.proofSeconds = 5.0;
  FiguresWorker worker(limits);
  level::LevelSource walled = walkToExit(10);
  for (int row = 0; row < 21; ++row) walled.blockLayer[world::cellIndex(row, 6)] = 1;
  const level::LevelSource open = walkToExit(10);
  worker.submit({open, walled});
  worker.wait();
  const std::optional<LevelFigures> won = worker.figures(open);
  const std::optional<LevelFigures> lost = worker.figures(walled);
  ASSERT_TRUE(won && lost);
  EXPECT_EQ(describeFigures(*won), "won by straight drops, win share 100.0 %");
  EXPECT_EQ(describeFigures(*lost), "not winnable, win share 0.0000 %");
  EXPECT_FALSE(worker.figures(walkToExit(11)));
}

}  // namespace
}  // namespace mdx::edit
