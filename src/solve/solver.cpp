#include "solve/solver.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "world/actions.h"
#include "world/state_text.h"
#include "world/stuck_watch.h"
#include "world/timed_steps.h"

namespace mdx::level {

namespace {

using world::GameState;
using Clock = std::chrono::steady_clock;

constexpr int kFrameMs = 10;
constexpr int kSwingBarPeriod = world::kAnimationPeriod;
constexpr int kExplosionPeriod = world::kEffectPeriod;
constexpr int kWorldStepPeriod = world::kWorldStepPeriod;
// The bytes of robot runs a search keeps for reuse (some 5 to 10 for each world step of a
// run); past it they are forgotten and gathered afresh.
constexpr std::size_t kMaxRememberedBytes = std::size_t{64} << 20;

// The state of the dropping phase between two pieces.
uint64_t pieceStateHash(const GameState& game) {
  return world::fieldsHash(game, {"blockLayer", "deviceLayer", "pieceIndex", "pieceColumn",
                                  "pieceRow", "explosionTicks"});
}

// The exit cells of a level (they never move while the robot runs).
std::vector<int> exitCells(const GameState& game) {
  std::vector<int> cells;
  for (int k = 0; k < world::kCells; ++k) {
    if (game.world.deviceLayer[k] == world::kExit) cells.push_back(k);
  }
  return cells;
}

int distanceToExit(const GameState& game, const std::vector<int>& exits) {
  int best = 1 << 20;
  for (int k : exits) {
    best = std::min(best, std::abs(k / world::kColumns - game.world.robotRow) +
                              std::abs(k % world::kColumns - game.world.robotColumn));
  }
  return best;
}

bool piecesLeft(const GameState& game) {
  return game.pieces.pieceIndex < game.world.pieceCount;
}

// Lets a blown-up piece's explosion play out before the next piece is steered: its markers
// block side moves while they last, and the 600 ms to the next drop outlast it.
void finishExplosion(GameState& game, std::string& actions) {
  while (game.world.explosionTicks > 0) {
    world::explosionStep(game);
    actions += 'x';
  }
}

struct Outcome {
  GameState state;
  PiecePlan plan;
  RobotRun preview;          // the robot run on this state (the real run once no piece is left)
  std::vector<int> changed;  // cells this outcome wrote
  long progress = 0;         // how many different cells the robot walks through in preview
};

// Outcomes hold a whole state each: kept in a deque, a new one is never copied to make room.
using Outcomes = std::deque<Outcome>;

long distinctCells(std::vector<int> cells) {
  std::sort(cells.begin(), cells.end());
  return std::unique(cells.begin(), cells.end()) - cells.begin();
}

// How a run that came back to the state after step firstSeen goes on: the steps after it
// repeat for ever. A robot moves up at most one row a step (a lift ride), so a step that takes
// it up further is a fall out of the bottom of the grid into its top row.
RobotEnd repeatEnd(const std::vector<int>& path, int firstSeen) {
  bool standing = true, fallsOut = false;
  for (size_t i = static_cast<size_t>(firstSeen) + 1; i < path.size(); ++i) {
    standing = standing && path[i] == path[i - 1];
    fallsOut = fallsOut || path[i] / world::kColumns < path[i - 1] / world::kColumns - 1;
  }
  if (standing) return RobotEnd::Stuck;
  return fallsOut ? RobotEnd::FallsOut : RobotEnd::Repeats;
}

// Whether run a gets further than run b: through more different cells, then nearer an exit.
bool getsFurther(const RobotRun& a, long aCells, const RobotRun& b, long bCells) {
  return aCells != bCells ? aCells > bCells : a.closestToExit < b.closestToExit;
}

// Every distinct result of steering the falling piece: a breadth-first search over the piece's
// (column, row) positions, where side moves are instant and each drop moves one row down.
// A side move, and a drop that does not end the piece, change only the piece's own values, so
// every position is tried on one scratch state whose piece is put back before each try; only
// a drop that ends the piece leaves a state worth a copy of its own.
Outcomes pieceOutcomes(const GameState& base, long& placements) {
  struct Node {
    int column, row;
    std::string actions;
  };
  Outcomes outcomes;
  std::unordered_set<uint64_t> seenOutcomes;
  std::unordered_set<int> seen;
  std::deque<Node> queue;
  auto visit = [&](int column, int row, std::string actions) {
    if (seen.insert(row * 64 + column).second) queue.push_back({column, row, std::move(actions)});
  };
  GameState scratch = base;
  auto placePiece = [&](const Node& node) {
    scratch.pieces = base.pieces;
    scratch.pieces.pieceColumn = node.column;
    scratch.pieces.pieceRow = node.row;
  };
  const int32_t index = base.pieces.pieceIndex;
  visit(base.pieces.pieceColumn, base.pieces.pieceRow, "");
  while (!queue.empty()) {
    Node node = std::move(queue.front());
    queue.pop_front();
    for (char action : {'l', 'r'}) {
      placePiece(node);
      world::performAction(scratch, action);
      visit(scratch.pieces.pieceColumn, scratch.pieces.pieceRow, node.actions + action);
    }
    placePiece(node);
    world::performAction(scratch, 'd');
    if (scratch.pieces.pieceIndex == index) {
      visit(scratch.pieces.pieceColumn, scratch.pieces.pieceRow, node.actions + 'd');
      continue;
    }
    Outcome outcome{std::move(scratch), {}, {}, {}, 0};
    scratch = base;
    outcome.plan.type = index < 10 ? base.world.pieceTypes[index] : 0;
    outcome.plan.actions = node.actions + 'd';
    outcome.plan.column = node.column;
    outcome.plan.row = node.row;
    outcome.plan.startRow = base.pieces.pieceRow;
    outcome.plan.end = node.row > 24 ? PieceEnd::FellOut
                       : outcome.state.world.explosionTicks > 0 && base.world.explosionTicks == 0
                           ? PieceEnd::BlewUp
                           : PieceEnd::Landed;
    if (piecesLeft(outcome.state)) finishExplosion(outcome.state, outcome.plan.actions);
    ++placements;
    if (seenOutcomes.insert(pieceStateHash(outcome.state)).second) {
      outcomes.push_back(std::move(outcome));
    }
  }
  return outcomes;
}

// A place the planner wants a piece of some type to end in.
struct Target {
  int32_t type;
  int column, row;
  PieceEnd end;
};

class Search {
 public:
  Search(const SolverLimits& limits, SolveResult& result)
      : limits_(limits), result_(result), started_(Clock::now()) {}

