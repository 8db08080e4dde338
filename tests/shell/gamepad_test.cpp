// Game pads: which keys the controls hold (sticks past half their range), and a virtual pad
// through SDL's game controller layer: plugged in while the game runs, read into the same key
// state as the keyboard, B as Escape's release, and unplugged while holding a direction.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/frontend.h"
#include "app/game.h"
#include "app/pad_keys.h"
#include "app/sdl_gamepad.h"
#include "app/sdl_keyboard.h"

namespace mdx::app {
namespace {

bool held(const KeyState& state, uint8_t key) {
  return (state[key] & kKeyDown) != 0;
}

// The game's default keys and buttons by SDL's names.
BoundKeys defaultKeys() {
  return resolveKeys(defaultKeyChoices(), sdlKeyNaming(),
                     [](const std::string& note) { ADD_FAILURE() << note; });
}

TEST(PadKeys, ControlsHoldTheirKeysAndSticksCountPastHalfTheirRange) {
  const BoundKeys keys = defaultKeys();
  KeyState state{};
  PadState pad;
  pad.stickX = kStickHalf;  // exactly half: not yet
  pad.stickY = -kStickHalf;
  addPadKeys(pad, keys, state);
  EXPECT_EQ(state, KeyState{});

  pad.stickX = kStickHalf + 1;
  pad.stickY = -kStickHalf - 1;
  pad.buttons[SDL_CONTROLLER_BUTTON_A] = true;
  pad.buttons[SDL_CONTROLLER_BUTTON_Y] = true;
  pad.buttons[SDL_CONTROLLER_BUTTON_BACK] = true;
  addPadKeys(pad, keys, state);
  for (uint8_t key : {DIK_RIGHT, DIK_UP, DIK_SPACE, DIK_R, DIK_F2}) EXPECT_TRUE(held(state, key));
  for (uint8_t key : {DIK_LEFT, DIK_DOWN, DIK_ESCAPE, DIK_RETURN}) EXPECT_FALSE(held(state, key));

  KeyState other{};
  other[DIK_Q] = kKeyDown;  // the keyboard's keys stay held
  PadState dpad;
  for (auto b : {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                 SDL_CONTROLLER_BUTTON_START}) {
    dpad.buttons[b] = true;
  }
  addPadKeys(dpad, keys, other);
  for (uint8_t key : {DIK_LEFT, DIK_DOWN, DIK_SPACE, DIK_Q}) EXPECT_TRUE(held(other, key));

  PadEscape escape;
  EXPECT_FALSE(escape.released(true));
  EXPECT_FALSE(escape.released(true));
  EXPECT_TRUE(escape.released(false));
  EXPECT_FALSE(escape.released(false));
}

// Every name in the command table is one SDL knows, in any case, and the names the keys page
// shows read back as the same key.
TEST(PadKeys, EveryDefaultNameIsSdlsAndNamesReadBack) {
  const KeyNaming naming = sdlKeyNaming();
  const BoundKeys keys = defaultKeys();
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const CommandKeys& command = commandTable()[i];
    EXPECT_EQ(keys.keyCodes[i], command.gameKey) << command.name;
    EXPECT_EQ(naming.keyName(command.gameKey), command.defaultKey) << command.name;
  }
  EXPECT_EQ(keys.padButtons[kCommandConfirm], SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(naming.padButton("DPLEFT"), SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  EXPECT_EQ(naming.keyCode("keypad enter"), DIK_NUMPADENTER);
  EXPECT_EQ(naming.keyCode("Escape"), 0);  // a window event, never a key the game reads
  EXPECT_EQ(naming.keyCode(""), 0);
  EXPECT_EQ(naming.padButton("paddle9"), kNoPadButton);
}

class VirtualPad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    ASSERT_TRUE(source.init()) << SDL_GetError();
  }
  void TearDown() override {
    if (joystick != nullptr) SDL_JoystickClose(joystick);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    SDL_Quit();
  }
  // Plugs in a pad with every standard control, as a game controller.
  void plugIn() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr) << SDL_GetError();
  }
  void button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0);
  }
  KeyState read() {
    KeyState state{};
    EXPECT_TRUE(source.read(state));
    return state;
  }
  void unplug() {
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    index = -1;
  }
  // The game folder's mappack1; its levels are missing when the game has not been built.
  static world::PackLayout shippedPack() {
    return world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  }

  ScriptedKeySource keyboard;
  BoundKeys keys = defaultKeys();
  SdlPadKeySource source{keyboard, keys};
  SDL_Joystick* joystick = nullptr;
  int index = -1;
};

TEST_F(VirtualPad, APadPluggedInLaterHoldsKeysBesideTheKeyboard) {
  EXPECT_EQ(read(), KeyState{});
  EXPECT_EQ(source.padsOpen(), 0);
  plugIn();
  keyboard.press(DIK_Q);
  button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  KeyState state = read();
  EXPECT_EQ(source.padsOpen(), 1);
  EXPECT_TRUE(held(state, DIK_RIGHT));
  EXPECT_TRUE(held(state, DIK_DOWN));
  EXPECT_TRUE(held(state, DIK_Q));
  button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, 10000);  // under half
  state = read();
  EXPECT_FALSE(held(state, DIK_RIGHT));
  EXPECT_FALSE(held(state, DIK_DOWN));
}

