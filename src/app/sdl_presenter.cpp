#include "app/sdl_presenter.h"

#include <SDL.h>

#include "app/replay.h"
#include "render/scene.h"

namespace mdx::app {

void SdlWindowControl::destroyWindow() {
  if (destroyed) return;
  destroyed = true;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

void SdlScenePresenter::present(const world::GameState& state) {
  // Unpaced (--uncapped) every frame is drawn, as the original loop does.
  const uint64_t digest = pacer_ != nullptr ? stateDigest(state) : 0;
  if (pacer_ == nullptr || !drawnValid_ || digest != drawnDigest_) {
    render::drawScene(state, assets_, backend_);
    drawnDigest_ = digest;
    drawnValid_ = true;
    ++framesDrawn;
  }
  if (pacer_ != nullptr) pacer_->framePresented();
}

}  // namespace mdx::app
