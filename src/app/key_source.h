// The whole-keyboard state the keyboard commands read once per poll: 256 bytes indexed by
// the game's key codes, bit 7 set while a key is down. The SDL shell maps its scancodes onto
// these codes; tests script the state directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

namespace mdx::app {

using KeyState = std::array<uint8_t, 256>;

// Key codes (the classic PC keyboard scan codes the game's key table is built on).
constexpr uint8_t DIK_ESCAPE = 0x01;
constexpr uint8_t DIK_TAB = 0x0F;
constexpr uint8_t DIK_Q = 0x10;
constexpr uint8_t DIK_R = 0x13;
constexpr uint8_t DIK_H = 0x23;
constexpr uint8_t DIK_K = 0x25;
constexpr uint8_t DIK_RETURN = 0x1C;
constexpr uint8_t DIK_SPACE = 0x39;
constexpr uint8_t DIK_F1 = 0x3B;
constexpr uint8_t DIK_F2 = 0x3C;
constexpr uint8_t DIK_NUMPADENTER = 0x9C;
constexpr uint8_t DIK_UP = 0xC8;
constexpr uint8_t DIK_LEFT = 0xCB;
constexpr uint8_t DIK_RIGHT = 0xCD;
constexpr uint8_t DIK_DOWN = 0xD0;

constexpr uint8_t kKeyDown = 0x80;  // bit 7 of a key's byte: the key is held

// Where the keyboard state comes from.
class KeySource {
 public:
  virtual ~KeySource() = default;
  // Fills state with the current keyboard. False when the keyboard cannot be read (for example
  // while another window has the focus); the caller then re-acquires and counts all keys as up.
  virtual bool read(KeyState& state) = 0;
  // Asks for the keyboard again after a failed read.
  virtual void acquire() = 0;
};

// The keys pressed since the last read. Reading the held keys alone misses a key pressed and
// released between two reads; with the presses added, such a tap counts as held at the next
// read and so as released at the one after, and the commands acting on release act once.
class PressLatch {
 public:
  void pressed(uint8_t key) { pressed_[key] = kKeyDown; }
  // Adds the keys pressed since the last call to state, then forgets them.
  void addTo(KeyState& state) {
    for (std::size_t key = 0; key < state.size(); ++key) state[key] |= pressed_[key];
    clear();
  }
  void clear() { pressed_.fill(0); }

 private:
  KeyState pressed_{};
};

// A keyboard driven by a test: keys are pressed and released by hand, and reads can be made
// to fail. Every read returns the keys held at that moment.
class ScriptedKeySource : public KeySource {
 public:
  bool read(KeyState& state) override {
    ++reads;
    if (failReads > 0) {
      --failReads;
      state.fill(0xEE);  // garbage: the caller must not trust a failed read
      return false;
    }
    state = held;
    return true;
  }
  void acquire() override { ++acquires; }

  void press(uint8_t key) { held[key] = kKeyDown; }
  void release(uint8_t key) { held[key] = 0; }
  void releaseAll() { held.fill(0); }

  KeyState held{};
  int failReads = 0;  // the next this many reads fail
  int reads = 0;
  int acquires = 0;
};

}  // namespace mdx::app
