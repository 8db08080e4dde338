// The timer rules and the frame loop's timing: each timer keeps its period at any frame rate,
// late periods made up within the limit, one run of each timer after a pause, the first
// frame-bound rule still reachable, the start-up order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

// A clock that moves one millisecond with every reading.
class CreepingClock : public Clock {
 public:
  uint32_t ticks() override { return now++; }
  uint32_t now = 0;
};

TEST(TimerRule, DueOnlyOncePeriodHasPassed) {
  for (TimerRule rule : {TimerRule::CatchUp, TimerRule::FrameBound}) {
    VirtualClock clock(500);
    uint32_t stamp = 500;
    clock.advance(29);
    EXPECT_EQ(timerRuns(clock, stamp, 30, rule), 0);
    EXPECT_EQ(stamp, 500u);
    clock.advance(1);
    EXPECT_EQ(timerRuns(clock, stamp, 30, rule), 1);
    EXPECT_EQ(stamp, 530u);
  }
}

TEST(TimerRule, CatchUpMakesUpWholePeriodsWithinTheLimit) {
  VirtualClock clock(1000);
  uint32_t stamp = 1000;
  clock.advance(95);
  EXPECT_EQ(timerRuns(clock, stamp, 30, TimerRule::CatchUp), 3);
  EXPECT_EQ(stamp, 1090u);  // the 5 ms beyond the last period count towards the next
  clock.advance(25);
  EXPECT_EQ(timerRuns(clock, stamp, 30, TimerRule::CatchUp), 1);
  // Past the limit the timer runs once and starts again from now.
  clock.advance(30 + kCatchUpLimit + 1);
  EXPECT_EQ(timerRuns(clock, stamp, 30, TimerRule::CatchUp), 1);
  EXPECT_EQ(stamp, clock.now);
  clock.advance(30 + kCatchUpLimit);  // just within it: every period made up
  EXPECT_EQ(timerRuns(clock, stamp, 30, TimerRule::CatchUp), (30 + int(kCatchUpLimit)) / 30);
}

TEST(TimerRule, FrameBoundRebasesToAFurtherFreshReading) {
  CreepingClock clock;
  clock.now = 100;
  uint32_t stamp = 0;
  EXPECT_EQ(timerRuns(clock, stamp, 30, TimerRule::FrameBound), 1);
  EXPECT_EQ(stamp, 101u);  // not 100, and not 0 + 30
}

TEST(TimerRule, DistanceIsSignedAndMadeNonNegative) {
  for (TimerRule rule : {TimerRule::CatchUp, TimerRule::FrameBound}) {
    VirtualClock clock(0xFFFFFFF0u);
    uint32_t stamp = clock.now;
    clock.advance(0x20);  // wraps past zero: 32 ms later
    EXPECT_EQ(timerRuns(clock, stamp, 30, rule), 1);
    uint32_t future = clock.now + 40;  // a timestamp ahead of the clock counts as well...
    EXPECT_EQ(timerRuns(clock, future, 30, rule), 1);
    EXPECT_EQ(future, clock.now);  // ...and starts again from now
    uint32_t near = clock.now + 10;
    EXPECT_EQ(timerRuns(clock, near, 30, rule), 0);
    uint32_t farthest = clock.now + 0x80000000u;  // no 32-bit absolute value: still due
    EXPECT_EQ(timerRuns(clock, farthest, 30, rule), 1);
  }
}

class FrameTiming : public ::testing::Test {
 protected:
  GameFolder folder{3};
};

TEST_F(FrameTiming, StartUpSetsStartValuesAndReadsClockOncePerTimer) {
  VirtualClock clock;
  ScriptedKeySource keys;
  CountingPresenter presenter;
  RecordingWindow window;
  Game game(clock, keys, presenter, window, nullptr, nullptr);
  int writers = 0;
  game.createWriters = [&] { ++writers; };
  clock.now = 777;
  game.startUp();
  EXPECT_EQ(writers, 1);
  EXPECT_EQ(clock.readings, 5u);
  EXPECT_EQ(game.timers.effect, 777u);
  EXPECT_EQ(game.state.scene.fadeLevel, 255);
  EXPECT_FLOAT_EQ(game.state.scene.landscapeClock, 45.0f);
  EXPECT_FLOAT_EQ(game.state.scene.parallax2X[1], 639.0f);
  EXPECT_EQ(game.state.progress.gameState, StateTitle);
}

