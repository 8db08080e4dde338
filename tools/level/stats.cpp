#include "level/stats.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <unordered_map>

#include "base/files.h"
#include "level/pack_commands.h"
#include "level/tool_commands.h"
#include "solve/solver.h"
#include "world/pack_catalog.h"

namespace mdx::level {

namespace {

using world::GameState;
using Clock = std::chrono::steady_clock;

// A level estimated at more than this many times the sequence limit is not counted.
constexpr long long kSkipCountFactor = 2;

// What the placement sequences below one state of the dropping phase add up to.
struct Tally {
  long long sequences = 0;
  long long wins = 0;
  int shortest = -1;  // fewest world steps to the exit; -1 when no sequence wins

  void add(const Tally& other) {
    sequences += other.sequences;
    wins += other.wins;
    if (other.shortest >= 0 && (shortest < 0 || other.shortest < shortest)) {
      shortest = other.shortest;
    }
  }
};

// Counts every complete sequence of distinct piece endings by depth-first search. Two orders
// of choices that leave the same state (two pillars swapped, say) share one count.
class SequenceCounter {
 public:
  SequenceCounter(const StatsLimits& limits) : limits_(limits), started_(Clock::now()) {}

  Tally count(const GameState& state) {
    if (state.pieces.pieceIndex >= state.world.pieceCount) {
      ++sequences_;
      const RobotRun run = runRobot(state, limits_.maxWorldSteps);
      const bool won = run.end == RobotEnd::Exit;
      return {1, won ? 1 : 0, won ? run.worldSteps : -1};
    }
    const uint64_t key = droppingStateKey(state);
    if (const auto found = memo_.find(key); found != memo_.end()) return found->second;
    Tally tally;
    for (const PieceEnding& ending : pieceEndings(state, placements_)) {
      if (timeUp()) return tally;
      tally.add(count(ending.state));
    }
    memo_.emplace(key, tally);
    return tally;
  }

  bool timeUp() {
    if (limits_.maxSequences > 0 && sequences_ >= limits_.maxSequences) timedOut_ = true;
    if (!timedOut_) {
      timedOut_ =
          std::chrono::duration<double>(Clock::now() - started_).count() > limits_.countSeconds;
    }
    return timedOut_;
  }

