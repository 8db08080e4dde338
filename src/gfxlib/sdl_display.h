// The game's drawing device on SDL: a window (or a headless surface) with its renderer.
// Frames are drawn at 640 x 480; presenting magnifies them by the largest whole factor that
// fits the window or screen, with sharp pixels and black bars around it. When the renderer
// would draw on the processor anyway (no graphics card: SDL's software renderer, or OpenGL on
// a software rasteriser such as Mesa's llvmpipe), SDL's software renderer draws each frame into
// a 640 x 480 picture in memory, exactly as the headless device does, and presenting enlarges
// that picture onto the window's own surface: far cheaper there than textured drawing, where
// every pixel of the window is a fragment of the rasteriser. With a graphics card the frame is
// drawn by its renderer into a canvas texture that the card magnifies.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfxlib/frame_enlarger.h"
#include "world/services.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

namespace mdx::gfx {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// Names of the video displays, in SDL's order (the display adapters of the startup dialog).
// Starts SDL's video subsystem if needed; an empty list when there is no video at all.
std::vector<std::string> listDisplayNames();

// How to open the device: which display, window or full screen, and the window's scale.
struct DisplayRequest {
  uint32_t displayIndex = 0;  // a missing display falls back to the first
  bool windowed = true;
  int windowScale = 1;  // the window shows 640 x 480 at this whole factor (1 or more)
  bool hidden = false;  // create the window hidden; show it later with Display::show
  bool vsync = false;   // ask the renderer to wait for the display's retrace when presenting
};

class Display {
 public:
  // Opens the window and a renderer: hardware-accelerated first, software second. When neither
  // can be made shows "Cannot Create Device!" (caption "MarvolenDX: Error", error icon) and
  // returns null. Full screen covers the display's desktop without changing its mode.
  static std::unique_ptr<Display> open(const DisplayRequest& request,
                                       world::MessageBoxes& messages);
  // A 640 x 480 software surface with no window, for golden frames, previews and tests.
  // Null (with no message) only when the surface itself cannot be made.
  static std::unique_ptr<Display> openHeadless(int width = kScreenWidth,
                                               int height = kScreenHeight);

  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  // The renderer to draw with; its target is the 640 x 480 canvas between presents.
  SDL_Renderer* renderer() const { return renderer_; }
  SDL_Window* window() const { return window_; }  // null when headless
  bool headless() const { return window_ == nullptr; }
  // The refresh rate of the display the window is on, in Hz; 0 when unknown or headless.
  int refreshRate() const;

  // Shows a window made hidden. No effect when headless.
  void show();
  // Switches between the window and desktop full screen at run time (Alt+Enter). Returns
  // false when the switch failed (the mode stays as it was) or when headless.
  bool setFullscreen(bool fullscreen);
  bool toggleFullscreen() { return setFullscreen(!fullscreen_); }
  bool fullscreen() const { return fullscreen_; }
  // The whole factor the window shows 640 x 480 at, in window units (at least 1): from the
  // window's size now (the player may have resized it), or in full screen the last windowed one.
  int windowScale() const;

  // True when frames are drawn in memory and enlarged onto the window's surface (above).
  bool drawsInMemory() const { return window_ != nullptr && surface_ != nullptr; }
  // The 640 x 480 picture the renderer draws into when it is in memory (headless, or drawn in
  // memory for the window); no pixels otherwise.
  PixelRows pictureInMemory() const;

  // Chooses where the next frame is drawn; the back end calls it as each frame begins. When
  // the window shows the picture at whole scale 1 there is nothing to magnify, so the frame
  // goes straight to the window (one full-window copy less per frame, the same pixels);
  // at larger scales it goes into the canvas. Headless or without a canvas: no effect.
  void beginFrame();
  // True while frames are drawn into the canvas (the window shows them magnified).
  bool drawingOnCanvas() const { return drawingOnCanvas_; }
  // Shows the finished frame: the canvas, magnified, on the window (or the window's own
  // picture when the frame went straight to it). Headless: nothing to show.
  void present();

  // Reads the current 640 x 480 picture back as 0xAARRGGBB pixels, row by row. False on a
  // window while its renderer draws frames straight to it (no render targets, or scale 1).
  bool readPixels(std::vector<uint32_t>& pixels, int& width, int& height) const;
  // Saves the current picture as a PNG file; false with SDL's reason in error on failure.
  // Desktop builds only (sdl_display_png.cpp).
  bool savePng(const std::string& path, std::string* error = nullptr) const;

 private:
  Display() = default;
  bool createRenderer(bool vsync);
  // True when the renderer draws on the processor (see the top of this file).
  bool rendererIsSoftware() const;
  // Replaces the renderer with SDL's software renderer on a 640 x 480 picture shown on the
  // window's own surface. False (and no renderer) when the window has no surface of its own.
  bool drawInMemory();
  // Shows the picture drawn in memory on the window's surface, enlarged.
  void showDrawnPicture();
  void applyLogicalSize();
  // After a switch to full screen: when the window system does not grant the display's size,
  // a borderless window covering the display takes the place of full screen.
  void settleFullScreen();
  bool createCanvas();
  void dropCanvas();
  // The largest whole factor of 640 x 480 that fits the window's drawable (0 when smaller).
  int wholeScale() const;

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Surface* surface_ = nullptr;  // the headless target, or the picture drawn in memory
  // The window surface and size whose black bars are drawn: the bars are filled only when the
  // surface is new (a resize, a switch to full screen), not every frame.
  const void* barsDrawnOn_ = nullptr;
  int barsWidth_ = 0, barsHeight_ = 0;
  SDL_Texture* canvas_ = nullptr;  // the window's 640 x 480 frame
  bool drawingOnCanvas_ = false;   // the render target is the canvas
  bool fullscreen_ = false;
  bool ownsVideo_ = false;  // this display started SDL's video subsystem
  int windowScale_ = 1;
  int displayIndex_ = 0;
};

}  // namespace mdx::gfx
