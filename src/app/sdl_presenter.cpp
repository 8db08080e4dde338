#include "app/sdl_presenter.h"

#include <SDL.h>

#include <functional>

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

namespace {

// The state's digest leaves out the hint, which is only shown; a changed hint is a changed
// picture all the same.
uint64_t shownDigest(const world::GameState& state) {
  const world::HintView& hint = state.hint;
  const std::hash<std::string> text;
  uint64_t digest = stateDigest(state);
  for (const uint64_t part :
       {static_cast<uint64_t>(hint.ghost), static_cast<uint64_t>(hint.column),
        static_cast<uint64_t>(hint.row), static_cast<uint64_t>(hint.pieceIndex),
        static_cast<uint64_t>(text(hint.line)), static_cast<uint64_t>(text(hint.offer))}) {
    digest = (digest ^ part) * 0x100000001B3ull;
  }
  return digest;
}

}  // namespace

void SdlScenePresenter::present(const world::GameState& state) {
  // Unpaced (--uncapped) every frame is drawn, as the original loop does.
  const uint64_t digest = pacer_ != nullptr ? shownDigest(state) : 0;
  if (pacer_ == nullptr || !drawnValid_ || digest != drawnDigest_) {
    render::drawScene(state, assets_, backend_);
    drawnDigest_ = digest;
    drawnValid_ = true;
    ++framesDrawn;
  }
  if (pacer_ != nullptr) pacer_->framePresented();
}

}  // namespace mdx::app
