// The solver's report and the solve subcommand.

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

#include "level/level_checks.h"
#include "level/level_source.h"
#include "level/press_rate.h"
#include "level/solver.h"
#include "level/tool_commands.h"

namespace mdx::level {

namespace {

const char* robotEndText(RobotEnd end) {
  switch (end) {
    case RobotEnd::Exit:
      return "reaches the exit";
    case RobotEnd::Exploded:
      return "blows up";
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

}  // namespace

bool startFromPath(const std::string& path, world::GameState& game, std::string& error) {
  LevelSource level;
  if (!loadLevel(path, level, error)) return false;
  game.progress.levelNumber = 1;
  return startLevelGame(level, game, error);
}

std::string describeSolution(const SolveResult& result) {
  std::string out;
  if (!result.solved) {
    out += result.exhausted ? "no solution: no choice of piece placements lets the robot reach "
                              "the exit\n"
                            : "no solution found within the search's time limit\n";
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
