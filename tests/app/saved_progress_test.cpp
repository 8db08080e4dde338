// Saved progress: the records and their text, the file read and written safely whatever lies
// at its path, and the title's level choice and the records a played game makes.
#include "app/saved_progress.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/replay.h"
#include "game_harness.h"

namespace mdx::app::testing {
namespace {

namespace fs = std::filesystem;
using namespace mdx::world;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeAll(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(ProgressRecords, ReadsNamesOfAnyKindAndSkipsBadLinesWithANote) {
  SavedProgress progress;
  std::vector<std::string> notes;
  progress.parse(
      "mappack1=3\r\n"
      "my pack=7\n"
      "a=b=c=12\n"             // split at the last '='
      "\xC3\xA9t\xC3\xA9=5\n"  // UTF-8
      "zero=0\nminus=-3\nword=abc\nhuge=99999999999999999999\nempty=\n=4\nno equals\n"
      "\n"             // blank lines are no records and no faults
      "mappack1=2\n",  // a lower duplicate does not lower the record
      notes);
  EXPECT_EQ(progress.highestLevel("mappack1"), 3);
  EXPECT_EQ(progress.highestLevel("my pack"), 7);
  EXPECT_EQ(progress.highestLevel("a=b=c"), 12);
  EXPECT_EQ(progress.highestLevel("\xC3\xA9t\xC3\xA9"), 5);
  for (const char* bad : {"zero", "minus", "word", "huge", "empty", "no equals"}) {
    EXPECT_EQ(progress.highestLevel(bad), 1) << bad;
  }
  EXPECT_EQ(notes.size(), 7u);
  EXPECT_NE(notes.front().find("line 5"), std::string::npos) << notes.front();

  // The written text reads back to the same records.
  SavedProgress again;
  std::vector<std::string> none;
  again.parse(progress.text(), none);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(again.text(), progress.text());
}

TEST(ProgressRecords, ReachingRaisesCapsAndNeverLowers) {
  SavedProgress progress;
  EXPECT_EQ(progress.highestLevel("p"), 1);
  EXPECT_FALSE(progress.reach("p", 1, 16));  // level 1 is always open: nothing to record
  EXPECT_TRUE(progress.reach("p", 4, 16));
  EXPECT_FALSE(progress.reach("p", 3, 16));
  EXPECT_EQ(progress.highestLevel("p"), 4);
  EXPECT_TRUE(progress.reach("p", 17, 16));  // after the last level: the last level
  EXPECT_EQ(progress.highestLevel("p"), 16);
  EXPECT_FALSE(progress.reach("", 5, 16));  // names that cannot be written as one line
  EXPECT_FALSE(progress.reach("two\nlines", 5, 16));
  EXPECT_EQ(progress.text(), "p=16\n");
}

// Hint counts are lines of their own beside the records; a bad one is noted and skipped.
TEST(ProgressRecords, HintCountsReadBackBesideTheRecords) {
  SavedProgress progress;
  std::vector<std::string> notes;
  progress.parse(
      "mappack1=3\nhints/12/mappack1=2\nhints/3/my pack=1\nhints/12/mappack1=1\n"
      "hints/0/p=2\nhints/99/p=2\nhints/4/p=0\nhints/4/p=1000\nhints/4/p=x\nhints/x/p=1\n"
      "hints/4=1\nhints/4/=1\n",
      notes);
  EXPECT_EQ(notes.size(), 8u);
  EXPECT_NE(notes.front().find("line 5"), std::string::npos) << notes.front();
  EXPECT_EQ(progress.highestLevel("mappack1"), 3);
  std::vector<int32_t> expected(13, 0);
  expected[12] = 2;  // a lower duplicate does not lower the count
  EXPECT_EQ(progress.hintsUsed("mappack1"), expected);
  EXPECT_EQ(progress.hintsUsed("my pack"), (std::vector<int32_t>{0, 0, 0, 1}));
  EXPECT_TRUE(progress.hintsUsed("p").empty());
  EXPECT_TRUE(progress.addHint("my pack", 3));
  EXPECT_FALSE(progress.addHint("p", 0));
  EXPECT_FALSE(progress.addHint("two\nlines", 3));
  SavedProgress again;
  again.parse(progress.text(), notes);
  EXPECT_EQ(notes.size(), 8u);
  EXPECT_EQ(again.text(), progress.text());
  EXPECT_EQ(again.hintsUsed("my pack")[3], 2);
}

class ProgressOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("mdx-progress-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = dir / "marvolen-dx" / "progress.txt";
  }
  void TearDown() override {
    chmod(dir.c_str(), 0755);
    fs::remove_all(dir);
  }
  ProgressFile file(FileWriter writer = {}) {
    return ProgressFile(
        path.string(), [this](const std::string& n) { notes.push_back(n); }, std::move(writer));
  }
  fs::path dir, path;
  std::vector<std::string> notes;
};

TEST_F(ProgressOnDisk, MissingFileAndFoldersAreMadeOnTheFirstRecord) {
  ProgressFile progress = file();
  progress.load();
  EXPECT_TRUE(notes.empty());
  progress.reach("mappack1", 2, 16);
  EXPECT_EQ(readAll(path), "mappack1=2\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()),
            1);  // no temporary file left beside it
}

// Two games open on one progress file: each save keeps what the other saved meanwhile.
TEST_F(ProgressOnDisk, TwoGamesOnOneFileKeepEachOthersHigherRecords) {
  ProgressFile first = file();
  ProgressFile second = file();
  first.load();
  second.load();
  first.reach("mappack1", 3, 32);
  second.reach("mappack1", 2, 32);  // a rise for this game, below what the first saved
  second.reach("mappack2", 2, 16);
  EXPECT_EQ(readAll(path), "mappack1=3\nmappack2=2\n");
  first.reach("mappack1", 4, 32);
  EXPECT_EQ(readAll(path), "mappack1=4\nmappack2=2\n");
  EXPECT_TRUE(notes.empty());
}

// A file from before hints were counted loads as it did, and gains their lines.
TEST_F(ProgressOnDisk, HintsAreSavedBesideTheRecordsOfAnOlderFile) {
  fs::create_directories(path.parent_path());
  writeAll(path, "mappack1=3\n");
  ProgressFile progress = file();
  progress.load();
  EXPECT_TRUE(progress.progress().hintsUsed("mappack1").empty());
  progress.addHint("mappack1", 2);
  progress.addHint("mappack1", 2);
  EXPECT_EQ(readAll(path), "mappack1=3\nhints/2/mappack1=2\n");
  ProgressFile later = file();
  later.load();
  EXPECT_EQ(later.startableLevel("mappack1", 32), 3);
  EXPECT_EQ(later.progress().hintsUsed("mappack1"), (std::vector<int32_t>{0, 0, 2}));
  EXPECT_TRUE(notes.empty());
}

TEST_F(ProgressOnDisk, UnreadableThingsAtThePathGiveANoteAndTheDefaults) {
  fs::create_directories(path.parent_path());
  // A folder, a named pipe (which must not block the game), a binary file, an empty file.
  fs::create_directory(path);
  ProgressFile onFolder = file();
  onFolder.load();
  EXPECT_EQ(onFolder.progress().highestLevel("mappack1"), 1);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("not a regular file"), std::string::npos) << notes[0];
  onFolder.reach("mappack1", 3, 16);  // cannot replace a folder: a note, no crash
  EXPECT_EQ(notes.size(), 2u);
  fs::remove(path);

  ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
  ProgressFile onPipe = file();
  onPipe.load();
  EXPECT_EQ(notes.size(), 3u);
  fs::remove(path);

