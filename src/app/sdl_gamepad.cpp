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

void latchPadPress(const SDL_Event& event, PadState& pressed) {
  if (event.type != SDL_CONTROLLERBUTTONDOWN) return;
  switch (event.cbutton.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      pressed.up = true;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      pressed.down = true;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      pressed.left = true;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      pressed.right = true;
      break;
    case SDL_CONTROLLER_BUTTON_A:
      pressed.a = true;
      break;
    case SDL_CONTROLLER_BUTTON_B:
      pressed.b = true;
      break;
    case SDL_CONTROLLER_BUTTON_Y:
      pressed.y = true;
      break;
    case SDL_CONTROLLER_BUTTON_START:
      pressed.start = true;
      break;
    case SDL_CONTROLLER_BUTTON_BACK:
      pressed.back = true;
      break;
    default:
      break;
  }
}

SdlPadKeySource::~SdlPadKeySource() {
  if (started_) SDL_DelEventWatch(&SdlPadKeySource::notePress, this);
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int SdlPadKeySource::notePress(void* self, SDL_Event* event) {
  latchPadPress(*event, static_cast<SdlPadKeySource*>(self)->presses_);
  return 1;
}

bool SdlPadKeySource::init() {
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!started_) return false;
  // The pads are read once per frame; their events would only crowd the window's queue. Only
  // a button going down is made an event, for the watch that notes short presses; the pads'
  // state is brought up to date at each read, which is when those events arise.
  SDL_GameControllerEventState(SDL_IGNORE);
  SDL_JoystickEventState(SDL_IGNORE);
  SDL_EventState(SDL_CONTROLLERBUTTONDOWN, SDL_ENABLE);
  SDL_AddEventWatch(&SdlPadKeySource::notePress, this);
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
  const PadState pressed = presses_;
  presses_ = PadState{};
  if (ok) addPadKeys(pressed, state);
  bool escapeHeld = pressed.b;
  for (SDL_GameController* pad : pads_) {
    const PadState padState = readPad(pad);
    if (ok) addPadKeys(padState, state);
    escapeHeld = escapeHeld || padState.b;
  }
  if (escape_.released(escapeHeld) && escapeReleased) escapeReleased();
  return ok;
}

}  // namespace mdx::app
