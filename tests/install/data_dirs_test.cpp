// The search for the game's data folder: the order of the places, what counts as a data
// folder on disk, and how the level tools reach the same folder from their own.
#include "app/data_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mdx::app {
namespace {

namespace fs = std::filesystem;

const DataLayout kLayout{"../share/games/marvolen-dx", "games/marvolen-dx"};

TEST(DataFolderCandidates, FollowTheSearchOrder) {
  DataSearchInputs inputs;
  inputs.dataOption = "/opt/option";
  inputs.dataEnv = "/opt/env/";
  inputs.programDir = "/usr/games/";
  inputs.xdgDataDirs = "/first/share:/second/share/";
  EXPECT_EQ(dataFolderCandidates(inputs, kLayout),
            (std::vector<std::string>{
                "/opt/option", "/opt/env", "/usr/games", "/usr/share/games/marvolen-dx",
                "/first/share/games/marvolen-dx", "/second/share/games/marvolen-dx"}));
}

TEST(DataFolderCandidates, SkipEmptyValuesAndUseTheXdgDefault) {
  DataSearchInputs inputs;
  inputs.dataEnv = "";
  inputs.xdgDataDirs = "";
  EXPECT_EQ(dataFolderCandidates(inputs, kLayout),
            (std::vector<std::string>{"/usr/local/share/games/marvolen-dx",
                                      "/usr/share/games/marvolen-dx"}));
  inputs.xdgDataDirs.reset();
  EXPECT_EQ(dataFolderCandidates(inputs, kLayout).size(), 2u);
}

TEST(DataFolderCandidates, IgnoreRelativeXdgEntriesAndRepeatedFolders) {
  DataSearchInputs inputs;
  inputs.dataOption = "/usr/share/games/marvolen-dx/";
  inputs.programDir = "/usr/bin/../games";
  inputs.xdgDataDirs = "share::/usr/share";
  EXPECT_EQ(dataFolderCandidates(inputs, kLayout),
            (std::vector<std::string>{"/usr/share/games/marvolen-dx", "/usr/games"}));
}

class DataFolderOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("mdx_data_dirs_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string folder(const std::string& name, bool withPackList) {
    const fs::path path = root_ / name;
    fs::create_directories(path);
    if (withPackList) std::ofstream(path / "mappacks.ini") << "mappack1";
    return path.string();
  }
  std::string file(const std::string& name) {
    std::ofstream(root_ / name) << "not a folder";
    return (root_ / name).string();
  }
  // Inputs that reach nothing outside the test's folder.
  DataSearchInputs isolated() {
    DataSearchInputs inputs;
    inputs.xdgDataDirs = (root_ / "no-data-dirs").string();
    return inputs;
  }

  fs::path root_;
};

TEST_F(DataFolderOnDisk, FirstFolderHoldingThePackListWins) {
  DataSearchInputs inputs = isolated();
  inputs.dataEnv = folder("empty", false);
  inputs.programDir = folder("build/game", true);
  folder("share/games/marvolen-dx", true);
  inputs.xdgDataDirs = (root_ / "share").string();
  const DataFolderChoice choice = findDataFolder(inputs, kLayout);
  EXPECT_EQ(choice.folder, inputs.programDir);
  ASSERT_EQ(choice.rejected.size(), 1u);
  EXPECT_EQ(choice.rejected[0], inputs.dataEnv.value() + " (holds no mappacks.ini)");
}

TEST_F(DataFolderOnDisk, UnusableChoicesOfThePlayerAreReportedAndPassedOver) {
  DataSearchInputs inputs = isolated();
  inputs.dataOption = file("plain-file");
  inputs.dataEnv = (root_ / "missing").string();
  inputs.programDir = folder("game", true);
  const DataFolderChoice choice = findDataFolder(inputs, kLayout);
  EXPECT_EQ(choice.folder, inputs.programDir);
  EXPECT_EQ(choice.warnings,
            (std::vector<std::string>{"--data \"" + *inputs.dataOption + "\" is not a folder",
                                      "MARVOLEN_DATA \"" + *inputs.dataEnv + "\" does not exist"}));
}

TEST_F(DataFolderOnDisk, PackListMustBeAFile) {
  DataSearchInputs inputs = isolated();
  inputs.dataOption = folder("odd", false);
  fs::create_directories(root_ / "odd" / "mappacks.ini");
  EXPECT_EQ(findDataFolder(inputs, kLayout).folder, "");
}

TEST_F(DataFolderOnDisk, NothingFoundNamesEveryFolderTriedOnOneLine) {
  DataSearchInputs inputs = isolated();
  inputs.dataOption = folder("no-list", false);
  inputs.programDir = (root_ / "bin").string();
  const DataFolderChoice choice = findDataFolder(inputs, kLayout);
  ASSERT_EQ(choice.folder, "");
  const std::string message = noDataMessage(choice);
  EXPECT_EQ(message.find('\n'), std::string::npos);
  EXPECT_EQ(choice.rejected.size(), 4u);
  for (const std::string& tried : choice.rejected) {
    EXPECT_NE(message.find(tried), std::string::npos) << tried;
  }
  EXPECT_NE(message.find((root_ / "share/games/marvolen-dx").string() + " (does not exist)"),
            std::string::npos);
}

// The level tools look for the game's folder beside themselves and search from there, so in a
// build folder and in an installed tree they reach the data the game there uses.
TEST_F(DataFolderOnDisk, ToolsFindTheGamesDataInABuildAndAnInstalledTree) {
  const ToolLayout tools = installedToolLayout();
  const std::string build = folder("build", false);
  const std::string buildGame = folder("build/" + tools.buildGameDir, true);
  DataSearchInputs inputs = isolated();
  inputs.programDir = gameFolderBesideTool(build, tools);
  EXPECT_EQ(inputs.programDir, buildGame);
  EXPECT_EQ(findDataFolder(inputs, installedDataLayout()).folder, buildGame);

  // Installed: the tools in bin/, the game in games/ and the data under share/.
  const std::string bin = folder("usr/bin", false);
  const std::string data = folder("usr/share/games/marvolen-dx", true);
  inputs.programDir = gameFolderBesideTool(bin, tools);
  EXPECT_EQ(inputs.programDir, (root_ / "usr/games").string());
  EXPECT_EQ(findDataFolder(inputs, installedDataLayout()).folder, data);

  EXPECT_EQ(gameFolderBesideTool("", tools), "");
}

TEST(NoDataMessage, NamesTheProgramsOwnOption) {
  DataFolderChoice choice;
  choice.rejected = {"/a (does not exist)"};
  EXPECT_NE(noDataMessage(choice).find("with --data DIR or $MARVOLEN_DATA"), std::string::npos);
  EXPECT_NE(noDataMessage(choice, "--game-dir").find("with --game-dir DIR or"), std::string::npos);
}

}  // namespace
}  // namespace mdx::app