// How many times each timer ran while a level's exit sequence played for 6 s of game time,
// read from what the ticks move: the landscape clock (animation, a quarter degree a run), the
// upper strip (blink, a pixel a run), the banner (effect, a pixel a run) and the shrinking
// robot (world step, 0.02 a run).
struct TickCounts {
  int animation, blink, effect, worldStep;
};

TickCounts ticksOverSixSeconds(const GameFolder& folder, TimerRule rule,
                               const std::vector<uint32_t>& gaps) {
  Harness h{&folder};
  h.game.timers.rule = rule;
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  EXPECT_EQ(h.gameState(), StateRunning);
  Scene& scene = h.game.state.scene;
  h.game.state.world.levelComplete = 1;
  scene.bannerX = 100000.0f;
  const Scene before = scene;
  uint32_t elapsed = 0;
  for (size_t i = 0; elapsed < 6000; ++i) {
    const uint32_t gap = std::min(gaps[i % gaps.size()], 6000 - elapsed);
    h.frame(gap);
    elapsed += gap;
  }
  EXPECT_EQ(h.game.levelStarts, 1) << "the exit sequence must still be playing";
  return {static_cast<int>(std::lround((scene.landscapeClock - before.landscapeClock) / 0.25f)),
          static_cast<int>(std::lround(before.parallax1X[0] - scene.parallax1X[0])),
          static_cast<int>(std::lround(before.bannerX - scene.bannerX)),
          static_cast<int>(std::lround((before.robotScale - scene.robotScale) / 0.02f))};
}

// Frame gaps of 144, 120, 75 and 60 Hz, of 30 Hz, of an unpaced loop and of a jittery one.
TEST_F(FrameTiming, EveryTimerKeepsItsPeriodAtAnyFrameRate) {
  folder.writeLevel(1, exitLevel());
  std::vector<uint32_t> jitter;
  uint32_t seed = 12345;
  for (int i = 0; i < 500; ++i) {
    seed = seed * 1103515245u + 12345u;
    jitter.push_back(4 + (seed >> 16) % 45);  // 4 to 48 ms
  }
  const std::vector<std::vector<uint32_t>> rates = {{7},      {8},       {13, 14}, {16, 17},
                                                    {33, 34}, {1, 2, 1}, jitter};
  for (const std::vector<uint32_t>& gaps : rates) {
    const TickCounts ticks = ticksOverSixSeconds(folder, TimerRule::CatchUp, gaps);
    const std::string rate = "frame gaps from " + std::to_string(gaps.front()) + " ms";
    EXPECT_NEAR(ticks.animation, 6000 / 30, 1) << rate;
    EXPECT_NEAR(ticks.blink, 6000 / 200, 1) << rate;
    EXPECT_NEAR(ticks.effect, 6000 / 20, 1) << rate;
    EXPECT_NEAR(ticks.worldStep, 6000 / 150, 1) << rate;
  }
}

// The first rule rounds every period up to whole frames: at 30 Hz the 20 ms effects run at
// frame rate, 60 % of their speed, and a 30 ms animation step takes two 17 ms frames.
TEST_F(FrameTiming, FrameBoundRuleRunsEachTimerAtMostOncePerFrame) {
  folder.writeLevel(1, exitLevel());
  const TickCounts at30Hz = ticksOverSixSeconds(folder, TimerRule::FrameBound, {33, 34});
  EXPECT_NEAR(at30Hz.effect, 6000 / 33.5, 1);
  EXPECT_NEAR(at30Hz.animation, 6000 / 33.5, 1);
  const TickCounts at60Hz = ticksOverSixSeconds(folder, TimerRule::FrameBound, {16, 17});
  EXPECT_NEAR(at60Hz.animation, 6000 / 33.0, 1);
  EXPECT_NEAR(at60Hz.worldStep, 6000 / 165.0, 1);
}

