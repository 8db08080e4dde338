#include "app/sdl_icon.h"

#include <cstddef>

namespace mdx::app {
namespace {

constexpr uint32_t kClear = 0x00000000u;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// The arrow, one string per row: 'X' outline, '.' fill, ' ' clear.
constexpr const char* kArrow[] = {
    "X",        "XX",       "X.X",       "X..X",       "X...X",       "X....X",
    "X.....X",  "X......X", "X.......X", "X........X", "X.....XXXXX", "X..X..X",
    "X.X X..X", "XX  X..X", "X    X..X", "     X..X",  "      XX",
};

void fillRect(IconPixels& p, int x0, int y0, int w, int h, uint32_t colour) {
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      if (x >= 0 && x < kIconSize && y >= 0 && y < kIconSize) p[y * kIconSize + x] = colour;
    }
  }
}

// A bevelled square: light top-left edge, dark bottom-right edge, face colour inside.
void bevelBox(IconPixels& p, int x, int y, int w, int h, uint32_t light, uint32_t face,
              uint32_t dark) {
  fillRect(p, x, y, w, h, dark);
  fillRect(p, x, y, w - 1, h - 1, light);
  fillRect(p, x + 1, y + 1, w - 2, h - 2, face);
}

SDL_Surface* surfaceFrom(IconPixels& pixels) {
  return SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kIconSize, kIconSize, 32, kIconSize * 4,
                                            SDL_PIXELFORMAT_ARGB8888);
}

}  // namespace

IconPixels makeIconPixels() {
  IconPixels p{};
  p.fill(kClear);
  // The block the robot stands on.
  bevelBox(p, 2, 23, 28, 8, 0xFFE0A060u, 0xFFB86B2Au, 0xFF6A3A14u);
  // Body, head and antenna.
  bevelBox(p, 10, 13, 12, 10, 0xFFE8E8F0u, 0xFFA8A8B8u, 0xFF505060u);
  bevelBox(p, 9, 3, 14, 10, 0xFFE8E8F0u, 0xFFA8A8B8u, 0xFF505060u);
  fillRect(p, 15, 0, 2, 3, 0xFF505060u);
  fillRect(p, 14, 0, 4, 1, 0xFFFF4040u);
  // Eyes and the chest light.
  fillRect(p, 12, 6, 3, 3, 0xFF30E0FFu);
  fillRect(p, 17, 6, 3, 3, 0xFF30E0FFu);
  fillRect(p, 14, 16, 4, 3, 0xFF40FF60u);
  return p;
}

IconPixels makeCursorPixels() {
  IconPixels p{};
  p.fill(kClear);
  for (std::size_t row = 0; row < sizeof(kArrow) / sizeof(kArrow[0]); ++row) {
    for (int col = 0; kArrow[row][col] != '\0'; ++col) {
      const char c = kArrow[row][col];
      if (c == ' ') continue;
      const int x = kCursorHotX + col;
      const int y = kCursorHotY + static_cast<int>(row);
      p[y * kIconSize + x] = c == 'X' ? kBlack : kWhite;
    }
  }
  return p;
}

SdlPointer::~SdlPointer() {
  if (cursor_) SDL_FreeCursor(cursor_);
}

void SdlPointer::install(SDL_Window* window) {
  IconPixels icon = makeIconPixels();
  if (SDL_Surface* surface = surfaceFrom(icon)) {
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
  }
  if (!cursor_) {
    IconPixels arrow = makeCursorPixels();
    if (SDL_Surface* surface = surfaceFrom(arrow)) {
      cursor_ = SDL_CreateColorCursor(surface, kCursorHotX, kCursorHotY);
      SDL_FreeSurface(surface);
    }
  }
  if (cursor_) SDL_SetCursor(cursor_);
}

void SdlPointer::showFor(bool windowed) {
  SDL_ShowCursor(windowed ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace mdx::app
