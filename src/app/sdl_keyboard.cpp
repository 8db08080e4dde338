#include "app/sdl_keyboard.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace mdx::app {
namespace {

// SDL scancode to the game's key code (the classic PC set-1 scan codes, extended keys with
// bit 7 set). Kept as a table: one row per key.
constexpr std::pair<SDL_Scancode, uint8_t> kKeyTable[] = {
    {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},
    {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, 0x0B},
    {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10},
    {SDL_SCANCODE_W, 0x11},
    {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14},
    {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16},
    {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F},
    {SDL_SCANCODE_D, 0x20},
    {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22},
    {SDL_SCANCODE_H, 0x23},
    {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26},
    {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_Z, 0x2C},
    {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30},
    {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37},
    {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_KP_ENTER, 0x9C},
    {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7},
    {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, 0xC7},
    {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9},
    {SDL_SCANCODE_LEFT, 0xCB},
    {SDL_SCANCODE_RIGHT, 0xCD},
    {SDL_SCANCODE_END, 0xCF},
    {SDL_SCANCODE_DOWN, 0xD0},
    {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2},
    {SDL_SCANCODE_DELETE, 0xD3},
    {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD},
};

// The table turned around once: scancode to key code.
const std::array<uint8_t, SDL_NUM_SCANCODES>& scancodeTable() {
  static const std::array<uint8_t, SDL_NUM_SCANCODES> table = [] {
    std::array<uint8_t, SDL_NUM_SCANCODES> t{};
    for (const auto& [scancode, code] : kKeyTable) t[scancode] = code;
    return t;
  }();
  return table;
}

// The highest scancode the table uses: SDL's state must reach at least this far.
int highestMappedScancode() {
  int highest = 0;
  for (const auto& entry : kKeyTable) highest = entry.first > highest ? entry.first : highest;
  return highest;
}

}  // namespace

uint8_t keyCodeForScancode(SDL_Scancode scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return scancodeTable()[scancode];
}

KeyNaming sdlKeyNaming() {
  KeyNaming naming;
  naming.keyCode = [](const std::string& name) {
    return name.empty() ? uint8_t{0} : keyCodeForScancode(SDL_GetScancodeFromName(name.c_str()));
  };
  naming.keyName = [](uint8_t code) {
    for (const auto& [scancode, entry] : kKeyTable) {
      if (entry == code && code != 0) return std::string(SDL_GetScancodeName(scancode));
    }
    return std::string();
  };
  naming.padButton = [](const std::string& name) {
    return name.empty() ? kNoPadButton
                        : static_cast<int>(SDL_GameControllerGetButtonFromString(name.c_str()));
  };
  return naming;
}

void buildKeyState(const uint8_t* sdlState, int numKeys, KeyState& state) {
  state.fill(0);
  if (!sdlState) return;
  const auto& table = scancodeTable();
  const int count = numKeys < SDL_NUM_SCANCODES ? numKeys : SDL_NUM_SCANCODES;
  for (int scancode = 0; scancode < count; ++scancode) {
    if (sdlState[scancode] && table[scancode] != 0) state[table[scancode]] = kKeyDown;
  }
}

const char* keyboardSetupError(bool eventsStarted, bool stateAvailable, int numKeys,
                               bool haveWindow) {
  if (!eventsStarted) return "The keyboard cannot be read";
  if (!stateAvailable) return "Keyboard not available";
  if (numKeys <= highestMappedScancode()) {
    return "Cannot set the data format for the Keyboard device";
  }
  if (!haveWindow) return "Cannot set the cooperative level for the Keyboard device";
  return nullptr;
}

void maskSwallowedKeys(const uint8_t* sdlState, int numKeys, std::vector<SDL_Scancode>& swallowed,
                       KeyState& state) {
  for (auto it = swallowed.begin(); it != swallowed.end();) {
    if (sdlState && *it < numKeys && sdlState[*it]) {
      state[keyCodeForScancode(*it)] = 0;
      ++it;
    } else {
      it = swallowed.erase(it);  // seen up: from now on the key counts again
    }
  }
}

bool SdlKeySource::init(SDL_Window* window, world::MessageBoxes* messages) {
  const bool eventsStarted = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
  int numKeys = 0;
  const uint8_t* sdlState = eventsStarted ? SDL_GetKeyboardState(&numKeys) : nullptr;
  const char* error = keyboardSetupError(eventsStarted, sdlState != nullptr, numKeys, window);
  if (error) {
    if (messages) messages->showMessage(error, "MarvolenDX: Error", world::MessageIcon::Error);
    return false;
  }
  window_ = window;
  sdlState_ = sdlState;
  numKeys_ = numKeys;
  if (!watching_) SDL_AddEventWatch(&SdlKeySource::notePress, this);
  watching_ = true;
  return true;
}

SdlKeySource::~SdlKeySource() {
  if (watching_) SDL_DelEventWatch(&SdlKeySource::notePress, this);
}

int SdlKeySource::notePress(void* self, SDL_Event* event) {
  auto* source = static_cast<SdlKeySource*>(self);
  latchKeyPress(*event, SDL_GetWindowID(source->window_), source->presses_);
  return 1;
}

void latchKeyPress(const SDL_Event& event, uint32_t windowId, PressLatch& latch) {
  if (event.type != SDL_KEYDOWN || event.key.windowID != windowId) return;
  const SDL_Keysym& key = event.key.keysym;
  const bool enter = key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER;
  if (enter && (key.mod & KMOD_ALT) != 0) return;
  if (const uint8_t code = keyCodeForScancode(key.scancode)) latch.pressed(code);
}

bool SdlKeySource::read(KeyState& state) {
  // Only the window with the keyboard focus reads the keys, as a foreground keyboard would.
  if (!sdlState_ || SDL_GetKeyboardFocus() != window_) {
    lastSeen_.fill(0);
    presses_.clear();
    return false;
  }
  // SDL updates the key state for every event it has queued, so an Enter held with Alt can be
  // seen here before the loop has taken its key event and swallowed it: swallow it now too.
  swallowAltEnter(sdlState_, (SDL_GetModState() & KMOD_ALT) != 0, lastSeen_, swallowed_);
  buildKeyState(sdlState_, numKeys_, state);
  presses_.addTo(state);
  maskSwallowedKeys(sdlState_, numKeys_, swallowed_, state);
  lastSeen_ = state;
  return true;
}

void SdlKeySource::swallowUntilReleased(SDL_Scancode scancode) {
  const uint8_t code = keyCodeForScancode(scancode);
  if (code == 0 || lastSeen_[code] != 0) return;
  if (std::find(swallowed_.begin(), swallowed_.end(), scancode) == swallowed_.end()) {
    swallowed_.push_back(scancode);
  }
}

void SdlKeySource::swallowEnterUntilReleased() {
  swallowUntilReleased(SDL_SCANCODE_RETURN);
  swallowUntilReleased(SDL_SCANCODE_KP_ENTER);
}

void swallowAltEnter(const uint8_t* sdlState, bool altHeld, const KeyState& lastSeen,
                     std::vector<SDL_Scancode>& swallowed) {
  if (!altHeld || sdlState == nullptr) return;
  for (SDL_Scancode enter : {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}) {
    if (!sdlState[enter] || lastSeen[keyCodeForScancode(enter)] != 0) continue;
    if (std::find(swallowed.begin(), swallowed.end(), enter) == swallowed.end()) {
      swallowed.push_back(enter);
    }
  }
}

}  // namespace mdx::app
