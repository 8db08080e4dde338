#include "app/timers.h"

#include <cmath>
#include <cstdlib>

#include "world/timed_steps.h"

namespace mdx::app {

namespace {

constexpr double kDegreesToRadians = 3.141592654 / 180.0;

// Moves both copies of a scrolling strip one pixel left; a copy that has left the screen
// comes back at the right edge.
void scrollStrip(std::array<float, 2>& copies) {
  for (float& x : copies) {
    x -= 1.0f;
    if (x < -639.0f) x = 639.0f;
  }
}

// Advances a clock in degrees by a quarter degree, wrapping to 0 past 359.99.
void advanceDegrees(float& clock) {
  clock += 0.25f;
  if (clock > 359.99f) clock = 0.0f;
}

// A pulsing light: moves by step in its direction and turns at the two bounds.
void pulse(int32_t& level, uint8_t& falling, int32_t step, int32_t low, int32_t high) {
  level += falling == 1 ? -step : step;
  if (level < low) falling = 0;
  if (level > high) falling = 1;
}

}  // namespace

void startTimers(FrameTimers& timers, Clock& clock) {
  timers.redraw = clock.ticks();
  timers.animation = clock.ticks();
  timers.step = clock.ticks();
  timers.blink = clock.ticks();
  timers.effect = clock.ticks();
}

int timerRuns(Clock& clock, uint32_t& stamp, uint32_t period, TimerRule rule) {
  const uint32_t now = clock.ticks();
  // Wide arithmetic: the distance of -2^31 has no 32-bit absolute value.
  const int64_t distance = static_cast<int32_t>(now - stamp);
  if (std::llabs(distance) < static_cast<int64_t>(period)) return 0;
  if (rule == TimerRule::FrameBound) {
    stamp = clock.ticks();
    return 1;
  }
  if (distance < 0 || distance - period > kCatchUpLimit) {
    stamp = now;
    return 1;
  }
  const int64_t runs = distance / period;
  stamp += static_cast<uint32_t>(runs * period);
  return static_cast<int>(runs);
}

void animationTick(world::GameState& state) {
  world::Scene& s = state.scene;
  scrollStrip(s.parallax2X);
  s.spinAngle += 0.1f;
  if (s.spinAngle > 6.1f) s.spinAngle = 0.0f;
  // The swing uses the clock's value from before this tick.
  s.landscapeAngle = static_cast<float>(4.0 * std::sin(s.waveClock * kDegreesToRadians));
  advanceDegrees(s.waveClock);
  advanceDegrees(s.landscapeClock);
  world::swingBarStep(state);
}

void blinkTick(world::Scene& s) {
  s.blinkPhase = s.blinkPhase == 0 ? 1 : 0;
  s.altFramePhase = s.altFramePhase == 0 ? 1 : 0;
  s.titleFramePhase = s.titleFramePhase == 0 ? 1 : 0;
  scrollStrip(s.parallax1X);
  pulse(s.lightLevel1, s.lightFalling1, 3, 230, 251);
  pulse(s.lightLevel2, s.lightFalling2, 2, 240, 252);
}

bool effectTick(world::GameState& state) {
  world::World& w = state.world;
  world::Scene& s = state.scene;
  if (w.levelComplete) {
    if (s.bannerScale < 1.0f) s.bannerScale += 0.01f;
    if (s.bannerX > 0.0f) s.bannerX -= 1.0f;
  }
  if (s.hudPhase == 1) {
    s.hudSlide += 2.0f;
    if (s.hudSlide > 38.0f) s.hudPhase = 2;
  }
  world::explosionStep(state);
  if (!w.robotExploded) return false;
  if (w.robotExplosionX > -25.0f) {
    s.robotScale += 0.05f;
    w.robotExplosionX -= 4.0f;
    w.robotExplosionY -= 6.0f;
    return false;
  }
  return true;
}

bool exitSequenceStep(world::GameState& state) {
  world::World& w = state.world;
  world::Scene& s = state.scene;
  if (w.robotFrame == 2) {
    w.robotFrame = 3;
  } else if (w.robotFrame == 3) {
    w.robotFrame = 2;
  }
  s.robotScale -= 0.02f;
  const float scale = s.robotScale;
  if (s.robotPivotX > 0.0f && scale > 0.5f) s.robotPivotX -= 0.1f;
  if (s.robotPivotY > 0.0f && scale > 0.5f) s.robotPivotY -= 0.1f;
  if (s.robotPivotX > 0.0f && scale < 0.52f) s.robotPivotX -= 1.0f;
  if (s.robotPivotY > 0.0f && scale < 0.52f) s.robotPivotY -= 1.0f;
  return scale < 0.1f;
}

}  // namespace mdx::app
