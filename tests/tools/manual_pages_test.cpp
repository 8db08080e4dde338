// Each program's --help and its manual page must offer the same options: runs the real
// programs with --help and reads dist/man.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#ifdef MDX_EDIT_BINARY
#include "edit/editor_keys.h"
#endif

namespace {

std::string helpOf(const std::string& program) {
  std::string text;
  FILE* pipe = popen((program + " --help").c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int status = pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << program << " --help failed";
  return text;
}

// The manual page as a reader sees its words: roff's escaped hyphens made plain.
std::string manualPage(const std::string& name) {
  std::ifstream in(std::string(MDX_SOURCE_DIR) + "/dist/man/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

// Every long option the text names ("--budget").
std::set<std::string> optionsIn(const std::string& text) {
  std::set<std::string> found;
  const std::regex option(R"(--[a-z0-9][a-z0-9-]*)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
       it != std::sregex_iterator(); ++it)
    found.insert(it->str());
  return found;
}

// The words after "marvolen-level" wherever a command is shown ("build", "pack", ...).
std::set<std::string> subcommandsIn(const std::string& text, const std::string& lead) {
  std::set<std::string> found;
  const std::regex command(lead + R"(marvolen-level ([a-z]+))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), command);
       it != std::sregex_iterator(); ++it)
    found.insert((*it)[1].str());
  return found;
}

TEST(ManualPages, LevelToolListsTheSameSubcommandsAndOptionsAsItsHelp) {
  const std::string help = helpOf(MDX_LEVEL_BINARY);
  const std::string page = manualPage("marvolen-level.1");
  EXPECT_EQ(optionsIn(help), optionsIn(page));
  const std::set<std::string> commands = subcommandsIn(help, R"((?:usage: |\n {7}))");
  EXPECT_EQ(commands, subcommandsIn(page, R"(\n\.B )"));
  EXPECT_EQ(commands.count("legend") + commands.count("shapes"), 2u);
}

TEST(ManualPages, SimulatorListsTheSameOptionsAsItsHelp) {
  const std::set<std::string> options = optionsIn(helpOf(MDX_SIM_BINARY));
  EXPECT_EQ(options, optionsIn(manualPage("marvolen-sim.1")));
  EXPECT_EQ(options.count("--replay") + options.count("--write-reference"), 2u);
}

#ifdef MDX_GAME_BINARY
TEST(ManualPages, GameListsTheSameOptionsAsItsHelp) {
  const std::set<std::string> options = optionsIn(helpOf(MDX_GAME_BINARY));
  EXPECT_EQ(options, optionsIn(manualPage("marvolen.6")));
  EXPECT_EQ(options.count("--record") + options.count("--replay"), 2u);
}
#endif

#ifdef MDX_EDIT_BINARY
TEST(ManualPages, EditorListsTheSameOptionsAndKeysAsItsHelp) {
  const std::string help = helpOf(MDX_EDIT_BINARY);
  const std::string page = manualPage("marvolen-edit.1");
  EXPECT_EQ(optionsIn(help), optionsIn(page));
  const std::size_t start = page.find(".SH KEYS");
  const std::string keys = page.substr(start, page.find(".SH ", start + 1) - start);
  for (const mdx::edit::KeyAction& key : mdx::edit::editorKeys()) {
    EXPECT_NE(help.find(key.keys), std::string::npos) << key.keys;
    EXPECT_NE(keys.find(std::string(".B ") + key.keys + "\n"), std::string::npos) << key.keys;
  }
  // And no key in the page that the editor does not describe.
  std::size_t listed = 0;
  for (std::size_t at = keys.find(".TP\n.B "); at != std::string::npos;
       at = keys.find(".TP\n.B ", at + 1))
    ++listed;
  EXPECT_EQ(listed, mdx::edit::editorKeys().size());
}
#endif

}  // namespace