TEST_F(FrameTiming, LatePeriodsBeyondTheLimitAreNotMadeUp) {
  Harness h{&folder};
  h.frame(1000);  // 33 periods of 30 ms late: one run
  EXPECT_FLOAT_EQ(h.game.state.scene.parallax2X[0], -1.0f);
  EXPECT_FLOAT_EQ(h.game.state.scene.waveClock, 0.25f);
  EXPECT_EQ(h.game.state.scene.blinkPhase, 1);
  h.frame(1);
  EXPECT_FLOAT_EQ(h.game.state.scene.waveClock, 0.25f);
  h.frame(28);
  EXPECT_FLOAT_EQ(h.game.state.scene.waveClock, 0.25f);  // 30 ms from the re-based stamp...
  h.frame(1);
  EXPECT_FLOAT_EQ(h.game.state.scene.waveClock, 0.5f);  // ...not from the old one
}

TEST_F(FrameTiming, FirstFrameAfterLongPauseRunsEachTimerOnce) {
  folder.writeLevel(1, exitLevel());
  Harness h{&folder};
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateRunning);
  const World before = h.game.state.world;
  const Scene scene = h.game.state.scene;
  // The window was inactive for a minute: the shell ran no frames.
  h.frame(60000);
  EXPECT_EQ(h.game.state.world.robotColumn, before.robotColumn + 1);  // one world step
  EXPECT_EQ(h.game.state.scene.blinkPhase, scene.blinkPhase ? 0 : 1);
  EXPECT_FLOAT_EQ(h.game.state.scene.spinAngle, scene.spinAngle + 0.1f);
  EXPECT_EQ(h.game.state.scene.lightLevel1, scene.lightLevel1 - 3);
}

TEST_F(FrameTiming, RedrawReadyAfterOneSecondInWindowOnly) {
  Harness windowed{&folder};
  windowed.run(990, 10);
  EXPECT_EQ(windowed.game.redrawReady, 0);
  windowed.frame(20);
  EXPECT_EQ(windowed.game.redrawReady, 1);

  Harness fullScreen{&folder};
  fullScreen.game.state.options.windowed = 0;
  fullScreen.run(5000, 50);
  EXPECT_EQ(fullScreen.game.redrawReady, 0);
}

TEST_F(FrameTiming, LightsPulseWithinTheirBoundsAndStripsWrap) {
  Harness h{&folder};
  const Scene& s = h.game.state.scene;
  int32_t low1 = 255, high1 = 0, low2 = 255, high2 = 0;
  for (int i = 0; i < 100; ++i) {
    h.frame(200);
    low1 = std::min(low1, s.lightLevel1);
    high1 = std::max(high1, s.lightLevel1);
    low2 = std::min(low2, s.lightLevel2);
    high2 = std::max(high2, s.lightLevel2);
  }
  EXPECT_EQ(low1, 228);
  EXPECT_EQ(high1, 252);
  EXPECT_EQ(low2, 239);
  EXPECT_EQ(high2, 253);
  EXPECT_FLOAT_EQ(s.parallax1X[0], -100.0f);  // one pixel per 200 ms run
  for (int i = 0; i < 539; ++i) h.frame(200);
  EXPECT_FLOAT_EQ(s.parallax1X[0], -639.0f);
  h.frame(200);
  EXPECT_FLOAT_EQ(s.parallax1X[0], 639.0f);  // left the screen: back at the right edge
}

TEST_F(FrameTiming, SwingBarTurnsInNineRunsAndStandsSolid) {
  Harness h{&folder};
  World& w = h.game.state.world;
  w.deviceLayer[34 * 10 + 5] = 6;
  w.gateState = 1;
  for (int i = 0; i < 8; ++i) h.frame(30);
  EXPECT_EQ(w.gateState, 1);
  h.frame(30);
  EXPECT_EQ(w.gateState, 2);
  EXPECT_EQ(w.blockLayer[34 * 9 + 6], 98);  // the bar stands in its middle column
  EXPECT_FLOAT_EQ(h.game.state.scene.gateAngle, 45.0f * 3.141592654f / 90.0f);
}

}  // namespace
}  // namespace mdx::app::testing
