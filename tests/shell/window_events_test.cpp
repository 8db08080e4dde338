#include <gtest/gtest.h>

#include <deque>

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

// Ends the loop after a number of drawn pictures by queueing the quit event.
struct StoppingPresenter : ScenePresenter {
  explicit StoppingPresenter(ScriptedEvents& events) : events(events) {}
  void present(const world::GameState&) override {
    if (++frames == stopAfter) events.queue.push_back(quitEvent());
  }
  ScriptedEvents& events;
  int frames = 0;
  int stopAfter = 1000;
};

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

TEST_F(ShellWindow, ASizeChangeRedrawsOnlyOnceRedrawIsReady) {
  loop.handle(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
  EXPECT_EQ(presenter.frames, 0);
  game.redrawReady = 1;
  loop.handle(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
  loop.handle(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
  EXPECT_EQ(presenter.frames, 2);
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

TEST_F(ShellWindow, FullScreenDrawsAfterEveryEvent) {
  game.state.options.windowed = 0;
  events.queue = {keyEvent(SDL_KEYDOWN, SDLK_a), keyEvent(SDL_KEYUP, SDLK_a),
                  windowEvent(SDL_WINDOWEVENT_MOVED)};
  presenter.stopAfter = 5;
  loop.run();
  EXPECT_EQ(presenter.frames, 5);
  EXPECT_EQ(loop.framesRun, 2);  // three pictures came from the events
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

}  // namespace
}  // namespace mdx::app

namespace mdx::app {
namespace {

// A session recorded through the loop replays to the same state: the focus lost for a minute
// (no frames, an Escape dropped meanwhile) and a switch to full screen, which the game state
// holds, are in the recording.
TEST(ShellRecording, FocusChangesAndModeSwitchesReplayToTheSameState) {
  VirtualClock clock{5000};
  ScriptedKeySource keys;
  ReplayRecorder recorder(clock, keys);
  ScriptedEvents events;
  StoppingPresenter presenter{events};
  QueueingWindow window{events};
  Game game{recorder.clock(), recorder.keys(), presenter, window, nullptr, nullptr};
  EventLoop loop{game, events, window};
  loop.beforeGameCall = [&recorder](ReplayEvent event) { recorder.begin(event); };
  loop.switchFullScreen = [](bool) { return true; };
  game.state.options.windowed = recorder.replay.windowed = 1;
  recorder.beginSession(game.state);
  game.startUp();
  game.windowActive = 1;
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

  const ReplayResult result = runReplay(recorder.replay);
  EXPECT_EQ(result.state.options.windowed, 0);
  EXPECT_EQ(stateDigest(result.state), stateDigest(game.state));
  EXPECT_FALSE(result.windowDestroyed);
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
