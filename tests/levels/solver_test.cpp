// The solver on small levels made in code: what it finds, what it reports, where it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "base/files.h"
#include "level/level_source.h"
#include "level/solve_report.h"
#include "level/tool_commands.h"
#include "solve/hint.h"
#include "world/actions.h"
#include "world/state_text.h"

namespace mdx::level {
namespace {

// A level with a floor of block 1 across row 20, the robot at (19, 2) and an exit at (19, 30).
struct SmallLevel {
  LevelSource level;
  SmallLevel() {
    for (int c = 0; c < world::kColumns; ++c) {
      for (int r = 20; r < world::kRows; ++r) block(r, c, 1);
    }
    block(19, 2, world::kRobot);
    device(19, 30, world::kExit);
  }
  SmallLevel& block(int r, int c, int32_t code) {
    level.blockLayer[world::cellIndex(r, c)] = code;
    return *this;
  }
  SmallLevel& device(int r, int c, int32_t code) {
    level.deviceLayer[world::cellIndex(r, c)] = code;
    return *this;
  }
  SmallLevel& hole(int c, int depth) {
    for (int r = 20; r < 20 + depth; ++r) block(r, c, 0);
    return *this;
  }
  SmallLevel& pieces(std::initializer_list<int32_t> types) {
    level.pieceCount = static_cast<int32_t>(types.size());
    std::copy(types.begin(), types.end(), level.pieceTypes.begin());
    return *this;
  }
  world::GameState start() const {
    // From memory: tests run side by side, and a file of a fixed name would be shared.
    world::GameState game;
    game.startLevelFromBytes(writeDat(level));
    return game;
  }
};

SolveResult solve(const SmallLevel& small, double seconds = 30) {
  SolverLimits limits;
  limits.maxSeconds = seconds;
  return solveLevel(small.start(), limits);
}

TEST(Solver, SteersThePillarIntoTheOnlyHoleThatHelps) {
  SmallLevel small;
  small.hole(22, 4).pieces({2});
  const SolveResult result = solve(small);
  ASSERT_TRUE(result.solved);
  ASSERT_EQ(result.pieces.size(), 1u);
  EXPECT_EQ(result.pieces[0].column, 21);  // the pillar stands in its box's middle column
  EXPECT_EQ(result.pieces[0].row, 20);
  EXPECT_EQ(result.pieces[0].end, PieceEnd::Landed);
  // The first drop comes before the player can steer; then six presses of Right.
  EXPECT_EQ(result.pieces[0].actions.substr(0, 7), "drrrrrr");
  EXPECT_EQ(result.robot.worldSteps,
            std::count(result.robot.actions.begin(), result.robot.actions.end(), 'w'));
  EXPECT_NE(runStraightDrops(small.start(), 1000).end, RobotEnd::Exit);

  const std::string report = describeSolution(result);
  EXPECT_NE(report.find("piece 1 (pillar): Right x6 at row 1; lands at column 21, row 20"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("actions: " + result.actions() + "\n"), std::string::npos);
}

TEST(Solver, SaysSoWhenNoPlacementWins) {
  SmallLevel walled;
  walled.block(19, 10, 3).block(18, 10, 3).pieces({2, 2});  // a wall no piece can take away
  const SolveResult result = solve(walled);
  EXPECT_FALSE(result.solved);
  EXPECT_TRUE(result.exhausted);
  EXPECT_NE(describeSolution(result).find("no solution: no choice"), std::string::npos);
  // The furthest try is one the player can make: its presses lead to its run, which ends with
  // the robot standing against the wall.
  const Attempt& furthest = result.furthest;
  ASSERT_EQ(furthest.pieces.size(), 2u);
  EXPECT_EQ(furthest.robot.end, RobotEnd::Stuck);
  world::GameState played = walled.start();
  for (const PiecePlan& piece : furthest.pieces) {
    for (char action : piece.actions) world::performAction(played, action);
  }
  const RobotRun replayed = runRobot(played, SolverLimits{}.maxWorldSteps);
  EXPECT_EQ(replayed.path, furthest.robot.path);
  EXPECT_EQ(furthest.robot.path.back(), world::cellIndex(19, 9));
  const std::string told = describeAttempt(furthest);
  EXPECT_NE(told.find("robot: row 19, column 2 -> row 19, column 9\n"), std::string::npos) << told;
  EXPECT_NE(told.find("the robot stands stuck at row 19, column 9 from world step 7, with no "
                      "piece left\n"),
            std::string::npos)
      << told;

  const SolveResult hurried = solve(walled, 0.0);
  EXPECT_FALSE(hurried.solved);
  EXPECT_FALSE(hurried.exhausted);
  EXPECT_NE(describeSolution(hurried).find("within the search's time limit"), std::string::npos);
}

// A bomb in the mouth of a hole: the first pillar must be blown up on it, the second fills the
// hole. The explosion plays out (x) before the next piece is steered.
TEST(Solver, BlowsAPieceUpOnABombWhenThatIsTheWay) {
  SmallLevel small;
  small.hole(22, 4).device(20, 22, world::kBomb).pieces({2, 2});
  const SolveResult result = solve(small);
  ASSERT_TRUE(result.solved);
  ASSERT_EQ(result.pieces.size(), 2u);
  EXPECT_EQ(result.pieces[0].end, PieceEnd::BlewUp);
  EXPECT_NE(result.pieces[0].actions.find(std::string(20, 'x')), std::string::npos);
  EXPECT_EQ(result.pieces[1].end, PieceEnd::Landed);

  world::GameState replay = small.start();
  for (char action : result.actions()) world::performAction(replay, action);
  EXPECT_EQ(replay.world.levelComplete, 1);
}

// Each ending of a piece is exactly what its own presses make of the state it started from,
// for landings and blow-ups alike, and one ending leaves nothing behind in the next.
TEST(PieceEndings, AreWhatTheirPressesMakeOfTheState) {
  SmallLevel small;
  small.hole(22, 4).device(20, 22, world::kBomb).block(16, 5, 1).pieces({2, 3});
  const world::GameState opening = openingState(small.start());
  long placements = 0;
  const std::vector<PieceEnding> endings = pieceEndings(opening, placements);
  ASSERT_GT(endings.size(), 20u);
  EXPECT_GE(placements, static_cast<long>(endings.size()));
  int blownUp = 0;
  for (const PieceEnding& ending : endings) {
    world::GameState played = opening;
    for (char action : ending.plan.actions) world::performAction(played, action);
    EXPECT_EQ(world::stateHash(played), world::stateHash(ending.state)) << ending.plan.actions;
    blownUp += ending.plan.end == PieceEnd::BlewUp;
  }
  EXPECT_GT(blownUp, 0);
}

// The robot's run given with a solution is the one its presses lead to, though a search
// reuses the runs of states it has met before.
TEST(Solver, GivesTheRunItsPressesLeadTo) {
  SmallLevel small;
  small.hole(22, 4).hole(10, 4).pieces({2, 2, 3});
  const SolveResult result = solve(small);
  ASSERT_TRUE(result.solved);
  world::GameState played = small.start();
  for (const PiecePlan& piece : result.pieces) {
    for (char action : piece.actions) world::performAction(played, action);
  }
  const RobotRun run = runRobot(played, SolverLimits{}.maxWorldSteps);
  EXPECT_EQ(run.end, RobotEnd::Exit);
  EXPECT_EQ(run.actions, result.robot.actions);
  EXPECT_EQ(run.path, result.robot.path);
}

TEST(RobotRuns, EndAtTheExitABombOrARepeat) {
  SmallLevel open;
  const RobotRun won = runRobot(open.start(), 1000);
  EXPECT_EQ(won.end, RobotEnd::Exit);
  EXPECT_EQ(won.worldSteps, 28);  // column 2 to column 30
  EXPECT_EQ(won.closestToExit, 0);

  SmallLevel bomb;
  bomb.device(20, 12, world::kBomb);
  const RobotRun blown = runRobot(bomb.start(), 1000);
  EXPECT_EQ(blown.end, RobotEnd::Exploded);
  EXPECT_EQ(blown.worldSteps, 11);

  // A repeat is told apart by what the robot does from then on.
  SmallLevel walled;
  walled.block(19, 10, 3).block(18, 10, 3);
  EXPECT_EQ(runRobot(walled.start(), 1000).end, RobotEnd::Stuck);

  SmallLevel noExit;
  noExit.device(19, 30, 0);
  const RobotRun lapping = runRobot(noExit.start(), 20);
  EXPECT_EQ(lapping.end, RobotEnd::StepLimit);
  EXPECT_EQ(lapping.worldSteps, 20);
  EXPECT_EQ(runRobot(noExit.start(), 1000).end, RobotEnd::Repeats);  // round the row's edge

  SmallLevel shaft;
  shaft.hole(12, 8);
  const RobotRun falling = runRobot(shaft.start(), 1000);
  EXPECT_EQ(falling.end, RobotEnd::FallsOut);
  EXPECT_NE(describeAttempt({{}, falling}).find("falls out of the bottom of the grid in column 12"),
            std::string::npos);
}

// A bar switch on the way turns the swing bar: the run interleaves the 30 ms bar ticks (g)
// with the world steps as the frame loop does, five to a step while the bar turns.
TEST(RobotRuns, TurnSwingBarsOnTheFrameLoopsTiming) {
  SmallLevel small;
  small.device(19, 8, world::kBarSwitch).device(10, 20, world::kSwingBar);
  const RobotRun run = runRobot(small.start(), 1000);
  EXPECT_EQ(run.end, RobotEnd::Exit);
  const size_t firstTurn = run.actions.find('g');
  ASSERT_NE(firstTurn, std::string::npos);
  EXPECT_EQ(std::count(run.actions.begin(), run.actions.end(), 'g'), 9);
  EXPECT_EQ(std::count(run.actions.begin(), run.actions.begin() + firstTurn, 'w'), 6);
  EXPECT_EQ(run.actions.substr(firstTurn, 11), "gggggwggggw");
}

TEST(SolveCommand, ReportsBadArgumentsAndMissingFiles) {
  std::ostringstream out, err;
  char noFile[] = "/no/such/level.dat";
  char* missing[] = {noFile};
  EXPECT_EQ(solveCommand(1, missing, out, err), 2);
  EXPECT_NE(err.str().find("/no/such/level.dat: cannot read"), std::string::npos);

  char flag[] = "--budget";
  char bad[] = "soon";
  char* badLimit[] = {noFile, flag, bad};
  err.str("");
  EXPECT_EQ(solveCommand(3, badLimit, out, err), 2);
  EXPECT_NE(err.str().find("--budget needs a positive number"), std::string::npos);

  SmallLevel small;
  small.hole(22, 4).pieces({2});
  const std::string path = ::testing::TempDir() + "solver_cli.src";
  std::string error;
  ASSERT_TRUE(mdx::base::writeFileSafely(path, writeSource(small.level), error));
  std::vector<char> pathChars(path.begin(), path.end());
  pathChars.push_back('\0');
  char* args[] = {pathChars.data()};
  out.str("");
  EXPECT_EQ(solveCommand(1, args, out, err), 0);
  EXPECT_NE(out.str().find("\nactions: d"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("straight drops: the robot stands stuck after"), std::string::npos);
}

// Hints for a level in play: the falling piece's target from a solution of the level as it
// stands, with the pieces placed so far counted.
TEST(Hint, PointsTheFallingPieceAtItsPlaceWithThePlacedPiecesCounted) {
  SmallLevel small;
  small.hole(22, 4).hole(10, 4).pieces({2, 2});
  const Hint atStart = findHint(small.start(), nullptr, 30.0);
  ASSERT_EQ(atStart.outcome, HintOutcome::Place);
  EXPECT_EQ(atStart.pieceType, 2);
  EXPECT_TRUE(atStart.column == 9 || atStart.column == 21) << atStart.column;
  EXPECT_EQ(atStart.row, 20);

  // The first pillar steered into the right-hand hole: the second must fill the other.
  world::GameState game = small.start();
  for (char action : std::string("drrrrrrh")) world::performAction(game, action);
  game.progress.gameState = world::StateDropping;
  ASSERT_EQ(game.pieces.pieceIndex, 1);
  const Hint second = findHint(game, nullptr, 30.0);
  ASSERT_EQ(second.outcome, HintOutcome::Place);
  EXPECT_EQ(second.column, 9);
  EXPECT_EQ(second.row, 20);

  // A pillar left standing on the floor walls the robot in: nothing wins from there.
  world::GameState walled = small.start();
  for (char action : std::string("dh")) world::performAction(walled, action);
  walled.progress.gameState = world::StateDropping;
  EXPECT_EQ(findHint(walled, nullptr, 30.0).outcome, HintOutcome::NoSolution);
  // Out of time or called off, the hint says neither.
  EXPECT_EQ(findHint(walled, nullptr, 0.0).outcome, HintOutcome::NotFound);
  const std::atomic<bool> cancelled{true};
  EXPECT_EQ(findHint(small.start(), &cancelled, 30.0).outcome, HintOutcome::NotFound);
}

}  // namespace
}  // namespace mdx::level