  writeAll(path, std::string("\0\x01\xff=\x80\n\0\0", 8));
  ProgressFile onBinary = file();
  onBinary.load();
  EXPECT_EQ(onBinary.progress().highestLevel("mappack1"), 1);
  EXPECT_GE(notes.size(), 4u);

  writeAll(path, "");
  const std::size_t before = notes.size();
  ProgressFile onEmpty = file();
  onEmpty.load();
  EXPECT_EQ(notes.size(), before);
  EXPECT_EQ(onEmpty.progress().text(), "");
}

TEST_F(ProgressOnDisk, OnlyTheFirst64KiBOfAHugeFileAreRead) {
  fs::create_directories(path.parent_path());
  // A record, then a line of a million characters, then a record beyond the limit.
  writeAll(path, "first=5\n" + std::string(1000000, 'x') + "=3\nlate=9\n");
  ProgressFile progress = file();
  progress.load();
  EXPECT_EQ(progress.progress().highestLevel("first"), 5);
  EXPECT_EQ(progress.progress().highestLevel("late"), 1);
  ASSERT_FALSE(notes.empty());
  EXPECT_NE(notes[0].find("64 KiB"), std::string::npos) << notes[0];

  const base::FileText small = base::readTextFile(path.string(), 10);
  EXPECT_EQ(small.text, "first=5\nxx");
  EXPECT_TRUE(small.cutShort);
}

TEST_F(ProgressOnDisk, AFailedWriteLeavesTheOldFileWhole) {
  fs::create_directories(path.parent_path());
  writeAll(path, "mappack1=4\n");
  // A disk that fills up after a few bytes.
  ProgressFile progress = file([](int fd, const void* data, std::size_t size) -> ssize_t {
    if (size > 3) return ::write(fd, data, 3);
    errno = ENOSPC;
    return -1;
  });
  progress.load();
  progress.reach("mappack1", 9, 16);
  EXPECT_EQ(readAll(path), "mappack1=4\n");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("No space left"), std::string::npos) << notes[0];
  EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1);

  // A folder that cannot be written in (skipped when running as root, who may write anyway).
  if (geteuid() != 0) {
    chmod(path.parent_path().c_str(), 0555);
    ProgressFile locked = file();
    locked.load();
    locked.reach("mappack1", 9, 16);
    EXPECT_EQ(notes.size(), 2u);
    chmod(path.parent_path().c_str(), 0755);
    EXPECT_EQ(readAll(path), "mappack1=4\n");
  }
}

