// The simulator's script: performs --do letters on a level, advances what the game would
// advance on its own (the blow-up flight and the restart after it) and tells how the level
// ended, so a script needs no knowledge of the frame loop's timers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "world/game_state.h"
#include "world/stuck_watch.h"

namespace mdx::sim {

// The letters --do takes: the world's action letters and t, the tick.
std::string scriptLetters();

// How a script left the level.
enum class Outcome {
  Won,         // the robot reached the exit
  Exploded,    // the robot blew up (the level has restarted since)
  Stuck,       // the robot's world repeats a state: it can no longer reach the exit
  Unfinished,  // the actions ran out before any of the above
};

// The exit status of a script that ended with outcome: 0, 3, 4 or 5.
int exitStatus(Outcome outcome);

// Plays one script on a started level. The level is decided by the first win, blow-up or
// stuck state; the letters after it are not performed.
class ScriptRun {
 public:
  // restart starts the level again as the game does after the blow-up flight; shown is
  // called with the state after every letter performed and after that restart.
  ScriptRun(world::GameState& game, std::function<void()> restart, std::function<void()> shown);

  // Performs the letters in order until the level is decided; returns the outcome.
  Outcome run(std::string_view letters);

  // What the script should know but the JSON does not say: letters that did nothing, where
  // and how the level was decided, letters left unperformed. One line each.
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  void perform(char letter);
  // t: the game's clock runs on, with the 30 ms and 20 ms timers as they fall due, until the
  // step timer's next step: the timed drop while pieces fall, else the world step.
  void tick();
  void worldStep();
  // After each letter: a win, a blow-up (played out and restarted) or a stuck robot.
  void judge(std::size_t letterIndex);

  world::GameState& game_;
  std::function<void()> restart_;
  std::function<void()> shown_;
  world::StuckWatch watch_;
  int watchedSteps_ = 0;  // world steps of the robot's run, with no piece left
  int worldSteps_ = 0;    // every world step of the script
  uint32_t animationStamp_ = 0, effectStamp_ = 0, stepStamp_ = 0;  // the clock's timers, ms
  std::size_t ignoredPieceLetters_ = 0, firstIgnored_ = 0;
  bool decided_ = false;
  Outcome outcome_ = Outcome::Unfinished;
  std::vector<std::string> notes_;
};

}  // namespace mdx::sim
