#include "gfxlib/sdl_message_boxes.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace mdx::gfx {
namespace {

bool switchedOff() {
  const char* value = std::getenv("MDX_NO_MESSAGE_BOXES");
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

// Drivers that never show anything on a screen: a box there would block a test or CI run.
bool headlessDriver(const char* driver) {
  return driver != nullptr &&
         (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0 ||
          std::strcmp(driver, "evdev") == 0);
}

}  // namespace

SdlMessageBoxes::SdlMessageBoxes(std::ostream* log) : log_(log != nullptr ? log : &std::cerr) {}

bool SdlMessageBoxes::boxesEnabled() {
  if (switchedOff()) return false;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    if (headlessDriver(SDL_GetCurrentVideoDriver())) return false;
    return SDL_GetNumVideoDisplays() > 0;
  }
  if (headlessDriver(std::getenv("SDL_VIDEODRIVER"))) return false;
  // Without a running video subsystem, a box needs a desktop session to appear on.
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

void SdlMessageBoxes::showMessage(std::string_view text, std::string_view caption,
                                  world::MessageIcon icon) {
  *log_ << caption << ": " << text << std::endl;
  if (!boxesEnabled()) return;
  const Uint32 flags =
      icon == world::MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  const std::string title(caption);
  const std::string message(text);
  SDL_ShowSimpleMessageBox(flags, title.c_str(), message.c_str(), owner_);
}

}  // namespace mdx::gfx
