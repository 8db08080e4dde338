#include "level/level_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/files.h"
#include "base/text.h"
#include "level/solve_report.h"
#include "level/tool_commands.h"
#include "world/pack_catalog.h"

namespace mdx::level {

std::string cellName(int k) {
  return "row " + std::to_string(k / world::kColumns) + ", column " +
         std::to_string(k % world::kColumns);
}

namespace {

constexpr int kBlockLabelLine = 1;
constexpr int kDeviceLabelLine = kDeviceFirstLine - 1;

// The allowed values of one level value, the level-file line it is on and what it means.
struct ValueRange {
  const char* name;
  int32_t LevelSource::*field;
  int32_t low, high;
  const char* meaning;
};

constexpr ValueRange kLookRanges[] = {
    {"landscapeChoice", &LevelSource::landscapeChoice, 1, 3,
     "1 to 3 pick a landscape picture; other values draw none"},
    {"parallax1On", &LevelSource::parallax1On, 0, 1, "1 draws the upper strip, 0 does not"},
    {"parallax2Mode", &LevelSource::parallax2Mode, 0, 2, "2 draws the lower strip, 0 or 1 not"},
    {"landscapeMotion", &LevelSource::landscapeMotion, 0, 2, "0 to 2 pick how the landscape moves"},
};

// The level-file line a value keyword is written on (its label says the keyword).
int valueLine(const std::string& keyword) {
  for (int line = kPieceCountLine - 1; line < kDatLines; ++line) {
    if (isLabelLine(line) && defaultLabel(line, false) == keyword) return line + 1;
  }
  return 0;
}

void robotWarnings(const LevelSource& level, std::vector<LevelWarning>& out) {
  int first = -1;
  for (int k = 0; k < world::kCells; ++k) {
    if (level.blockLayer[k] != world::kRobot) continue;
    if (first < 0) {
      first = k;
      continue;
    }
    out.push_back({"a second robot cell (the first is at " + cellName(first) +
                       "); the robot starts at the last one in the map: keep one '@'",
                   kBlockFirstLine + k});
  }
  if (first < 0) {
    out.push_back(
        {"no robot start: the robot would start wherever the previous level left it "
         "(row 0, column 0 in a new game); put one '@' in the blocks map",
         kBlockLabelLine});
  }
}

void cellWarnings(const LevelSource& level, std::vector<LevelWarning>& out) {
  int exit = -1;
  for (int k = 0; k < world::kCells; ++k) {
    const int32_t block = level.blockLayer[k];
    const int32_t device = level.deviceLayer[k];
    if (device == world::kExit && exit >= 0) {
      out.push_back({"a second exit (the first is at " + cellName(exit) +
                         "): the level is won at whichever the robot reaches first; keep one 'E'",
                     kDeviceFirstLine + k});
    }
    if (device == world::kExit && exit < 0) exit = k;
    // Pictured blocks and the codes with a meaning of their own (empty, robot, filler, marker)
    // are what a level means; any other block is there but cannot be seen.
    const uint8_t flags = world::cellFlags(world::Layer::Block, block);
    if ((flags & (world::kPictured | world::kPlainSymbol)) == 0) {
      out.push_back({"block code " + std::to_string(block) + " at " + cellName(k) +
                         " has no picture (blocks 1 to " +
                         std::to_string(world::kLastPicturedBlock) +
                         " have one): it is solid but invisible",
                     kBlockFirstLine + k});
    }
    if (world::findCellKind(world::Layer::Device, device) == nullptr) {
      out.push_back({"device code " + std::to_string(device) + " at " + cellName(k) +
                         " does nothing and is not drawn (devices are 0 to " +
                         std::to_string(world::kLastDevice) + ")",
                     kDeviceFirstLine + k});
    }
  }
  if (exit < 0) {
    out.push_back(
        {"no exit: the level cannot be won; put an 'E' in the devices map", kDeviceLabelLine});
  }
}

void valueWarnings(const LevelSource& level, std::vector<LevelWarning>& out) {
  if (level.pieceCount < 0 || level.pieceCount > 10) {
    out.push_back({"pieceCount " + std::to_string(level.pieceCount) +
                       " is outside 0 to 10 (the pieces are listed with 'pieces')",
                   kPieceCountLine});
  }
  for (int i = 0; i < level.pieceCount && i < 10; ++i) {
    if (level.pieceTypes[i] >= 0 && level.pieceTypes[i] <= 5) continue;
    out.push_back({"piece " + std::to_string(i + 1) + " has type " +
                       std::to_string(level.pieceTypes[i]) +
                       ", not one of none, lift, pillar, tee, rightarm, leftarm",
                   valueLine("pieceType" + std::to_string(i))});
  }
  for (const ValueRange& range : kLookRanges) {
    const int32_t value = level.*range.field;
    if (value >= range.low && value <= range.high) continue;
    out.push_back({std::string(range.name) + " " + std::to_string(value) + " is outside " +
                       std::to_string(range.low) + " to " + std::to_string(range.high) + " (" +
                       range.meaning + ")",
                   valueLine(range.name)});
  }
  const int32_t music = level.levelMusic;
  if (world::PackLayout{}.songPath(music).empty()) {
    out.push_back({"levelMusic " + std::to_string(music) + " plays nothing: 1 to " +
                       std::to_string(world::kPackSongs) + " pick the pack's songs, " +
                       std::to_string(world::kEndingLevel) + " the ending music",
                   valueLine("levelMusic")});
  }
}

// The source line and column of a level-file line, from the source's layout.
void locate(LevelWarning& warning, const SourceLayout& layout) {
  const int line = warning.datLine;
  auto entry = layout.cellEntryLines.find(line);
  // A value the source left out is reported where the pieces are listed, or on line 1.
  auto keyword = [&](const std::string& word) {
    auto found = layout.keywordLines.find(word);
    if (found == layout.keywordLines.end()) found = layout.keywordLines.find("pieces");
    warning.sourceLine = found == layout.keywordLines.end() ? 1 : found->second;
    warning.sourceColumn = 1;
  };
  if (entry != layout.cellEntryLines.end()) {
    warning.sourceLine = entry->second;
    warning.sourceColumn = 1;
  } else if (line >= kBlockFirstLine && line < kBlockFirstLine + world::kCells) {
    warning.sourceLine = layout.blockRowLines[(line - kBlockFirstLine) / world::kColumns];
    warning.sourceColumn = (line - kBlockFirstLine) % world::kColumns + 1;
  } else if (line >= kDeviceFirstLine && line < kDeviceFirstLine + world::kCells) {
    warning.sourceLine = layout.deviceRowLines[(line - kDeviceFirstLine) / world::kColumns];
    warning.sourceColumn = (line - kDeviceFirstLine) % world::kColumns + 1;
  } else if (line == kBlockLabelLine) {
    keyword("blocks");
  } else if (line == kDeviceLabelLine) {
    keyword("devices");
  } else {
    const std::string label = defaultLabel(line - 1, false);
    keyword(label.rfind("pieceType", 0) == 0 ? "pieces" : label);
  }
}

// The line a level file's mistake is on: the one its message names ("line 3 is ..."), else
// (a file of the wrong length) the line after the last one it has.
int datErrorLine(const std::string& text, const std::string& problem) {
  if (problem.rfind("line ", 0) == 0) return std::max(1, std::atoi(problem.c_str() + 5));
  const long breaks = std::count(text.begin(), text.end(), '\n');
  const long lines = breaks + (!text.empty() && text.back() != '\n' ? 1 : 0);
  return static_cast<int>(std::min<long>(lines, kDatLines) + 1);
}

}  // namespace

std::vector<LevelWarning> ruleWarnings(const LevelSource& level) {
  std::vector<LevelWarning> warnings;
  robotWarnings(level, warnings);
  cellWarnings(level, warnings);
  valueWarnings(level, warnings);
  return warnings;
}

void locateWarnings(std::vector<LevelWarning>& warnings, const SourceLayout& layout) {
  for (LevelWarning& warning : warnings) {
    if (warning.sourceLine == 0) locate(warning, layout);
  }
}

std::string formatWarning(const std::string& file, const LevelWarning& warning) {
  const bool located = warning.sourceLine > 0;
  const int line = located ? warning.sourceLine : warning.datLine;
  const int column = located ? warning.sourceColumn : 1;
  return file + ":" + std::to_string(line) + ":" + std::to_string(column) +
         ": warning: " + warning.message;
}

bool readCheckedFile(const std::string& path, CheckedFile& file) {
  std::string text;
  if (!base::readWholeFile(path, text, file.error)) return false;
  file.warnings.clear();
  if (base::endsWith(path, ".src")) {
    SourceLayout layout;
    SourceError error;
    if (!parseSourceAt(text, file.level, layout, error)) {
      file.error = path + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) +
                   ": " + error.message;
      return false;
    }
    file.warnings = layout.warnings;
    std::vector<LevelWarning> rules = ruleWarnings(file.level);
    locateWarnings(rules, layout);
    file.warnings.insert(file.warnings.end(), rules.begin(), rules.end());
    return true;
  }
  std::string problem;
  if (!readDat(text, file.level, problem)) {
    file.error = path + ":" + std::to_string(datErrorLine(text, problem)) + ":1: " + problem;
    return false;
  }
  file.warnings = ruleWarnings(file.level);
  return true;
}

