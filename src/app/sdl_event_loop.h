// The game window's event and frame loop on SDL. The events waiting are taken one at a time,
// then one frame runs with its timers, in a window and in full screen alike; while the window
// is inactive the loop sleeps until the next event instead of spinning, so an idle game costs
// no processor time.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

#include "app/game.h"
#include "app/replay.h"

namespace mdx::app {

// Where the loop takes its events from: SDL's queue in the game, a script in tests.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Takes the next event if one is waiting; false when the queue is empty.
  virtual bool poll(SDL_Event& event) = 0;
  // Sleeps until an event arrives and takes it; false on an error of the event system.
  virtual bool wait(SDL_Event& event) = 0;
};

class SdlEventSource : public EventSource {
 public:
  bool poll(SDL_Event& event) override { return SDL_PollEvent(&event) != 0; }
  bool wait(SDL_Event& event) override { return SDL_WaitEvent(&event) != 0; }
};

// What one event means to the game window.
enum class WindowEventKind {
  None,              // not for the game window (dropped)
  Activated,         // the window got the focus
  Deactivated,       // another window got the focus
  Minimised,         // hidden or minimised
  SizeChanged,       // restored, maximised or resized
  EscapeReleased,    // the Escape key went up
  ToggleFullScreen,  // Alt+Enter went down
  CloseRequested,    // the close button or the window menu's Close
  Quit,              // the end of the program was asked for (also after destroyWindow)
};

// Classifies one SDL event for the game window.
WindowEventKind classifyEvent(const SDL_Event& event);

// The most events taken between two frames. A storm of events (a mouse moved fast, keys
// repeating) is far slower than this per frame, so normally the queue is emptied first;
// under a faster one, frames still run and the game keeps its pace.
constexpr int kMaxEventsPerFrame = 64;

class EventLoop {
 public:
  EventLoop(Game& game, EventSource& events, WindowControl& window)
      : game_(game), events_(events), window_(window) {}

  // Runs until the quit event: while the window is active, the waiting events (at most
  // kMaxEventsPerFrame of them) and then one frame, over and over.
  void run();

  // One turn of the loop without waiting: the waiting events (at most kMaxEventsPerFrame),
  // then one frame if the window is active and no quit came. run() repeats it while the
  // window is active; a browser, whose loop is its own, calls it once per animation frame.
  void runOnce();

  // Acts on one event as the game window: activation, size changes, Escape, closing.
  void handle(const SDL_Event& event);

  // Alt+Enter: switches between window and full screen; returns false when the switch failed.
  // When unset, Alt+Enter does nothing.
  std::function<bool(bool toFullScreen)> switchFullScreen;

  // Called for every window event of the game window (exposed, resized, focus) before the
  // loop acts on it, so the next picture is drawn in full.
  std::function<void()> onWindowEvent;

  // Called just before each call into the game object (frame, drawing, Escape) and before a
  // window mode switch takes effect, so a session can be recorded. When unset, nothing is
  // called. Focus changes need no call: the game runs no frames and takes no Escape while
  // inactive, so the calls recorded around them hold all the game saw.
  std::function<void(ReplayEvent)> beforeGameCall;

  // Called with the path of a file dropped on the window (the desktop installs a shared pack
  // with it). When unset, dropped files are let go.
  std::function<void(const std::string& path)> onFileDropped;

  // Called before each frame the loop runs (the desktop shows how a dropped pack's install
  // went with it). When unset, nothing is called.
  std::function<void()> beforeFrame;

  // The game window's SDL id: window and key events of other windows (the closed settings
  // dialog) are dropped. 0 takes the events of every window.
  uint32_t gameWindowId = 0;

  bool quit = false;
  long framesRun = 0;  // frames run by the loop

 private:
  void announce(ReplayEvent event);

  Game& game_;
  EventSource& events_;
  WindowControl& window_;
};

}  // namespace mdx::app
