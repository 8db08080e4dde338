#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cli_options.h"

namespace mdx::app {
namespace {

ParsedCommandLine parse(std::vector<std::string> args) {
  return parseCommandLine(args);
}

TEST(CommandLine, NoArgumentsKeepsTheClassicStart) {
  const ParsedCommandLine parsed = parse({});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_FALSE(parsed.options.noDialog);
  EXPECT_FALSE(parsed.options.windowed.has_value());
  EXPECT_FALSE(parsed.options.noSound);
  EXPECT_EQ(parsed.options.scale, 0);
  EXPECT_FALSE(parsed.options.pack || parsed.options.dataDir || parsed.options.logFile);
}

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
  const ParsedCommandLine parsed =
      parse({"--no-dialog", "--fullscreen", "--no-sound", "--pack", "mappack2", "--scale=3",
             "--data", "/games/mdx", "--log=run.log", "--3d-blocks", "--record", "s.replay",
             "--frame-bound-timers"});
  ASSERT_TRUE(parsed.error.empty()) << parsed.error;
  const CommandLine& line = parsed.options;
  EXPECT_TRUE(line.noDialog);
  EXPECT_EQ(line.windowed, false);
  EXPECT_TRUE(line.noSound);
  EXPECT_EQ(line.pack, "mappack2");
  EXPECT_EQ(line.scale, 3);
  EXPECT_EQ(line.dataDir, "/games/mdx");
  EXPECT_EQ(line.logFile, "run.log");
  EXPECT_EQ(line.recordFile, "s.replay");
  EXPECT_EQ(parse({"--replay=r.replay"}).options.replayFile, "r.replay");
  EXPECT_EQ(parse({"--install-pack", "mine.mdxpack"}).options.installPack, "mine.mdxpack");
  EXPECT_TRUE(line.blocks3D);
  EXPECT_TRUE(line.frameBoundTimers);
  EXPECT_FALSE(parse({}).options.frameBoundTimers);
  EXPECT_FALSE(parse({}).options.blocks3D);

  EXPECT_TRUE(parse({"--help"}).options.showHelp);
  EXPECT_TRUE(parse({"-h"}).options.showHelp);
  EXPECT_TRUE(parse({"--version"}).options.showVersion);
}

TEST(CommandLine, TheLastOfWindowedAndFullscreenWins) {
  EXPECT_EQ(parse({"--fullscreen", "--windowed"}).options.windowed, true);
  EXPECT_EQ(parse({"--windowed", "--fullscreen"}).options.windowed, false);
}

TEST(CommandLine, BadArgumentsAreNamedInTheError) {
  EXPECT_NE(parse({"--bogus"}).error.find("--bogus"), std::string::npos);
  EXPECT_NE(parse({"play"}).error.find("play"), std::string::npos);
  EXPECT_NE(parse({"--windowed=yes"}).error.find("--windowed=yes"), std::string::npos);
  EXPECT_NE(parse({"--pack"}).error.find("--pack"), std::string::npos);
  EXPECT_NE(parse({"--log="}).error.find("--log"), std::string::npos);
  EXPECT_NE(parse({"--record="}).error.find("--record"), std::string::npos);
  EXPECT_NE(parse({"--replay"}).error.find("--replay"), std::string::npos);
  EXPECT_NE(parse({"--install-pack="}).error.find("--install-pack"), std::string::npos);
  for (const char* bad : {"0", "17", "-2", "2x", "", "99999999999999999999"}) {
    const ParsedCommandLine parsed = parse({"--scale", bad});
    EXPECT_NE(parsed.error.find("--scale"), std::string::npos) << bad;
  }
  EXPECT_EQ(parse({"--scale", "16"}).options.scale, 16);
}

TEST(CommandLine, HelpNamesEveryOption) {
  const std::string help = usageText("marvolen");
  for (const char* option :
       {"--help", "--version", "--data", "--no-dialog", "--windowed", "--fullscreen", "--no-sound",
        "--pack", "--scale", "--log", "--3d-blocks", "--frame-bound-timers", "--install-pack"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

TEST(WindowScale, LargestWholeMultipleThatLeavesAMargin) {
  EXPECT_EQ(chooseWindowScale(640, 480), 1);
  EXPECT_EQ(chooseWindowScale(1024, 768), 1);
  EXPECT_EQ(chooseWindowScale(1920, 1080), 2);
  EXPECT_EQ(chooseWindowScale(2560, 1440), 2);
  EXPECT_EQ(chooseWindowScale(3840, 2160), 4);
  EXPECT_EQ(chooseWindowScale(0, 0), 1);
  EXPECT_EQ(chooseWindowScale(100000, 100000), kMaxScale);
}

}  // namespace
}  // namespace mdx::app
