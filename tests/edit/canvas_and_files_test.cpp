// The canvas's zoom and cells, the file prompts' names and lists, and the play-test's result
// as the editor reads it from the game's log.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "edit/canvas_geometry.h"
#include "edit/file_choice.h"
#include "edit/game_runner.h"

namespace mdx::edit {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() : path_(fs::temp_directory_path() / ("mdx-choice-" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~Folder() { fs::remove_all(path_); }
  std::string write(const std::string& name, const std::string& text = "x\n") const {
    fs::create_directories((path_ / name).parent_path());
    std::ofstream((path_ / name).string()) << text;
    return (path_ / name).string();
  }
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

TEST(CanvasZoom, FitsTheWholeGridInTheRoomInQuarterSteps) {
  // The canvas's room in a 1600 x 900 window (palette, side panel, menu and status bar off).
  const float zoom = fitZoom(1010, 790);
  EXPECT_EQ(zoom, 1.25f);
  EXPECT_LE(kGridWidth * zoom, 1010);
  EXPECT_LE(kGridHeight * zoom, 790);
  EXPECT_EQ(fitZoom(kGridWidth * 2, kGridHeight * 2), 2.0f);
  EXPECT_EQ(fitZoom(kGridWidth * 2 - 1, kGridHeight * 2), 1.75f);
  EXPECT_EQ(fitZoom(10, 10), kMinZoom);
  EXPECT_EQ(fitZoom(100000, 100000), kMaxZoom);
}

TEST(CanvasZoom, EveryRowAndColumnIsWholeOnTheGrid) {
  int row = -1, column = -1;
  ASSERT_TRUE(cellAtGrid(0, 0, row, column));
  EXPECT_EQ(row, 0);
  EXPECT_EQ(column, 0);
  // Row 1, which the game's picture cuts to 12 pixels, is a whole cell here.
  for (float y : {19.0f, 37.9f}) {
    ASSERT_TRUE(cellAtGrid(5, y, row, column));
    EXPECT_EQ(row, 1);
  }
  ASSERT_TRUE(cellAtGrid(kGridWidth - 0.5f, kGridHeight - 0.5f, row, column));
  EXPECT_EQ(row, 27);
  EXPECT_EQ(column, 33);
  EXPECT_FALSE(cellAtGrid(kGridWidth, 3, row, column));
  EXPECT_FALSE(cellAtGrid(3, -0.5f, row, column));
  EXPECT_EQ(kPictureTop, 26.0f);
}

TEST(FilePrompt, OpenTakesANameWithoutItsEndingAsSaveAddsIt) {
  Folder folder;
  const std::string gap = folder.write("gap.src");
  EXPECT_EQ(savePath("gap", folder.path()), gap);
  EXPECT_EQ(savePath("gap.src", folder.path()), gap);
  EXPECT_EQ(openPath("gap", folder.path()), gap);
  EXPECT_EQ(openPath(gap, "/elsewhere"), gap);
  // A file of the typed name itself comes first; a missing one stays as typed for the error.
  const std::string plain = folder.write("plain");
  folder.write("plain.src");
  EXPECT_EQ(openPath("plain", folder.path()), plain);
  EXPECT_EQ(openPath("missing", folder.path()), folder.path() + "/missing");
  EXPECT_EQ(openPath("sub/../gap", folder.path()), gap);
}

TEST(FilePrompt, ListsTheFoldersSourcesInNameOrder) {
  Folder folder;
  const std::string b = folder.write("b.src"), a = folder.write("a.src");
  folder.write("level01.dat");
  folder.write("inner/c.src");
  EXPECT_EQ(sourcesIn(folder.path()), (std::vector<std::string>{a, b}));
  EXPECT_EQ(folderOf("a.src", folder.path()), folder.path());
  EXPECT_EQ(folderOf("inner", folder.path()), folder.path() + "/inner");
  EXPECT_EQ(folderOf("", folder.path()), folder.path());
  EXPECT_TRUE(sourcesIn(folder.path() + "/none").empty());
}

TEST(FilePrompt, RecentFilesAreNewestFirstOnceEachAndOutliveTheSession) {
  Folder folder;
  const std::string store = folder.path() + "/config/recent";
  std::vector<std::string> files;
  for (int i = 0; i < 10; ++i) files.push_back(folder.write("f" + std::to_string(i) + ".src"));
  {
    RecentFiles recent(store);
    for (const std::string& file : files) recent.add(file);
    recent.add(files[4]);
    ASSERT_EQ(recent.all().size(), RecentFiles::kLimit);
    EXPECT_EQ(recent.all()[0], files[4]);
    EXPECT_EQ(recent.all()[1], files[9]);
  }
  fs::remove(files[9]);
  RecentFiles again(store);
  EXPECT_EQ(again.all().size(), RecentFiles::kLimit);
  const std::vector<std::string> existing = again.existing();
  ASSERT_EQ(existing.size(), RecentFiles::kLimit - 1);  // a deleted file is not offered
  EXPECT_EQ(existing[0], files[4]);
  EXPECT_EQ(existing[1], files[8]);
}

TEST(PlayTestResult, IsTheGamesLastPlayTestLineOrSaysItWasClosed) {
  Folder folder;
  const std::string log = folder.write(
      "play-test.log",
      "state StateReady level 1\nstate StateRunning level 1\nplay-test won in 57 steps\n");
  EXPECT_EQ(playTestLog(folder.path()), log);
  EXPECT_EQ(playTestResult(log), "won in 57 steps");
  folder.write("play-test.log", "state StateReady level 1\n");
  EXPECT_EQ(playTestResult(log), "closed before the level ended");
  EXPECT_EQ(playTestResult(folder.path() + "/none.log"), "closed before the level ended");
}

}  // namespace
}  // namespace mdx::edit
