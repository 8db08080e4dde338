// The game's commands and the keys and pad buttons that give them. One table holds every
// command: its name in settings.ini ("key.left", "pad.left"), its label on the keys page, the
// key code the key commands read, and its default key and pad button by SDL's names. The
// player may choose other keys and buttons; the platform turns names into codes (KeyNaming),
// and BoundKeySource hands the game the command's own key code whatever key gave it, so the
// key commands and the replays only ever see the table's codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/key_source.h"
#include "app/player_files.h"
#include "world/game_state.h"

namespace mdx::app {

struct CommandKeys {
  const char* name;        // in settings.ini after "key." and "pad."
  const char* label;       // on the keys page
  uint8_t gameKey;         // the key code the key commands read for it
  const char* defaultKey;  // SDL's name of its key
  const char* defaultPad;  // SDL's name of its pad button; "" for none
};

// The commands, in the world's order.
using world::CommandIndex;
using world::kCommandConfirm;
using world::kCommandCount;
using world::kCommandDrop;
using world::kCommandHint;
using world::kCommandHowTo;
using world::kCommandKeys;
using world::kCommandLeft;
using world::kCommandMusic;
using world::kCommandPeek;
using world::kCommandQuit;
using world::kCommandRestart;
using world::kCommandRight;
using world::kCommandUp;
const std::array<CommandKeys, kCommandCount>& commandTable();

// Keys and pad buttons that always keep their meaning, so the menus can never be locked out:
// Enter and keypad Enter; the pad's Start (confirm) and B (Escape). No command may be given
// one of them. Escape is no key the game reads at all: it arrives as a window event.
struct FixedKey {
  const char* name;  // SDL's name
  const char* what;  // what it does, for the clash message
  uint8_t gameKey;   // the key code the game reads for it
};
const std::vector<FixedKey>& fixedKeys();
const std::vector<FixedKey>& fixedPadButtons();

// Pad buttons are numbered by the platform; a number below kPadButtonSlots.
constexpr int kPadButtonSlots = 32;
constexpr int kNoPadButton = -1;

// How the platform names keys and pad buttons. keyCode gives 0 and padButton kNoPadButton for
// a name it does not know; keyName is the name of a key code ("" for none).
struct KeyNaming {
  std::function<uint8_t(const std::string&)> keyCode;
  std::function<std::string(uint8_t)> keyName;
  std::function<int(const std::string&)> padButton;
};

// The player's choices as written in settings.ini: a name per command, or none (the default).
struct KeyChoices {
  std::array<std::optional<std::string>, kCommandCount> keys;
  std::array<std::optional<std::string>, kCommandCount> pads;
};

// Reads one settings line's key ("key.left") and value into choices; false when the key names
// no command or the value is empty. Names are checked later, by resolveKeys.
bool setKeyChoice(KeyChoices& choices, const std::string& key, const std::string& value);
// The "key.<command>=<name>" and "pad.<command>=<name>" lines of the choices made.
std::string keyChoiceLines(const KeyChoices& choices);
// The choices that give every command its default key and button.
KeyChoices defaultKeyChoices();

// The keys in use: per command the key code and pad button, and the names they were chosen by.
struct BoundKeys {
  std::array<uint8_t, kCommandCount> keyCodes{};
  std::array<int, kCommandCount> padButtons{};
  std::array<std::string, kCommandCount> keyNames;
  std::array<std::string, kCommandCount> padNames;
  std::vector<std::pair<uint8_t, uint8_t>> fixedKeyCodes;  // key code, the game's code
  std::vector<std::pair<int, uint8_t>> fixedPadCodes;      // button, the game's code
};

// The keys in use for the choices. A name the platform does not know keeps the command's
// default, with a note quoting it; when two commands (or a command and a fixed key) share a
// key, the note names both and all keys keep their defaults; the same for pad buttons.
BoundKeys resolveKeys(const KeyChoices& choices, const KeyNaming& naming, const NoteSink& note);

// Gives command the key code (named name). Refused, with the message naming the command or
// fixed key that has it already, when the key is taken; "" when done.
std::string rebindKey(BoundKeys& keys, std::size_t command, uint8_t keyCode,
                      const std::string& name);

// The choices that give the bound keys and buttons, to be saved.
KeyChoices choicesOf(const BoundKeys& keys);

// The labels the texts on the screen give the keys in use: key names as SDL names them, pad
// buttons in the words a player knows them by ("Y", "d-pad left", "left shoulder").
world::KeyLabels keyLabelsOf(const BoundKeys& keys);
// The labels of the default keys and buttons, for a game that has no keys of the player's.
world::KeyLabels defaultKeyLabels();

// The keyboard as the key commands read it: each bound key held holds its command's own key
// code; the fixed keys pass through. rawKeys() is the keyboard as read, every key by its code.
class BoundKeySource : public KeySource {
 public:
  BoundKeySource(KeySource& keyboard, const BoundKeys& keys) : keyboard_(keyboard), keys_(keys) {}
  bool read(KeyState& state) override;
  void acquire() override { keyboard_.acquire(); }
  const KeyState& rawKeys() const { return raw_; }

 private:
  KeySource& keyboard_;
  const BoundKeys& keys_;
  KeyState raw_{};
};

}  // namespace mdx::app
