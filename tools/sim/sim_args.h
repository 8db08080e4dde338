// Command line of marvolen-sim:
//   marvolen-sim [--data DIR] (--file PATH | --pack NAME --level N) [--level-number N]
//                [--do ACTIONS] [--trace]
//   marvolen-sim [--data DIR] --replay FILE [--trace | --check REF | --write-reference REF]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mdx::sim {

struct SimArgs {
  std::optional<std::string> dir;             // --data: the game's folder; else the game's search
  std::optional<std::string> file;            // a loose level file, without pref.ini
  std::optional<std::string> replay;          // a recorded session, played as the game plays it
  std::optional<std::string> check;           // with --replay: the reference its states must match
  std::optional<std::string> writeReference;  // with --replay: write its reference there
  std::optional<std::string> pack;            // packName for --level
  std::optional<int32_t> level;               // with --pack: levelNumber and startLevel(level)
  int32_t levelNumber = 1;                    // with --file: levelNumber before loading
  std::string actions;                        // action letters, performed in order
  bool trace = false;  // print the state after the start and after every action
  bool help = false;
};

// The outcome of parsing: the arguments, or a one-line reason they are not valid.
struct ParseResult {
  SimArgs args;
  std::string error;  // empty when the arguments are valid
};

// Parses argv[1..]; checks the option combinations, the numbers and the action letters.
ParseResult parseSimArgs(const std::vector<std::string>& arguments);

// The one-line usage message.
const char* simUsage();

// What --help prints after the usage line: the options and the exit codes.
std::string simHelp();

}  // namespace mdx::sim
