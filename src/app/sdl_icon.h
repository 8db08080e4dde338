// The game's window icon and mouse cursor, both drawn in code as 32 x 32 ARGB pictures.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

namespace mdx::app {

constexpr int kIconSize = 32;
constexpr int kCursorHotX = 12;  // the arrow's tip
constexpr int kCursorHotY = 11;

using IconPixels = std::array<uint32_t, kIconSize * kIconSize>;  // ARGB, row by row

// The icon: a small robot standing on a block, on a transparent background.
IconPixels makeIconPixels();

// The cursor: a white arrow with a black outline whose tip is at the hot spot.
IconPixels makeCursorPixels();

// Owns the cursor made from makeCursorPixels; sets the icon of a window.
class SdlPointer {
 public:
  ~SdlPointer();
  // Gives the window our icon and makes our cursor current. Failures leave SDL's defaults.
  void install(SDL_Window* window);
  // Shows the cursor over a window, hides it in full screen.
  static void showFor(bool windowed);

 private:
  SDL_Cursor* cursor_ = nullptr;
};

}  // namespace mdx::app