void startLevelGame(const LevelSource& level, world::GameState& game) {
  game.startLevelFromBytes(writeDat(level));
}

LevelVerdict decideLevel(const LevelSource& level, const CheckOptions& options) {
  LevelVerdict verdict;
  verdict.budgetSeconds = options.budgetSeconds;
  world::GameState start;
  startLevelGame(level, start);
  const RobotRun straight = runStraightDrops(start, options.maxWorldSteps);
  if (straight.end == RobotEnd::Exit) {
    verdict.verdict = level.intro ? Verdict::Proven : Verdict::StraightDrops;
    verdict.worldSteps = straight.worldSteps;
    verdict.byStraightDrops = true;
    return verdict;
  }
  SolverLimits limits;
  limits.maxSeconds = options.budgetSeconds;
  limits.maxWorldSteps = options.maxWorldSteps;
  limits.cancel = options.cancel;
  verdict.solution = solveLevel(start, limits);
  const SolveResult& result = verdict.solution;
  if (result.solved) {
    verdict.verdict = Verdict::Proven;
    verdict.worldSteps = result.robot.worldSteps;
  } else if (result.cancelled) {
    verdict.verdict = Verdict::Cancelled;
  } else {
    verdict.verdict = result.exhausted ? Verdict::NotWinnable : Verdict::Undecided;
  }
  return verdict;
}