TEST_F(ProgressOnDisk, AFileWhereAFolderShouldBeIsReported) {
  writeAll(dir / "marvolen-dx", "in the way");
  ProgressFile progress = file();
  progress.load();
  progress.reach("mappack1", 2, 16);
  ASSERT_EQ(notes.size(), 2u);  // cannot read below a file, cannot write there either
  EXPECT_NE(notes[1].find("not a folder"), std::string::npos) << notes[1];
}

// With no file (--no-save, a replay) the record still rises for the session.
TEST(ProgressWithoutFile, RecordRisesInMemoryAndNothingIsNoted) {
  std::vector<std::string> notes;
  ProgressFile memory("", [&notes](const std::string& n) { notes.push_back(n); });
  memory.load();
  memory.reach("mappack1", 4, 16);
  memory.reach("mappack1", 2, 16);
  EXPECT_EQ(memory.progress().highestLevel("mappack1"), 4);
  EXPECT_TRUE(notes.empty());
}

TEST(ProgressPath, XdgDataHomeWhenAbsoluteOtherwiseTheHomeFolder) {
  const char* oldData = std::getenv("XDG_DATA_HOME");
  const std::string savedData = oldData != nullptr ? oldData : "";
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome != nullptr ? oldHome : "";
  setenv("HOME", "/home/player", 1);
  setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(progressFilePath(), "/data/marvolen-dx/progress.txt");
  setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(progressFilePath(), "/home/player/.local/share/marvolen-dx/progress.txt");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(progressFilePath(), "/home/player/.local/share/marvolen-dx/progress.txt");
  unsetenv("HOME");
  EXPECT_EQ(progressFilePath(), "");
  if (oldHome != nullptr) setenv("HOME", savedHome.c_str(), 1);
  if (oldData != nullptr) setenv("XDG_DATA_HOME", savedData.c_str(), 1);
}

// The game side, headless: the title's choice and the levels reached.
class LevelChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 1; n <= 3; ++n) folder.writeLevel(n, exitLevel());
    h.game.levelReached = [this](int32_t level) { reached.push_back(level); };
  }
  GameFolder folder{3};
  Harness h{&folder};
  std::vector<int32_t> reached;
};

