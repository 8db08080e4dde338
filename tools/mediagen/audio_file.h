// Sample buffers and the WAV writer for the sound effects.
#pragma once

#include <cstdint>
#include <vector>

namespace mdx::media {

constexpr int kSampleRate = 44100;

// A 16-bit PCM WAV file of `channels` interleaved channels at 44100 Hz. Samples are floats in
// [-1, 1]; anything beyond is clipped.
std::vector<uint8_t> encodeWav(const std::vector<float>& samples, int channels);

// Rounds to 16-bit signed samples with clipping.
int16_t toPcm16(float sample);

}  // namespace mdx::media
