// The seven sound effects, synthesised: mono float samples at 44100 Hz with faded edges.
#pragma once

#include <string>
#include <vector>

namespace mdx::media {

struct SoundEffect {
  std::string file;  // e.g. "media/button01.wav"
  std::vector<float> samples;
};

// All seven, in the game's loading order: button, lift, footstep, exit fanfare, drop tick,
// landing, explosion.
std::vector<SoundEffect> makeSoundEffects();

// Fades the first and last `fadeSeconds` of a sound in and out (cosine ramps), so it starts
// and ends at silence without a click.
void fadeEdges(std::vector<float>& samples, double fadeSeconds);

}  // namespace mdx::media
