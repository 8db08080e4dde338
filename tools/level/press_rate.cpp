#include "level/press_rate.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "world/actions.h"
#include "world/timed_steps.h"

namespace mdx::level {

namespace {

using world::GameState;

constexpr double kNever = std::numeric_limits<double>::infinity();
constexpr double kSlack = 1e-6;   // milliseconds: a press due exactly at a drop still counts
constexpr int kMostPresses = 64;  // more presses than any stretch of a piece's fall can need

enum class Drop : uint8_t { Falls, EndsAtPlace, EndsElsewhere };

// What the game does with the falling piece at every column and row of one grid: where a
// Left or a Right release takes it, and what the next timed drop does.
struct PlaceTable {
  std::vector<int8_t> left, right;  // the column after the move (the same one when blocked)
  std::vector<Drop> drop;

  PlaceTable(const GameState& state, const GameState& ended) {
    left.resize(world::kCells);
    right.resize(world::kCells);
    drop.resize(world::kCells);
    GameState scratch = state;
    for (int row = state.pieces.pieceRow; row < world::kRows; ++row) {
      for (int column = 0; column < world::kColumns; ++column) {
        const int at = world::cellIndex(row, column);
        left[at] = static_cast<int8_t>(moved(scratch, state, column, row, 'l'));
        right[at] = static_cast<int8_t>(moved(scratch, state, column, row, 'r'));
        place(scratch, state, column, row);
        world::performAction(scratch, 'd');
        if (scratch.pieces.pieceIndex == state.pieces.pieceIndex) continue;
        drop[at] = scratch.world.blockLayer == ended.world.blockLayer &&
                           scratch.world.deviceLayer == ended.world.deviceLayer
                       ? Drop::EndsAtPlace
                       : Drop::EndsElsewhere;
        scratch = state;  // the piece ended and wrote into the grid
      }
    }
  }

  int move(char key, int column, int row) const {
    const int at = world::cellIndex(row, column);
    return key == 'l' ? left[at] : right[at];
  }

 private:
  static void place(GameState& scratch, const GameState& state, int column, int row) {
    scratch.pieces = state.pieces;
    scratch.pieces.pieceColumn = column;
    scratch.pieces.pieceRow = row;
  }
  static int moved(GameState& scratch, const GameState& state, int column, int row, char key) {
    place(scratch, state, column, row);
    world::performAction(scratch, key);
    return scratch.pieces.pieceColumn;
  }
};

// One piece from the moment the player can first steer it (time 0, right after the drop or
// the landing that brought it) to the drop that ends it where the solution put it. A bomb the
// piece before blew up leaves markers that block moves until its explosion has played out.
class PieceFall {
 public:
  PieceFall(const GameState& appeared, const GameState& ended)
      : startColumn_(appeared.pieces.pieceColumn),
        startRow_(appeared.pieces.pieceRow),
        clear_(afterExplosion(appeared, explosionMs_), ended),
        marked_(explosionMs_ > 0 ? PlaceTable(appeared, ended) : clear_) {
    for (char key : {'l', 'r'}) noteFreeMoments(key);
  }

  // The slowest steady pace that reaches the place, and the fewest presses that do. Every
  // pace the game can ask for is some number of presses over a stretch from a moment a move
  // becomes possible (the piece appears, drops past an obstacle, its markers clear) to a drop;
  // the slowest is the first of them, in order of pace, that reaches.
  PressRate slowestPace() const {
    const int presses = fewestPresses();
    if (presses < 0) return {0, kNever, false};
    if (presses == 0) return {};
    std::vector<double> paces;
    for (int window : windows()) {
      for (int count = 1; count <= kMostPresses; ++count) paces.push_back(1000.0 * count / window);
    }
    std::sort(paces.begin(), paces.end());
    const auto first = std::partition_point(paces.begin(), paces.end(),
                                            [&](double pace) { return !reaches(1000.0 / pace); });
    if (first == paces.end()) return {presses, kNever, false};
    return {presses, *first, true};
  }

 private:
  static GameState afterExplosion(const GameState& appeared, int& explosionMs) {
    GameState state = appeared;
    explosionMs = 0;
    while (state.world.explosionTicks > 0) {
      world::explosionStep(state);
      explosionMs += static_cast<int>(world::kEffectPeriod);
    }
    return state;
  }

  double rowStart(int row) const { return 1.0 * world::kDropPeriod * (row - startRow_); }

  const PlaceTable& gridAt(double ms) const { return ms < explosionMs_ ? marked_ : clear_; }

  // For every place, the moment from which the move of key has been possible without a break
  // for a piece falling there (kNever where it is not possible in that row). A press may be
  // under way only while its move is possible.
  void noteFreeMoments(char key) {
    std::vector<double>& since = key == 'l' ? leftSince_ : rightSince_;
    since.assign(world::kCells, kNever);
    for (int row = startRow_; row < world::kRows; ++row) {
      const double dropAt = rowStart(row + 1);
      for (int column = 0; column < world::kColumns; ++column) {
        if (clear_.move(key, column, row) == column) continue;
        const double above = row > startRow_ ? since[world::cellIndex(row - 1, column)] : kNever;
        double from = above != kNever ? above : rowStart(row);
        if (gridAt(from).move(key, column, row) == column) from = explosionMs_;
        if (from < dropAt) since[world::cellIndex(row, column)] = from;
      }
    }
  }

