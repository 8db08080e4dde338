// The packs' difficulty curve, as the build measured it (build/level-stats/PACK.csv, written by
// marvolen-level stats): every level can be won, not by straight drops, at a pace of presses a
// person keeps up, the solver finds each quickly, every pack ends harder than it starts, and
// the first pack much harder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/files.h"
#include "level/stats.h"
#include "level/tool_commands.h"

namespace mdx::level {
namespace {

constexpr double kSolverSecondsLimit = 5.0;
// The fastest steady pace of Left and Right presses a level may ask for at its tightest piece:
// more than most players' fingers manage while they also have to aim.
constexpr double kMostPressesASecond = 4.0;
constexpr size_t kCurveEnds = 8;  // levels at each end of the first pack that are compared

std::vector<LevelStats> packStats(const std::string& pack) {
  const std::string path = std::string(MDX_LEVEL_STATS_DIR) + "/" + pack + ".csv";
  std::string text, error;
  std::vector<LevelStats> stats;
  EXPECT_TRUE(mdx::base::readWholeFile(path, text, error)) << error;
  EXPECT_TRUE(readStatsCsv(text, stats, error)) << path << ": " << error;
  return stats;
}

class PackCurve : public ::testing::TestWithParam<std::string> {};

TEST_P(PackCurve, EveryLevelIsWonOnlyByPlacingPiecesAtAPlayersPaceAndFoundQuickly) {
  const std::vector<LevelStats> stats = packStats(GetParam());
  ASSERT_FALSE(stats.empty());
  for (const LevelStats& level : stats) {
    EXPECT_TRUE(level.solved) << level.file << " cannot be won";
    EXPECT_FALSE(level.straightDropsWin) << level.file << " is won by straight drops";
    EXPECT_LE(level.solverSeconds, kSolverSecondsLimit) << level.file << " is slow to solve";
    EXPECT_TRUE(level.pressRate.reachable) << level.file << ": the game cannot follow its solution";
    EXPECT_LE(level.pressRate.perSecond, kMostPressesASecond)
        << level.file << " needs too many presses a second";
  }
}

// The mean win share of the levels from first to last (not included).
double meanWinShare(const std::vector<LevelStats>& stats, size_t first, size_t last) {
  double sum = 0.0;
  for (size_t i = first; i < last; ++i) sum += stats[i].winShare();
  return sum / static_cast<double>(last - first);
}

// Every pack rises: its last third is won less often, on average, than its first third. (A
// single hard early level, estimated at a win share of zero, does not spoil the comparison.)
TEST_P(PackCurve, LastThirdIsWonLessOftenThanFirstThird) {
  const std::vector<LevelStats> stats = packStats(GetParam());
  const size_t third = stats.size() / 3;
  ASSERT_GE(third, 1u);
  EXPECT_LT(meanWinShare(stats, stats.size() - third, stats.size()), meanWinShare(stats, 0, third))
      << GetParam() << ": its last " << third << " levels are easier than its first " << third;
}

INSTANTIATE_TEST_SUITE_P(Packs, PackCurve, ::testing::Values("mappack1", "mappack2"));

TEST(PackCurve, FirstPackEndsHarderThanItStarts) {
  const std::vector<LevelStats> stats = packStats("mappack1");
  ASSERT_GE(stats.size(), 2 * kCurveEnds);
  double easiestHard = 0.0;
  std::string easiestHardLevel;
  for (size_t i = stats.size() - kCurveEnds; i < stats.size(); ++i) {
    if (stats[i].winShare() >= easiestHard) {
      easiestHard = stats[i].winShare();
      easiestHardLevel = stats[i].file;
    }
  }
  for (size_t i = 0; i < kCurveEnds; ++i) {
    EXPECT_LT(easiestHard, stats[i].winShare())
        << easiestHardLevel << " (one of the last " << kCurveEnds << ") is easier than "
        << stats[i].file << " by win share";
  }
}

}  // namespace
}  // namespace mdx::level
