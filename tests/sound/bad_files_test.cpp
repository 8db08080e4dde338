// Missing, cut-short and garbage sound files give empty handles (silence), never a crash;
// empty and stale handles and a library that never started make every call do nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

#include "disk_capture.h"
#include "sound/mp3_info.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "sound_test_env.h"
#include "tone_files.h"

namespace mdx::sound {
namespace {

namespace fs = std::filesystem;
using testing::DiskCapture;

const fs::path kWavSuite = fs::path(MDX_SHARED_TESTDATA) / "wav";
const std::string kNoWavSuite =
    "the outside WAV suite is not at " + kWavSuite.string() + " (set MDX_SHARED_TESTDATA)";

float peak(const std::vector<float>& samples) {
  float highest = 0.0f;
  for (float sample : samples) highest = std::max(highest, std::fabs(sample));
  return highest;
}

class BadFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::make_unique<testing::ScratchFolder>(info->name());
    capture = std::make_unique<DiskCapture>(folder->file("out.raw"));
    ASSERT_TRUE(testing::writeMp3Tone(folder->file("good.mp3"), 440.0, 1.0));
    ASSERT_TRUE(testing::writeWav(folder->file("good.wav"), testing::sineTone(1000.0, 0.3)));
  }
  void TearDown() override { library.close(); }

  // The output from just before `action` until `seconds` later.
  template <typename Action>
  std::vector<float> outputOf(Action action, double seconds = 0.5) {
    const uint64_t before = capture->frames();
    action();
    return capture->record(before, seconds);
  }

  std::unique_ptr<testing::ScratchFolder> folder;
  std::unique_ptr<DiskCapture> capture;
  MixerSoundLibrary library;
};

TEST_F(BadFiles, BrokenMp3sOpenNoStream) {
  const auto good = testing::readBytes(folder->file("good.mp3"));
  ASSERT_TRUE(testing::writeTruncatedCopy(folder->file("good.mp3"), folder->file("half.mp3"),
                                          good.size() / 2));
  ASSERT_TRUE(
      testing::writeTruncatedCopy(folder->file("good.mp3"), folder->file("header_only.mp3"), 200));
  ASSERT_TRUE(
      testing::writeTruncatedCopy(folder->file("good.mp3"), folder->file("three_bytes.mp3"), 3));
  ASSERT_TRUE(testing::writeBytes(folder->file("empty.mp3"), {}));
  ASSERT_TRUE(testing::writeRandomBytes(folder->file("noise.mp3"), 20000, 7));
  ASSERT_TRUE(library.init(44100, 32));

  EXPECT_NE(library.openStream(folder->file("good.mp3")), 0);
  for (const char* name : {"missing.mp3", "half.mp3", "header_only.mp3", "three_bytes.mp3",
                           "empty.mp3", "noise.mp3", "."}) {
    EXPECT_EQ(library.openStream(folder->file(name)), 0) << name;
  }
}

TEST_F(BadFiles, CutShortCheckLooksPastAnId3Tag) {
  // A 1000-byte ID3v2 tag in front of the audio: the info frame is found behind it and
  // the stream length counts from there.
  std::vector<uint8_t> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 7, 94};  // 990 + 10 bytes
  tagged.resize(1000, 0);
  const auto audio = testing::readBytes(folder->file("good.mp3"));
  tagged.insert(tagged.end(), audio.begin(), audio.end());
  ASSERT_TRUE(testing::writeBytes(folder->file("tagged.mp3"), tagged));
  tagged.resize(tagged.size() - 100);
  ASSERT_TRUE(testing::writeBytes(folder->file("tagged_cut.mp3"), tagged));

  EXPECT_FALSE(isMp3CutShort(folder->file("good.mp3")));
  EXPECT_FALSE(isMp3CutShort(folder->file("tagged.mp3")));
  EXPECT_TRUE(isMp3CutShort(folder->file("tagged_cut.mp3")));
  ASSERT_TRUE(library.init(44100, 32));
  EXPECT_NE(library.openStream(folder->file("tagged.mp3")), 0);
  EXPECT_EQ(library.openStream(folder->file("tagged_cut.mp3")), 0);
}

// A file of tags and no audio frame is refused before the mixer: the mixer fails such a load
// too, but leaks on every one, which the sanitizer build of this test reports (found by
// fuzzing; the input is kept). A song with an ID3v1 tag at its end still opens.
TEST_F(BadFiles, Mp3WithTagsButNoAudioIsRefused) {
  const std::string tagOnly = std::string(MDX_SOURCE_DIR) + "/tests/sound/data/id3v1-tag-only.mp3";
  std::vector<uint8_t> id3v1 = {'T', 'A', 'G'};
  id3v1.resize(128, ' ');
  auto song = testing::readBytes(folder->file("good.mp3"));
  song.insert(song.end(), id3v1.begin(), id3v1.end());
  ASSERT_TRUE(testing::writeBytes(folder->file("good_v1.mp3"), song));
  std::vector<uint8_t> tags = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 22};  // a 32-byte ID3v2 tag
  tags.resize(32, 0);
  tags.insert(tags.end(), id3v1.begin(), id3v1.end());
  ASSERT_TRUE(testing::writeBytes(folder->file("two_tags.mp3"), tags));

  EXPECT_TRUE(isMp3WithoutAudio(tagOnly));
  EXPECT_TRUE(isMp3WithoutAudio(folder->file("two_tags.mp3")));
  EXPECT_FALSE(isMp3WithoutAudio(folder->file("good.mp3")));
  EXPECT_FALSE(isMp3WithoutAudio(folder->file("good_v1.mp3")));
  ASSERT_TRUE(library.init(44100, 32));
  EXPECT_EQ(library.openStream(tagOnly), 0);
  EXPECT_EQ(library.openStream(folder->file("two_tags.mp3")), 0);
  EXPECT_NE(library.openStream(folder->file("good_v1.mp3")), 0);
}

