// The checks a level gets before it goes into a pack, in one place for marvolen-level (build,
// check, pack), the editor and scripts: rule warnings the game itself would pass over in
// silence, and the solver's decision whether the level can be won.
#pragma once

#include <array>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "level/level_source.h"
#include "solve/solver.h"
#include "world/game_state.h"

namespace mdx::level {

// Something a level does that the game accepts but that is almost surely a mistake. The place
// is given as the level-file line holding the value (kBlockFirstLine + cell for a block cell,
// 1 and 954 for a layer as a whole), and, once located in a source, as its line and column.
struct LevelWarning {
  std::string message;  // what is wrong and what to do about it
  int datLine = 0;
  int sourceLine = 0;    // 1-based; 0 when not located
  int sourceColumn = 0;  // 1-based
};

// Where a source wrote each part of a level, filled by parseSourceAt.
struct SourceLayout {
  std::array<int, world::kRows> blockRowLines{};    // source line of each blocks map row
  std::array<int, world::kRows> deviceRowLines{};   // source line of each devices map row
  std::map<std::string, int> keywordLines;          // "blocks", "pieces", "levelMusic", ...
  std::map<int, int> cellEntryLines;                // level-file line of a '?' cell -> its entry
  std::map<char, int32_t> blockChars, deviceChars;  // the source's own char lines, last one wins
  std::vector<LevelWarning> warnings;               // found while parsing (legend entries)
};

// "row 19, column 8": a map cell (world::cellIndex) as the checks' messages name it.
std::string cellName(int cell);

// A source's mistake, with the 1-based line and column it was found at.
struct SourceError {
  int line = 0;
  int column = 1;
  std::string message;
};

// Parses a level source like parseSource and also records its layout. On failure fills error.
// A map with too few or too many rows is reported before any other mistake in it.
bool parseSourceAt(const std::string& text, LevelSource& level, SourceLayout& layout,
                   SourceError& error);

// The rule warnings of a level: no robot start or more than one, no exit, piece count or piece
// types the game does not know, look values outside their ranges (landscape 1-3, strips 0-1
// and 0-2, motion 0-2, music naming a song of the pack or the ending), block codes without a
// picture and device codes that do nothing. Not located; see locateWarnings.
std::vector<LevelWarning> ruleWarnings(const LevelSource& level);

// Fills each warning's source line and column from layout.
void locateWarnings(std::vector<LevelWarning>& warnings, const SourceLayout& layout);

// "FILE:LINE:COLUMN: warning: message" for a source, "FILE:LINE:1: ..." for a level file.
std::string formatWarning(const std::string& file, const LevelWarning& warning);

// A level loaded from a file with everything the checks found on the way: the level source
// (".src") or level file (anything else) read, its warnings located.
struct CheckedFile {
  LevelSource level;
  std::vector<LevelWarning> warnings;
  std::string error;  // "FILE:LINE:COLUMN: message" when the file could not be read or parsed
};

// Reads and checks path. False when it cannot be read or parsed (then error is set).
bool readCheckedFile(const std::string& path, CheckedFile& file);

// Starts level in game through the game's own loader, from the bytes of its level file, with
// game's levelNumber (1 in a new GameState; the ending's number forces the ending music).
void startLevelGame(const LevelSource& level, world::GameState& game);

// What the solver can say of a level.
enum class Verdict {
  Proven,         // winnable, and not by dropping every piece straight down
  NotWinnable,    // the search tried every choice
  StraightDrops,  // won with every piece dropped straight down (allowed for an intro level)
  Undecided,      // the budget ran out first
  Cancelled,      // the cancel flag stopped the search
};

struct CheckOptions {
  double budgetSeconds = 10.0;
  int maxWorldSteps = 3000;
  const std::atomic<bool>* cancel = nullptr;  // see SolverLimits::cancel
};

struct LevelVerdict {
  Verdict verdict = Verdict::Undecided;
  int worldSteps = 0;  // of the winning run (Proven, StraightDrops)
  double budgetSeconds = 0;
  bool byStraightDrops = false;  // the straight-drop run decided it (no search was made)
  SolveResult solution;          // the search (empty when straight drops decided it)
};

// Decides level: an intro level won by straight drops is proven by them; any other level won
// by straight drops gets StraightDrops; otherwise the solver searches within the budget.
LevelVerdict decideLevel(const LevelSource& level, const CheckOptions& options);

// The one-line answer: "proven: N world steps", "not winnable", "won by straight drops",
// "undecided after S s" or "cancelled".
std::string verdictLine(const LevelVerdict& verdict);

// Why a level may not go into a pack, or "" when it may: a pack level has no rule warning and
// is proven (an intro level may be proven by straight drops). pack add, pack check and the
// editor's export all decide with it.
std::string packRefusal(const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict);

// Why a level is not winnable: its furthest try (describeAttempt) under a heading line; ""
// for every other verdict.
std::string explainVerdict(const LevelVerdict& verdict);

// marvolen-level check's exit code: 0 proven, 3 not winnable, 4 straight drops, 5 undecided
// (and cancelled).
int verdictExitCode(Verdict verdict);

}  // namespace mdx::level
