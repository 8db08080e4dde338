#include "app/sdl_keyboard.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>

#include "app/key_source.h"

namespace mdx::app {
namespace {

TEST(SdlKeyboard, TheGameKeysMapToTheirKeyCodes) {
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_UP), DIK_UP);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_DOWN), DIK_DOWN);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_LEFT), DIK_LEFT);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_RIGHT), DIK_RIGHT);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_R), DIK_R);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_Q), DIK_Q);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_F2), DIK_F2);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_SPACE), DIK_SPACE);
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_RETURN), DIK_RETURN);
}

TEST(SdlKeyboard, NoTwoKeysShareACodeAndEscapeIsNotInTheState) {
  EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_ESCAPE), 0);
  // The keypad's Enter is a key of its own, not the main Enter.
  EXPECT_NE(keyCodeForScancode(SDL_SCANCODE_KP_ENTER), DIK_RETURN);
  std::set<uint8_t> seen;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const uint8_t code = keyCodeForScancode(static_cast<SDL_Scancode>(sc));
    if (code == 0) continue;
    EXPECT_TRUE(seen.insert(code).second) << "scancode " << sc << " reuses code " << int(code);
  }
  EXPECT_GT(seen.size(), 90u);
  EXPECT_EQ(keyCodeForScancode(static_cast<SDL_Scancode>(-1)), 0);
  EXPECT_EQ(keyCodeForScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES + 5)), 0);
}

TEST(SdlKeyboard, KeyStateHasBit7ForHeldKeysOnly) {
  std::array<uint8_t, SDL_NUM_SCANCODES> sdl{};
  sdl[SDL_SCANCODE_LEFT] = 1;
  sdl[SDL_SCANCODE_SPACE] = 1;
  sdl[SDL_SCANCODE_ESCAPE] = 1;
  KeyState state;
  state.fill(0x55);  // stale bytes must not survive
  buildKeyState(sdl.data(), SDL_NUM_SCANCODES, state);
  int held = 0;
  for (int code = 0; code < 256; ++code) {
    if (state[code] != 0) {
      ++held;
      EXPECT_EQ(state[code], kKeyDown);
    }
  }
  EXPECT_EQ(held, 2);
  EXPECT_EQ(state[DIK_LEFT], kKeyDown);
  EXPECT_EQ(state[DIK_SPACE], kKeyDown);
  EXPECT_EQ(state[DIK_ESCAPE], 0);

  // A short SDL state is read only as far as it goes; a missing one gives all keys up.
  buildKeyState(sdl.data(), SDL_SCANCODE_SPACE, state);
  EXPECT_EQ(state[DIK_SPACE], 0);
  buildKeyState(nullptr, 0, state);
  EXPECT_EQ(state, KeyState{});
}

TEST(SdlKeyboard, SetUpReportsTheFirstFailingStep) {
  EXPECT_STREQ(keyboardSetupError(false, false, 0, false), "The keyboard cannot be read");
  EXPECT_STREQ(keyboardSetupError(true, false, 0, true), "Keyboard not available");
  EXPECT_STREQ(keyboardSetupError(true, true, 10, true),
               "Cannot set the data format for the Keyboard device");
  EXPECT_STREQ(keyboardSetupError(true, true, SDL_NUM_SCANCODES, false),
               "Cannot set the cooperative level for the Keyboard device");
  EXPECT_EQ(keyboardSetupError(true, true, SDL_NUM_SCANCODES, true), nullptr);
}

TEST(SdlKeyboard, SetUpFailureShowsItsMessageBox) {
  world::RecordingMessageBoxes messages;
  SdlKeySource keys;
  EXPECT_FALSE(keys.init(nullptr, &messages));  // no window to read the keys for
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Cannot set the cooperative level for the Keyboard device");
  EXPECT_EQ(messages.shown[0].caption, "MarvolenDX: Error");
  KeyState state{};
  EXPECT_FALSE(keys.read(state));
}

}  // namespace
}  // namespace mdx::app

namespace mdx::app {
namespace {

TEST(SdlKeyboard, AShortcutKeyStaysOutOfTheStateUntilReleased) {
  std::array<uint8_t, SDL_NUM_SCANCODES> sdl{};
  std::vector<SDL_Scancode> swallowed = {SDL_SCANCODE_RETURN};
  KeyState state;
  sdl[SDL_SCANCODE_RETURN] = 1;
  sdl[SDL_SCANCODE_SPACE] = 1;
  for (int poll = 0; poll < 3; ++poll) {
    buildKeyState(sdl.data(), SDL_NUM_SCANCODES, state);
    maskSwallowedKeys(sdl.data(), SDL_NUM_SCANCODES, swallowed, state);
    EXPECT_EQ(state[DIK_RETURN], 0);
    EXPECT_EQ(state[DIK_SPACE], kKeyDown);
  }
  sdl[SDL_SCANCODE_RETURN] = 0;
  maskSwallowedKeys(sdl.data(), SDL_NUM_SCANCODES, swallowed, state);
  EXPECT_TRUE(swallowed.empty());
  sdl[SDL_SCANCODE_RETURN] = 1;  // the next press is a key like any other
  buildKeyState(sdl.data(), SDL_NUM_SCANCODES, state);
  maskSwallowedKeys(sdl.data(), SDL_NUM_SCANCODES, swallowed, state);
  EXPECT_EQ(state[DIK_RETURN], kKeyDown);
}

}  // namespace
}  // namespace mdx::app