TEST_F(VirtualPad, BReleasedIsEscapeAndUnpluggingLeavesNothingHeld) {
  int escapes = 0;
  source.escapeReleased = [&escapes] { ++escapes; };
  plugIn();
  button(SDL_CONTROLLER_BUTTON_B, true);
  read();
  read();
  EXPECT_EQ(escapes, 0);
  button(SDL_CONTROLLER_BUTTON_B, false);
  read();
  EXPECT_EQ(escapes, 1);

  button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  button(SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_TRUE(held(read(), DIK_LEFT));
  unplug();
  EXPECT_EQ(read(), KeyState{});
  EXPECT_EQ(source.padsOpen(), 0);
  EXPECT_EQ(escapes, 2);  // B let go with the pad: the same as its release
}

// A button pressed and released between two reads (as SDL's controller layer reports it when
// it brings the pad up to date) is held at the next read and released at the one after; a
// tapped B is one Escape.
TEST_F(VirtualPad, AButtonTappedBetweenReadsCountsOnce) {
  int escapes = 0;
  source.escapeReleased = [&escapes] { ++escapes; };
  plugIn();
  read();
  auto tapped = [](SDL_GameControllerButton b) {
    SDL_Event down{};
    down.type = SDL_CONTROLLERBUTTONDOWN;
    down.cbutton.button = static_cast<Uint8>(b);
    SDL_PushEvent(&down);
  };
  tapped(SDL_CONTROLLER_BUTTON_A);
  tapped(SDL_CONTROLLER_BUTTON_B);
  KeyState state = read();
  EXPECT_TRUE(held(state, DIK_SPACE));
  EXPECT_EQ(escapes, 0);
  state = read();
  EXPECT_FALSE(held(state, DIK_SPACE));
  EXPECT_EQ(escapes, 1);
  read();
  EXPECT_EQ(escapes, 1);
}

// The whole game on a virtual clock, reading the pad (and the scripted keyboard), in the game
// folder so the shipped levels load.
class PadInGame : public VirtualPad {
 protected:
  void SetUp() override {
    VirtualPad::SetUp();
    if (!std::filesystem::exists(shippedPack().levelPath(1))) {
      GTEST_SKIP() << "build the game folder first";
    }
    game.state.pack = shippedPack();
    game.startUp();
  }
  void frame(uint32_t ms) {
    clock.advance(ms);
    game.runFrame();
  }
  // Pressed for one frame, then released for one.
  void tap(SDL_GameControllerButton b) {
    button(b, true);
    frame(1);
    button(b, false);
    frame(1);
  }
  void keyTap(uint8_t key) {
    keyboard.press(key);
    frame(1);
    keyboard.release(key);
    frame(1);
  }

  VirtualClock clock{1000};
  CountingPresenter presenter;
  RecordingWindow window;
  Game game{clock, source, presenter, window, nullptr, nullptr};
};

// Shipped level 1 won with the pad alone, by the solver's answer (the pillar moved right six
// times, then left to fall). Without the six presses the robot goes round in a loop and the
// level is not won.
TEST_F(PadInGame, ThePadWinsShippedLevelOne) {
  plugIn();
  tap(SDL_CONTROLLER_BUTTON_A);  // START GAME
  EXPECT_EQ(game.state.progress.gameState, world::StateReady);
  tap(SDL_CONTROLLER_BUTTON_START);  // leave the ready sign
  EXPECT_EQ(game.state.progress.gameState, world::StateDropping);
  for (int i = 0; i < 6; ++i) tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  for (int t = 0; t < 60000 && game.state.progress.levelNumber == 1; t += 10) frame(10);
  EXPECT_EQ(game.state.progress.levelNumber, 2);
}

// A pad pulled out mid-level while it holds Right: the game plays on, the held control counts
// as let go (it acts once, as a released key does) and never again, and the keyboard steers
// the piece as before.
TEST_F(PadInGame, UnpluggingMidLevelLetsGoOfItsControlsAndTheKeyboardPlaysOn) {
  game.beginGame(1);
  keyTap(DIK_SPACE);  // leave the ready sign
  ASSERT_EQ(game.state.progress.gameState, world::StateDropping);
  const world::Pieces& piece = game.state.pieces;
  const int32_t column = piece.pieceColumn;

  plugIn();
  button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  for (int i = 0; i < 5; ++i) frame(1);
  EXPECT_EQ(piece.pieceColumn, column);  // a held side key moves on its release
  unplug();
  frame(1);
  EXPECT_EQ(piece.pieceColumn, column + 1);
  for (int i = 0; i < 5; ++i) frame(1);
  EXPECT_EQ(piece.pieceColumn, column + 1);  // once only: nothing stays held

  keyTap(DIK_RIGHT);
  EXPECT_EQ(piece.pieceColumn, column + 2);
  keyTap(DIK_LEFT);
  EXPECT_EQ(piece.pieceColumn, column + 1);
  // The timed drop goes on: the piece falls by itself.
  const int32_t row = piece.pieceRow;
  for (int t = 0; t < 1300; t += 10) frame(10);
  EXPECT_GT(piece.pieceRow, row);
  EXPECT_EQ(game.state.progress.gameState, world::StateDropping);
}

}  // namespace
}  // namespace mdx::app