 private:
  const StatsLimits& limits_;
  Clock::time_point started_;
  bool timedOut_ = false;
  long placements_ = 0;
  long long sequences_ = 0;  // complete sequences played so far
  std::unordered_map<uint64_t, Tally> memo_;
};

// Knuth's estimate for a tree too large to count: the product of the numbers of endings along
// a random path estimates the number of sequences, and the same product taken only when the
// path wins estimates the wins. Averaged over probes from a fixed seed, so the figures repeat.
Tally sampleSequences(const GameState& opening, const StatsLimits& limits) {
  std::mt19937_64 random(0x6D61727600ull);
  double sequences = 0, wins = 0;
  Tally tally;
  long ignored = 0;
  for (int probe = 0; probe < limits.probes; ++probe) {
    GameState state = opening;
    double weight = 1;
    while (state.pieces.pieceIndex < state.world.pieceCount) {
      std::vector<PieceEnding> endings = pieceEndings(state, ignored);
      if (endings.empty()) break;
      weight *= static_cast<double>(endings.size());
      state = std::move(endings[random() % endings.size()].state);
    }
    const RobotRun run = runRobot(state, limits.maxWorldSteps);
    sequences += weight;
    if (run.end != RobotEnd::Exit) continue;
    wins += weight;
    tally.add({0, 0, run.worldSteps});
  }
  tally.sequences = std::llround(sequences / limits.probes);
  tally.wins = std::llround(wins / limits.probes);
  return tally;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::string winSharePercent(const LevelStats& level) {
  const double share = 100.0 * level.winShare();
  if (share >= 0.1 || share <= 0) return fixed(share, share >= 10 ? 1 : share >= 0.1 ? 2 : 4);
  const int significant = 1 - static_cast<int>(std::floor(std::log10(share)));
  return fixed(share, std::max(4, significant));
}

namespace {

// Every complete sequence from opening, counted by counter; winningFirsts receives the
// first placements after which a win remains.
Tally countSequences(const GameState& opening, SequenceCounter& counter, int& winningFirsts) {
  Tally total;
  if (opening.pieces.pieceIndex > 0 || opening.pieces.pieceIndex >= opening.world.pieceCount) {
    // No choice for the first piece (none, or it ended on its opening drop).
    total = counter.count(opening);
    winningFirsts = total.wins > 0 ? 1 : 0;
    return total;
  }
  long ignored = 0;
  for (const PieceEnding& ending : pieceEndings(opening, ignored)) {
    const Tally below = counter.count(ending.state);
    if (below.wins > 0) ++winningFirsts;
    total.add(below);
  }
  return total;
}

}  // namespace

double LevelStats::winShare() const {
  return sequences > 0 ? static_cast<double>(wins) / static_cast<double>(sequences) : 0.0;
}

LevelStats measureLevel(const GameState& start, const StatsLimits& limits) {
  LevelStats stats;
  stats.pieces = start.world.pieceCount;
  SolverLimits solverLimits;
  solverLimits.maxSeconds = limits.solverSeconds;
  solverLimits.maxWorldSteps = limits.maxWorldSteps;
  const SolveResult solved = solveLevel(start, solverLimits);
  stats.solved = solved.solved;
  stats.solverSeconds = solved.seconds;
  stats.placementsSearched = solved.placements;
  if (solved.solved) stats.pressRate = tightestPressRate(pressRates(start, solved));
  stats.straightDropsWin = runStraightDrops(start, limits.maxWorldSteps).end == RobotEnd::Exit;

  const GameState opening = openingState(start);
  // A level whose estimate is far above the sequence limit is not counted at all: the count
  // would only spend its limit and give up (and winning firsts stay 0). The estimate repeats
  // (fixed seed), so taking it first changes none of its figures.
  Tally estimate;
  bool tooLarge = false;
  if (limits.maxSequences > 0) {
    estimate = sampleSequences(opening, limits);
    tooLarge = estimate.sequences > kSkipCountFactor * limits.maxSequences;
  }
  SequenceCounter counter(limits);
  Tally total = tooLarge ? Tally{} : countSequences(opening, counter, stats.winningFirsts);
  stats.counted = !tooLarge && !counter.timeUp();
  if (!stats.counted) {
    total = limits.maxSequences > 0 ? estimate : sampleSequences(opening, limits);
    // The solver's solution is a win too: the shortest is at most its length.
    if (solved.solved) total.add({0, 0, solved.robot.worldSteps});
  }
  stats.sequences = total.sequences;
  stats.wins = total.wins;
  stats.shortestSteps = total.shortest;
  return stats;
}

std::vector<std::string> levelFiles(const std::string& dir) {
  std::map<int, std::string> byNumber;
  const std::regex name("level([0-9][0-9])\\.(src|dat)");
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    std::smatch match;
    const std::string file = entry.path().filename().string();
    if (!std::regex_match(file, match, name) || std::stoi(match[1]) == world::kEndingLevel) {
      continue;
    }
    std::string& chosen = byNumber[std::stoi(match[1])];
    if (chosen.empty() || match[2] == "src") chosen = entry.path().string();
  }
  std::vector<std::string> files;
  for (const auto& [number, file] : byNumber) files.push_back(file);
  return files;
}

bool measureFolder(const std::string& dir, const StatsLimits& limits,
                   std::vector<LevelStats>& stats, std::ostream& err) {
  std::error_code ignored;
  const std::vector<std::string> files =
      std::filesystem::is_directory(dir, ignored) ? levelFiles(dir) : std::vector{dir};
  if (files.empty()) {
    err << dir << ": no level files (levelNN.src or levelNN.dat)\n";
    return false;
  }
  for (const std::string& file : files) {
    GameState game;
    std::string error;
    if (!startFromPath(file, game, error)) {
      err << error << '\n';
      return false;
    }
    LevelStats level = measureLevel(game, limits);
    level.file = file;
    const world::LevelMeta words = levelMetaOf(file);
    level.name = words.name;
    level.idea = words.idea;
    stats.push_back(std::move(level));
  }
  return true;
}

namespace {

// The table's columns, in order; readStatsCsv finds them by these names.
const char* const kColumns[] = {"level",
                                "name",
                                "pieces",
                                "steps",
                                "placements",
                                "sequences",
                                "wins",
                                "win %",
                                "winning firsts",
                                "straight drops win",
                                "presses a second",
                                "solver s",
                                "exact"};

// The pace cell of a level: "-" when unsolved, kUnreachable when the game could not follow
// the solution at any pace.
constexpr const char* kUnreachable = "unreachable";

std::string pressRateText(const LevelStats& level) {
  if (!level.solved) return "-";
  return level.pressRate.reachable ? fixed(level.pressRate.perSecond, 2) : kUnreachable;
}

std::vector<std::string> rowCells(const LevelStats& level, bool csv) {
  std::string name = level.name;
  if (csv) std::replace(name.begin(), name.end(), ',', ';');
  return {std::filesystem::path(level.file).stem().string(),
          name,
          std::to_string(level.pieces),
          std::to_string(level.shortestSteps),
          std::to_string(level.placementsSearched),
          std::to_string(level.sequences),
          std::to_string(level.wins),
          winSharePercent(level),
          std::to_string(level.winningFirsts),
          level.straightDropsWin ? "yes" : "no",
          pressRateText(level),
          fixed(level.solverSeconds, 3),
          level.counted ? "yes" : "no"};
}

std::vector<std::string> splitCsv(const std::string& line) {
  std::vector<std::string> cells(1);
  for (char c : line) {
    if (c == ',') {
      cells.emplace_back();
    } else if (c != '\r') {
      cells.back() += c;
    }
  }
  return cells;
}

}  // namespace

std::string statsTable(const std::vector<LevelStats>& stats, bool csv) {
  const std::string separator = csv ? "," : " | ";
  std::string out;
  for (size_t i = 0; i < std::size(kColumns); ++i) out += (i ? separator : "") + kColumns[i];
  out += '\n';
  for (const LevelStats& level : stats) {
    const std::vector<std::string> cells = rowCells(level, csv);
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? separator : "") + cells[i];
    out += '\n';
  }
  return out;
}

namespace {

// The win share for a reader: an estimate says so, and one in which no random sequence won
// says that rather than pretend to a figure.
std::string winShareText(const LevelStats& level) {
  if (level.counted) return winSharePercent(level) + " %";
  if (level.wins == 0) return "≈ 0 (estimated: no random sequence won)";
  return "≈ " + winSharePercent(level) + " % (estimated)";
}

// A table cell's text, with the characters that would end the cell or the row escaped.
std::string markdownCell(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c == '\n' ? ' ' : c);
  return out;
}

}  // namespace

