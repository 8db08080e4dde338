// The synthesised effects and the WAV writer: the files the game asks for, clean edges,
// and headers that match the samples.
#include "mediagen/sound_effects.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mediagen/audio_file.h"
#include "mediagen/synth.h"
#include "world/services.h"

namespace mdx::media {
namespace {

TEST(SoundEffects, OneEffectForEverySampleTheGameLoadsInItsOrder) {
  const std::vector<SoundEffect> effects = makeSoundEffects();
  ASSERT_EQ(int(effects.size()), world::kSampleCount);
  for (int i = 0; i < world::kSampleCount; ++i) {
    EXPECT_EQ(effects[i].file, world::sampleFile(world::Sample(i)));
  }
}

TEST(SoundEffects, FadingShortSoundsLeavesSilentEnds) {
  for (size_t n : {0u, 1u, 2u, 7u, 1000u}) {
    std::vector<float> s(n, 1.0f);
    fadeEdges(s, 0.01);  // 441 samples a side, more than the short ones hold
    if (n == 0) continue;
    EXPECT_EQ(s.front(), 0.0f) << n;
    EXPECT_LT(s.back(), 0.02f) << n;
    if (n == 1000) {
      EXPECT_EQ(s[500], 1.0f);
    }
  }
}

TEST(WavWriter, HeaderDescribesTheSamplesAndLoudSamplesClip) {
  const std::vector<uint8_t> wav = encodeWav({0.0f, 1.5f, -2.0f, 0.5f}, 2);
  ASSERT_EQ(wav.size(), 44u + 8u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(wav[4] | (wav[5] << 8), 36 + 8);
  EXPECT_EQ(wav[22], 2);                   // channels
  EXPECT_EQ(wav[32], 4);                   // bytes per frame
  EXPECT_EQ(wav[40] | (wav[41] << 8), 8);  // data bytes
  EXPECT_EQ(int16_t(wav[46] | (wav[47] << 8)), 32767);
  EXPECT_EQ(int16_t(wav[48] | (wav[49] << 8)), -32767);
  EXPECT_EQ(toPcm16(0.5f), 16384);
}

TEST(SynthVoices, EveryWaveAndDrumRendersFiniteAudibleCentredSound) {
  const char* waves[] = {"sine", "triangle", "square", "pulse", "saw", "bell", "pluck", "pad"};
  for (const char* wave : waves) {
    Song song;
    std::string error;
    const std::string text =
        std::string("instrument v ") + wave +
        " detune 0.5 vibrato 5 depth 0.3 cutoff 2000 duty 0.2\npattern p\nv C2 - - C7 "
        "- - . .\nend\nsong p\n";
    ASSERT_TRUE(parseSong(text, song, error)) << error;
    const StereoBuffer b = renderLoop(song, 0.0f);
    double energy = 0, sum = 0;
    for (size_t i = 0; i < b.left.size(); ++i) {
      ASSERT_TRUE(std::isfinite(b.left[i]) && std::isfinite(b.right[i])) << wave;
      energy += b.left[i] * b.left[i];
      sum += b.left[i];
    }
    EXPECT_GT(energy, 1.0) << wave;
    // Centred on zero: lopsided waves such as narrow pulses leave no offset behind.
    EXPECT_LT(std::fabs(sum / double(b.left.size())), 0.002) << wave;
  }
  for (char drum : std::string("kshotc")) {
    Song song;
    std::string error;
    ASSERT_TRUE(parseSong(std::string("drums d\npattern p\nd ") + drum + " . . .\nend\nsong p\n",
                          song, error))
        << error;
    const StereoBuffer b = renderLoop(song, 0.0f);
    double energy = 0;
    for (float v : b.left) energy += double(v) * v;
    EXPECT_GT(energy, 0.1) << drum;
  }
}

}  // namespace
}  // namespace mdx::media
