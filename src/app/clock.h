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

// Passes another clock's readings on and keeps the latest, so the game can ask "about when"
// without a reading of its own: recordings hold every reading a call makes, in order.
class RememberingClock : public Clock {
 public:
  explicit RememberingClock(Clock& inner) : inner_(inner) {}
  uint32_t ticks() override { return latest_ = inner_.ticks(); }
  // The last reading passed on, 0 before the first.
  uint32_t latest() const { return latest_; }

 private:
  Clock& inner_;
  uint32_t latest_ = 0;
};

}  // namespace mdx::app
