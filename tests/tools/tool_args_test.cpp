// The option helper every tool parses its command line with.
#include "cli/tool_args.h"

#include <gtest/gtest.h>

namespace mdx::cli {
namespace {

const std::vector<Option> kOptions = {
    dataOption(),
    budgetOption("how long"),
    {"--strict", "", "refuse warnings", {}},
    {"--max-steps", "N", "steps", {}},
};

TEST(ToolArgs, ReadsValuesFlagsAndWordsInAnyOrder) {
  const ParsedArgs args =
      parseArgs(kOptions, {"in.src", "--strict", "--budget", "2.5", "--data=/games", "out.dat"});
  ASSERT_EQ(args.error, "");
  EXPECT_EQ(args.words, (std::vector<std::string>{"in.src", "out.dat"}));
  EXPECT_TRUE(args.has("--strict"));
  EXPECT_EQ(args.value("--data"), "/games");
  EXPECT_EQ(args.value("--budget"), "2.5");
  EXPECT_EQ(args.value("--max-steps", "none"), "none");
  EXPECT_TRUE(parseArgs(kOptions, {"x", "-h"}).help);
}

TEST(ToolArgs, OlderSpellingsCountAsTheOptionTheyBecame) {
  const ParsedArgs args = parseArgs(kOptions, {"--game-dir", "/a", "--max-seconds", "3"});
  ASSERT_EQ(args.error, "");
  EXPECT_EQ(args.value("--data"), "/a");
  EXPECT_EQ(args.value("--budget"), "3");
  EXPECT_EQ(parseArgs(kOptions, {"--dir=/b"}).value("--data"), "/b");
}

TEST(ToolArgs, UnknownOptionsMissingValuesAndBadNumbersAreNamed) {
  EXPECT_EQ(parseArgs(kOptions, {"--fast"}).error, "unknown option '--fast'");
  EXPECT_EQ(parseArgs(kOptions, {"--strict=yes"}).error, "unknown option '--strict=yes'");
  EXPECT_NE(parseArgs(kOptions, {"--budget"}).error.find("--budget needs a value"),
            std::string::npos);
  for (const char* bad : {"soon", "0", "-1", "", "2s"}) {
    ParsedArgs args = parseArgs(kOptions, {"--budget", bad});
    EXPECT_EQ(args.positive("--budget", 10), 10) << bad;
    EXPECT_NE(args.error.find("--budget needs a positive number"), std::string::npos) << bad;
  }
  ParsedArgs steps = parseArgs(kOptions, {"--max-steps", "12x"});
  EXPECT_FALSE(steps.whole("--max-steps"));
  EXPECT_NE(steps.error.find("--max-steps needs a whole number"), std::string::npos);
  ParsedArgs good = parseArgs(kOptions, {"--max-steps", "-12", "--budget", "0.5"});
  EXPECT_EQ(good.whole("--max-steps"), -12);
  EXPECT_EQ(good.positive("--budget", 10), 0.5);
  EXPECT_EQ(good.error, "");
}

TEST(ToolArgs, HelpShowsEachOptionOnceWithItsValueAndNoOlderSpelling) {
  const std::string help = optionHelp(kOptions);
  EXPECT_NE(help.find("  --budget SECONDS"), std::string::npos);
  EXPECT_NE(help.find("  --strict "), std::string::npos);
  EXPECT_EQ(help.find("--game-dir"), std::string::npos);
  EXPECT_EQ(help.find("--max-seconds"), std::string::npos);
  // Continuation lines of a description start in its column.
  const std::size_t second = help.find('\n', help.find("  --data DIR")) + 1;
  const std::size_t column = help.find("the game data folder") - help.find("  --data DIR");
  EXPECT_EQ(help.find_first_not_of(' ', second) - second, column);
  EXPECT_EQ(optionSynopsis({kOptions[2], kOptions[3]}), "[--strict] [--max-steps N]");
}

}  // namespace
}  // namespace mdx::cli