TEST_F(LevelChoice, LeftAndRightChooseWithinTheRecordAndStartGameBeginsThere) {
  Keys& keys = h.game.state.keys;
  h.tap(DIK_RIGHT);  // no record: nothing to choose
  EXPECT_EQ(keys.titleLevel, 1);
  keys.titleLevelLimit = 3;
  keys.titleLevel = 3;
  h.tap(DIK_RIGHT);
  EXPECT_EQ(keys.titleLevel, 3);
  h.tap(DIK_LEFT);
  h.tap(DIK_LEFT);
  h.tap(DIK_LEFT);
  EXPECT_EQ(keys.titleLevel, 1);
  h.tap(DIK_RIGHT);
  EXPECT_EQ(h.gameState(), StateTitle);
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.state.progress.levelNumber, 2);
  // In play Left and Right are steering again; the choice stays.
  h.tap(DIK_LEFT);
  EXPECT_EQ(keys.titleLevel, 2);
  // Back on the title the choice starts on the record again.
  h.game.escapeReleased();
  h.tap(DIK_Q);
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_EQ(keys.titleLevel, 3);
}

// A record beyond the pack's last level (a hand-edited file, a pack that lost levels) offers
// the last level, with a note, and START GAME begins it; the file keeps its record.
TEST_F(LevelChoice, ARecordBeyondThePackIsCappedToItsLastLevel) {
  std::ofstream(folder.root / "progress.txt") << "pack=50\n";
  std::vector<std::string> notes;
  ProgressFile progress((folder.root / "progress.txt").string(),
                        [&notes](const std::string& n) { notes.push_back(n); });
  connectProgress(h.game, progress);
  EXPECT_EQ(h.game.state.keys.titleLevelLimit, 3);
  EXPECT_EQ(h.game.state.keys.titleLevel, 3);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("pack=50"), std::string::npos) << notes[0];
  EXPECT_EQ(h.game.state.scene.notices, "Record 50 is past the pack's 3 levels\n");
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.state.progress.levelNumber, 3);
  EXPECT_EQ(readAll(folder.root / "progress.txt"), "pack=50\n");
}

// A save that fails at a level's exit is told in the game as well as in the notes, for a
// while, and the old file stays as it was.
TEST_F(LevelChoice, AFailedSaveIsToldInTheGameForAWhile) {
  const fs::path path = folder.root / "progress.txt";
  std::ofstream(path) << "pack=1\n";
  std::vector<std::string> notes;
  ProgressFile progress(
      path.string(), [&notes](const std::string& n) { notes.push_back(n); },
      [](int, const void*, std::size_t) -> ssize_t {
        errno = EROFS;
        return -1;
      });
  connectProgress(h.game, progress);
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  const std::string& notices = h.game.state.scene.notices;
  for (int i = 0; i < 100 && notices.empty(); ++i) h.frame(150);
  EXPECT_EQ(notices, "Progress NOT saved: disk full or read-only?\n");
  EXPECT_EQ(notes.size(), 1u);
  EXPECT_EQ(readAll(path), "pack=1\n");
  h.run(Game::kNoticeTime - 200, 100);
  EXPECT_FALSE(notices.empty());
  h.run(300, 100);
  EXPECT_TRUE(notices.empty());
}

// Lines told together stack under each other; the oldest gives way to a fourth.
TEST_F(LevelChoice, NoticesStackAndTheOldestGivesWay) {
  for (const char* line : {"one", "two", "three", "four"}) h.game.showNotice(line);
  EXPECT_EQ(h.game.state.scene.notices, "two\nthree\nfour\n");
}

TEST_F(LevelChoice, CompletingALevelReportsTheNextOnceAndBeginGameStartsAnyLevel) {
  h.game.beginGame(3);
  EXPECT_EQ(h.gameState(), StateReady);
  EXPECT_EQ(h.game.state.progress.levelNumber, 3);
  h.tap(DIK_SPACE);
  for (int i = 0; i < 100 && h.gameState() != StateEnding; ++i) h.frame(150);
  EXPECT_EQ(h.gameState(), StateEnding);
  EXPECT_EQ(reached, std::vector<int32_t>{4});  // once, at the exit; the caller caps it
  h.run(5000, 150);                             // the ending reaches no exit
  EXPECT_EQ(reached.size(), 1u);
}

}  // namespace
}  // namespace mdx::app::testing
