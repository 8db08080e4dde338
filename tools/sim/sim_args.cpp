#include "sim/sim_args.h"

#include <climits>

#include "world/actions.h"

namespace mdx::sim {
namespace {

// A whole argument as a 32-bit decimal integer with an optional sign.
std::optional<int32_t> parseInteger(const std::string& text) {
  std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT32_MAX) + 1) return std::nullopt;
  }
  if (text[0] == '-') value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
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
  for (char letter : args.actions) {
    if (!world::isValidActionString(std::string(1, letter))) {
      return std::string("unknown action letter '") + letter +
             "' in --do (known: " + std::string(world::kActionLetters) + ")";
    }
  }
  return "";
}

}  // namespace

const char* simUsage() {
  return "usage: marvolen-sim [--dir DIR] (--file PATH | --pack NAME --level N) "
         "[--level-number N] [--do ACTIONS] [--trace] | [--dir DIR] --replay FILE "
         "[--trace | --check REF | --write-reference REF]";
}

const char* simHelp() {
  return "Plays a level headless: performs the action letters of --do and prints the world\n"
         "state as one JSON line (after every action with --trace).\n"
         "  --file PATH       a level file, or a level source (.src) built on the fly\n"
         "  --pack NAME --level N   level N of a pack folder, read as the game reads it\n"
         "  --dir DIR         change into DIR first (the game's folder)\n"
         "  --level-number N  levelNumber while loading --file (99 forces the ending music)\n"
         "  --replay FILE     play a recorded session (marvolen --record) from the game's\n"
         "                    folder and print the whole game state at its end (after every\n"
         "                    step with --trace); refused when the pack's level files or\n"
         "                    the version differ from the recording's\n"
         "  --check REF       with --replay: compare every step with the reference REF and\n"
         "                    name the first step and field that differ (exit 1)\n"
         "  --write-reference REF  with --replay: write the replay's reference to REF\n"
         "exit status:\n"
         "  0  the level ran and the JSON was printed\n"
         "  1  the replay is unreadable or refused, the level file could not be opened, or the "
         "pack or level does not exist (the\n"
         "     JSON of the empty level the game would run, with its messages, is still printed\n"
         "     and the message on stderr names the file); a level source with a mistake (only\n"
         "     the message, naming file, line and column); or the output could not be written\n"
         "  2  bad arguments, or --dir cannot be entered\n";
}

ParseResult parseSimArgs(const std::vector<std::string>& arguments) {
  ParseResult result;
  SimArgs& args = result.args;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--trace") {
      args.trace = true;
      continue;
    }
    if (option == "--help" || option == "-h") {
      args.help = true;
      return result;
    }
    const bool takesValue = option == "--dir" || option == "--file" || option == "--pack" ||
                            option == "--level" || option == "--level-number" || option == "--do" ||
                            option == "--replay" || option == "--check" ||
                            option == "--write-reference";
    if (!takesValue) {
      result.error = "unknown argument '" + option + "'";
      return result;
    }
    if (i + 1 >= arguments.size()) {
      result.error = option + " needs a value";
      return result;
    }
    const std::string& value = arguments[++i];
    if (option == "--dir") args.dir = value;
    if (option == "--file") args.file = value;
    if (option == "--replay") args.replay = value;
    if (option == "--check") args.check = value;
    if (option == "--write-reference") args.writeReference = value;
    if (option == "--pack") args.pack = value;
    if (option == "--do") args.actions = value;
    if (option == "--level" || option == "--level-number") {
      const std::optional<int32_t> number = parseInteger(value);
      if (!number) {
        result.error = option + " needs a whole number, not '" + value + "'";
        return result;
      }
      if (option == "--level") args.level = *number;
      if (option == "--level-number") args.levelNumber = *number;
    }
  }
  result.error = checkCombination(args);
  return result;
}

}  // namespace mdx::sim