TEST_F(BadFiles, BrokenWavsLoadNoSample) {
  const auto good = testing::readBytes(folder->file("good.wav"));
  ASSERT_TRUE(testing::writeTruncatedCopy(folder->file("good.wav"), folder->file("half.wav"),
                                          good.size() / 2));
  ASSERT_TRUE(
      testing::writeTruncatedCopy(folder->file("good.wav"), folder->file("header_only.wav"), 30));
  ASSERT_TRUE(testing::writeBytes(folder->file("empty.wav"), {}));
  ASSERT_TRUE(testing::writeRandomBytes(folder->file("noise.wav"), 20000, 9));
  ASSERT_TRUE(library.init(44100, 32));

  EXPECT_NE(library.loadSample(folder->file("good.wav")), 0);
  for (const char* name :
       {"missing.wav", "half.wav", "header_only.wav", "empty.wav", "noise.wav", "."}) {
    EXPECT_EQ(library.loadSample(folder->file(name)), 0) << name;
  }
}

TEST_F(BadFiles, WavSuiteVariantsLoadAndPlay) {
  if (!fs::is_directory(kWavSuite)) GTEST_SKIP() << kNoWavSuite;
  ASSERT_TRUE(library.init(44100, 32));
  // 24-bit samples in 4-byte blocks with the old header are a layout SDL refuses; it must
  // then fail like any unreadable file.
  const std::string refusedBySdl = "pcmwaveformat-24bit-4byte-48kHz-stereo.wav";
  // One frame of silence, and four 192 kHz samples that vanish in the resampling: these load
  // and play but leave nothing in a 44100 Hz mix. Every other file leaves its samples.
  const std::set<std::string> inaudible = {"nonstandard-01.wav",
                                           "waveformatextensible-24bit-192kHz-mono.wav"};
  int played = 0;
  for (const auto& entry : fs::directory_iterator(kWavSuite)) {
    if (entry.path().extension() != ".wav") continue;
    const std::string name = entry.path().filename().string();
    const SampleHandle sample = library.loadSample(entry.path().string());
    if (name == refusedBySdl) {
      EXPECT_EQ(sample, 0) << name;
      continue;
    }
    ASSERT_NE(sample, 0) << name;
    const auto output = outputOf([&] { library.playSample(sample); }, 0.4);
    if (inaudible.count(name) == 0) {
      EXPECT_GT(peak(output), 0.0f) << name << " is not heard";
    }
    library.freeSample(sample);
    ++played;
  }
  EXPECT_GE(played, 14);
}

TEST_F(BadFiles, WavsThatOnceCrashedReadersFailCleanly) {
  if (!fs::is_directory(kWavSuite)) GTEST_SKIP() << kNoWavSuite;
  ASSERT_TRUE(library.init(44100, 32));
  int tried = 0;
  for (const auto& entry : fs::directory_iterator(kWavSuite / "fuzz")) {
    EXPECT_EQ(library.loadSample(entry.path().string()), 0) << entry.path();
    EXPECT_EQ(library.openStream(entry.path().string()), 0) << entry.path();
    ++tried;
  }
  EXPECT_GE(tried, 6);
}

TEST_F(BadFiles, EmptyStaleAndUnknownHandlesDoNothing) {
  ASSERT_TRUE(library.init(44100, 32));
  const StreamHandle stream = library.openStream(folder->file("good.mp3"));
  const SampleHandle sample = library.loadSample(folder->file("good.wav"));
  ASSERT_NE(stream, 0);
  ASSERT_NE(sample, 0);
  library.closeStream(stream);
  library.freeSample(sample);
  const auto output = outputOf([&] {
    for (int32_t handle : {0, -1, 999, stream}) {
      library.playStream(0, handle);
      library.stopStream(handle);
      library.closeStream(handle);
    }
    for (int32_t handle : {0, -1, 999, sample}) {
      library.playSample(handle);
      library.freeSample(handle);
    }
    library.setVolume(kChannelAll, 255);
  });
  EXPECT_LT(testing::loudness(output), 1e-4);
  // A new file gets a new handle; the closed one stays dead.
  EXPECT_NE(library.openStream(folder->file("good.mp3")), stream);
}

TEST_F(BadFiles, LibraryThatNeverStartedAcceptsEveryCall) {
  EXPECT_EQ(library.openStream(folder->file("good.mp3")), 0);
  EXPECT_EQ(library.loadSample(folder->file("good.wav")), 0);
  library.playStream(kChannelFree, 1);
  library.setVolume(kChannelAll, 100);
  library.playSample(1);
  library.stopStream(1);
  library.closeStream(1);
  library.freeSample(1);
  library.close();
  library.close();
  EXPECT_FALSE(library.started());
  EXPECT_EQ(capture->frames(), 0u) << "no audio device was opened";
}

TEST_F(BadFiles, DeviceThatCannotOpenFailsInitAndTheGameGoesOn) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  world::RecordingMessageBoxes messages;
  Music music{library, &messages};
  ASSERT_TRUE(testing::writeGameMedia(folder->pack()));
  EXPECT_FALSE(music.startSound(folder->pack()));
  EXPECT_FALSE(library.started());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kNoSoundMessage);
  EXPECT_EQ(music.titleStream, 0);
  EXPECT_EQ(music.samples[0], 0);
  music.toggleMusic();
  music.playSample(world::Sample::Explode);
  music.stopSound();
  EXPECT_FALSE(library.started());
}

}  // namespace
}  // namespace mdx::sound
