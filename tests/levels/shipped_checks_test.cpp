// The shipped levels pass the checks a designer's pack must pass: no warnings in any source,
// and the built pack is ready by pack check.
#include <gtest/gtest.h>

#include <sstream>

#include "level/level_checks.h"
#include "level/pack_commands.h"
#include "shipped_levels.h"

namespace mdx::level::testing {
namespace {

TEST(ShippedChecks, SourcesHaveNoWarningsButTheEndingsMissingExit) {
  for (const ShippedLevel& level : packLevels()) {
    CheckedFile file;
    ASSERT_TRUE(readCheckedFile(level.source, file)) << file.error;
    for (const LevelWarning& warning : file.warnings) {
      ADD_FAILURE() << formatWarning(level.source, warning);
    }
  }
  CheckedFile ending;
  ASSERT_TRUE(readCheckedFile(endingLevel().source, ending)) << ending.error;
  ASSERT_EQ(ending.warnings.size(), 1u);
  EXPECT_EQ(ending.warnings[0].message.rfind("no exit", 0), 0u);
}

TEST(ShippedChecks, TheBuiltPackIsReady) {
  std::ostringstream out;
  const std::string game = MDX_GAME_DIR;
  EXPECT_EQ(checkPack(game + "/mappack1", game, CheckOptions{}, out), 0) << out.str();
  EXPECT_NE(out.str().find("/mappack1/level01.dat: proven: "), std::string::npos) << out.str();
}

}  // namespace
}  // namespace mdx::level::testing
