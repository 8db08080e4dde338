// The subcommands of marvolen-level and their options: the one table the parser, the --help
// text and (through a test) the manual page agree on.
#include <stdexcept>

#include "level/tool_commands.h"

namespace mdx::level {
namespace {

const char kExitCodes[] =
    "exit status: 0 done (check: proven); 1 the file could not be built, written or found, or\n"
    "(pack) refused or problems found, (solve) no solution; 2 bad arguments, or (check) an\n"
    "unreadable or broken level; check also: 3 not winnable, 4 won by straight drops,\n"
    "5 undecided within the budget.\n";

cli::Option budget() {
  return cli::budgetOption(
      "how long the search may take before it gives up (check\n"
      "and pack: the proof, default 10; solve: the solver,\n"
      "default 60; stats: the exact count, default 60)");
}

std::vector<Subcommand> makeSubcommands() {
  const cli::Option out{"--out", "FILE", "(stats) write the table to FILE", {}};
  return {
      {"build",
       "SRC OUT.dat",
       {{"--strict", "", "(build) refuse to build when there are warnings", {}}}},
      {"check", "FILE", {budget()}},
      {"legend", "", {}},
      {"shapes", "", {}},
      {"pack",
       "new DIR | add DIR SOURCE | check DIR | meta DIR SOURCE... | export DIR FILE | install FILE",
       {cli::dataOption(),
        budget(),
        {"--name", "NAME", "(pack export) the name the pack is installed under", {}},
        {"--title",
         "TITLE",
         "(pack meta) the pack's own name for the game's\ndialog and title; kept when not given",
         {}}}},
      {"decompile", "IN.dat OUT.src", {}},
      {"solve",
       "FILE",
       {budget(), {"--max-steps", "N", "(solve) one robot run gives up after N world steps", {}}}},
      {"stats",
       "DIR|FILE",
       {{"--csv", "", "(stats) comma-separated values instead of the table", {}},
        out,
        budget(),
        {"--max-sequences", "N", "(stats) estimate the win share beyond N sequences", {}},
        {"--markdown-out",
         "FILE",
         "(stats) write the table with names and ideas as\nMarkdown",
         {}}}},
      {"preview",
       "FILE OUT.png",
       {cli::dataOption(), {"--running", "", "(preview) draw it as the robot's walk begins", {}}}},
  };
}

}  // namespace

const std::vector<Subcommand>& subcommands() {
  static const std::vector<Subcommand> table = makeSubcommands();
  return table;
}

const Subcommand& subcommand(const std::string& name) {
  for (const Subcommand& entry : subcommands())
    if (entry.name == name) return entry;
  throw std::invalid_argument("marvolen-level has no subcommand " + name);
}

cli::ParsedArgs parseSubcommand(const std::string& name, int argc, char** argv) {
  return cli::parseArgs(subcommand(name).options, argc, argv);
}

std::string subcommandUsage(const std::string& name) {
  const Subcommand& entry = subcommand(name);
  std::string text = "marvolen-level " + entry.name;
  if (!entry.operands.empty()) text += " " + entry.operands;
  if (!entry.options.empty()) text += " " + cli::optionSynopsis(entry.options);
  return text;
}

std::string levelToolHelp() {
  std::string text;
  std::vector<cli::Option> everyOption;
  for (const Subcommand& entry : subcommands()) {
    text += (text.empty() ? "usage: " : "       ") + subcommandUsage(entry.name) + "\n";
    for (const cli::Option& option : entry.options) {
      bool listed = false;
      for (const cli::Option& seen : everyOption) listed = listed || seen.name == option.name;
      if (!listed) everyOption.push_back(option);
    }
  }
  return text + "options:\n" + cli::optionHelp(everyOption) + kExitCodes;
}

}  // namespace mdx::level