  // Limited-discrepancy search over the pieces: the first pass follows only the best outcome
  // of every piece (pickNext), each later pass allows one more piece to take another outcome.
  // A wrong early choice is so corrected without searching everything below it first. Ends
  // when a pass finds a solution, or when a pass was never cut short (nothing is left).
  bool run(const GameState& start, std::vector<PiecePlan>& plans) {
    const std::vector<Target> plan = planTargets(start);
    for (int budget = 0;; ++budget) {
      cutShort_ = false;
      if (search(start, plans, budget, plan)) return true;
      if (!cutShort_ || timeUp()) return false;
    }
  }

  bool search(const GameState& state, std::vector<PiecePlan>& plans, int budget,
              const std::vector<Target>& plan) {
    if (timeUp()) return false;
    // A state reached again (by another order of choices, or in an earlier pass) is searched
    // again only with a larger budget than before.
    const auto [seen, fresh] = explored_.emplace(pieceStateHash(state), budget);
    if (!fresh && seen->second >= budget) return false;
    seen->second = budget;
    Outcomes outcomes = pieceOutcomes(state, result_.placements);
    for (Outcome& outcome : outcomes) {
      outcome.preview = robotRun(outcome.state);
      ++result_.robotRuns;
      outcome.progress = distinctCells(outcome.preview.path);
      addFrontier(outcome.preview, outcome.progress);
      outcome.changed = changedCells(state, outcome.state);
      if (piecesLeft(outcome.state)) continue;
      if (outcome.preview.end == RobotEnd::Exit) {
        plans.push_back(outcome.plan);
        result_.pieces = plans;
        result_.robot = outcome.preview;
        return true;
      }
      noteTry(plans, outcome);
    }
    std::vector<bool> tried(outcomes.size(), false);
    for (size_t i = 0; i < outcomes.size(); ++i) tried[i] = !piecesLeft(outcomes[i].state);
    int taken = 0;
    while (std::find(tried.begin(), tried.end(), false) != tried.end()) {
      const Outcome& outcome = outcomes[pickNext(outcomes, tried, plan)];
      const int cost = taken++ == 0 ? 0 : 1;
      if (cost > budget) {
        cutShort_ = true;
        return false;
      }
      plans.push_back(outcome.plan);
      // Below a planned placement the rest of the plan still holds; otherwise plan afresh.
      const int used = targetOf(outcome.plan, plan);
      std::vector<Target> rest = plan;
      if (used >= 0) {
        rest.erase(rest.begin() + used);
      } else {
        rest = planTargets(outcome.state);
      }
      if (search(outcome.state, plans, budget - cost, rest)) return true;
      plans.pop_back();
      if (timeUp()) return false;
    }
    return false;
  }

