// The game's music and effects as heard: the mixed output is written to a file by SDL's disk
// audio driver and measured. Each test runs in its own folder with made-up media.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "disk_capture.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "sound_test_env.h"
#include "tone_files.h"
#include "world/game_state.h"

namespace mdx::sound {
namespace {

using testing::DiskCapture;
using testing::MediaTones;
using testing::toneLevel;

// A tone at full scale (0.5 peak) comes out at about 0.5 * 50 / 128 at the game's volume.
constexpr double kHeard = 0.1;
constexpr double kSilent = 0.005;
constexpr double kListen = 0.3;

class MixedOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::make_unique<testing::ScratchFolder>(info->name());
    ASSERT_TRUE(testing::writeGameMedia(folder->pack()));
    capture = std::make_unique<DiskCapture>(folder->file("out.raw"));
  }
  void TearDown() override { library.close(); }

  void start() {
    music.startSound(folder->pack());
    ASSERT_TRUE(library.started());
    ASSERT_NE(music.titleStream, 0);
  }
  std::vector<float> listen(double seconds = kListen) {
    return capture->listen(seconds, library.chunkFrames());
  }
  // The music tone that dominates the output, or 0 when none is heard.
  double musicHeard(const std::vector<float>& output) {
    const double tones[] = {MediaTones::kTitle, MediaTones::kEnd, MediaTones::kLevel[0],
                            MediaTones::kLevel[1], MediaTones::kLevel[2]};
    double loudest = 0.0;
    double level = kHeard;
    for (double tone : tones) {
      const double l = toneLevel(output, tone);
      if (l > level) {
        level = l;
        loudest = tone;
      }
    }
    return loudest;
  }

  std::unique_ptr<testing::ScratchFolder> folder;
  std::unique_ptr<DiskCapture> capture;
  MixerSoundLibrary library;
  world::RecordingMessageBoxes messages;
  Music music{library, &messages};
};

TEST_F(MixedOutput, TitleMusicIsHeardAfterStartSound) {
  start();
  EXPECT_EQ(library.chunkFrames(), 4096) << "about 100 ms of buffer at 44100 Hz";
  EXPECT_EQ(musicHeard(listen()), MediaTones::kTitle);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MixedOutput, MusicOffIsSilentAndMusicOnPlaysWhereThePlayerIs) {
  start();
  music.switchMusic(2);
  music.toggleMusic();
  EXPECT_LT(testing::loudness(listen()), kSilent);
  music.switchMusic(3);  // silent while the music is off
  EXPECT_LT(testing::loudness(listen()), kSilent);
  music.toggleMusic();
  EXPECT_EQ(musicHeard(listen()), MediaTones::kLevel[2]);
}

TEST_F(MixedOutput, SwitchMusicFollowsTheLevelsMusicNumber) {
  start();
  const std::pair<int, double> steps[] = {{1, MediaTones::kLevel[0]},
                                          {2, MediaTones::kLevel[1]},
                                          {3, MediaTones::kLevel[2]},
                                          {99, MediaTones::kEnd},
                                          {7, MediaTones::kEnd}};
  for (const auto& [levelMusic, tone] : steps) {
    music.switchMusic(levelMusic);
    EXPECT_EQ(musicHeard(listen()), tone) << "levelMusic " << levelMusic;
  }
}

TEST_F(MixedOutput, TitleMusicWaitsForF2WhenMusicIsOff) {
  start();
  music.switchMusic(99);
  music.toggleMusic();
  music.playTitleMusic();
  EXPECT_LT(testing::loudness(listen()), kSilent);
  music.toggleMusic();
  EXPECT_EQ(musicHeard(listen()), MediaTones::kTitle);
}

TEST_F(MixedOutput, EffectIsHeardWhileMusicIsOff) {
  start();
  music.toggleMusic();
  listen(0.05);  // let the music stop reach the output
  const uint64_t before = capture->frames();
  music.playSample(world::Sample::Stick);
  const std::vector<float> output = capture->record(before, 0.6 + 2 * 4096 / 44100.0);
  EXPECT_GT(toneLevel(output, MediaTones::kStick), 0.05);
  EXPECT_LT(toneLevel(output, MediaTones::kTitle), 0.01);
}

