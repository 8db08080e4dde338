// The timer rule and the frame loop's timing: due at the period, re-based to a fresh
// reading, late periods dropped, one run of each timer after a pause, the start-up order.
#include <gtest/gtest.h>

#include <algorithm>

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
  VirtualClock clock(500);
  uint32_t stamp = 500;
  clock.advance(29);
  EXPECT_FALSE(timerDue(clock, stamp, 30));
  EXPECT_EQ(stamp, 500u);
  clock.advance(1);
  EXPECT_TRUE(timerDue(clock, stamp, 30));
  EXPECT_EQ(stamp, 530u);
}

TEST(TimerRule, RebasesToAFurtherFreshReading) {
  CreepingClock clock;
  clock.now = 100;
  uint32_t stamp = 0;
  EXPECT_TRUE(timerDue(clock, stamp, 30));
  EXPECT_EQ(stamp, 101u);  // not 100, and not 0 + 30
}

TEST(TimerRule, DistanceIsSignedAndMadeNonNegative) {
  VirtualClock clock(0xFFFFFFF0u);
  uint32_t stamp = clock.now;
  clock.advance(0x20);  // wraps past zero: 32 ms later
  EXPECT_TRUE(timerDue(clock, stamp, 30));
  uint32_t future = clock.now + 40;  // a timestamp ahead of the clock counts as well
  EXPECT_TRUE(timerDue(clock, future, 30));
  uint32_t near = clock.now + 10;
  EXPECT_FALSE(timerDue(clock, near, 30));
  uint32_t farthest = clock.now + 0x80000000u;  // no 32-bit absolute value: still due
  EXPECT_TRUE(timerDue(clock, farthest, 30));
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
  EXPECT_EQ(game.timers.timer20, 777u);
  EXPECT_EQ(game.state.scene.fadeLevel, 255);
  EXPECT_FLOAT_EQ(game.state.scene.landscapeClock, 45.0f);
  EXPECT_FLOAT_EQ(game.state.scene.parallax2X[1], 639.0f);
  EXPECT_EQ(game.state.progress.gameState, StateTitle);
}

TEST_F(FrameTiming, LatePeriodsAreNotMadeUp) {
  Harness h;
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
  Harness h;
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
  Harness windowed;
  windowed.run(990, 10);
  EXPECT_EQ(windowed.game.redrawReady, 0);
  windowed.frame(20);
  EXPECT_EQ(windowed.game.redrawReady, 1);

  Harness fullScreen;
  fullScreen.game.state.options.windowed = 0;
  fullScreen.run(5000, 50);
  EXPECT_EQ(fullScreen.game.redrawReady, 0);
}

TEST_F(FrameTiming, LightsPulseWithinTheirBoundsAndStripsWrap) {
  Harness h;
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
  Harness h;
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
