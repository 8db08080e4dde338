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

// The loop's five timestamps (tick counts of their last run). The 600 ms drop and the
// 150 ms world step share stepTimer: only one of them runs in any state.
struct FrameTimers {
  uint32_t secondTimer = 0;
  uint32_t timer30 = 0;
  uint32_t stepTimer = 0;
  uint32_t timer200 = 0;
  uint32_t timer20 = 0;
};

// Sets all five timestamps from the clock, one reading each, in the order listed above.
void startTimers(FrameTimers& timers, Clock& clock);

// True when the timer is due: the distance from its timestamp to a fresh reading, as a signed
// 32-bit difference made non-negative, has reached the period. A due timer is re-based to a
// further fresh reading, so a timer runs at most once per frame and late periods are dropped.
bool timerDue(Clock& clock, uint32_t& stamp, uint32_t period);

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