std::string verdictLine(const LevelVerdict& verdict) {
  switch (verdict.verdict) {
    case Verdict::Proven:
      return "proven: " + std::to_string(verdict.worldSteps) + " world steps" +
             (verdict.byStraightDrops ? " (intro level: won by straight drops)" : "");
    case Verdict::NotWinnable:
      return "not winnable";
    case Verdict::StraightDrops:
      return "won by straight drops";
    case Verdict::Undecided: {
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%g", verdict.budgetSeconds);
      return std::string("undecided after ") + seconds + " s";
    }
    case Verdict::Cancelled:
      return "cancelled";
  }
  return "";
}

std::string packRefusal(const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict) {
  if (!warnings.empty()) {
    const size_t more = warnings.size() - 1;
    return "refused: " + warnings.front().message +
           (more > 0 ? " (and " + std::to_string(more) + " more warning(s))" : "") +
           "; a pack level must have no warning";
  }
  if (verdict.verdict == Verdict::Proven) return "";
  return "refused: " + verdictLine(verdict) +
         "; a pack level must be proven winnable, and not just by dropping every piece straight "
         "down (unless it is marked intro)";
}

std::string explainVerdict(const LevelVerdict& verdict) {
  if (verdict.verdict != Verdict::NotWinnable) return "";
  const long placements = verdict.solution.placements;
  return "the furthest the robot gets" +
         (placements > 0 ? ", over " + std::to_string(placements) + " placements searched" : "") +
         ":\n" + describeAttempt(verdict.solution.furthest);
}

int verdictExitCode(Verdict verdict) {
  switch (verdict) {
    case Verdict::Proven:
      return 0;
    case Verdict::NotWinnable:
      return 3;
    case Verdict::StraightDrops:
      return 4;
    case Verdict::Undecided:
    case Verdict::Cancelled:
      return 5;
  }
  return 5;
}

}  // namespace mdx::level
