// The frame loop's millisecond timers and the animation steps they drive. The steps here are
// pure changes of the game state; the game object decides when they run.
#pragma once

#include <cstdint>

#include "app/clock.h"
#include "world/game_state.h"
#include "world/timed_steps.h"

namespace mdx::app {

// The rule steps' periods are the world's; the loop adds its own two.
using world::kAnimationPeriod;
using world::kDropPeriod;
using world::kEffectPeriod;
using world::kWorldStepPeriod;
constexpr uint32_t kSecondPeriod = 1000;
constexpr uint32_t kBlinkPeriod = 200;

// How a due timer's timestamp moves on.
enum class TimerRule {
  // By whole periods: the timer runs once for every period that has passed, so it keeps its
  // period on average at any frame rate. A timer more than kCatchUpLimit late runs once and
  // starts again from now, so nothing races after a stall or a paused window.
  CatchUp,
  // To a fresh reading: a timer runs at most once per frame and late periods are dropped, so
  // every period is rounded up to whole frames. The game's first rule, kept for the
  // recordings made with it and for comparison (--frame-bound-timers).
  FrameBound,
};

// How late a timer may fall and still make up its periods. A stall of a quarter second (a
// slow frame, a busy machine, a dragged window) is made up, which keeps the game's pace
// through it while showing at most eight animation steps or one extra world step at once;
// anything longer is a pause, after which each timer runs once, as it always did.
constexpr uint32_t kCatchUpLimit = 250;

// The loop's five timestamps (tick counts at which their current period began). The 600 ms
// drop and the 150 ms world step share `step`: only one of them runs in any state.
struct FrameTimers {
  uint32_t redraw = 0;      // 1000 ms: the first second in a window (Game::redrawReady)
  uint32_t animation = 0;   // 30 ms: strips, spin, landscape swing, swing bars
  uint32_t step = 0;        // 600 ms drop or 150 ms world step
  uint32_t blink = 0;       // 200 ms: blink phases, upper strip, pulsing lights
  uint32_t effect = 0;      // 20 ms: banner, piece bar, explosion, blow-up flight
  uint32_t stepPeriod = 0;  // the period `step` last ran with: a change starts a fresh beat
  TimerRule rule = TimerRule::CatchUp;
};

// Sets all five timestamps from the clock, one reading each, in the order listed above.
void startTimers(FrameTimers& timers, Clock& clock);

// How many times a timer runs now, moving its timestamp on. It is due when the distance from
// its timestamp to a fresh reading, as a signed 32-bit difference made non-negative, has
// reached the period. Under CatchUp the timestamp advances by the whole periods that have
// passed and the timer runs once for each; a timer more than kCatchUpLimit past its period
// (or with its timestamp ahead of the clock) runs once and is re-based to the reading. Under
// FrameBound a due timer runs once and is re-based to a further fresh reading.
int timerRuns(Clock& clock, uint32_t& stamp, uint32_t period, TimerRule rule);

using world::setAnimationStartValues;

// The 30 ms timer: parallax strip, spin, landscape swing, and the swing bars' turn.
void animationTick(world::GameState& state);

// The 200 ms timer: blink phases, the upper parallax strip, the two pulsing lights.
void blinkTick(world::Scene& scene);

// The 20 ms timer's banner, piece-bar slide and explosion steps, and the blown-up robot's
// flight. Returns true when the flight is over and the level must restart.
bool effectTick(world::GameState& state);

// One step of the exit sequence (robot spins and shrinks). Returns true when it is over
// and the next level must start.
bool exitSequenceStep(world::GameState& state);

}  // namespace mdx::app
