#include "world/game_state.h"

namespace mdx::world {

const char* sampleFile(Sample sample) {
  switch (sample) {
    case Sample::Button:
      return "media/button01.wav";
    case Sample::Lift:
      return "media/lift01.wav";
    case Sample::Run:
      return "media/run01.wav";
    case Sample::Fin:
      return "media/fin.wav";
    case Sample::Move:
      return "media/move.wav";
    case Sample::Stick:
      return "media/stick.wav";
    case Sample::Explode:
      return "media/explode.wav";
  }
  return "";
}

void GameState::playSample(Sample sample) {
  if (options.soundEnabled && samples != nullptr) samples->playSample(sample);
}

}  // namespace mdx::world
