// Replays: the text format read and written, bad replay files refused with a clear message,
// a recorded session played back to the same state, and a stored replay whose states must
// match its reference step by step (set MDX_UPDATE_REPLAYS=1 to rewrite it on purpose).
#include "app/replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/replay_reference.h"
#include "game_harness.h"

namespace mdx::app::testing {
namespace {

using namespace mdx::world;

const std::string kDataDir = std::string(MDX_SOURCE_DIR) + "/tests/app/data/";

std::string parseError(const std::string& text) {
  std::istringstream in(text);
  std::string error;
  EXPECT_FALSE(readReplay(in, error).has_value()) << text;
  return error;
}

// The replay as a file would hold it: written out and read back (nothing when it does not read).
std::optional<Replay> writtenAndReadBack(const Replay& replay) {
  std::stringstream text;
  writeReplay(text, replay);
  std::string error;
  std::optional<Replay> back = readReplay(text, error);
  EXPECT_TRUE(back.has_value()) << error;
  return back;
}

TEST(ReplayFormat, BadFilesAreRefusedWithTheLineNamed) {
  const std::string head = "marvolen-replay 2\nstart 5\n";
  EXPECT_EQ(parseError(""), "replay is empty");
  EXPECT_EQ(parseError("frame 10\n"),
            "replay line 1: not a replay: the first line must be 'marvolen-replay 2'");
  EXPECT_EQ(parseError("marvolen-replay 3\nstart 5\n"),
            "replay line 1: the replay is of format version 3; this program reads versions 1 "
            "to 2");
  EXPECT_EQ(parseError("marvolen-replay 2\n# nothing\n"), "replay has no start line");
  EXPECT_EQ(parseError("marvolen-replay 2\nframe 5\n"),
            "replay line 2: the replay must begin with a start line");
  EXPECT_EQ(parseError(head + "start 6\n"), "replay line 3: only one start line");
  EXPECT_EQ(parseError(head + "jump 7\n"), "replay line 3: unknown word 'jump'");
  EXPECT_EQ(parseError(head + "windowed 2\n"), "replay line 3: windowed must be 0 or 1");
  EXPECT_EQ(parseError(head + "timers fast\n"),
            "replay line 3: timers must be catch-up or frame-bound");
  EXPECT_EQ(parseError("marvolen-replay 1\nstart 5\ntimers catch-up\n"),
            "replay line 3: unknown word 'timers'");
  EXPECT_EQ(parseError(head + "packhash 12ab\n"),
            "replay line 3: packhash must be 16 lower-case hex digits");
  EXPECT_EQ(parseError(head + "level 100\n"), "replay line 3: level must be 0 to 99");
  for (const char* line : {"record 0\n", "record 99\n", "record\n", "record x\n"}) {
    EXPECT_EQ(parseError(head + line), "replay line 3: record must be 1 to 98") << line;
  }
  EXPECT_EQ(parseError(head + "version\n"), "replay line 3: version needs a value");
  const std::string badStep =
      "expected tick counts (digits, comma-separated; - for none) and two-digit hex key codes";
  for (const char* line :
       {"frame\n", "frame -4\n", "frame 4294967296\n", "frame 7,,8\n", "frame 7 3\n",
        "frame 7 zz\n", "frame 7 139\n", "draw\n", "escape\n", "window x\n"}) {
    EXPECT_EQ(parseError(head + line), "replay line 3: " + badStep) << line;
  }
  EXPECT_EQ(parseError("marvolen-replay 2\nstart 5 39\n"), "replay line 2: " + badStep);
}

// Every call's line has one shape: calls that read no clock (a repaint, a mode switch) and the
// Escape's reading (it holds the level's timers) come back as written.
TEST(ReplayFormat, WrittenReplayReadsBackUnchanged) {
  Replay replay;
  replay.version = "1.0";
  replay.packName = "somepack";
  replay.packHash = "0123456789abcdef";
  replay.startLevel = 7;
  replay.record = 12;
  replay.windowed = 0;
  replay.timerRule = TimerRule::FrameBound;
  replay.steps = {
      {ReplayEvent::Start, {1, 2, 3}, {}}, {ReplayEvent::Frame, {4294967295u}, {0x39, 0xd0}},
      {ReplayEvent::Escape, {17}, {}},     {ReplayEvent::ToWindow, {}, {}},
      {ReplayEvent::ToFullScreen, {}, {}}, {ReplayEvent::Draw, {9}, {0x01}},
      {ReplayEvent::Draw, {}, {0x39}},     {ReplayEvent::Frame, {}, {}}};
  for (TimerRule rule : {TimerRule::FrameBound, TimerRule::CatchUp}) {
    replay.timerRule = rule;
    const std::optional<Replay> back = writtenAndReadBack(replay);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->version, "1.0");
    EXPECT_EQ(back->packName, "somepack");
    EXPECT_EQ(back->packHash, "0123456789abcdef");
    EXPECT_EQ(back->startLevel, 7);
    EXPECT_EQ(back->record, 12);
    EXPECT_EQ(back->windowed, 0);
    EXPECT_EQ(back->timerRule, rule);
    ASSERT_EQ(back->steps.size(), replay.steps.size());
    for (size_t i = 0; i < replay.steps.size(); ++i) {
      EXPECT_EQ(back->steps[i].event, replay.steps[i].event) << i;
      EXPECT_EQ(back->steps[i].readings, replay.steps[i].readings) << i;
      EXPECT_EQ(back->steps[i].keysDown, replay.steps[i].keysDown) << i;
    }
  }
}

// Files of the first format still read: they ran on the frame-bound timers, their bare escape
// and mode lines carry nothing, and a bare draw line read no clock.
TEST(ReplayFormat, FirstFormatFilesReadWithTheFrameBoundRule) {
  std::istringstream in("marvolen-replay 1\nstart 5\nframe 20 39\nescape 30\ndraw\nwindow\n");
  std::string error;
  const std::optional<Replay> replay = readReplay(in, error);
  ASSERT_TRUE(replay.has_value()) << error;
  EXPECT_EQ(replay->timerRule, TimerRule::FrameBound);
  ASSERT_EQ(replay->steps.size(), 5u);
  EXPECT_EQ(replay->steps[1].keysDown, std::vector<uint8_t>{0x39});
  EXPECT_TRUE(replay->steps[2].readings.empty());
  EXPECT_EQ(replay->steps[3].event, ReplayEvent::Draw);
  EXPECT_TRUE(replay->steps[3].readings.empty());
  std::istringstream current("marvolen-replay 2\nstart 5\n");
  EXPECT_EQ(readReplay(current, error)->timerRule, TimerRule::CatchUp);
}

// A game whose session is being recorded, on a virtual clock and scripted keys, in the
// pack "pack" of the fixture's folder.
struct RecordedSession {
  VirtualClock clock{5000};
  ScriptedKeySource keys;
  ReplayRecorder recorder{clock, keys};
  CountingPresenter presenter;
  RecordingWindow window;
  Game game{recorder.clock(), recorder.keys(), presenter, window, nullptr, nullptr};

