// Holds the frame loop to the display's rate. After each present the loop waits until the next
// frame time, so a game whose renderer does not wait for the retrace (no vsync, a virtual X
// server, some drivers) still draws one picture per display refresh instead of as many as the
// processor allows. When vsync does hold the present, the frame times fall behind the presents
// and no extra wait happens. The game's speed stays with its millisecond timers; only the
// number of drawn frames (and the one-row-per-frame fast drop) follows this rate.
#pragma once

#include <cstdint>
#include <functional>

namespace mdx::app {

// Refresh rate used when the display does not say.
constexpr int kDefaultRefreshHz = 60;

class FramePacer {
 public:
  using Nanos = int64_t;
  // now: a monotonic clock in nanoseconds; sleepUntil: blocks until that clock reaches the
  // given time. refreshHz of 0 or less (unknown) means kDefaultRefreshHz.
  FramePacer(int refreshHz, std::function<Nanos()> now, std::function<void(Nanos)> sleepUntil);

  // Called after every present: waits until the next frame time. The first frame, and a frame
  // more than a whole period late, start the schedule again from now without waiting.
  void framePresented();

  Nanos period() const { return period_; }

 private:
  Nanos period_;
  Nanos nextFrame_ = 0;
  bool started_ = false;
  std::function<Nanos()> now_;
  std::function<void(Nanos)> sleepUntil_;
};

// A pacer on the system's monotonic clock, waiting with an absolute-time sleep (no busy loop).
FramePacer makeSystemFramePacer(int refreshHz);

}  // namespace mdx::app
