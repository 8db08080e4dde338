// The rule that tells a lost level: the robot's world repeats a state it was in before at a
// world step. Everything that decides the robot's future is in that state, so from a repeat
// on the run goes round the same loop for ever and never reaches the exit; a robot that
// stands still with no piece left and nothing moving repeats at the next step. The game
// shows its restart hint with it, and the level solver ends a robot run with it.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "world/game_state.h"

namespace mdx::world {

// Watches the world steps of one run of a level for a repeated state: both layers, the
// robot, the lifts, the swing bars and a running explosion.
class StuckWatch {
 public:
  // Forgets every step seen: call at every level start.
  void reset();

  // Records the state after world step `step` (counted from 0 in this run). True when the
  // state was seen before; from then on stuck() stays true until reset.
  bool afterWorldStep(const GameState& game, int step);

  bool stuck() const { return stuck_; }
  // The step at which the repeated state was first seen (valid once stuck).
  int firstSeenStep() const { return firstSeen_; }

 private:
  // The two grids' hash, kept up to date cell by cell: a world step changes a few cells, so
  // comparing the grids costs far less than hashing every cell again.
  uint64_t gridsHash(const World& w);

  std::unordered_map<uint64_t, int> seen_;
  LevelGrid blocks_{}, devices_{};
  uint64_t gridsHash_ = 0;
  bool gridsKnown_ = false;
  bool stuck_ = false;
  int firstSeen_ = -1;
};

}  // namespace mdx::world
