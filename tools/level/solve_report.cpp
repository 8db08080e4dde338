// The solver's report and the solve subcommand.

#include "level/solve_report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "level/level_checks.h"
#include "level/level_source.h"
#include "level/press_rate.h"
#include "level/tool_commands.h"

namespace mdx::level {

namespace {

const char* robotEndText(RobotEnd end) {
  switch (end) {
    case RobotEnd::Exit:
      return "reaches the exit";
    case RobotEnd::Exploded:
      return "blows up";
    case RobotEnd::Stuck:
      return "stands stuck";
    case RobotEnd::FallsOut:
      return "keeps falling out of the grid";
    case RobotEnd::Repeats:
      return "goes round in a loop";
    case RobotEnd::StepLimit:
      return "is still walking at the step limit";
  }
  return "";
}

// "Left x3 at row 1, Right at row 4" from a piece's letters.
std::string describeKeys(const PiecePlan& plan) {
  std::string out;
  int row = plan.startRow;
  size_t i = 0;
  while (i < plan.actions.size()) {
    const char key = plan.actions[i];
    if (key != 'l' && key != 'r') {
      if (key == 'd') ++row;
      ++i;
      continue;
    }
    size_t run = i;
    while (run < plan.actions.size() && plan.actions[run] == key) ++run;
    if (!out.empty()) out += ", ";
    out += key == 'l' ? "Left" : "Right";
    if (run - i > 1) out += " x" + std::to_string(run - i);
    out += " at row " + std::to_string(row);
    i = run;
  }
  return out.empty() ? "no keys (straight down)" : out;
}

std::string describeEnd(const PiecePlan& plan) {
  const std::string where =
      " at column " + std::to_string(plan.column) + ", row " + std::to_string(plan.row);
  switch (plan.end) {
    case PieceEnd::Landed:
      return "lands" + where;
    case PieceEnd::BlewUp:
      return "blows up on a bomb" + where;
    case PieceEnd::FellOut:
      return "falls out of the grid";
  }
  return "";
}

// "piece 2 pace: 0.62 presses a second (6 presses)" for every piece that
// needs a press, then the tightest.
std::string describePaces(const std::vector<PressRate>& rates) {
  std::string out;
  for (size_t i = 0; i < rates.size(); ++i) {
    if (rates[i].presses == 0 && rates[i].reachable) continue;
    out += "piece " + std::to_string(i + 1) + " pace: " + describePressRate(rates[i]) + "\n";
  }
  return out + "tightest pace: " + describePressRate(tightestPressRate(rates)) + "\n";
}

std::string cellText(int k) {
  return "row " + std::to_string(k / world::kColumns) + ", column " +
         std::to_string(k % world::kColumns);
}

// The robot's way as the cells where it starts, turns and ends: "row 19, column 2 -> row 19,
// column 9". A long way keeps its first turns and its end.
std::string describeWay(const RobotRun& run) {
  constexpr size_t kShownTurns = 12;
  std::vector<int> turns{run.startCell};
  int heading = 0;
  int at = run.startCell;
  for (int next : run.path) {
    if (next == at) continue;
    if (next - at != heading && at != turns.back()) turns.push_back(at);
    heading = next - at;
    at = next;
  }
  if (at != turns.back()) turns.push_back(at);
  std::string out;
  for (size_t i = 0; i < turns.size(); ++i) {
    if (i == kShownTurns && turns.size() > kShownTurns + 1) {
      out += " -> ... (" + std::to_string(turns.size() - kShownTurns - 1) + " more turns)";
      i = turns.size() - 1;
    }
    out += (i == 0 ? "" : " -> ") + cellText(turns[i]);
  }
  return out;
}

// The world step that brought the robot to the cell it then stays on (0: it never moved).
int arrivalStep(const RobotRun& run) {
  int first = static_cast<int>(run.path.size());  // path[i] is the cell after step i + 1
  while (first > 0 && run.path[first - 1] == run.path.back()) --first;
  return first == 0 && run.startCell == run.path.back() ? 0 : first + 1;
}

// Where and why a run that misses the exit ends.
std::string describeRunEnd(const RobotRun& run, bool piecePlaced) {
  const int last = run.path.empty() ? run.startCell : run.path.back();
  const int loopCell = run.path.empty() ? last : run.path[std::max(0, run.cycleStart - 1)];
  const std::string steps = std::to_string(run.worldSteps) + " world steps";
  switch (run.end) {
    case RobotEnd::Exploded:
      return "blows up on a bomb at " + cellText(last) + " after " + steps;
    case RobotEnd::Stuck:
      return "stands stuck at " + cellText(last) + " from world step " +
             std::to_string(arrivalStep(run)) +
             (piecePlaced ? ", with no piece left" : ", with no piece to place");
    case RobotEnd::FallsOut:
      return "falls out of the bottom of the grid in column " +
             std::to_string(last % world::kColumns) + " and keeps falling from the top";
    case RobotEnd::Repeats:
      return "goes round a loop of " + std::to_string(run.worldSteps - run.cycleStart) +
             " world steps through " + cellText(loopCell);
    case RobotEnd::StepLimit:
      return "is still walking after " + steps + ", at " + cellText(last);
    case RobotEnd::Exit:
      return "reaches the exit at " + cellText(last) + " after " + steps;
  }
  return "";
}

}  // namespace

std::string describeAttempt(const Attempt& attempt) {
  std::string out;
  if (attempt.pieces.empty()) out += "no piece falls: the robot walks the map as drawn\n";
  for (size_t i = 0; i < attempt.pieces.size(); ++i) {
    const PiecePlan& plan = attempt.pieces[i];
    const char* name = pieceTypeName(plan.type);
    out += "piece " + std::to_string(i + 1) + " (" + (name ? name : "?") + ") " +
           describeEnd(plan) + "\n";
  }
  out += "robot: " + describeWay(attempt.robot) + "\n";
  out += "the robot " + describeRunEnd(attempt.robot, !attempt.pieces.empty()) + "\n";
  return out;
}

bool startFromPath(const std::string& path, world::GameState& game, std::string& error) {
  LevelSource level;
  if (!loadLevel(path, level, error)) return false;
  game.progress.levelNumber = 1;
  startLevelGame(level, game);
  return true;
}

std::string describeSolution(const SolveResult& result) {
  std::string out;
  if (!result.solved) {
    out += result.exhausted ? "no solution: no choice of piece placements lets the robot reach "
                              "the exit\n"
                            : "no solution found within the search's time limit\n";
    out += "the furthest try:\n" + describeAttempt(result.furthest);
  } else {
    for (size_t i = 0; i < result.pieces.size(); ++i) {
      const PiecePlan& plan = result.pieces[i];
      const char* name = pieceTypeName(plan.type);
      out += "piece " + std::to_string(i + 1) + " (" + (name ? name : "?") +
             "): " + describeKeys(plan) + "; " + describeEnd(plan) + "\n";
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", result.robot.worldSteps * 0.15);
    out += "robot: reaches the exit after " + std::to_string(result.robot.worldSteps) +
           " world steps (" + seconds + " s)\n";
    out += "solution length: " + std::to_string(result.robot.worldSteps) + " world steps\n";
  }
  char search[128];
  std::snprintf(search, sizeof search, "search: %.3f s, %ld piece outcomes, %ld robot runs\n",
                result.seconds, result.placements, result.robotRuns);
  out += search;
  if (result.solved) out += "actions: " + result.actions() + "\n";
  return out;
}

int solveCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  SolverLimits limits;
  cli::ParsedArgs args = parseSubcommand("solve", argc, argv);
  limits.maxSeconds = args.positive("--budget", limits.maxSeconds);
  limits.maxWorldSteps = static_cast<int>(args.positive("--max-steps", limits.maxWorldSteps));
  if (args.error.empty() && args.words.size() != 1) args.error = "give one level file";
  if (!args.error.empty()) {
    err << "marvolen-level solve: " << args.error << '\n';
    return 2;
  }
  world::GameState game;
  std::string error;
  if (!startFromPath(args.words[0], game, error)) {
    err << error << '\n';
    return 2;
  }
  const SolveResult result = solveLevel(game, limits);
  const RobotRun straight = runStraightDrops(game, limits.maxWorldSteps);
  out << describeSolution(result);
  if (result.solved) out << describePaces(pressRates(game, result));
  out << "straight drops: the robot " << robotEndText(straight.end) << " after "
      << straight.worldSteps << " world steps\n";
  return result.solved ? 0 : 1;
}

}  // namespace mdx::level
