#include "app/sdl_gamepad.h"

#include <algorithm>

namespace mdx::app {

PadState readPad(SDL_GameController* pad) {
  auto button = [pad](SDL_GameControllerButton b) {
    return SDL_GameControllerGetButton(pad, b) != 0;
  };
  PadState s;
  s.up = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
  s.down = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  s.left = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  s.right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  s.a = button(SDL_CONTROLLER_BUTTON_A);
  s.b = button(SDL_CONTROLLER_BUTTON_B);
  s.y = button(SDL_CONTROLLER_BUTTON_Y);
  s.start = button(SDL_CONTROLLER_BUTTON_START);
  s.back = button(SDL_CONTROLLER_BUTTON_BACK);
  s.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  s.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  return s;
}

SdlPadKeySource::~SdlPadKeySource() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlPadKeySource::init() {
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!started_) return false;
  // The pads are read once per frame; their events would only crowd the window's queue.
  SDL_GameControllerEventState(SDL_IGNORE);
  SDL_JoystickEventState(SDL_IGNORE);
  refreshPads();
  return started_;
}

void SdlPadKeySource::refreshPads() {
  // An unplugged pad is closed at once: its controls stop holding keys, so nothing stays held.
  const auto gone = std::remove_if(pads_.begin(), pads_.end(), [](SDL_GameController* pad) {
    if (SDL_GameControllerGetAttached(pad)) return false;
    SDL_GameControllerClose(pad);
    return true;
  });
  pads_.erase(gone, pads_.end());
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    if (!SDL_IsGameController(i)) continue;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
    const bool open = std::any_of(pads_.begin(), pads_.end(), [id](SDL_GameController* pad) {
      return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
    });
    if (open) continue;
    if (SDL_GameController* pad = SDL_GameControllerOpen(i)) pads_.push_back(pad);
  }
}

bool SdlPadKeySource::read(KeyState& state) {
  const bool ok = keyboard_.read(state);
  if (!started_) return ok;
  SDL_GameControllerUpdate();
  refreshPads();
  bool escapeHeld = false;
  for (SDL_GameController* pad : pads_) {
    const PadState padState = readPad(pad);
    if (ok) addPadKeys(padState, state);
    escapeHeld = escapeHeld || padState.b;
  }
  if (escape_.released(escapeHeld) && escapeReleased) escapeReleased();
  return ok;
}

}  // namespace mdx::app