  bool timedOut() const { return timedOut_; }
  bool cancelled() const { return cancelled_; }

 private:
  // Keeps the try of a last piece's outcome as the furthest when its run gets further.
  void noteTry(const std::vector<PiecePlan>& plans, const Outcome& outcome) {
    Attempt& furthest = result_.furthest;
    if (haveFurthest_ &&
        !getsFurther(outcome.preview, outcome.progress, furthest.robot, furthestCells_)) {
      return;
    }
    furthest.pieces = plans;
    furthest.pieces.push_back(outcome.plan);
    furthest.robot = outcome.preview;
    furthestCells_ = outcome.progress;
    haveFurthest_ = true;
  }

  // The robot's run on state. About half the runs a search asks for start from a state it
  // has met before (another order of the same pieces, a planning probe that matches a real
  // placement); those are remembered instead of run again. The returned run stays valid
  // until the next call.
  const RobotRun& robotRun(const GameState& state) {
    const uint64_t key = world::stateHash(state);
    if (const auto found = robotRuns_.find(key); found != robotRuns_.end()) return found->second;
    RobotRun run = runRobot(state, limits_.maxWorldSteps);
    const std::size_t bytes = sizeof run + run.actions.size() + run.path.size() * sizeof(int);
    if (rememberedBytes_ + bytes > kMaxRememberedBytes) {
      robotRuns_.clear();
      rememberedBytes_ = 0;
    }
    rememberedBytes_ += bytes;
    return robotRuns_.emplace(key, std::move(run)).first->second;
  }

  bool timeUp() {
    if (!timedOut_) {
      const std::chrono::duration<double> elapsed = Clock::now() - started_;
      cancelled_ = limits_.cancel != nullptr && limits_.cancel->load(std::memory_order_relaxed);
      timedOut_ = cancelled_ || elapsed.count() > limits_.maxSeconds;
    }
    return timedOut_;
  }

  static std::vector<int> changedCells(const GameState& before, const GameState& after) {
    std::vector<int> cells;
    for (int k = 0; k < world::kCells; ++k) {
      if (before.world.blockLayer[k] != after.world.blockLayer[k] ||
          before.world.deviceLayer[k] != after.world.deviceLayer[k]) {
        cells.push_back(k);
      }
    }
    return cells;
  }

  // Remembers where a run came to nothing (its final loop, the place it blew up or stood
  // still) and how far it had got: the number of different cells it walked through.
  void addFrontier(const RobotRun& run, long progress) {
    for (size_t i = static_cast<size_t>(run.cycleStart); i < run.path.size(); ++i) {
      const int k = run.path[i];
      if (k >= 0 && k < world::kCells) frontier_[k] = std::max(frontier_[k], progress);
    }
  }

  // The furthest progress of a run that ended next to the cells a piece outcome changed:
  // changing the grid there is what can take the robot further.
  long frontierNear(const std::vector<int>& cells) const {
    long best = 0;
    for (int k : cells) {
      const int row = k / world::kColumns, column = k % world::kColumns;
      for (int r = std::max(0, row - 2); r <= std::min(world::kRows - 1, row + 2); ++r) {
        for (int c = std::max(0, column - 1); c <= std::min(world::kColumns - 1, column + 1); ++c) {
          best = std::max(best, frontier_[world::cellIndex(r, c)]);
        }
      }
    }
    return best;
  }

