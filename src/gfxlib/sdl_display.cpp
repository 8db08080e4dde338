#include "gfxlib/sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "gfxlib/frame_enlarger.h"
#include "gfxlib/sdl_granted_size.h"

namespace mdx::gfx {
namespace {

// Starts SDL's video subsystem when nobody has; true when this call started it.
bool startVideo(bool& ok) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    ok = true;
    return false;
  }
  ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return ok;
}

// OpenGL drivers that draw on the processor, as they name themselves.
constexpr const char* kSoftwareRasterisers[] = {"llvmpipe", "softpipe", "Software Rasterizer",
                                                "SWR", "GDI Generic"};

// The name the current OpenGL context's driver gives itself; empty when there is none.
std::string openGlRendererName() {
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
  return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace

std::vector<std::string> listDisplayNames() {
  bool ok = false;
  const bool started = startVideo(ok);
  std::vector<std::string> names;
  if (!ok) return names;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    const char* name = SDL_GetDisplayName(i);
    names.push_back(name != nullptr ? name : "Display " + std::to_string(i + 1));
  }
  if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return names;
}

std::unique_ptr<Display> Display::open(const DisplayRequest& request,
                                       world::MessageBoxes& messages) {
  std::unique_ptr<Display> display(new Display());
  bool ok = false;
  display->ownsVideo_ = startVideo(ok);
  if (ok) {
    const int count = SDL_GetNumVideoDisplays();
    display->displayIndex_ = request.displayIndex < static_cast<uint32_t>(std::max(count, 1))
                                 ? static_cast<int>(request.displayIndex)
                                 : 0;
    display->windowScale_ = std::max(request.windowScale, 1);
    display->fullscreen_ = !request.windowed;
    // Any size the player drags the window to shows the picture at the largest whole scale
    // that fits its drawable (in pixels, also on high-DPI screens), with black bars.
    Uint32 flags = (request.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN) | SDL_WINDOW_RESIZABLE |
                   SDL_WINDOW_ALLOW_HIGHDPI;
    if (display->fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    const int pos = SDL_WINDOWPOS_CENTERED_DISPLAY(display->displayIndex_);
    display->window_ =
        SDL_CreateWindow("Marvolen DX", pos, pos, kScreenWidth * display->windowScale_,
                         kScreenHeight * display->windowScale_, flags);
  }
  ok = display->window_ != nullptr && display->createRenderer(request.vsync);
  if (ok && display->rendererIsSoftware() && !display->drawInMemory()) {
    ok = display->createRenderer(request.vsync);
  }
  if (!ok) {
    messages.showMessage("Cannot Create Device!", "MarvolenDX: Error", world::MessageIcon::Error);
    return nullptr;
  }
  if (display->drawsInMemory()) return display;
  // Without render targets the frame is drawn straight to the window, scaled per sprite.
  if (!display->createCanvas()) display->dropCanvas();
  if (display->fullscreen_) SDL_ShowCursor(SDL_DISABLE);
  display->applyLogicalSize();
  return display;
}

std::unique_ptr<Display> Display::openHeadless(int width, int height) {
  std::unique_ptr<Display> display(new Display());
  display->surface_ =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (display->surface_ == nullptr) return nullptr;
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  display->renderer_ = SDL_CreateSoftwareRenderer(display->surface_);
  if (display->renderer_ == nullptr) return nullptr;
  SDL_SetRenderDrawColor(display->renderer_, 0, 0, 0, 255);
  SDL_RenderClear(display->renderer_);
  return display;
}

bool Display::createRenderer(bool vsync) {
  // Draw calls are queued and sent in batches; the game issues thousands of small sprites.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  const Uint32 waitFlag = vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | waitFlag);
  if (renderer_ == nullptr) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | waitFlag);
  }
  return renderer_ != nullptr;
}

bool Display::rendererIsSoftware() const {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer_, &info) != 0) return false;
  if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) return true;
  if (std::strncmp(info.name, "opengl", 6) != 0) return false;
  const std::string name = openGlRendererName();
  return std::any_of(std::begin(kSoftwareRasterisers), std::end(kSoftwareRasterisers),
                     [&name](const char* rasteriser) { return name.find(rasteriser) == 0; });
}

