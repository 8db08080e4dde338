// A small synthesiser: renders a Song to stereo samples that loop seamlessly.
#pragma once

#include <cstdint>
#include <vector>

#include "mediagen/song.h"

namespace mdx::media {

// White noise from a 32-bit xorshift generator: the same seed gives the same sounds on every
// build. The state must not be 0.
class Noise {
 public:
  explicit Noise(uint32_t state) : state_(state) {}
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 2147483648.0 - 1.0;
  }

 private:
  uint32_t state_;
};

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
