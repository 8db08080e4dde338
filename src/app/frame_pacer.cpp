#include "app/frame_pacer.h"

#include <cerrno>
#include <ctime>
#include <utility>

namespace mdx::app {

FramePacer::FramePacer(int refreshHz, std::function<Nanos()> now,
                       std::function<void(Nanos)> sleepUntil)
    : period_(1000000000 / (refreshHz > 0 ? refreshHz : kDefaultRefreshHz)),
      now_(std::move(now)),
      sleepUntil_(std::move(sleepUntil)) {}

void FramePacer::framePresented() {
  const Nanos now = now_();
  if (!started_ || now - nextFrame_ >= period_) {
    // First frame, or late by a whole frame (a slow frame, a pause, a vsync that held the
    // present): keep no debt of missed frames, count the next period from here.
    started_ = true;
    nextFrame_ = now + period_;
    return;
  }
  if (nextFrame_ > now) sleepUntil_(nextFrame_);
  nextFrame_ += period_;
}

namespace {

FramePacer::Nanos monotonicNow() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<FramePacer::Nanos>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void sleepUntilMonotonic(FramePacer::Nanos when) {
  timespec t{};
  t.tv_sec = static_cast<time_t>(when / 1000000000);
  t.tv_nsec = static_cast<long>(when % 1000000000);
  // An absolute deadline: a signal that interrupts the sleep does not stretch it.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
  }
}

}  // namespace

FramePacer makeSystemFramePacer(int refreshHz) {
  return FramePacer(refreshHz, monotonicNow, sleepUntilMonotonic);
}

}  // namespace mdx::app
