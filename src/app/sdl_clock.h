// The frame loop's clock on SDL: milliseconds since SDL started, wrapping like a tick count.
#pragma once

#include <SDL.h>

#include "app/clock.h"

namespace mdx::app {

class SdlClock : public Clock {
 public:
  uint32_t ticks() override { return SDL_GetTicks(); }
};

}  // namespace mdx::app
