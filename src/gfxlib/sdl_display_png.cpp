// Saving the display's picture as a PNG file, with SDL_image: part of the desktop build only
// (the level tools' previews), so the web build needs no SDL_image.
#include <SDL.h>
#include <SDL_image.h>

#include "gfxlib/sdl_display.h"

namespace mdx::gfx {

bool Display::savePng(const std::string& path, std::string* error) const {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!readPixels(pixels, width, height)) {
    if (error != nullptr) *error = SDL_GetError();
    return false;
  }
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_ARGB8888);
  const bool ok = surface != nullptr && IMG_SavePNG(surface, path.c_str()) == 0;
  if (!ok && error != nullptr) *error = SDL_GetError();
  if (surface != nullptr) SDL_FreeSurface(surface);
  return ok;
}

}  // namespace mdx::gfx
