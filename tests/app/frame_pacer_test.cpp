// Frame pacing on a fake monotonic clock: a fast frame waits for its frame time, a slow one
// does not, a long stall or a vsync-held present starts the schedule again without a burst of
// catch-up frames, and an unknown refresh rate paces at 60 Hz.
#include "app/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace mdx::app {
namespace {

constexpr FramePacer::Nanos kMs = 1000000;

// A clock that moves only when the frame "works" or the pacer sleeps.
struct FakeTime {
  FramePacer::Nanos now = 5 * kMs;
  std::vector<FramePacer::Nanos> sleeps;  // how long each wait lasted

  FramePacer pacer(int hz) {
    return FramePacer(
        hz, [this] { return now; },
        [this](FramePacer::Nanos until) {
          sleeps.push_back(until - now);
          now = until;
        });
  }
};

TEST(FramePacer, FastFramesAreHeldToTheRefreshRate) {
  FakeTime time;
  FramePacer pacer = time.pacer(50);  // 20 ms frames
  pacer.framePresented();             // the first frame sets the schedule
  const FramePacer::Nanos start = time.now;
  for (int frame = 0; frame < 10; ++frame) {
    time.now += 3 * kMs;  // drawing takes 3 ms
    pacer.framePresented();
  }
  EXPECT_EQ(time.now - start, 10 * 20 * kMs);  // ten frames in ten periods exactly
  ASSERT_EQ(time.sleeps.size(), 10u);
  EXPECT_EQ(time.sleeps.front(), 17 * kMs);
}

TEST(FramePacer, LateFramesDoNotWaitAndLongStallsLeaveNoDebt) {
  FakeTime time;
  FramePacer pacer = time.pacer(50);
  pacer.framePresented();
  time.now += 25 * kMs;  // five ms late: no wait, the next frame keeps the old schedule
  pacer.framePresented();
  EXPECT_TRUE(time.sleeps.empty());
  time.now += 5 * kMs;
  pacer.framePresented();
  ASSERT_EQ(time.sleeps.size(), 1u);
  EXPECT_EQ(time.sleeps.back(), 10 * kMs);

  // A stall of a second (a vsync that held, a dragged window): no run of unpaced frames
  // afterwards, the very next frame waits a whole period again.
  time.now += 1000 * kMs;
  pacer.framePresented();
  EXPECT_EQ(time.sleeps.size(), 1u);
  time.now += 1 * kMs;
  pacer.framePresented();
  EXPECT_EQ(time.sleeps.back(), 19 * kMs);
}

TEST(FramePacer, UnknownRefreshRateMeansSixtyHertz) {
  FakeTime time;
  EXPECT_EQ(time.pacer(0).period(), 1000000000 / 60);
  EXPECT_EQ(time.pacer(-1).period(), time.pacer(60).period());
  EXPECT_EQ(time.pacer(144).period(), 1000000000 / 144);
}

TEST(FramePacer, SystemClockWaitsWithoutSpinning) {
  // The real sleep: ten 100 Hz frames take about 90 ms of wall time after the first, and the
  // wait is a sleep, so the process's processor time stays far below that.
  FramePacer pacer = makeSystemFramePacer(100);
  timespec cpuBefore{}, wallBefore{}, cpuAfter{}, wallAfter{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuBefore);
  clock_gettime(CLOCK_MONOTONIC, &wallBefore);
  for (int frame = 0; frame < 10; ++frame) pacer.framePresented();
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuAfter);
  clock_gettime(CLOCK_MONOTONIC, &wallAfter);
  auto ms = [](const timespec& a, const timespec& b) {
    return (b.tv_sec - a.tv_sec) * 1000.0 + (b.tv_nsec - a.tv_nsec) / 1e6;
  };
  EXPECT_GE(ms(wallBefore, wallAfter), 89.0);
  EXPECT_LT(ms(cpuBefore, cpuAfter), 30.0);
}

}  // namespace
}  // namespace mdx::app
