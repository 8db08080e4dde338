#include "world/game_state.h"

namespace mdx::world {

void GameState::playSample(Sample sample) {
  if (options.soundEnabled && samples != nullptr) samples->playSample(sample);
}

}  // namespace mdx::world
