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

// Notes in pressed a pad button going down (a controller button event), so a button pressed
// and released between two reads still counts as held at the next read.
void latchPadPress(const SDL_Event& event, PadState& pressed);

// The pads' buttons hold the keys of the commands they are bound to in keys.
class SdlPadKeySource : public KeySource {
 public:
  SdlPadKeySource(KeySource& keyboard, const BoundKeys& keys) : keyboard_(keyboard), keys_(keys) {}
  ~SdlPadKeySource() override;
  SdlPadKeySource(const SdlPadKeySource&) = delete;
  SdlPadKeySource& operator=(const SdlPadKeySource&) = delete;

  // Starts SDL's game controller layer; false (no pads, the keyboard alone) when it cannot.
  bool init();

  // The keyboard's keys plus those the pads hold or had pressed since the last read.
  bool read(KeyState& state) override;
  void acquire() override { keyboard_.acquire(); }

  // Called when B is released on any pad: the game's Escape.
  std::function<void()> escapeReleased;

  int padsOpen() const { return static_cast<int>(pads_.size()); }

 private:
  // Opens newly attached pads and closes those that went away.
  void refreshPads();
  static int notePress(void* self, SDL_Event* event);

  KeySource& keyboard_;
  const BoundKeys& keys_;
  std::vector<SDL_GameController*> pads_;
  PadEscape escape_;
  PadState presses_;  // buttons pressed since the last read
  bool started_ = false;
};

}  // namespace mdx::app
