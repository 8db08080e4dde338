#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/sdl_event_loop.h"

namespace mdx::app {
namespace {

SDL_Event windowEvent(SDL_WindowEventID id) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = id;
  return e;
}

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event quitEvent() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  return e;
}

// A scripted event queue. wait() takes the next event like poll() and counts the sleeps.
struct ScriptedEvents : EventSource {
  bool poll(SDL_Event& event) override {
    if (queue.empty()) return false;
    event = queue.front();
    queue.pop_front();
    return true;
  }
  bool wait(SDL_Event& event) override {
    ++waits;
    return poll(event);
  }
  std::deque<SDL_Event> queue;
  int waits = 0;
};

// Destroying the window queues the quit event, as the real window does.
struct QueueingWindow : WindowControl {
  explicit QueueingWindow(ScriptedEvents& events) : events(events) {}
  void destroyWindow() override {
    ++destroyed;
    events.queue.push_back(quitEvent());
  }
  ScriptedEvents& events;
  int destroyed = 0;
};

// Ends the loop after a number of drawn pictures by queueing the quit event; a script may
// act at each picture (move the clock, press keys, queue events).
struct StoppingPresenter : ScenePresenter {
  explicit StoppingPresenter(ScriptedEvents& events) : events(events) {}
  void present(const world::GameState&) override {
    if (++frames == stopAfter) events.queue.push_back(quitEvent());
    if (eachPicture) eachPicture(frames);
  }
  ScriptedEvents& events;
  int frames = 0;
  int stopAfter = 1000;
  std::function<void(int picture)> eachPicture;
};

SDL_Event mouseMotion() {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  return e;
}

class ShellWindow : public ::testing::Test {
 protected:
  ShellWindow() {
    game.state.options.windowed = 1;
    game.startUp();
    game.windowActive = 1;
  }
  VirtualClock clock{5000};
  ScriptedKeySource keys;
  ScriptedEvents events;
  StoppingPresenter presenter{events};
  QueueingWindow window{events};
  Game game{clock, keys, presenter, window, nullptr, nullptr};
  EventLoop loop{game, events, window};
};

