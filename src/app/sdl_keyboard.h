// The keyboard on SDL: SDL scancodes mapped onto the game's key codes, read as one whole
// 256-byte state per poll, and the keyboard set-up with its failure messages.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "app/key_bindings.h"
#include "app/key_source.h"
#include "world/services.h"

namespace mdx::app {

// The game's key code for an SDL scancode, or 0 for a key the table does not know. Escape maps
// to 0 as well: it reaches the game as a key-up event, never through the key state.
uint8_t keyCodeForScancode(SDL_Scancode scancode);

// SDL's names of keys and pad buttons ("Left", "Space", "Keypad Enter"; "a", "dpleft"; any
// case), for the keys the game's key codes cover.
KeyNaming sdlKeyNaming();

// Builds the game's key state from SDL's scancode state (numKeys entries, non-zero = held).
void buildKeyState(const uint8_t* sdlState, int numKeys, KeyState& state);

// Clears the keys of swallowed that SDL still has down from state; a swallowed key that is up
// leaves the list and counts normally from then on.
void maskSwallowedKeys(const uint8_t* sdlState, int numKeys, std::vector<SDL_Scancode>& swallowed,
                       KeyState& state);

// Swallows each Enter that is held while Alt is held (the Enter of Alt+Enter, whose key event
// may not have been taken yet) unless the game already saw it held in lastSeen: an Enter
// pressed before Alt is a confirm key and acts when it is released, as always.
void swallowAltEnter(const uint8_t* sdlState, bool altHeld, const KeyState& lastSeen,
                     std::vector<SDL_Scancode>& swallowed);

// The failure message of the keyboard set-up for the outcome of its four steps, or nullptr
// when all succeeded: the event system started, the key state exists, it covers every mapped
// key, and there is a window to take the keyboard focus from.
const char* keyboardSetupError(bool eventsStarted, bool stateAvailable, int numKeys,
                               bool haveWindow);

// Notes in latch a key going down in the game window (windowId) that the key state may miss
// when it comes up again before the next read. The Enter of Alt+Enter is the window switch's,
// never the game's, and is not noted.
void latchKeyPress(const SDL_Event& event, uint32_t windowId, PressLatch& latch);

// Reads SDL's keyboard state for the game window. A read fails while the window does not have
// the keyboard focus, like a foreground-only keyboard: every key then counts as up.
class SdlKeySource : public KeySource {
 public:
  SdlKeySource() = default;
  ~SdlKeySource() override;
  SdlKeySource(const SdlKeySource&) = delete;
  SdlKeySource& operator=(const SdlKeySource&) = delete;

  // Sets up the keyboard for the window; on failure shows the message with the caption
  // "MarvolenDX: Error" and returns false. From then on every key going down is noted as SDL
  // takes it in, so a key tapped between two reads still counts (see PressLatch).
  bool init(SDL_Window* window, world::MessageBoxes* messages);

  // The held keys plus those pressed since the last read.
  bool read(KeyState& state) override;
  void acquire() override {}

  // Keeps a key out of the key state until it has been seen up, so a key that served a shell
  // shortcut (Enter of Alt+Enter) does not also fire its game command when released. A key
  // the game already saw held stays in: hiding it would fire its command at once.
  void swallowUntilReleased(SDL_Scancode scancode);
  // Swallows both Enter keys (main and keypad): the Enter of Alt+Enter is no confirm key.
  void swallowEnterUntilReleased();

 private:
  static int notePress(void* self, SDL_Event* event);

  std::vector<SDL_Scancode> swallowed_;
  PressLatch presses_;
  bool watching_ = false;
  KeyState lastSeen_{};  // the state the last read handed to the game
  SDL_Window* window_ = nullptr;
  const uint8_t* sdlState_ = nullptr;
  int numKeys_ = 0;
};

}  // namespace mdx::app