  explicit RecordedSession(const GameFolder& folder) {
    game.state.pack = folder.pack();
    game.state.options.packName = recorder.replay.packName = "pack";
    game.state.options.windowed = recorder.replay.windowed;
  }
  void frame(int milliseconds) {
    clock.advance(milliseconds);
    recorder.begin(ReplayEvent::Frame);
    game.runFrame();
  }
};

class ReplayRun : public ::testing::Test {
 protected:
  void SetUp() override {
    LevelPlan first = exitLevel();
    first.pieceCount = 1;
    first.pieceTypes[0] = 2;
    folder.writeLevel(1, first);
    folder.writeLevel(2, bombLevel());
  }
  GameFolder folder{2};
  const std::string packFolder = folder.pack().packFolder;
};

TEST_F(ReplayRun, RecordedSessionPlaysBackToTheSameState) {
  RecordedSession session{folder};
  ScriptedKeySource& keys = session.keys;
  Game& game = session.game;
  session.recorder.begin(ReplayEvent::Start);
  game.startUp();
  // A session with uneven frame times, a failed keyboard read and an Escape.
  const std::vector<std::pair<uint8_t, int>> script = {
      {DIK_SPACE, 3}, {DIK_RETURN, 7}, {DIK_LEFT, 2}, {0, 40}, {DIK_DOWN, 1}, {0, 300}};
  for (const auto& [key, frames] : script) {
    for (int i = 0; i < frames; ++i) {
      if (key != 0) keys.press(key);
      if (i == frames - 1) keys.releaseAll();
      keys.failReads = i == 20 ? 1 : 0;
      session.frame(7 + 13 * (i % 3));
    }
  }
  session.recorder.begin(ReplayEvent::Escape);
  game.escapeReleased();
  ASSERT_EQ(game.state.keys.quitPrompt, 1);

  const std::optional<Replay> replay = writtenAndReadBack(session.recorder.replay);
  ASSERT_TRUE(replay.has_value());
  const ReplayResult result = runReplay(*replay, folder.pack());
  EXPECT_EQ(stateDigest(result.state), stateDigest(game.state));
  EXPECT_EQ(result.state.progress.levelNumber, game.state.progress.levelNumber);
  EXPECT_EQ(result.state.world.robotColumn, game.state.world.robotColumn);
  // The digest does see a difference of one cell.
  world::GameState changed = game.state;
  changed.world.blockLayer[500] += 1;
  EXPECT_NE(stateDigest(changed), stateDigest(game.state));
}

// The hint changes only what is drawn: a session that asked for hints replays to the same
// state, the hint key recorded like any other.
TEST_F(ReplayRun, ASessionWithHintsReplaysAlike) {
  folder.writeLevel(1, holeLevel());
  RecordedSession session{folder};
  Game& game = session.game;
  ImmediateHintSearch search{60.0};  // the budget is the benchmark's business
  game.useHintSearch(search);
  session.recorder.begin(ReplayEvent::Start);
  game.startUp();
  const auto tap = [&session](uint8_t key) {
    session.keys.press(key);
    session.frame(16);
    session.keys.releaseAll();
    session.frame(16);
  };
  for (uint8_t key : {DIK_SPACE, DIK_H, DIK_SPACE, DIK_H}) tap(key);
  ASSERT_TRUE(game.state.hint.ghost) << game.state.hint.line;
  while (game.state.pieces.pieceColumn > game.state.hint.column) tap(DIK_LEFT);
  tap(DIK_DOWN);
  for (int i = 0; i < 800; ++i) session.frame(16);  // the walk, then the exit sequence
  ASSERT_EQ(game.state.progress.levelNumber, 2);

  const std::optional<Replay> replay = writtenAndReadBack(session.recorder.replay);
  ASSERT_TRUE(replay.has_value());
  int hintPresses = 0;
  for (const ReplayStep& step : replay->steps) {
    hintPresses += static_cast<int>(std::count(step.keysDown.begin(), step.keysDown.end(), DIK_H));
  }
  EXPECT_EQ(hintPresses, 2);
  const ReplayResult result = runReplay(*replay, folder.pack());
  EXPECT_EQ(result.state.progress.levelNumber, 2);
  EXPECT_EQ(stateDigest(result.state), stateDigest(game.state));
}

// The title's level choice reaches as far as the player's saved record. A replay carries the
// record its session began with, so a choice of level 3 plays the same with no progress file;
// a replay from before records were kept plays with none, as it always did.
TEST_F(ReplayRun, TitleLevelChoiceReplaysWithTheRecordedRecord) {
  folder.writeLevel(3, exitLevel());
  std::ofstream(folder.root / "pack" / "pref.ini") << "levels\n3\n";
  RecordedSession session{folder};
  Game& game = session.game;
  ProgressFile saved("", [](const std::string&) {});
  saved.reach("pack", 3, 3);  // this player has reached level 3
  connectProgress(game, saved);
  session.recorder.beginSession(game.state, game.timers.rule);
  game.startUp();
  for (uint8_t key : {DIK_LEFT, DIK_RIGHT, DIK_RETURN}) {  // 3, down to 2, up to 3, start
    for (bool down : {true, false}) {
      if (down) session.keys.press(key);
      if (!down) session.keys.releaseAll();
      session.frame(16);
    }
  }
  ASSERT_EQ(game.state.progress.levelNumber, 3);
  ASSERT_EQ(game.state.progress.gameState, StateReady);

  const std::optional<Replay> replay = writtenAndReadBack(session.recorder.replay);
  ASSERT_TRUE(replay.has_value());
  EXPECT_EQ(replay->record, 3);
  const ReplayResult result = runReplay(*replay, folder.pack());
  EXPECT_EQ(result.state.progress.levelNumber, 3);
  EXPECT_EQ(stateDigest(result.state), stateDigest(game.state));

  Replay older = *replay;
  older.record.reset();
  EXPECT_EQ(runReplay(older, folder.pack()).state.progress.levelNumber, 1);
}

TEST_F(ReplayRun, StoredReplayPassesThroughItsReferenceStates) {
  std::ifstream in(kDataDir + "steer_and_walk.replay");
  std::string error;
  const std::optional<Replay> replay = readReplay(in, error);
  ASSERT_TRUE(replay.has_value()) << error;
  const std::string referencePath = kDataDir + "steer_and_walk.states.jsonl";
  if (std::getenv("MDX_UPDATE_REPLAYS") != nullptr) {
    std::ofstream out(referencePath);
    writeReplayReference(*replay, folder.pack(), out);
  }
  std::ifstream reference(referencePath);
  const std::optional<std::string> failure =
      checkReplayReference(*replay, folder.pack(), reference);
  EXPECT_FALSE(failure.has_value())
      << *failure << "\nif the game's rules changed on purpose, rerun with MDX_UPDATE_REPLAYS=1";
}

// A reference that differs is reported by step and field, floats pass within a tolerance, and
// a reference that is cut short or runs on is refused.
TEST_F(ReplayRun, ReferenceNamesTheFirstStepAndFieldThatDiffer) {
  std::istringstream in("marvolen-replay 2\npack pack\nstart 0\nframe 10 39\nframe 20\n");
  std::string error;
  const Replay replay = *readReplay(in, error);
  std::stringstream written;
  writeReplayReference(replay, folder.pack(), written);
  std::vector<std::string> lines;
  for (std::string line; std::getline(written, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  auto check = [&replay, this](const std::vector<std::string>& reference) {
    std::string text;
    for (const std::string& line : reference) text += line + "\n";
    std::istringstream stream(text);
    return checkReplayReference(replay, folder.pack(), stream);
  };
  EXPECT_FALSE(check(lines).has_value());

  std::vector<std::string> changed = lines;
  changed[1].insert(changed[1].size() - 1, ",\"levelNumber\":7");
  EXPECT_EQ(check(changed).value_or(""), "step 1, field levelNumber: expected 7, got 1");

  changed = lines;  // a float a hair off still matches; a clear difference does not
  changed[2].insert(changed[2].size() - 1, ",\"landscapeClock\":45.0000001");
  EXPECT_FALSE(check(changed).has_value());
  changed[2].insert(changed[2].size() - 1, ",\"robotScale\":1.5");
  EXPECT_EQ(check(changed).value_or("").rfind("step 2, field robotScale: expected 1.5", 0), 0u);

  EXPECT_EQ(check({lines[0], lines[1]}).value_or(""),
            "step 2: the reference ends before the replay");
  EXPECT_NE(check({lines[0], lines[1], lines[2], lines[2]}), std::nullopt);
  EXPECT_NE(check({lines[0], lines[2], lines[1]}), std::nullopt);
  EXPECT_EQ(check({lines[0], "{\"step\":1,\"nosuch\":1}", lines[2]}).value_or(""),
            "reference line 2: unknown field nosuch");
}

// A replay made with other level files or another version is refused, naming which.
TEST_F(ReplayRun, OtherPackFilesOrVersionAreRefused) {
  Replay replay;
  replay.packName = "pack";
  EXPECT_EQ(replayMismatch(replay, packFolder), "");  // nothing recorded, nothing checked
  replay.version = programVersion();
  replay.packHash = packLevelsHash(packFolder);
  EXPECT_EQ(replayMismatch(replay, packFolder), "");
  EXPECT_EQ(packLevelsHash(packFolder), replay.packHash);  // the same files hash the same

  folder.writeLevel(2, exitLevel());
  EXPECT_EQ(replayMismatch(replay, packFolder),
            "the level files of pack 'pack' differ from those the replay was recorded with");
  replay.packHash = packLevelsHash(packFolder);
  std::ofstream(folder.pack().prefPath()) << "levels\n9\n";  // not a level file: the hash keeps
  EXPECT_EQ(replayMismatch(replay, packFolder), "");
  replay.version = "0.1";
  EXPECT_EQ(replayMismatch(replay, packFolder),
            "the replay was recorded by version 0.1; this is version " + programVersion());
}

// A recording is saved whole with its version and level-file hash, plays back from its start
// level, and a file that cannot be written is named.
TEST_F(ReplayRun, SavedRecordingCarriesItsOriginAndStartLevel) {
  Replay session;
  session.packName = "pack";
  session.startLevel = 2;
  session.steps = {{ReplayEvent::Start, {0}, {}}, {ReplayEvent::Frame, {10}, {}}};
  const std::string path = (folder.root / "session.replay").string();
  ASSERT_EQ(saveRecording(session, path, packFolder), "");
  std::ifstream in(path);
  std::string error;
  const std::optional<Replay> saved = readReplay(in, error);
  ASSERT_TRUE(saved.has_value()) << error;
  EXPECT_EQ(saved->version, programVersion());
  EXPECT_EQ(saved->packHash, packLevelsHash(packFolder));
  EXPECT_EQ(replayMismatch(*saved, packFolder), "");
  const ReplayResult result = runReplay(*saved, folder.pack());
  EXPECT_EQ(result.state.progress.levelNumber, 2);
  EXPECT_EQ(result.state.progress.gameState, StateReady);
  const std::string plainFile = (folder.root / "plain-file").string();
  std::ofstream(plainFile) << "x";
  EXPECT_EQ(saveRecording(session, plainFile + "/session.replay", packFolder)
                .rfind("cannot write the replay " + plainFile + "/session.replay: ", 0),
            0u);
}

TEST_F(ReplayRun, QuitChoiceEndsTheReplayEarly) {
  std::istringstream in(
      "marvolen-replay 2\npack pack\nstart 0\nframe 10 d0\nframe 20\n"
      "frame 30 39\nframe 40\nframe 50\nframe 60\n");
  std::string error;
  const ReplayResult result = runReplay(*readReplay(in, error), folder.pack());
  EXPECT_TRUE(result.windowDestroyed);
  EXPECT_EQ(result.stepsRun, 5);
}

}  // namespace
}  // namespace mdx::app::testing
