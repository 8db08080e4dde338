// What the game asks of the sound library: the music of new games, next levels and the
// ending, F2 and Q, no music change on restarts, the effects of keys and the timed drop,
// and silence when sound is disabled.
#include <gtest/gtest.h>

#include "game_harness.h"
#include "sound/recording_sound_library.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;
using sound::RecordingSoundLibrary;

// Stream handles the recording library hands out, in the order the music opens them.
constexpr int kTitle = 1, kEnd = 2, kLevel1 = 3, kLevel2 = 4;
// Sample handles follow the effects' load order.
constexpr int kButtonSample = 1, kMoveSample = 5;

class MusicCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    LevelPlan first = exitLevel();
    first.levelMusic = 1;
    LevelPlan second = pillarLevel();
    second.levelMusic = 2;
    folder.writeLevel(1, first);
    folder.writeLevel(2, second);
  }
  // The calls made since the last look.
  std::vector<std::string> newCalls() {
    std::vector<std::string> all = library.log();
    std::vector<std::string> fresh(all.begin() + static_cast<long>(seen), all.end());
    seen = all.size();
    return fresh;
  }
  // The music calls made since the last look, without the effects.
  std::vector<std::string> newMusicCalls() {
    std::vector<std::string> music;
    for (const std::string& call : newCalls()) {
      if (call.rfind("playSample", 0) != 0) music.push_back(call);
    }
    return music;
  }
  std::vector<std::string> restart(int stream) {
    return {"playStream(0, " + std::to_string(stream) + ")", "setVolume(0, 100)"};
  }
  // Runs 10 ms frames until the state changes.
  void runUntilStateChanges() {
    const int32_t before = h.gameState();
    for (int i = 0; i < 2000 && h.gameState() == before; ++i) h.frame(10);
  }

  GameFolder folder{2};
  RecordingSoundLibrary library;
  sound::Music music{library, nullptr};
  Harness h{&folder, &music};
  size_t seen = 0;
};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(MusicCommands, StartUpPlaysTitleMusicOnAFreeChannel) {
  const std::vector<std::string> calls = newCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "playStream(-1, 1)");
  EXPECT_EQ(calls.back(), "setVolume(-3, 100)");
}

// A song that cannot be opened stays silent, and the player is told so once, in the game.
TEST_F(MusicCommands, UnplayableSongsAreToldInTheGame) {
  EXPECT_EQ(h.game.state.scene.notices, "");
  RecordingSoundLibrary broken;
  broken.missingFiles = {folder.pack().songPath(2)};
  sound::Music oneMissing{broken, nullptr};
  Harness one{&folder, &oneMissing};
  EXPECT_EQ(one.game.state.scene.notices, "Song missing or broken: level02.mp3\n");
  broken.missingFiles.insert(folder.pack().titleSongPath());
  sound::Music twoMissing{broken, nullptr};
  Harness two{&folder, &twoMissing};
  EXPECT_EQ(two.game.state.scene.notices, "2 songs missing or broken: no music there\n");
}

TEST_F(MusicCommands, NewGameNextLevelAndEndingSwitchMusic) {
  newCalls();
  h.tap(DIK_SPACE);
  EXPECT_EQ(newCalls(), concat({"stopStream(1)"}, restart(kLevel1)));
  h.tap(DIK_SPACE);
  runUntilStateChanges();  // the exit sequence ends: level 2
  ASSERT_EQ(h.game.state.progress.levelNumber, 2);
  EXPECT_EQ(newMusicCalls(), concat({"stopStream(3)"}, restart(kLevel2)));
  folder.writeLevel(2, exitLevel());
  h.tap(DIK_R);
  h.tap(DIK_SPACE);
  runUntilStateChanges();
  ASSERT_EQ(h.gameState(), StateEnding);
  // The level file's music 1 is overruled by the ending's own.
  EXPECT_EQ(newMusicCalls(), concat({"stopStream(4)"}, restart(kEnd)));
}

