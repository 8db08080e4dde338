// The music logic against the recording library: which calls, in which order, with which
// channels and handles.
#include <gtest/gtest.h>

#include "sound/music.h"
#include "sound/recording_sound_library.h"
#include "world/game_state.h"

namespace mdx::sound {
namespace {

using Log = std::vector<std::string>;

class MusicCalls : public ::testing::Test {
 protected:
  // Starts sound and forgets the start-up calls, so a test sees only its own.
  void startAndClearLog(const std::string& packName = "mappack1") {
    music.startSound(world::shippedPackLayout("", packName));
    library.calls.clear();
  }

  RecordingSoundLibrary library;
  world::RecordingMessageBoxes messages;
  Music music{library, &messages};
};

TEST_F(MusicCalls, StartSoundOpensStreamsAndSamplesInOrderThenPlaysTitle) {
  music.startSound(world::shippedPackLayout("", "mappack1"));
  const Log expected = {
      "setBufferSize(100)",
      "init(44100, 32)",
      "openStream(media/marvolen.mp3) -> 1",
      "openStream(media/the_end.mp3) -> 2",
      "openStream(mappack1/level01.mp3) -> 3",
      "openStream(mappack1/level02.mp3) -> 4",
      "openStream(mappack1/level03.mp3) -> 5",
      "loadSample(media/button01.wav) -> 1",
      "loadSample(media/lift01.wav) -> 2",
      "loadSample(media/run01.wav) -> 3",
      "loadSample(media/fin.wav) -> 4",
      "loadSample(media/move.wav) -> 5",
      "loadSample(media/stick.wav) -> 6",
      "loadSample(media/explode.wav) -> 7",
      "playStream(-1, 1)",
      "setVolume(-3, 100)",
  };
  EXPECT_EQ(library.log(), expected);
  EXPECT_EQ(music.currentStream, music.titleStream);
  EXPECT_EQ(music.endStream, 2);
  EXPECT_EQ(music.levelStreams, (std::array<StreamHandle, 3>{3, 4, 5}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MusicCalls, InitFailureSaysSoOnceAndOpensNothing) {
  library.failInit = true;
  EXPECT_FALSE(music.startSound(world::shippedPackLayout("", "mappack1")));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kNoSoundMessage);
  EXPECT_EQ(messages.shown[0].icon, world::MessageIcon::Information);
  EXPECT_TRUE(library.callsOf(SoundCallKind::OpenStream).empty());
  EXPECT_TRUE(library.callsOf(SoundCallKind::LoadSample).empty());
  EXPECT_EQ(music.titleStream, 0);
  Music quiet{library, nullptr};  // without message boxes it fails just as quietly
  EXPECT_FALSE(quiet.startSound(world::shippedPackLayout("", "mappack1")));
}

TEST_F(MusicCalls, SwitchMusicFollowsLevelMusicOnChannelZero) {
  startAndClearLog();
  music.switchMusic(2);
  music.switchMusic(99);
  music.switchMusic(7);  // not a music number: the end music starts again
  music.switchMusic(1);
  music.switchMusic(3);
  const Log expected = {
      "stopStream(1)", "playStream(0, 4)", "setVolume(0, 100)",  // title -> level02
      "stopStream(4)", "playStream(0, 2)", "setVolume(0, 100)",  // -> the end
      "stopStream(2)", "playStream(0, 2)", "setVolume(0, 100)",  // kept
      "stopStream(2)", "playStream(0, 3)", "setVolume(0, 100)",  // -> level01
      "stopStream(3)", "playStream(0, 5)", "setVolume(0, 100)",  // -> level03
  };
  EXPECT_EQ(library.log(), expected);
  EXPECT_EQ(music.currentStream, 5);
}

TEST_F(MusicCalls, MusicOffFollowsLevelChangesSilentlyAndMusicOnPlaysTheLast) {
  startAndClearLog();
  music.toggleMusic();
  EXPECT_EQ(music.musicOn, 0);
  music.switchMusic(2);
  music.switchMusic(99);
  music.toggleMusic();
  EXPECT_EQ(music.musicOn, 1);
  const Log expected = {"stopStream(1)", "playStream(0, 2)", "setVolume(0, 100)"};
  EXPECT_EQ(library.log(), expected);
}

TEST_F(MusicCalls, TitleMusicWithMusicOffStaysSilentUntilF2) {
  startAndClearLog();
  music.switchMusic(3);
  music.toggleMusic();  // off
  library.calls.clear();

  music.playTitleMusic();
  EXPECT_EQ(music.musicOn, 0);
  EXPECT_TRUE(library.log().empty());
  music.toggleMusic();
  music.toggleMusic();
  EXPECT_EQ(library.log(), (Log{"playStream(0, 1)", "setVolume(0, 100)", "stopStream(1)"}));
  EXPECT_EQ(music.musicOn, 0);
}

TEST_F(MusicCalls, StopSoundClosesOnlyTheCurrentStreamAndFreesSamplesInOrder) {
  startAndClearLog();
  music.switchMusic(1);
  library.calls.clear();
  music.stopSound();
  const Log expected = {"stopStream(3)", "closeStream(3)", "freeSample(1)", "freeSample(2)",
                        "freeSample(3)", "freeSample(4)",  "freeSample(5)", "freeSample(6)",
                        "freeSample(7)", "close()"};
  EXPECT_EQ(library.log(), expected);
}

TEST_F(MusicCalls, StopSoundWithoutStartPassesEmptyHandles) {
  music.stopSound();
  Log expected = {"stopStream(0)", "closeStream(0)"};
  for (int i = 0; i < world::kSampleCount; ++i) expected.push_back("freeSample(0)");
  expected.push_back("close()");
  EXPECT_EQ(library.log(), expected);
}

TEST_F(MusicCalls, MissingMusicFileLeavesAnEmptyHandleThatIsPlayedUnchecked) {
  library.missingFiles = {"pack/level02.mp3", "media/fin.wav"};
  music.startSound(world::shippedPackLayout("", "pack"));
  EXPECT_EQ(music.levelStreams[1], 0);
  EXPECT_EQ(music.samples[3], 0);
  library.calls.clear();
  music.switchMusic(2);
  music.playSample(world::Sample::Fin);
  EXPECT_EQ(library.log(),
            (Log{"stopStream(1)", "playStream(0, 0)", "setVolume(0, 100)", "playSample(0)"}));
}

TEST_F(MusicCalls, LongPackNamesReachTheLibraryWhole) {
  const std::string pack(70, 'p');
  music.startSound(world::shippedPackLayout("", pack));
  const auto opened = library.callsOf(SoundCallKind::OpenStream);
  ASSERT_EQ(opened.size(), 5u);
  EXPECT_EQ(opened[2].fileName, pack + "/level01.mp3");
  EXPECT_EQ(opened[4].fileName, pack + "/level03.mp3");
}

TEST_F(MusicCalls, EffectsPlayTheirOwnLoadedSample) {
  library.missingFiles = {"media/button01.wav"};  // shifts every later handle by one
  startAndClearLog();
  music.playSample(world::Sample::Stick);
  music.playSample(world::Sample::Explode);
  music.playSample(world::Sample::Button);
  EXPECT_EQ(library.log(), (Log{"playSample(5)", "playSample(6)", "playSample(0)"}));
}

TEST_F(MusicCalls, GameWithSoundDisabledRequestsNothing) {
  world::GameState game(&music, &messages);
  game.options.soundEnabled = 0;
  for (int i = 0; i < world::kSampleCount; ++i) game.playSample(static_cast<world::Sample>(i));
  EXPECT_TRUE(library.calls.empty());

  game.options.soundEnabled = 1;
  game.playSample(world::Sample::Run);
  EXPECT_EQ(library.log(), (Log{"playSample(0)"}));
}

}  // namespace
}  // namespace mdx::sound
