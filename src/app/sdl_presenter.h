// The game window and its drawing on SDL as the game object sees them, shared by the desktop
// and the web shells.
#pragma once

#include <cstdint>

#include "app/frame_pacer.h"
#include "app/frontend.h"
#include "gfxlib/draw_backend.h"
#include "render/assets.h"

namespace mdx::app {

// The game window as the key commands see it. Destroying it queues the quit event; the loop
// ends when it takes it, and the window closes with the device at the shutdown.
class SdlWindowControl : public WindowControl {
 public:
  void destroyWindow() override;
  bool destroyed = false;
};

// Draws the game state with the frame drawing onto the device's back end. The picture is a
// function of the game state alone, so a frame whose state is the same as the last drawn one
// (about every other frame at 60 Hz: the animations step every 30 ms) is not drawn again;
// the window keeps showing it. With a pacer, every frame, drawn or not, then waits for its
// frame time. Without a pacer (--uncapped) every frame is drawn.
class SdlScenePresenter : public ScenePresenter {
 public:
  SdlScenePresenter(render::Assets& assets, gfx::DrawBackend& backend, FramePacer* pacer = nullptr)
      : assets_(assets), backend_(backend), pacer_(pacer) {}
  void present(const world::GameState& state) override;
  // The next frame is drawn whatever its state: the window was exposed, resized or switched.
  void invalidate() { drawnValid_ = false; }
  long framesDrawn = 0;

 private:
  render::Assets& assets_;
  gfx::DrawBackend& backend_;
  FramePacer* pacer_;
  uint64_t drawnDigest_ = 0;
  bool drawnValid_ = false;
};

}  // namespace mdx::app