TEST_F(MusicCommands, RestartsKeepTheMusic) {
  folder.writeLevel(1, bombLevel());
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  newCalls();
  h.tap(DIK_R);
  EXPECT_TRUE(newCalls().empty());
  h.tap(DIK_SPACE);
  runUntilStateChanges();  // blown up, flown off, restarted
  ASSERT_EQ(h.gameState(), StateReady);
  EXPECT_TRUE(newMusicCalls().empty());
}

TEST_F(MusicCommands, F2TogglesMusicAndTurningOffSwallowsSpace) {
  newCalls();
  h.keys.press(DIK_F2);
  h.keys.press(DIK_SPACE);
  h.frame();
  h.keys.releaseAll();
  h.frame();
  EXPECT_EQ(newCalls(), std::vector<std::string>{"stopStream(1)"});
  EXPECT_EQ(music.musicOn, 0);
  EXPECT_EQ(h.gameState(), StateTitle);  // Space did not start a game in that poll
  h.tap(DIK_SPACE);  // a level change with the music off changes nothing audible
  EXPECT_TRUE(newCalls().empty());
  h.tap(DIK_F2);  // the music comes back with the music of where the player is
  EXPECT_EQ(newCalls(), restart(kLevel1));
  EXPECT_EQ(music.musicOn, 1);
}

TEST_F(MusicCommands, QWithTheMusicOffLeavesItOff) {
  h.tap(DIK_SPACE);
  h.tap(DIK_F2);
  newCalls();
  h.game.escapeReleased();
  h.tap(DIK_Q);  // back to the title with the music off: it stays off
  EXPECT_TRUE(newCalls().empty());
  EXPECT_EQ(music.musicOn, 0);
  h.tap(DIK_F2);
  EXPECT_EQ(newCalls(), restart(kTitle));
  h.tap(DIK_SPACE);  // with the music on, Q plays the title music again
  h.game.escapeReleased();
  newCalls();
  h.tap(DIK_Q);
  EXPECT_EQ(newCalls(), concat({"stopStream(3)"}, restart(kTitle)));
}

TEST_F(MusicCommands, TitleKeysAndTimedDropPlayEffects) {
  newCalls();
  h.tap(DIK_DOWN);
  h.tap(DIK_UP);
  const std::string button = "playSample(" + std::to_string(kButtonSample) + ")";
  EXPECT_EQ(newCalls(), (std::vector<std::string>{button, button}));
  folder.writeLevel(1, pillarLevel());
  h.tap(DIK_SPACE);
  h.tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), StateDropping);
  newCalls();
  h.run(610);
  EXPECT_EQ(newCalls(),
            std::vector<std::string>{"playSample(" + std::to_string(kMoveSample) + ")"});
  h.tap(DIK_DOWN);  // the fast drop is silent
  h.frame();
  EXPECT_TRUE(newCalls().empty());
}

TEST(SoundDisabled, NoSoundCallAtAll) {
  GameFolder folder{1};
  folder.writeLevel(1, exitLevel());
  RecordingSoundLibrary library;
  sound::Music music{library, nullptr};
  Harness h{&folder, &music, false};
  for (uint8_t key : {DIK_DOWN, DIK_UP, DIK_F2, DIK_SPACE, DIK_SPACE, DIK_F2}) h.tap(key);
  h.run(8000);
  h.game.escapeReleased();
  h.tap(DIK_Q);
  EXPECT_EQ(h.gameState(), StateTitle);
  EXPECT_TRUE(library.calls.empty());
}

TEST(SoundStartUp, NoDeviceSaysSoOnceAndTheGamePlaysOnSilent) {
  GameFolder folder{1};
  folder.writeLevel(1, exitLevel());
  RecordingSoundLibrary library;
  library.failInit = true;
  world::RecordingMessageBoxes boxes;
  sound::Music music{library, &boxes};
  Harness h{&folder, &music};
  EXPECT_EQ(h.window.destroyed, 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, sound::kNoSoundMessage);
  const size_t calls = library.calls.size();
  for (uint8_t key : {DIK_DOWN, DIK_UP, DIK_F2, DIK_SPACE, DIK_SPACE}) h.tap(key);
  EXPECT_EQ(h.gameState(), StateRunning);
  h.run(1000);
  EXPECT_EQ(library.calls.size(), calls);  // nothing more asked of the missing device
  EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace mdx::app::testing
