// The subcommands of marvolen-level, kept in the library so tests can run them directly.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/tool_args.h"
#include "world/game_state.h"

namespace mdx::level {

struct LevelSource;

// One subcommand of marvolen-level: what it is given besides options, and its options. Parsing
// and --help both read this table.
struct Subcommand {
  std::string name;
  std::string operands;  // "SRC OUT.dat"
  std::vector<cli::Option> options;
};

// Every subcommand, in the order --help lists them.
const std::vector<Subcommand>& subcommands();

// The subcommand called name (which must be one of subcommands()).
const Subcommand& subcommand(const std::string& name);

// Parses a subcommand's arguments (those after its name) against its options.
cli::ParsedArgs parseSubcommand(const std::string& name, int argc, char** argv);

// "marvolen-level NAME OPERANDS [OPTIONS]": one subcommand's usage line.
std::string subcommandUsage(const std::string& name);

// The --help text: a usage line per subcommand, then every option once.
std::string levelToolHelp();

// Loads a level from a source (".src") or a level file (anything else).
bool loadLevel(const std::string& path, LevelSource& level, std::string& error);

// Starts the level at path (a source or a level file) in game as level 1, through the game's
// own loader (a source is built into a temporary level file first).
bool startFromPath(const std::string& path, world::GameState& game, std::string& error);

// marvolen-level build SRC OUT [--strict]: 0 on success, 1 with "SRC:LINE:COLUMN: message"
// on err. Rule warnings are written to err and do not stop the build, unless strict.
int buildCommand(const std::string& source, const std::string& out, std::ostream& err,
                 bool strict = false);
// The same from the subcommand's arguments; 2 with the usage on err when they are wrong.
int buildCommand(int argc, char** argv, std::ostream& err);

// marvolen-level check FILE [--budget SECONDS]: one line on out; 0 proven, 3 not winnable,
// 4 won by straight drops, 5 undecided, 2 for an unreadable or invalid file or bad arguments.
// Rule warnings go to err.
int checkCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

// marvolen-level legend: the default map characters with their codes, names and pictures.
int legendCommand(std::ostream& out);

// marvolen-level shapes: the cells each piece type fills in its 3 x 4 box when it lands.
int shapesCommand(std::ostream& out);

// marvolen-level decompile IN OUT: 0 on success, 1 with a message on err.
int decompileCommand(const std::string& dat, const std::string& out, std::ostream& err);

// marvolen-level solve FILE [options]: 0 when solved, 1 when not, 2 on bad arguments.
int solveCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace mdx::level
