// What the game object needs from the platform besides the clock and the keyboard:
// drawing one picture of the game, and closing the game window.
#pragma once

#include "world/game_state.h"

namespace mdx::app {

// Draws one complete picture of the game state and shows it. Reads the state, never changes it.
class ScenePresenter {
 public:
  virtual ~ScenePresenter() = default;
  virtual void present(const world::GameState& state) = 0;
};

// The game window as the key commands see it: the quit choice destroys it, and the shell
// ends the program once it is gone.
class WindowControl {
 public:
  virtual ~WindowControl() = default;
  virtual void destroyWindow() = 0;
};

// Doubles for headless runs: a presenter that only counts, a window that remembers.
class CountingPresenter : public ScenePresenter {
 public:
  void present(const world::GameState&) override { ++frames; }
  int frames = 0;
};

class RecordingWindow : public WindowControl {
 public:
  void destroyWindow() override { ++destroyed; }
  int destroyed = 0;
};

}  // namespace mdx::app
