// A pack shared from one person to another through the real programs: the designer exports it
// with marvolen-level, the player installs it with the game's --install-pack, in a data home
// of their own; each program says what it did and ends with the status its manual page gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

// The game is built only with its SDL layers; without them there is no one to install.
#ifdef MDX_GAME_BINARY
using mdx::testing::ProgramRun;

// Runs command with its standard error taken in with its output.
ProgramRun run(const std::string& command) {
  return mdx::testing::runProgram(command + " 2>&1");
}

TEST(SharePack, ExportedByTheLevelToolInstalledByTheGameOnceAndNotTwice) {
  const fs::path root = fs::path(::testing::TempDir()) / "share_pack_cli";
  fs::remove_all(root);
  fs::create_directories(root);
  const std::string file = (root / "two.mdxpack").string();
  const std::string game = MDX_GAME_DIR;
  if (!fs::exists(game + "/mappack1/lndscp02.tga") || !fs::exists(game + "/mappack2/pref.ini")) {
    GTEST_SKIP() << "build the game folder first (--target game)";
  }
  const ProgramRun exported = run(std::string(MDX_LEVEL_BINARY) + " pack export " + game +
                                  "/mappack2 " + file + " --name two --data " + game);
  ASSERT_EQ(exported.status, 0) << exported.out;

  const std::string install = "XDG_DATA_HOME=" + (root / "home").string() + " " + MDX_GAME_BINARY +
                              " --data " + game + " --install-pack " + file;
  const ProgramRun first = run(install);
  EXPECT_EQ(first.status, 0) << first.out;
  EXPECT_NE(first.out.find("installed the pack \"two\""), std::string::npos) << first.out;
  EXPECT_TRUE(fs::exists(root / "home/marvolen-dx/packs/two/pref.ini"));
  const ProgramRun second = run(install);
  EXPECT_EQ(second.status, 1) << second.out;
  EXPECT_NE(second.out.find("not installed: you already have"), std::string::npos) << second.out;
  const ProgramRun missing = run(install + ".gone");
  EXPECT_EQ(missing.status, 1) << missing.out;
  EXPECT_NE(missing.out.find("not installed"), std::string::npos) << missing.out;
}
#endif

}  // namespace
