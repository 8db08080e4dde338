#include "sim/sim_run.h"

#include <utility>

#include "app/timers.h"
#include "world/actions.h"
#include "world/timed_steps.h"

namespace mdx::sim {

namespace {

constexpr char kTick = 't';

std::string actionName(std::size_t index, char letter) {
  return "action " + std::to_string(index + 1) + " (" + std::string(1, letter) + ")";
}

std::string place(const world::World& w) {
  return "row " + std::to_string(w.robotRow) + ", column " + std::to_string(w.robotColumn);
}

}  // namespace

std::string scriptLetters() {
  return std::string(world::kActionLetters) + kTick;
}

int exitStatus(Outcome outcome) {
  switch (outcome) {
    case Outcome::Won:
      return 0;
    case Outcome::Exploded:
      return 3;
    case Outcome::Stuck:
      return 4;
    case Outcome::Unfinished:
      break;
  }
  return 5;
}

ScriptRun::ScriptRun(world::GameState& game, std::function<void()> restart,
                     std::function<void()> shown)
    : game_(game), restart_(std::move(restart)), shown_(std::move(shown)) {}

Outcome ScriptRun::run(std::string_view letters) {
  std::size_t index = 0;
  for (; index < letters.size() && !decided_; ++index) {
    const char letter = letters[index];
    const bool pieceLetter = world::kPieceLetters.find(letter) != std::string_view::npos;
    if (pieceLetter && !world::pieceFalling(game_)) {
      if (ignoredPieceLetters_++ == 0) firstIgnored_ = index;
    } else {
      perform(letter);
    }
    shown_();
    judge(index);
  }
  if (ignoredPieceLetters_ > 0) {
    notes_.push_back(std::to_string(ignoredPieceLetters_) +
                     " piece action(s) found no piece left to fall and did nothing, the first " +
                     actionName(firstIgnored_, letters[firstIgnored_]));
  }
  if (decided_ && index < letters.size()) {
    notes_.push_back("the " + std::to_string(letters.size() - index) +
                     " action(s) after that were not performed");
  }
  if (!decided_) {
    notes_.push_back(
        world::pieceFalling(game_)
            ? "the actions ran out while piece " + std::to_string(game_.pieces.pieceIndex + 1) +
                  " of " + std::to_string(game_.world.pieceCount) + " was falling"
            : "the actions ran out with the robot still running, at " + place(game_.world));
  }
  return outcome_;
}

void ScriptRun::perform(char letter) {
  if (letter == kTick) {
    tick();
  } else if (letter == 'w') {
    worldStep();
  } else {
    world::performAction(game_, letter);
  }
}

void ScriptRun::worldStep() {
  if (game_.world.levelComplete != 0) return;
  world::worldStepWithFrame(game_);
  ++worldSteps_;
  // The game watches the robot's run only: while pieces fall the world still changes.
  if (world::pieceFalling(game_) || game_.world.levelComplete || game_.world.robotExploded) return;
  watch_.afterWorldStep(game_, watchedSteps_++);
}

void ScriptRun::tick() {
  const bool dropping = world::pieceFalling(game_);
  const uint32_t stepDue = stepStamp_ + (dropping ? world::kDropPeriod : world::kWorldStepPeriod);
  for (;;) {
    const uint32_t animationDue = animationStamp_ + world::kAnimationPeriod;
    const uint32_t effectDue = effectStamp_ + world::kEffectPeriod;
    if (animationDue > stepDue && effectDue > stepDue) break;
    if (animationDue <= effectDue) {
      animationStamp_ = animationDue;
      world::swingBarStep(game_);
    } else {
      effectStamp_ = effectDue;
      world::explosionStep(game_);
    }
  }
  stepStamp_ = stepDue;
  if (dropping) {
    world::performAction(game_, 'd');
  } else {
    worldStep();
  }
}

void ScriptRun::judge(std::size_t letterIndex) {
  world::World& w = game_.world;
  const std::string when = "at action " + std::to_string(letterIndex + 1);
  if (w.levelComplete != 0) {
    decided_ = true;
    outcome_ = Outcome::Won;
    notes_.push_back("the robot reached the exit " + when + ", world step " +
                     std::to_string(worldSteps_));
  } else if (w.robotExploded != 0) {
    decided_ = true;
    outcome_ = Outcome::Exploded;
    notes_.push_back("the robot exploded " + when + ", world step " + std::to_string(worldSteps_) +
                     ", at " + place(w) + "; its blow-up played out and the level started again");
    // The game's 20 ms effect timer carries the explosion and the robot's flight to the end,
    // then starts the level again.
    while (!app::effectTick(game_)) {
    }
    restart_();
    shown_();
  } else if (watch_.stuck()) {
    decided_ = true;
    outcome_ = Outcome::Stuck;
    notes_.push_back("the robot is stuck " + when + ": world step " + std::to_string(worldSteps_) +
                     " repeats the state of the run's step " +
                     std::to_string(watch_.firstSeenStep() + 1) + " at " + place(w) +
                     ", so it can no longer reach the exit");
  }
}

}  // namespace mdx::sim
