// A game pad as the keyboard the game reads: each held pad control holds its mapped key in
// the same 256-byte key state, so the key commands (acting on release) work unchanged.
//   D-pad or left stick left / right: Left / Right   (steer; choose the level on the title)
//   D-pad or left stick up / down:    Up / Down      (title menu; Down drops fast)
//   A or Start: Space     Y: R (restart)     Back: F2 (music)     B: Escape
// A stick counts once it is pushed past half its range.
#pragma once

#include <cstdint>

#include "app/key_source.h"

namespace mdx::app {

// Stick values run from -32768 to 32767; past this magnitude a stick counts as pushed.
constexpr int kStickHalf = 16384;

struct PadState {
  bool up = false, down = false, left = false, right = false;  // the D-pad
  bool a = false, b = false, y = false, start = false, back = false;
  int16_t stickX = 0, stickY = 0;  // the left stick; y grows downwards
};

// Marks the keys the pad holds as down in state (keys already down stay down).
void addPadKeys(const PadState& pad, KeyState& state);

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
