#include "gfxlib/sdl_granted_size.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace mdx::gfx {

bool grantedWindowSize(SDL_Window* window, int& width, int& height) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  XWindowAttributes attributes{};
  XSync(info.info.x11.display, False);
  if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) == 0) {
    return false;
  }
  width = attributes.width;
  height = attributes.height;
  return true;
#else
  (void)window;
  (void)width;
  (void)height;
  return false;
#endif
}

}  // namespace mdx::gfx
