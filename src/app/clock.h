// The millisecond clock the frame loop's timers read, and a virtual one for tests and replays.
#pragma once

#include <cstdint>

namespace mdx::app {

// A millisecond tick count that wraps around after 2^32 ms, like the platform's.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current tick count. Each call is a fresh reading.
  virtual uint32_t ticks() = 0;
};

// A clock that moves only when told to: tests and replays advance it between frames.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(uint32_t start = 0) : now(start) {}
  uint32_t ticks() override {
    ++readings;
    return now;
  }
  // Moves the clock forward by ms (wrapping like the real tick count).
  void advance(uint32_t ms) { now += ms; }

  uint32_t now;
  uint64_t readings = 0;  // how often the clock was read
};

}  // namespace mdx::app
