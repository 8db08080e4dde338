// Game pads through SDL's game controller layer (its mapping database, plus any mappings in
// SDL_GAMECONTROLLERCONFIG): pads plugged in at any time are opened, unplugged ones closed.
// Wraps the keyboard: every read adds the keys the pads hold to the keyboard's key state.
#pragma once

#include <SDL.h>

#include <functional>
#include <vector>

#include "app/key_source.h"
#include "app/pad_keys.h"

namespace mdx::app {

// The state of one opened controller's mapped controls.
PadState readPad(SDL_GameController* pad);

class SdlPadKeySource : public KeySource {
 public:
  explicit SdlPadKeySource(KeySource& keyboard) : keyboard_(keyboard) {}
  ~SdlPadKeySource() override;
  SdlPadKeySource(const SdlPadKeySource&) = delete;
  SdlPadKeySource& operator=(const SdlPadKeySource&) = delete;

  // Starts SDL's game controller layer; false (no pads, the keyboard alone) when it cannot.
  bool init();

  bool read(KeyState& state) override;
  void acquire() override { keyboard_.acquire(); }

  // Called when B is released on any pad: the game's Escape.
  std::function<void()> escapeReleased;

  int padsOpen() const { return static_cast<int>(pads_.size()); }

 private:
  // Opens newly attached pads and closes those that went away.
  void refreshPads();

  KeySource& keyboard_;
  std::vector<SDL_GameController*> pads_;
  PadEscape escape_;
  bool started_ = false;
};

}  // namespace mdx::app