  // Index in plan of the target that a piece's outcome fulfils, or -1.
  static int targetOf(const PiecePlan& piece, const std::vector<Target>& plan) {
    for (size_t i = 0; i < plan.size(); ++i) {
      if (plan[i].type == piece.type && plan[i].column == piece.column &&
          plan[i].row == piece.row && plan[i].end == piece.end) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  // Plans where the remaining pieces would do most good, whatever order they come in: again
  // and again the placement, by any remaining piece type, that takes the robot furthest,
  // until nothing takes it further. The falling piece then prefers a place planned for its
  // type, so a piece that can only help later is not spent where the robot is stuck now.
  std::vector<Target> planTargets(const GameState& state) {
    std::vector<Target> targets;
    const int32_t index = state.pieces.pieceIndex;
    if (index >= 10 || !piecesLeft(state)) return targets;
    std::map<int32_t, int> remaining;
    for (int32_t i = index; i < state.world.pieceCount && i < 10; ++i) {
      ++remaining[state.world.pieceTypes[i]];
    }
    GameState grid = state;
    long current = distinctCells(robotRun(grid).path);
    while (!remaining.empty() && !timeUp()) {
      long bestProgress = current;
      Outcome best{grid, {}, {}, {}, 0};
      for (const auto& [type, count] : remaining) {
        GameState probe = grid;
        probe.pieces.pieceIndex = index;
        probe.world.pieceTypes[index] = type;
        probe.setupPiece();
        probe.pieces.pieceRow = 1;  // where a piece can first be steered
        for (Outcome& outcome : pieceOutcomes(probe, result_.placements)) {
          const RobotRun& run = robotRun(outcome.state);
          ++result_.robotRuns;
          const long progress =
              run.end == RobotEnd::Exit ? world::kCells + 1 : distinctCells(run.path);
          if (progress > bestProgress) {
            bestProgress = progress;
            best = std::move(outcome);
          }
        }
      }
      if (bestProgress <= current) break;
      targets.push_back({best.plan.type, best.plan.column, best.plan.row, best.plan.end});
      finishExplosion(best.state, best.plan.actions);
      grid.world.blockLayer = best.state.world.blockLayer;
      grid.world.deviceLayer = best.state.world.deviceLayer;
      current = bestProgress;
      if (--remaining[best.plan.type] == 0) remaining.erase(best.plan.type);
    }
    return targets;
  }

  // The next outcome to search: a place planned for the piece (earliest planned first), then
  // the one whose own robot run gets furthest, then the one that changes the grid where the
  // furthest run so far came to nothing (a piece that matters only once later pieces have
  // helped the robot on), then the one closest to an exit.
  size_t pickNext(const Outcomes& outcomes, std::vector<bool>& tried,
                  const std::vector<Target>& plan) const {
    size_t best = outcomes.size();
    std::tuple<int, long, long, int> bestScore{};
    for (size_t i = 0; i < outcomes.size(); ++i) {
      if (tried[i]) continue;
      const int target = targetOf(outcomes[i].plan, plan);
      const std::tuple<int, long, long, int> score{
          target < 0 ? -1000 : -target, outcomes[i].progress, frontierNear(outcomes[i].changed),
          -outcomes[i].preview.closestToExit};
      if (best == outcomes.size() || score > bestScore) {
        best = i;
        bestScore = score;
      }
    }
    tried[best] = true;
    return best;
  }

  const SolverLimits& limits_;
  SolveResult& result_;
  std::vector<long> frontier_ = std::vector<long>(world::kCells, 0);
  Clock::time_point started_;
  bool timedOut_ = false;
  bool cancelled_ = false;
  std::unordered_map<uint64_t, int> explored_;  // state -> the largest budget it was searched with
  std::unordered_map<uint64_t, RobotRun> robotRuns_;  // whole state -> the robot's run on it
  std::size_t rememberedBytes_ = 0;
  bool cutShort_ = false;
  bool haveFurthest_ = false;
  long furthestCells_ = 0;
};

}  // namespace

std::string Attempt::actions() const {
  std::string out;
  for (const PiecePlan& plan : pieces) out += plan.actions;
  return out + robot.actions;
}

std::string SolveResult::actions() const {
  return Attempt{pieces, robot}.actions();
}

RobotRun runRobot(GameState game, int maxWorldSteps) {
  RobotRun run;
  world::StuckWatch watch;  // the game's own rule for a run that can no longer win
  int swingBarStamp = 0, explosionStamp = 0, stepStamp = 0;
  const std::vector<int> exits = exitCells(game);
  run.startCell = world::cellIndex(game.world.robotRow, game.world.robotColumn);
  run.closestToExit = distanceToExit(game, exits);
  for (int now = kFrameMs;; now += kFrameMs) {
    if (now - swingBarStamp >= kSwingBarPeriod) {
      swingBarStamp = now;
      if (game.world.gateState == 1 || game.world.gateState == 3) run.actions += 'g';
      world::swingBarStep(game);
    }
    if (now - explosionStamp >= kExplosionPeriod) {
      explosionStamp = now;
      if (game.world.explosionTicks > 0) {
        run.actions += 'x';
        world::explosionStep(game);
      }
    }
    if (now - stepStamp < kWorldStepPeriod) continue;
    stepStamp = now;
    world::worldStepWithFrame(game);
    run.actions += 'w';
    ++run.worldSteps;
    run.path.push_back(world::cellIndex(game.world.robotRow, game.world.robotColumn));
    run.closestToExit = std::min(run.closestToExit, distanceToExit(game, exits));
    if (game.world.levelComplete) {
      run.end = RobotEnd::Exit;
      return run;
    }
    if (game.world.robotExploded) {
      run.end = RobotEnd::Exploded;
      run.cycleStart = run.worldSteps - 1;
      return run;
    }
    if (watch.afterWorldStep(game, run.worldSteps - 1)) {
      run.end = repeatEnd(run.path, watch.firstSeenStep());
      run.cycleStart = watch.firstSeenStep() + 1;
      return run;
    }
    if (run.worldSteps >= maxWorldSteps) {
      run.cycleStart = std::max(0, run.worldSteps - world::kColumns);
      return run;
    }
  }
}

std::vector<PieceEnding> pieceEndings(const GameState& state, long& placements) {
  Outcomes outcomes = pieceOutcomes(state, placements);
  std::vector<PieceEnding> endings;
  endings.reserve(outcomes.size());
  for (Outcome& outcome : outcomes) {
    endings.push_back({std::move(outcome.state), std::move(outcome.plan)});
  }
  return endings;
}

uint64_t droppingStateKey(const GameState& state) {
  return pieceStateHash(state);
}

GameState openingState(const GameState& start) {
  GameState game = start;
  if (!piecesLeft(game)) return game;
  world::performAction(game, 'd');
  std::string ignored;
  if (game.pieces.pieceIndex > 0 && piecesLeft(game)) finishExplosion(game, ignored);
  return game;
}

RobotRun runStraightDrops(const GameState& start, int maxWorldSteps) {
  GameState game = start;
  std::string actions;
  for (int guard = 0; piecesLeft(game) && guard < 10000; ++guard) {
    world::performAction(game, 'd');
    actions += 'd';
    if (piecesLeft(game)) finishExplosion(game, actions);
  }
  RobotRun run = runRobot(game, maxWorldSteps);
  run.actions = actions + run.actions;
  return run;
}

namespace {

// The search from first, a state of the dropping phase (or past it), after the choices made
// before it (plans, opening: the first piece's opening drop when it is still falling).
void searchFrom(const GameState& first, std::vector<PiecePlan> plans, const std::string& opening,
                const SolverLimits& limits, SolveResult& result) {
  if (!piecesLeft(first)) {
    result.robot = runRobot(first, limits.maxWorldSteps);
    result.robotRuns = 1;
    result.solved = result.robot.end == RobotEnd::Exit;
    result.exhausted = true;
    if (result.solved) result.pieces = plans;
    result.furthest = {plans, result.robot};
    return;
  }
  Search search(limits, result);
  result.solved = search.run(first, plans);
  result.exhausted = !result.solved && !search.timedOut();
  result.cancelled = !result.solved && search.cancelled();
  // The opening drop belongs to the first piece's presses.
  for (std::vector<PiecePlan>* pieces : {&result.pieces, &result.furthest.pieces}) {
    if (opening.empty() || pieces->empty()) continue;
    pieces->front().actions = opening + pieces->front().actions;
    pieces->front().startRow = 0;
  }
}

double secondsSince(Clock::time_point started) {
  return std::chrono::duration<double>(Clock::now() - started).count();
}

}  // namespace

SolveResult solveLevel(const GameState& start, const SolverLimits& limits) {
  SolveResult result;
  const auto started = Clock::now();
  GameState first = start;
  std::vector<PiecePlan> plans;
  std::string opening;
  if (piecesLeft(first)) {
    // The first piece gets its first drop in the frame the dropping phase begins, before the
    // player can steer it: the search starts one row down.
    world::performAction(first, 'd');
    opening = "d";
    if (first.pieces.pieceIndex > 0) {
      // It ended on that very drop: nothing to choose for it.
      PiecePlan plan;
      plan.type = start.world.pieceTypes[0];
      plan.end = first.world.explosionTicks > 0 ? PieceEnd::BlewUp : PieceEnd::Landed;
      plan.column = start.pieces.pieceColumn;
      if (piecesLeft(first)) finishExplosion(first, opening);
      plan.actions = opening;
      plans.push_back(plan);
      opening.clear();
    }
  }
  searchFrom(first, std::move(plans), opening, limits, result);
  result.seconds = secondsSince(started);
  return result;
}

SolveResult solveFromHere(const GameState& now, const SolverLimits& limits) {
  if (now.progress.gameState != world::StateDropping) return solveLevel(now, limits);
  SolveResult result;
  const auto started = Clock::now();
  searchFrom(now, {}, "", limits, result);
  result.seconds = secondsSince(started);
  return result;
}

}  // namespace mdx::level