  double freeSince(char key, int column, int row) const {
    return (key == 'l' ? leftSince_ : rightSince_)[world::cellIndex(row, column)];
  }

  std::vector<int> windows() const {
    std::vector<int> free{0, explosionMs_}, windows;
    for (int row = startRow_ + 1; row < world::kRows; ++row) {
      free.push_back(static_cast<int>(rowStart(row)));
    }
    for (int row = startRow_; row < world::kRows; ++row) {
      const int due = static_cast<int>(rowStart(row + 1));
      for (int from : free) {
        if (from < due) windows.push_back(due - from);
      }
    }
    std::sort(windows.begin(), windows.end());
    windows.erase(std::unique(windows.begin(), windows.end()), windows.end());
    return windows;
  }

  // Whether a player whose presses each take pressMs reaches the place: a press begins once
  // the one before is done and its move has become possible, and the release may wait but
  // must come no later than the drop that would take the piece past where it is needed.
  bool reaches(double pressMs) const {
    std::vector<double> done(world::kColumns, kNever);  // per column: when its last press ended
    done[startColumn_] = 0;
    for (int row = startRow_; row < world::kRows; ++row) {
      const double dropAt = rowStart(row + 1);
      for (bool changed = true; changed;) {
        changed = false;
        for (int column = 0; column < world::kColumns; ++column) {
          if (done[column] == kNever) continue;
          for (char key : {'l', 'r'}) {
            const double since = freeSince(key, column, row);
            if (since == kNever) continue;
            const double end = std::max(std::max(done[column], since) + pressMs, rowStart(row));
            const int to = clear_.move(key, column, row);
            if (end > dropAt + kSlack || end >= done[to]) continue;
            done[to] = end;
            changed = true;
          }
        }
      }
      std::vector<double> below(world::kColumns, kNever);
      for (int column = 0; column < world::kColumns; ++column) {
        if (done[column] == kNever) continue;
        const Drop drop = gridAt(dropAt).drop[world::cellIndex(row, column)];
        if (drop == Drop::EndsAtPlace) return true;
        if (drop == Drop::Falls) below[column] = done[column];
      }
      done.swap(below);
    }
    return false;
  }

  // The fewest presses that take the piece to its place at any pace; -1 when none does.
  int fewestPresses() const {
    constexpr int kNone = 1 << 20;
    std::vector<int> presses(world::kColumns, kNone);
    presses[startColumn_] = 0;
    int fewest = kNone;
    for (int row = startRow_; row < world::kRows; ++row) {
      for (bool changed = true; changed;) {
        changed = false;
        for (int column = 0; column < world::kColumns; ++column) {
          for (char key : {'l', 'r'}) {
            if (presses[column] == kNone || freeSince(key, column, row) == kNever) continue;
            const int to = clear_.move(key, column, row);
            if (presses[column] + 1 >= presses[to]) continue;
            presses[to] = presses[column] + 1;
            changed = true;
          }
        }
      }
      for (int column = 0; column < world::kColumns; ++column) {
        const Drop drop = clear_.drop[world::cellIndex(row, column)];
        if (drop == Drop::EndsAtPlace) fewest = std::min(fewest, presses[column]);
        if (drop != Drop::Falls) presses[column] = kNone;
      }
    }
    return fewest == kNone ? -1 : fewest;
  }

  int startColumn_, startRow_;
  int explosionMs_ = 0;
  PlaceTable clear_, marked_;
  std::vector<double> leftSince_, rightSince_;
};

}  // namespace

std::vector<PressRate> pressRates(const GameState& start, const SolveResult& solution) {
  std::vector<PressRate> rates(solution.pieces.size());
  GameState state = start;
  GameState appeared;
  bool steerable = false;  // appeared holds the falling piece as the player first steers it
  for (const PiecePlan& plan : solution.pieces) {
    for (char action : plan.actions) {
      const int32_t piece = state.pieces.pieceIndex;
      world::performAction(state, action);
      if (action != 'd') continue;
      if (state.pieces.pieceIndex == piece) {
        // The level's opening drop brings the first piece to where it is first steered.
        if (!steerable && piece == 0) {
          appeared = state;
          steerable = true;
        }
        continue;
      }
      if (steerable && piece >= 0 && static_cast<size_t>(piece) < rates.size()) {
        rates[piece] = PieceFall(appeared, state).slowestPace();
      }
      // The next piece is already there; one that ended at once too had no choice.
      steerable = state.pieces.pieceIndex == piece + 1 && world::pieceFalling(state);
      if (steerable) appeared = state;
    }
  }
  return rates;
}

PressRate tightestPressRate(const std::vector<PressRate>& rates) {
  PressRate tightest;
  for (const PressRate& rate : rates) {
    if (!rate.reachable) return rate;
    if (rate.perSecond > tightest.perSecond) tightest = rate;
  }
  return tightest;
}

std::string describePressRate(const PressRate& rate) {
  if (!rate.reachable) return "no pace reaches the solution's place";
  if (rate.presses == 0) return "no presses";
  char text[96];
  std::snprintf(text, sizeof text, "%.2f presses a second (%d presses)", rate.perSecond,
                rate.presses);
  return text;
}

}  // namespace mdx::level
