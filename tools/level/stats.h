// Difficulty figures of levels: every complete sequence of piece placements is played out
// with the game's own world code, and the solver's own search is timed, so a pack's levels can
// be compared and put in order.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "level/press_rate.h"
#include "world/game_state.h"

namespace mdx::level {

struct StatsLimits {
  double solverSeconds = 60.0;  // the solver's time limit (as marvolen-level solve)
  double countSeconds = 60.0;   // the exact count of placement sequences gives up after this
  long long maxSequences = 0;   // ... or after this many sequences (0: no limit): unlike the
                                // time, this limit gives the same figures on any machine
  int probes = 2000;            // random sequences played when the exact count gave up
  int maxWorldSteps = 3000;     // one robot run gives up after this many world steps
};

// The figures of one level.
struct LevelStats {
  std::string file;  // the source or level file
  std::string name;  // the level's name and idea (levelMetaOf), empty when it has none
  std::string idea;
  int pieces = 0;       // pieces the level hands out
  bool solved = false;  // the solver found a solution
  double solverSeconds = 0.0;
  long placementsSearched = 0;  // piece outcomes the solver generated on its way
  long long sequences = 0;      // distinct complete placement sequences
  long long wins = 0;           // of them, those that take the robot to the exit
  int shortestSteps = -1;       // fewest world steps of a winning sequence; -1 when none
  int winningFirsts = 0;        // distinct first placements that can still win
  bool straightDropsWin = false;
  // The pace of presses the solver's solution needs at its tightest piece (how hard it is on
  // the hands; another solution may ask less). Read back from a table, only perSecond and
  // reachable are known.
  PressRate pressRate;
  // The count finished within its time limit, so the figures are exact. Otherwise sequences,
  // wins and the shortest win are estimated from random sequences (see StatsLimits::probes)
  // and winningFirsts counts only the first placements the count got through.
  bool counted = false;

  // wins / sequences: the chance that placements chosen at random win (lower is harder).
  double winShare() const;
};

// The win share as a percentage without its sign, with enough digits to tell hard levels
// apart: below 0.1 % at least four decimals and two significant digits.
std::string winSharePercent(const LevelStats& level);

// Measures a level started with startFromPath (or startLevelFromFile).
LevelStats measureLevel(const world::GameState& start, const StatsLimits& limits);

// The levels of a folder, in level order: levelNN.src, or levelNN.dat where there is no
// source (the ending is left out).
std::vector<std::string> levelFiles(const std::string& dir);

// Measures every level of dir (or the one level file dir names); a file that cannot be loaded gives
// a message on err and false.
bool measureFolder(const std::string& dir, const StatsLimits& limits,
                   std::vector<LevelStats>& stats, std::ostream& err);

// The table of stats, for reading (csv false) or for scripts (csv true, with a header line).
std::string statsTable(const std::vector<LevelStats>& stats, bool csv);

// The table for docs/LEVELS.md, one Markdown row a level: number, name, idea, pieces, shortest
// win, win share (marked as estimated where the count was cut short) and presses a second.
std::string levelsMarkdown(const std::vector<LevelStats>& stats);

// Reads a table written by statsTable with csv true (file holds only the level's name, and
// solved means a win was found); false with a message when a line does not fit the header.
bool readStatsCsv(const std::string& text, std::vector<LevelStats>& stats, std::string& error);

// marvolen-level stats DIR|FILE [--csv] [--budget SECONDS] [--max-sequences N] [--out FILE]
// [--markdown-out FILE]: the table on out (or into FILE), and the Markdown table into the
// --markdown-out file; 0 when every level was measured, 1 when a level or FILE could not be
// read or written, 2 on bad arguments.
int statsCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace mdx::level