namespace mdx::app {
namespace {

// Polls the way the game's keyboard does: Alt+Enter swallowing, masking, the state handed on.
KeyState poll(const std::array<uint8_t, SDL_NUM_SCANCODES>& sdl, bool alt,
              std::vector<SDL_Scancode>& swallowed, KeyState& lastSeen) {
  KeyState state;
  swallowAltEnter(sdl.data(), alt, lastSeen, swallowed);
  buildKeyState(sdl.data(), SDL_NUM_SCANCODES, state);
  maskSwallowedKeys(sdl.data(), SDL_NUM_SCANCODES, swallowed, state);
  lastSeen = state;
  return state;
}

TEST(SdlKeyboard, EnterHeldBeforeAltStaysHeldUntilReleasedButAltFirstIsSwallowed) {
  std::array<uint8_t, SDL_NUM_SCANCODES> sdl{};
  std::vector<SDL_Scancode> swallowed;
  KeyState lastSeen{};
  sdl[SDL_SCANCODE_RETURN] = 1;
  EXPECT_EQ(poll(sdl, false, swallowed, lastSeen)[DIK_RETURN], kKeyDown);
  // Alt joins the held Enter: Enter must not look released, or confirm would fire now.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(poll(sdl, true, swallowed, lastSeen)[DIK_RETURN], kKeyDown);
  sdl[SDL_SCANCODE_RETURN] = 0;
  EXPECT_EQ(poll(sdl, true, swallowed, lastSeen)[DIK_RETURN], 0);
  // Alt first, then Enter (and keypad Enter): the shortcut, kept out until released.
  sdl[SDL_SCANCODE_RETURN] = 1;
  sdl[SDL_SCANCODE_KP_ENTER] = 1;
  KeyState state = poll(sdl, true, swallowed, lastSeen);
  EXPECT_EQ(state[DIK_RETURN], 0);
  EXPECT_EQ(state[DIK_NUMPADENTER], 0);
  EXPECT_EQ(poll(sdl, false, swallowed, lastSeen)[DIK_RETURN], 0);  // Alt let go first
}

}  // namespace
}  // namespace mdx::app

namespace mdx::app {
namespace {

SDL_Event keyDown(SDL_Scancode scancode, uint32_t windowId, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = windowId;
  e.key.keysym.scancode = scancode;
  e.key.keysym.mod = mod;
  return e;
}

// A key pressed and released between two reads (SDL's state shows it up at both) counts as
// held at the first read and released at the second; keys of other windows, and the Enter
// of Alt+Enter, do not count.
TEST(SdlKeyboard, ATapBetweenTwoReadsIsHeldForOneRead) {
  const std::array<uint8_t, SDL_NUM_SCANCODES> sdl{};  // nothing held at either read
  PressLatch latch;
  latchKeyPress(keyDown(SDL_SCANCODE_SPACE, 4), 4, latch);
  latchKeyPress(keyDown(SDL_SCANCODE_LEFT, 9), 4, latch);  // another window's key
  latchKeyPress(keyDown(SDL_SCANCODE_RETURN, 4, KMOD_LALT), 4, latch);
  latchKeyPress(keyDown(SDL_SCANCODE_KP_ENTER, 4, KMOD_RALT), 4, latch);
  SDL_Event up = keyDown(SDL_SCANCODE_R, 4);
  up.type = SDL_KEYUP;
  latchKeyPress(up, 4, latch);
  KeyState state;
  buildKeyState(sdl.data(), SDL_NUM_SCANCODES, state);
  latch.addTo(state);
  KeyState expected{};
  expected[DIK_SPACE] = kKeyDown;
  EXPECT_EQ(state, expected);
  buildKeyState(sdl.data(), SDL_NUM_SCANCODES, state);
  latch.addTo(state);
  EXPECT_EQ(state, KeyState{});                              // released at the next read
  latchKeyPress(keyDown(SDL_SCANCODE_RETURN, 4), 4, latch);  // Enter alone is a game key
  latch.addTo(state);
  EXPECT_EQ(state[DIK_RETURN], kKeyDown);
}

}  // namespace
}  // namespace mdx::app