bool Display::drawInMemory() {
  SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  // The window's own surface (shared memory with the X server), not one SDL would draw through
  // another renderer's texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_GetWindowSurface(window_) == nullptr) return false;
  surface_ =
      SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  if (surface_ != nullptr) renderer_ = SDL_CreateSoftwareRenderer(surface_);
  if (renderer_ != nullptr) return true;
  if (surface_ != nullptr) SDL_FreeSurface(surface_);
  surface_ = nullptr;
  return false;
}

void Display::showDrawnPicture() {
  SDL_RenderPresent(renderer_);  // the queued draws reach the picture
  SDL_Surface* shown = SDL_GetWindowSurface(window_);
  if (shown == nullptr) return;
  const FramePlacement place = placeFrame(kScreenWidth, kScreenHeight, shown->w, shown->h);
  const bool xrgb = shown->format->format == SDL_PIXELFORMAT_RGB888 ||
                    shown->format->format == SDL_PIXELFORMAT_ARGB8888;
  if (place.scale < 1 || !xrgb || SDL_MUSTLOCK(shown)) {
    // A window smaller than the picture, or a surface of another pixel layout: SDL converts
    // and scales, more slowly.
    SDL_FillRect(shown, nullptr, SDL_MapRGB(shown->format, 0, 0, 0));
    SDL_Rect fitted{place.left, place.top, kScreenWidth * place.scale, kScreenHeight * place.scale};
    if (place.scale < 1) fitted = SDL_Rect{0, 0, shown->w, shown->h};
    SDL_BlitScaled(surface_, nullptr, shown, &fitted);
    barsDrawnOn_ = nullptr;
  } else {
    const bool newSurface =
        shown->pixels != barsDrawnOn_ || shown->w != barsWidth_ || shown->h != barsHeight_;
    enlargeFrame(
        PixelRows{static_cast<uint32_t*>(surface_->pixels), surface_->w, surface_->h,
                  surface_->pitch / 4},
        PixelRows{static_cast<uint32_t*>(shown->pixels), shown->w, shown->h, shown->pitch / 4},
        place, newSurface);
    barsDrawnOn_ = shown->pixels;
    barsWidth_ = shown->w;
    barsHeight_ = shown->h;
  }
  SDL_UpdateWindowSurface(window_);
}

PixelRows Display::pictureInMemory() const {
  if (surface_ == nullptr || surface_->format->format != SDL_PIXELFORMAT_ARGB8888) {
    return {nullptr, 0, 0, 0};
  }
  return {static_cast<uint32_t*>(surface_->pixels), surface_->w, surface_->h, surface_->pitch / 4};
}

bool Display::createCanvas() {
  // Sprites are sampled bilinearly at the game's own 640 x 480; magnifying the finished frame
  // by whole factors with nearest sampling keeps its pixels sharp at any window scale.
  canvas_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                              kScreenWidth, kScreenHeight);
  if (canvas_ == nullptr) return false;
  SDL_SetTextureScaleMode(canvas_, SDL_ScaleModeNearest);
  // Every canvas pixel is opaque (cleared opaque, drawn over), so the copy to the window can
  // replace instead of blend: the same pixels for less work.
  SDL_SetTextureBlendMode(canvas_, SDL_BLENDMODE_NONE);
  if (SDL_SetRenderTarget(renderer_, canvas_) != 0) return false;
  drawingOnCanvas_ = true;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  return true;
}

void Display::dropCanvas() {
  if (canvas_ != nullptr) SDL_DestroyTexture(canvas_);
  canvas_ = nullptr;
  drawingOnCanvas_ = false;
  SDL_SetRenderTarget(renderer_, nullptr);
}

int Display::wholeScale() const {
  int width = 0, height = 0;
  SDL_GetWindowSizeInPixels(window_, &width, &height);
  return std::min(width / kScreenWidth, height / kScreenHeight);
}

void Display::beginFrame() {
  if (canvas_ == nullptr) return;
  // Below scale 1 (a window smaller than the picture) the canvas is shrunk as before.
  const bool onCanvas = wholeScale() != 1;
  if (onCanvas == drawingOnCanvas_) return;
  if (SDL_SetRenderTarget(renderer_, onCanvas ? canvas_ : nullptr) == 0) {
    drawingOnCanvas_ = onCanvas;
  }
}

