// The synthesiser's loop: whole MP3 frames, tails that wrap to the start, same samples on
// every render, and an encoded file with the gapless header.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "mediagen/mp3_encoder.h"
#include "mediagen/song.h"
#include "mediagen/synth.h"

namespace mdx::media {
namespace {

Song parsed(const std::string& text) {
  Song song;
  std::string error;
  EXPECT_TRUE(parseSong(text, song, error)) << error;
  return song;
}

double energy(const std::vector<float>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to && i < s.size(); ++i) sum += double(s[i]) * s[i];
  return sum;
}

TEST(SynthLoop, LoopIsAWholeNumberOfMp3FramesNearTheTempoLength) {
  // 8 steps at 100 beats a minute: 1.2 seconds.
  const Song song =
      parsed("tempo 100\ninstrument a sine\npattern p\na C4 . . . . . . .\nend\nsong p\n");
  const long samples = loopSamples(song);
  EXPECT_EQ(samples % kMp3FrameSamples, 0);
  EXPECT_NEAR(samples / 44100.0, 1.2, 1152 / 44100.0 / 2);
  EXPECT_EQ(long(renderLoop(song).left.size()), samples);
}

TEST(SynthLoop, TailOfTheLastNoteIsHeardAtTheStart) {
  // A long bell on the last step only: its ring must continue at the loop's start, as it
  // does when the player jumps back.
  const Song song = parsed(
      "tempo 120\ninstrument b bell decay 1 sustain 0.5 release 1\n"
      "pattern p\nb . . . . . . . C5\nend\nsong p\n");
  const StereoBuffer loop = renderLoop(song);
  const size_t quarter = loop.left.size() / 4;
  EXPECT_GT(energy(loop.left, 0, 2000), 0.01);
  // And the middle, far from both notes' sound, is quieter than the start.
  EXPECT_LT(energy(loop.left, 2 * quarter, 2 * quarter + 2000), energy(loop.left, 0, 2000));
}

TEST(SynthLoop, EchoRepeatsAfterTheGivenSteps) {
  const Song song = parsed(
      "tempo 120\necho 4 0.0 1\ninstrument a sine attack 0.001 decay 0.01 sustain 0 release 0.01 "
      "echo 1\npattern p\na C5 . . . . . . . . . . . . . . .\nend\nsong p\n");
  const StereoBuffer loop = renderLoop(song);
  const size_t step = loop.left.size() / 16;
  // Left echo after 4 steps; nothing in between.
  EXPECT_GT(energy(loop.left, 4 * step, 4 * step + step / 2), 0.5);
  EXPECT_LT(energy(loop.left, 2 * step, 3 * step), 1e-6);
}

TEST(SynthLoop, RendersAndEncodesTheSameBytesEveryTime) {
  const std::string text =
      "tempo 140\necho 3 0.4 0.3\ninstrument p pad detune 0.5 echo 0.5\ninstrument l pluck\n"
      "drums d\npattern x\np C4 - - - E4 - - -\nl G4 . A4 . B4 . C5 .\nd k h s h k h s o\nend\n"
      "song x x+3\n";
  const StereoBuffer a = renderLoop(parsed(text)), b = renderLoop(parsed(text));
  ASSERT_EQ(a.left.size(), b.left.size());
  EXPECT_EQ(0, std::memcmp(a.left.data(), b.left.data(), a.left.size() * sizeof(float)));
  EXPECT_EQ(0, std::memcmp(a.right.data(), b.right.data(), a.right.size() * sizeof(float)));
  std::vector<uint8_t> mp3a, mp3b;
  std::string error;
  ASSERT_TRUE(encodeMp3(a, mp3a, error)) << error;
  ASSERT_TRUE(encodeMp3(b, mp3b, error)) << error;
  EXPECT_EQ(mp3a, mp3b);
  float peak = 0;
  for (size_t i = 0; i < a.left.size(); ++i) {
    peak = std::max({peak, std::fabs(a.left[i]), std::fabs(a.right[i])});
  }
  EXPECT_NEAR(peak, 0.89f, 0.01f);
}

TEST(SynthLoop, EncodedFileStartsWithTheGaplessHeader) {
  const Song song =
      parsed("tempo 120\ninstrument a saw\npattern p\na C3 - - - G3 - - -\nend\nsong p\n");
  std::vector<uint8_t> mp3;
  std::string error;
  ASSERT_TRUE(encodeMp3(renderLoop(song), mp3, error)) << error;
  ASSERT_GT(mp3.size(), 400u);
  EXPECT_EQ(mp3[0], 0xFF);  // a frame, not an ID3 tag, comes first
  const std::string head(mp3.begin(), mp3.begin() + 400);
  EXPECT_NE(head.find("Info"), std::string::npos);
  const size_t lame = head.find("LAME");
  ASSERT_NE(lame, std::string::npos);
  // Encoder delay (12 bits) and padding (12 bits) follow the tag's fixed fields.
  const size_t at = lame + 21;
  const int delay = (mp3[at] << 4) | (mp3[at + 1] >> 4);
  EXPECT_GT(delay, 0);
}

TEST(SynthLoop, MismatchedChannelsAreRefused) {
  StereoBuffer bad;
  bad.left.assign(10, 0.0f);
  bad.right.assign(9, 0.0f);
  std::vector<uint8_t> mp3;
  std::string error;
  EXPECT_FALSE(encodeMp3(bad, mp3, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace mdx::media
