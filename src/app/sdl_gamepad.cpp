#include "app/sdl_gamepad.h"

#include <algorithm>

namespace mdx::app {

static_assert(SDL_CONTROLLER_BUTTON_MAX <= kPadButtonSlots, "every pad button has a slot");

PadState readPad(SDL_GameController* pad) {
  PadState s;
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
    s.buttons[static_cast<std::size_t>(b)] =
        SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(b)) != 0;
  }
  s.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  s.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  return s;
}

void latchPadPress(const SDL_Event& event, PadState& pressed) {
  if (event.type != SDL_CONTROLLERBUTTONDOWN) return;
  const int button = event.cbutton.button;
  if (button >= 0 && button < kPadButtonSlots)
    pressed.buttons[static_cast<std::size_t>(button)] = true;
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
  if (ok) addPadKeys(pressed, keys_, state);
  bool escapeHeld = pressed.buttons[SDL_CONTROLLER_BUTTON_B];
  for (SDL_GameController* pad : pads_) {
    const PadState padState = readPad(pad);
    if (ok) addPadKeys(padState, keys_, state);
    escapeHeld = escapeHeld || padState.buttons[SDL_CONTROLLER_BUTTON_B];
  }
  if (escape_.released(escapeHeld) && escapeReleased) escapeReleased();
  return ok;
}

}  // namespace mdx::app
