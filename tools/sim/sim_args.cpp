#include "sim/sim_args.h"

#include <climits>

#include "cli/tool_args.h"
#include "sim/sim_run.h"

namespace mdx::sim {
namespace {

// The options, in the order --help lists them.
std::vector<cli::Option> simOptions() {
  return {
      {"--file", "PATH", "a level file, or a level source (.src) built on the fly", {}},
      {"--pack", "NAME", "with --level: the map pack folder, read as the game reads it", {}},
      {"--level", "N", "with --pack: the level to play", {}},
      cli::dataOption(),
      {"--level-number", "N", "levelNumber while loading --file (99: the ending music)", {}},
      {"--do",
       "ACTIONS",
       "the action letters to perform in order (" + scriptLetters() +
           "):\n"
           "h drops the falling piece to its end, t runs the game's\n"
           "timers to its next drop or world step; l r d w g x a are\n"
           "the single steps; a blow-up plays out and restarts the level",
       {}},
      {"--trace", "", "print the state after the start and every action or step", {}},
      {"--replay",
       "FILE",
       "play a recorded session (marvolen --record) with the\n"
       "game's data and print the whole game state at its end;\n"
       "refused when the pack's level files or the version differ\n"
       "from the recording's",
       {}},
      {"--check",
       "REF",
       "with --replay: compare every step with the reference REF\n"
       "and name the first step and field that differ (exit 1)",
       {}},
      {"--write-reference", "REF", "with --replay: write the replay's reference to REF", {}},
  };
}

// A whole number that fits the game's 32-bit fields; anything else sets the error.
std::optional<int32_t> number32(cli::ParsedArgs& parsed, const std::string& name) {
  const std::optional<long long> number = parsed.whole(name);
  if (number && (*number < INT32_MIN || *number > INT32_MAX)) {
    if (parsed.error.empty())
      parsed.error = name + " needs a whole number, not '" + parsed.value(name) + "'";
    return std::nullopt;
  }
  return number ? std::optional<int32_t>(static_cast<int32_t>(*number)) : std::nullopt;
}

std::string checkCombination(const SimArgs& args) {
  if (args.replay) {
    const bool other = args.file || args.pack || args.level || !args.actions.empty();
    if (other) return "--replay cannot be combined with --file, --pack, --level or --do";
    if ((args.check || args.writeReference) && (args.trace || (args.check && args.writeReference)))
      return "--check, --write-reference and --trace go one at a time with --replay";
    return "";
  }
  if (args.check || args.writeReference) return "--check and --write-reference need --replay";
  if (args.file && (args.pack || args.level))
    return "--file cannot be combined with --pack or --level";
  if (!args.file && !args.pack && !args.level) return "give --file PATH or --pack NAME --level N";
  if (!args.file && !args.pack) return "--level needs --pack";
  if (!args.file && !args.level) return "--pack needs --level";
  const std::string known = scriptLetters();
  for (char letter : args.actions) {
    if (known.find(letter) == std::string::npos) {
      return std::string("unknown action letter '") + letter + "' in --do (known: " + known + ")";
    }
  }
  return "";
}

}  // namespace

const char* simUsage() {
  return "usage: marvolen-sim [--data DIR] (--file PATH | --pack NAME --level N) "
         "[--level-number N] [--do ACTIONS] [--trace] | [--data DIR] --replay FILE "
         "[--trace | --check REF | --write-reference REF]";
}

std::string simHelp() {
  return "Plays a level headless: performs the action letters of --do and prints the world\n"
         "state as one JSON line (after every action with --trace).\n" +
         cli::optionHelp(simOptions()) +
         "exit status:\n"
         "  0  the robot reached the exit (with --replay: the replay ran)\n"
         "  1  the replay is unreadable or refused, the level file could not be opened, or the\n"
         "     pack or level does not exist (the JSON of the empty level the game would run,\n"
         "     with its messages, is still printed and the message on stderr names the file);\n"
         "     a level source with a mistake (only the message, naming file, line and column);\n"
         "     or the output could not be written\n"
         "  2  bad arguments, or the data folder cannot be entered\n"
         "  3  the robot exploded (the level started again after its blow-up)\n"
         "  4  the robot is stuck: its world repeats a state, it can no longer reach the exit\n"
         "  5  the actions ran out with the level still undecided\n"
         "The actions after the one that decides the level are not performed; notes on\n"
         "standard error say where it was decided and which actions did nothing.\n";
}

ParseResult parseSimArgs(const std::vector<std::string>& arguments) {
  ParseResult result;
  SimArgs& args = result.args;
  cli::ParsedArgs parsed = cli::parseArgs(simOptions(), arguments);
  args.help = parsed.help;
  auto text = [&](const std::string& name) {
    return parsed.has(name) ? std::optional<std::string>(parsed.value(name)) : std::nullopt;
  };
  args.dir = text("--data");
  args.file = text("--file");
  args.replay = text("--replay");
  args.check = text("--check");
  args.writeReference = text("--write-reference");
  args.pack = text("--pack");
  args.actions = parsed.value("--do");
  args.trace = parsed.has("--trace");
  args.level = number32(parsed, "--level");
  args.levelNumber = number32(parsed, "--level-number").value_or(args.levelNumber);
  if (parsed.error.empty() && !parsed.words.empty())
    parsed.error = "unknown argument '" + parsed.words[0] + "'";
  result.error = args.help ? "" : parsed.error.empty() ? checkCombination(args) : parsed.error;
  return result;
}

}  // namespace mdx::sim
