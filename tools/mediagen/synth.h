// A small synthesiser: renders a Song to stereo samples that loop seamlessly.
#pragma once

#include <vector>

#include "song.h"

namespace mdx::media {

constexpr int kMp3FrameSamples = 1152;

struct StereoBuffer {
  std::vector<float> left, right;
};

// Samples in one pass of the song: its length at its tempo, rounded to a whole number of
// MP3 frames so the encoded loop has no partial frame at its end.
long loopSamples(const Song& song);

// Renders one loop of the song. The song is played twice and the second pass is kept, so
// the echoes and releases that spill over the end are already heard at the start, as they
// are when the player loops the track. The peak is scaled to `peak` (0 keeps the levels
// as rendered).
StereoBuffer renderLoop(const Song& song, float peak = 0.89f);

}  // namespace mdx::media