void Display::present() {
  if (drawsInMemory()) {
    showDrawnPicture();
    return;
  }
  if (!drawingOnCanvas_) {
    SDL_RenderPresent(renderer_);
    return;
  }
  SDL_SetRenderTarget(renderer_, nullptr);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, canvas_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  SDL_SetRenderTarget(renderer_, canvas_);
}

void Display::applyLogicalSize() {
  if (drawsInMemory()) return;  // the picture in memory is always 640 x 480
  // Whole-number scaling keeps pixels sharp; the rest of the screen becomes black bars. The
  // logical size belongs to the window's own target, so the canvas steps aside meanwhile.
  SDL_Texture* target = SDL_GetRenderTarget(renderer_);
  SDL_SetRenderTarget(renderer_, nullptr);
  SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  SDL_SetRenderTarget(renderer_, target);
}

Display::~Display() {
  if (canvas_ != nullptr) SDL_DestroyTexture(canvas_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) {
    if (fullscreen_) SDL_ShowCursor(SDL_ENABLE);
    SDL_DestroyWindow(window_);
  }
  if (surface_ != nullptr) SDL_FreeSurface(surface_);
  if (ownsVideo_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int Display::refreshRate() const {
  if (window_ == nullptr) return 0;
  SDL_DisplayMode mode{};
  if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0) {
    return mode.refresh_rate;
  }
  const int index = SDL_GetWindowDisplayIndex(window_);
  if (index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0) return mode.refresh_rate;
  return 0;
}

void Display::show() {
  if (window_ == nullptr) return;
  SDL_ShowWindow(window_);
  if (fullscreen_) settleFullScreen();
}

void Display::settleFullScreen() {
  int sdlWidth = 0, sdlHeight = 0, width = 0, height = 0;
  // A window manager answers within a few frames; without one the answer never comes.
  for (int tries = 0; tries < 15; ++tries) {
    SDL_GetWindowSize(window_, &sdlWidth, &sdlHeight);
    if (!grantedWindowSize(window_, width, height)) return;
    if (width == sdlWidth && height == sdlHeight) return;
    SDL_Delay(20);
  }
  // Not granted: cover the display with a plain borderless window of its size instead, whose
  // size the window system does grant, so SDL draws to the window as it really is.
  SDL_Rect bounds{};
  if (SDL_GetDisplayBounds(displayIndex_, &bounds) != 0) return;
  SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowBordered(window_, SDL_FALSE);
  SDL_SetWindowPosition(window_, bounds.x, bounds.y);
  SDL_SetWindowSize(window_, bounds.w, bounds.h);
  applyLogicalSize();
}

int Display::windowScale() const {
  if (window_ == nullptr || fullscreen_) return windowScale_;
  int width = 0, height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  return std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
}

bool Display::setFullscreen(bool fullscreen) {
  if (window_ == nullptr) return false;
  if (fullscreen == fullscreen_) return true;
  // Back in a window, the window comes back at the scale the player left it at.
  if (fullscreen) windowScale_ = windowScale();
  if (SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
    return false;
  fullscreen_ = fullscreen;
  SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
  if (fullscreen) {
    settleFullScreen();
  } else {
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, kScreenWidth * windowScale_, kScreenHeight * windowScale_);
    const int pos = SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex_);
    SDL_SetWindowPosition(window_, pos, pos);
  }
  applyLogicalSize();
  return true;
}

bool Display::readPixels(std::vector<uint32_t>& pixels, int& width, int& height) const {
  if (renderer_ == nullptr || (window_ != nullptr && !drawsInMemory() && !drawingOnCanvas_)) {
    return false;
  }
  width = surface_ != nullptr ? surface_->w : kScreenWidth;
  height = surface_ != nullptr ? surface_->h : kScreenHeight;
  pixels.assign(static_cast<std::size_t>(width) * height, 0);
  // Between presents the render target is the canvas (or the headless surface).
  return SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                              width * 4) == 0;
}

}  // namespace mdx::gfx