TEST_F(MixedOutput, MusicVolumeScalesTheOutput) {
  start();
  const double atGameVolume = toneLevel(listen(), MediaTones::kTitle);
  library.setVolume(0, 255);
  const double atFullVolume = toneLevel(listen(), MediaTones::kTitle);
  library.setVolume(0, 0);
  EXPECT_LT(testing::loudness(listen()), kSilent);
  ASSERT_GT(atFullVolume, 0.3);
  EXPECT_NEAR(atGameVolume / atFullVolume, 50.0 / 128.0, 0.03);
}

TEST_F(MixedOutput, SoundDisabledGameMakesNoSound) {
  start();
  music.toggleMusic();
  listen(0.05);
  world::GameState game(&music, nullptr);
  game.options.soundEnabled = 0;
  const uint64_t before = capture->frames();
  for (int i = 0; i < world::kSampleCount; ++i) game.playSample(static_cast<world::Sample>(i));
  EXPECT_LT(testing::loudness(capture->record(before, 0.8)), 0.001);

  game.options.soundEnabled = 1;
  const uint64_t again = capture->frames();
  game.playSample(world::Sample::Stick);
  EXPECT_GT(toneLevel(capture->record(again, 0.8), MediaTones::kStick), 0.05);
}

TEST_F(MixedOutput, BrokenMediaPlaysSilenceThroughEveryCommand) {
  // Cut short, random, missing and empty: the game runs on without its music and effects.
  const world::PackLayout pack = folder->pack();
  const auto title = testing::readBytes(pack.titleSongPath());
  ASSERT_TRUE(testing::writeTruncatedCopy(pack.titleSongPath(), pack.titleSongPath(),
                                          title.size() * 2 / 3));
  ASSERT_TRUE(testing::writeRandomBytes(pack.songPath(world::kEndingLevel), 30000, 3));
  std::filesystem::remove(pack.songPath(1));
  ASSERT_TRUE(testing::writeBytes(pack.songPath(2), {}));
  for (int i = 0; i < world::kSampleCount; ++i) {
    const std::string file = pack.dataFile(world::sampleFile(static_cast<world::Sample>(i)));
    if (i % 2 == 0) {
      ASSERT_TRUE(testing::writeRandomBytes(file, 5000, static_cast<uint32_t>(i)));
    } else {
      ASSERT_TRUE(testing::writeTruncatedCopy(file, file, 2000));
    }
  }
  music.startSound(folder->pack());
  ASSERT_TRUE(library.started());
  EXPECT_EQ(music.titleStream, 0);
  EXPECT_LT(testing::loudness(listen()), kSilent);
  const uint64_t before = capture->frames();
  for (int levelMusic : {1, 2, 99, 7}) music.switchMusic(levelMusic);
  music.toggleMusic();
  music.toggleMusic();
  music.playTitleMusic();
  for (int i = 0; i < world::kSampleCount; ++i) music.playSample(static_cast<world::Sample>(i));
  EXPECT_LT(testing::loudness(capture->record(before, 0.8)), kSilent);
  // The one good file still plays.
  music.switchMusic(3);
  EXPECT_EQ(musicHeard(listen()), MediaTones::kLevel[2]);
}

TEST_F(MixedOutput, StreamLoopsWithoutAGap) {
  // A one-second tone of whole cycles: any gap at the loop point shows as a run of near-zero
  // samples far longer than the couple at each zero crossing.
  ASSERT_TRUE(testing::writeMp3Tone(folder->file("loop.mp3"), 441.0, 1.0));
  ASSERT_TRUE(library.init(44100, 32));
  const StreamHandle stream = library.openStream(folder->file("loop.mp3"));
  ASSERT_NE(stream, 0);
  library.setVolume(0, 255);
  library.playStream(0, stream);
  const std::vector<float> output = listen(3.5);  // three loop points
  const size_t longestGap = testing::longestQuietRun(output, 0.02f);
  EXPECT_LT(longestGap, 44u) << "no quiet run longer than 1 ms";
  // A gap or a jump at each loop would also break the tone's phase and drop its level.
  EXPECT_GT(toneLevel(output, 441.0), 0.4);
}

TEST_F(MixedOutput, StopSoundEndsTheMusicAndClosesTheLibrary) {
  start();
  music.stopSound();
  EXPECT_FALSE(library.started());
  // Nothing else is mixed: the output file stops growing.
  const uint64_t frames = capture->frames();
  EXPECT_FALSE(capture->waitForFrames(frames + 3 * 4096, 400));
}

}  // namespace
}  // namespace mdx::sound
