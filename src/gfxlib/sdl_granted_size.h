// The size the window system really gave a window. SDL records the size it asked for when it
// switches to full screen; a window system that does not grant it (an X server without a
// window manager) leaves the window smaller while SDL draws as if it were not.
#pragma once

struct SDL_Window;

namespace mdx::gfx {

// The window's real size in screen units, asked of the window system. False when the window
// system cannot be asked (not X11); the caller then trusts SDL's size.
bool grantedWindowSize(SDL_Window* window, int& width, int& height);

}  // namespace mdx::gfx