std::string levelsMarkdown(const std::vector<LevelStats>& stats) {
  std::string out =
      "| level | name | idea | pieces | steps | win share | presses a second |\n"
      "|---|---|---|---|---|---|---|\n";
  for (const LevelStats& level : stats) {
    const std::string stem = std::filesystem::path(level.file).stem().string();
    const std::string number = stem.substr(stem.find_first_of("0123456789"));
    const std::vector<std::string> cells = {
        std::to_string(std::atoi(number.c_str())),
        markdownCell(level.name),
        markdownCell(level.idea),
        std::to_string(level.pieces),
        level.shortestSteps >= 0 ? std::to_string(level.shortestSteps) : "-",
        winShareText(level),
        pressRateText(level)};
    for (const std::string& cell : cells) out += "| " + cell + " ";
    out += "|\n";
  }
  return out;
}

bool readStatsCsv(const std::string& text, std::vector<LevelStats>& stats, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  if (splitCsv(line) != std::vector<std::string>(std::begin(kColumns), std::end(kColumns))) {
    error = "line 1 is not the statistics table's header";
    return false;
  }
  for (int number = 2; std::getline(lines, line); ++number) {
    const std::vector<std::string> cells = splitCsv(line);
    if (cells.size() != std::size(kColumns)) {
      error = "line " + std::to_string(number) + " does not have the header's columns";
      return false;
    }
    LevelStats level;
    level.file = cells[0];
    level.name = cells[1];
    level.pieces = std::atoi(cells[2].c_str());
    level.shortestSteps = std::atoi(cells[3].c_str());
    level.placementsSearched = std::atol(cells[4].c_str());
    level.sequences = std::atoll(cells[5].c_str());
    level.wins = std::atoll(cells[6].c_str());
    level.winningFirsts = std::atoi(cells[8].c_str());
    level.straightDropsWin = cells[9] == "yes";
    level.pressRate.reachable = cells[10] != kUnreachable;
    level.pressRate.perSecond = std::atof(cells[10].c_str());
    level.solverSeconds = std::atof(cells[11].c_str());
    level.counted = cells[12] == "yes";
    level.solved = level.shortestSteps >= 0;
    stats.push_back(std::move(level));
  }
  return true;
}

int statsCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  StatsLimits limits;
  cli::ParsedArgs args = parseSubcommand("stats", argc, argv);
  limits.countSeconds = args.positive("--budget", limits.countSeconds);
  const std::optional<long long> sequences = args.whole("--max-sequences");
  if (sequences && *sequences <= 0 && args.error.empty())
    args.error = "--max-sequences needs a positive number";
  if (sequences) limits.maxSequences = *sequences;
  if (args.error.empty() && args.words.size() != 1) args.error = "give one folder or level file";
  if (!args.error.empty()) {
    err << "marvolen-level stats: " << args.error << '\n';
    return 2;
  }
  const std::string& dir = args.words[0];
  const std::string outPath = args.value("--out");
  const std::string markdownPath = args.value("--markdown-out");
  const bool csv = args.has("--csv");
  std::vector<LevelStats> stats;
  if (!measureFolder(dir, limits, stats, err)) return 1;
  std::string error;
  if (outPath.empty()) {
    out << statsTable(stats, csv);
  } else if (!base::writeFileSafely(outPath, statsTable(stats, csv), error)) {
    err << error << '\n';
    return 1;
  }
  if (!markdownPath.empty() && !base::writeFileSafely(markdownPath, levelsMarkdown(stats), error)) {
    err << error << '\n';
    return 1;
  }
  return 0;
}

}  // namespace mdx::level