TEST_F(ShellWindow, EscapeReleasedOnTheTitleEndsTheProgram) {
  loop.handle(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
  EXPECT_EQ(window.destroyed, 0);  // pressing is not enough
  loop.handle(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
  EXPECT_EQ(window.destroyed, 1);
  loop.run();
  EXPECT_TRUE(loop.quit);
}

TEST_F(ShellWindow, EscapeDuringPlayTogglesTheQuitPrompt) {
  game.state.progress.gameState = world::StateReady;
  loop.handle(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
  EXPECT_EQ(game.state.keys.quitPrompt, 1);
  loop.handle(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
  EXPECT_EQ(game.state.keys.quitPrompt, 0);
  EXPECT_EQ(window.destroyed, 0);
}

TEST_F(ShellWindow, KeyEventsAreDroppedWhileTheWindowIsInactive) {
  loop.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  EXPECT_EQ(game.windowActive, 0);
  loop.handle(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
  EXPECT_EQ(window.destroyed, 0);
  loop.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  EXPECT_EQ(game.windowActive, 1);
}

TEST_F(ShellWindow, MinimiseStopsAndRestoreResumesTheGame) {
  loop.handle(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
  EXPECT_EQ(game.windowActive, 0);
  loop.handle(windowEvent(SDL_WINDOWEVENT_RESTORED));
  EXPECT_EQ(game.windowActive, 1);
  loop.handle(windowEvent(SDL_WINDOWEVENT_HIDDEN));
  EXPECT_EQ(game.windowActive, 0);
  loop.handle(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
  EXPECT_EQ(game.windowActive, 1);
}

// A window dragged to a new size sends a size change per step: the next frame repaints it,
// with its timers, instead of a picture of its own per event.
TEST_F(ShellWindow, SizeChangesAreRepaintedByTheNextFrame) {
  game.redrawReady = 1;
  int repaints = 0;
  loop.onWindowEvent = [&repaints] { ++repaints; };
  for (int i = 0; i < 30; ++i) events.queue.push_back(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
  presenter.stopAfter = 1;
  loop.run();
  EXPECT_EQ(repaints, 30);         // each asked for a full picture...
  EXPECT_EQ(presenter.frames, 1);  // ...which one frame drew
  EXPECT_EQ(loop.framesRun, 1);
}

TEST_F(ShellWindow, TheCloseButtonDestroysTheWindowAndEndsTheLoop) {
  events.queue.push_back(windowEvent(SDL_WINDOWEVENT_CLOSE));
  loop.run();
  EXPECT_EQ(window.destroyed, 1);
  EXPECT_TRUE(loop.quit);
}

TEST_F(ShellWindow, FramesRunOnlyWhenNoEventWaitsInAWindow) {
  events.queue = {keyEvent(SDL_KEYDOWN, SDLK_a), keyEvent(SDL_KEYUP, SDLK_a)};
  presenter.stopAfter = 3;
  loop.run();
  // Both events are taken before the first frame; then three frames, then the quit.
  EXPECT_EQ(presenter.frames, 3);
  EXPECT_EQ(loop.framesRun, 3);
}

// A browser calls one turn per animation frame: it never sleeps, runs one frame after the
// waiting events, and none once the window went inactive or the quit came.
TEST_F(ShellWindow, OneTurnTakesTheWaitingEventsThenRunsOneFrameWithoutWaiting) {
  events.queue = {keyEvent(SDL_KEYDOWN, SDLK_a), keyEvent(SDL_KEYUP, SDLK_a)};
  loop.runOnce();
  EXPECT_TRUE(events.queue.empty());
  EXPECT_EQ(loop.framesRun, 1);
  EXPECT_EQ(presenter.frames, 1);

  events.queue = {windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)};
  loop.runOnce();
  loop.runOnce();
  EXPECT_EQ(loop.framesRun, 1);
  EXPECT_EQ(events.waits, 0);

  events.queue = {windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), quitEvent()};
  loop.runOnce();
  EXPECT_TRUE(loop.quit);
  EXPECT_EQ(loop.framesRun, 1);
}

// In full screen as in a window, the waiting events are taken and then one frame runs with
// its timers; an endless storm of events still lets a frame through every so many events.
TEST_F(ShellWindow, EventsNeverHoldBackTheFramesAndTheirTimers) {
  for (uint8_t windowed : {0, 1}) {
    game.state.options.windowed = windowed;
    events.queue = {keyEvent(SDL_KEYDOWN, SDLK_a), keyEvent(SDL_KEYUP, SDLK_a),
                    windowEvent(SDL_WINDOWEVENT_MOVED)};
    presenter.frames = 0;
    presenter.stopAfter = 2;
    loop.quit = false;
    loop.framesRun = 0;
    loop.run();
    EXPECT_EQ(presenter.frames, 2);
    EXPECT_EQ(loop.framesRun, 2);  // every picture is a whole frame
  }

  // A mouse moved without pause: a stream of motion events that never runs dry, with the
  // clock moving 1 ms per event taken.
  game.state.options.windowed = 0;
  presenter.frames = 0;
  presenter.stopAfter = 50;
  loop.quit = false;
  const float waveBefore = game.state.scene.waveClock;
  struct Storm : ScriptedEvents {
    bool poll(SDL_Event& event) override {
      if (!queue.empty()) return ScriptedEvents::poll(event);
      clock->advance(1);
      event = mouseMotion();
      return true;
    }
    VirtualClock* clock = nullptr;
  } storm;
  storm.clock = &clock;
  presenter.eachPicture = [&storm, this](int) {
    storm.queue = events.queue;
    events.queue.clear();
  };
  EventLoop stormLoop{game, storm, window};
  stormLoop.run();
  EXPECT_EQ(stormLoop.framesRun, 50);
  // 50 frames of 64 events (and milliseconds) each: the 30 ms animation ran for all of them.
  EXPECT_NEAR((game.state.scene.waveClock - waveBefore) / 0.25f, 50 * kMaxEventsPerFrame / 30, 1);
}

TEST_F(ShellWindow, AnInactiveWindowSleepsAndRunsTimersOnceWhenBack) {
  game.state.progress.gameState = world::StateReady;
  loop.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  clock.advance(60000);  // a long time away
  const world::Scene before = game.state.scene;
  events.queue = {windowEvent(SDL_WINDOWEVENT_MOVED), windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)};
  presenter.stopAfter = 1;
  loop.run();
  EXPECT_EQ(events.waits, 2);  // slept for both events, ran nothing in between
  EXPECT_EQ(loop.framesRun, 1);
  // One frame: each animation timer ran exactly once.
  EXPECT_FLOAT_EQ(game.state.scene.waveClock, before.waveClock + 0.25f);
  EXPECT_EQ(game.state.scene.blinkPhase, before.blinkPhase ? 0 : 1);
}

TEST_F(ShellWindow, AltEnterSwitchesModeOnlyWhenTheSwitchWorks) {
  bool works = false;
  int asked = 0;
  loop.switchFullScreen = [&](bool toFullScreen) {
    ++asked;
    EXPECT_EQ(toFullScreen, game.state.options.windowed == 1);
    return works;
  };
  loop.handle(keyEvent(SDL_KEYDOWN, SDLK_RETURN));  // Enter alone is a game key
  EXPECT_EQ(asked, 0);
  loop.handle(keyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(game.state.options.windowed, 1);
  works = true;
  loop.handle(keyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT));
  EXPECT_EQ(game.state.options.windowed, 0);
  loop.handle(keyEvent(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_LALT));
  EXPECT_EQ(game.state.options.windowed, 1);
}

TEST_F(ShellWindow, ADroppedFileIsHandedOnAndItsPathFreed) {
  // Each drop's path is SDL's allocation, which the loop frees (the sanitizer build's leak
  // check sees one it forgets), with a taker or without.
  SDL_Event drop{};
  drop.type = SDL_DROPFILE;
  drop.drop.file = SDL_strdup("/tmp/ignored.mdxpack");
  loop.handle(drop);
  std::vector<std::string> dropped;
  loop.onFileDropped = [&dropped](const std::string& path) { dropped.push_back(path); };
  drop.drop.file = SDL_strdup("/tmp/mine.mdxpack");
  loop.handle(drop);
  EXPECT_EQ(dropped, std::vector<std::string>{"/tmp/mine.mdxpack"});
  EXPECT_EQ(window.destroyed, 0);
  EXPECT_EQ(game.windowActive, 1);
}

}  // namespace
}  // namespace mdx::app

namespace mdx::app {
namespace {

// A session recorded through the loop replays to the same state: the focus lost for a minute
// (no frames, an Escape dropped meanwhile) and a switch to full screen, which the game state
// holds, are in the recording.
// The game in the loop, on a virtual clock and scripted keys and events, recorded from its
// start-up in the given window mode; mode switches always work.
struct RecordedLoop {
  explicit RecordedLoop(uint8_t windowed) {
    game.state.pack = world::shippedPackLayout(MDX_GAME_DIR, world::kDefaultPackName);
    loop.beforeGameCall = [this](ReplayEvent event) { recorder.begin(event); };
    loop.switchFullScreen = [](bool) { return true; };
    game.state.options.windowed = recorder.replay.windowed = windowed;
    recorder.beginSession(game.state, game.timers.rule);
    game.startUp();
    game.windowActive = 1;
  }
  VirtualClock clock{5000};
  ScriptedKeySource keys;
  ReplayRecorder recorder{clock, keys};
  ScriptedEvents events;
  StoppingPresenter presenter{events};
  QueueingWindow window{events};
  Game game{recorder.clock(), recorder.keys(), presenter, window, nullptr, nullptr};
  EventLoop loop{game, events, window};
};

TEST(ShellRecording, FocusChangesAndModeSwitchesReplayToTheSameState) {
  RecordedLoop session(1);
  VirtualClock& clock = session.clock;
  ReplayRecorder& recorder = session.recorder;
  Game& game = session.game;
  EventLoop& loop = session.loop;
  QueueingWindow& window = session.window;
  auto frames = [&](int count) {
    for (int i = 0; i < count; ++i) {
      clock.advance(16);
      recorder.begin(ReplayEvent::Frame);
      game.runFrame();
    }
  };
  frames(10);
  loop.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  clock.advance(60000);
  loop.handle(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
  loop.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  frames(10);
  loop.handle(keyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
  frames(70);
  ASSERT_EQ(window.destroyed, 0);
  ASSERT_EQ(game.state.options.windowed, 0);

  const ReplayResult result = runReplay(recorder.replay, game.state.pack);
  EXPECT_EQ(result.state.options.windowed, 0);
  EXPECT_EQ(stateDigest(result.state), stateDigest(game.state));
  EXPECT_FALSE(result.windowDestroyed);
}

// A session played through the loop in each window mode, with events between the frames, is
// recorded, written out and read back, and replays to the same state: level 1 started and
// played with keys, mouse motion, the window switched both ways, the quit prompt shown and
// hidden, a repaint after a size change and the focus lost and regained.
TEST(ShellRecording, EverySessionReplaysFromItsFile) {
  if (!std::filesystem::exists(
          world::shippedPackLayout(MDX_GAME_DIR, world::kDefaultPackName).levelPath(1))) {
    GTEST_SKIP() << "build the game folder first";
  }
  for (uint8_t startWindowed : {1, 0}) {
    RecordedLoop session(startWindowed);
    VirtualClock& clock = session.clock;
    ScriptedKeySource& keys = session.keys;
    ScriptedEvents& events = session.events;
    StoppingPresenter& presenter = session.presenter;
    presenter.stopAfter = 400;
    presenter.eachPicture = [&](int picture) {
      clock.advance(16 + picture % 2);
      if (picture % 5 == 0) events.queue.insert(events.queue.end(), 3, mouseMotion());
      const std::map<int, std::function<void()>> script = {
          {10, [&] { keys.press(DIK_SPACE); }},
          {12, [&] { keys.releaseAll(); }},
          {20, [&] { keys.press(DIK_RETURN); }},
          {21, [&] { keys.releaseAll(); }},
          {30, [&] { keys.press(DIK_RIGHT); }},
          {50, [&] { keys.releaseAll(); }},
          {60, [&] { events.queue.push_back(keyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT)); }},
          {90, [&] { events.queue.push_back(keyEvent(SDL_KEYUP, SDLK_ESCAPE)); }},
          {130, [&] { events.queue.push_back(keyEvent(SDL_KEYUP, SDLK_ESCAPE)); }},
          {140, [&] { keys.press(DIK_DOWN); }},
          {160, [&] { keys.releaseAll(); }},
          {170, [&] { events.queue.push_back(keyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT)); }},
          {250, [&] {
             events.queue.push_back(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
             events.queue.push_back(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
             events.queue.push_back(keyEvent(SDL_KEYUP, SDLK_ESCAPE));  // dropped: inactive
             events.queue.push_back(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
           }}};
      if (const auto action = script.find(picture); action != script.end()) action->second();
    };
    session.loop.run();
    const Game& game = session.game;
    ASSERT_EQ(session.window.destroyed, 0);
    ASSERT_NE(game.state.progress.gameState, world::StateTitle);

    std::stringstream file;
    writeReplay(file, session.recorder.replay);
    std::string error;
    const std::optional<Replay> replay = readReplay(file, error);
    ASSERT_TRUE(replay.has_value()) << error;
    const ReplayResult result = runReplay(*replay, game.state.pack);
    EXPECT_EQ(result.state.options.windowed, startWindowed);
    EXPECT_EQ(stateDigest(result.state), stateDigest(game.state)) << int(startWindowed);
  }
}

TEST_F(ShellWindow, EventsOfOtherWindowsAreDropped) {
  loop.gameWindowId = 7;
  SDL_Event lost = windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  lost.window.windowID = 3;  // the settings dialog, already closed
  loop.handle(lost);
  EXPECT_EQ(game.windowActive, 1);
  SDL_Event escape = keyEvent(SDL_KEYUP, SDLK_ESCAPE);
  escape.key.windowID = 3;
  loop.handle(escape);
  EXPECT_EQ(window.destroyed, 0);
  escape.key.windowID = 7;
  loop.handle(escape);
  EXPECT_EQ(window.destroyed, 1);
  loop.handle(quitEvent());  // belongs to no window
  EXPECT_TRUE(loop.quit);
}

}  // namespace
}  // namespace mdx::app
