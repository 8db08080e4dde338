// A game pad as the keyboard the game reads: each held pad button bound to a command holds
// that command's key code in the same 256-byte key state, so the key commands (acting on
// release) work unchanged. The buttons are the player's choice (see key_bindings.h); the left
// stick always steers like the D-pad's defaults: left / right, up / down (Down drops fast),
// and it counts once it is pushed past half its range. Start always confirms, B is Escape.
#pragma once

#include <array>
#include <cstdint>

#include "app/key_bindings.h"
#include "app/key_source.h"

namespace mdx::app {

// Stick values run from -32768 to 32767; past this magnitude a stick counts as pushed.
constexpr int kStickHalf = 16384;

struct PadState {
  std::array<bool, kPadButtonSlots> buttons{};  // by the platform's button numbers
  int16_t stickX = 0, stickY = 0;               // the left stick; y grows downwards
};

// Marks the keys the pad holds as down in state (keys already down stay down).
void addPadKeys(const PadState& pad, const BoundKeys& keys, KeyState& state);

// B stands for Escape, which the game takes as a release event rather than from the key state.
// Fed the pad's B once per read, it says when B has just been released.
class PadEscape {
 public:
  bool released(bool held) {
    const bool was = held_;
    held_ = held;
    return was && !held;
  }

 private:
  bool held_ = false;
};

}  // namespace mdx::app
