#include "app/key_bindings.h"

#include <cctype>

namespace mdx::app {
namespace {

constexpr const char* kKeyPrefix = "key.";
constexpr const char* kPadPrefix = "pad.";

// Which of a command's two choices a settings line or a note is about.
struct Kind {
  const char* prefix;
  const char* (*defaultOf)(const CommandKeys&);
};
const Kind kKeyKind{kKeyPrefix, [](const CommandKeys& c) { return c.defaultKey; }};
const Kind kPadKind{kPadPrefix, [](const CommandKeys& c) { return c.defaultPad; }};

std::optional<std::size_t> commandNamed(const std::string& name) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (name == commandTable()[i].name) return i;
  }
  return std::nullopt;
}

// "key.left=Space": how a note names a command's choice.
std::string choiceText(const Kind& kind, std::size_t command, const std::string& name) {
  return kind.prefix + std::string(commandTable()[command].name) + "=" + name;
}

// The codes a set of choices gives (keys or pad buttons), with their names; a name the
// platform does not know keeps the default, with a note.
template <typename Code>
void resolveNames(const Kind& kind,
                  const std::array<std::optional<std::string>, kCommandCount>& chosen,
                  const std::function<Code(const std::string&)>& codeOf, Code none,
                  std::array<Code, kCommandCount>& codes,
                  std::array<std::string, kCommandCount>& names, const NoteSink& note) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const std::string fallback = kind.defaultOf(commandTable()[i]);
    names[i] = fallback;
    codes[i] = fallback.empty() ? none : codeOf(fallback);
    if (!chosen[i]) continue;
    const Code code = codeOf(*chosen[i]);
    if (code == none) {
      note(kind.prefix + std::string(commandTable()[i].name) + ": " + quotedLine(*chosen[i]) +
           " names nothing the game can use; " +
           (fallback.empty() ? std::string("none") : fallback) + " is kept");
      continue;
    }
    codes[i] = code;
    names[i] = *chosen[i];
  }
}

// The first two holders of one code: commands by index, fixed ones after them. Empty when
// every code is held once.
template <typename Code>
std::optional<std::pair<std::size_t, std::size_t>> firstClash(
    const std::array<Code, kCommandCount>& codes,
    const std::vector<std::pair<Code, uint8_t>>& fixed, Code none) {
  std::vector<Code> all(codes.begin(), codes.end());
  for (const auto& f : fixed) all.push_back(f.first);
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      if (codes[i] != none && codes[i] == all[j]) return std::make_pair(i, j);
    }
  }
  return std::nullopt;
}

template <typename Code>
std::vector<std::pair<Code, uint8_t>> fixedCodes(
    const std::vector<FixedKey>& fixed, const std::function<Code(const std::string&)>& codeOf) {
  std::vector<std::pair<Code, uint8_t>> codes;
  for (const FixedKey& f : fixed) codes.emplace_back(codeOf(f.name), f.gameKey);
  return codes;
}

// A clash keeps every default of its kind: the player's other choices may have been made
// around the one that failed.
template <typename Code>
void refuseClash(const Kind& kind, const std::vector<FixedKey>& fixed,
                 std::array<Code, kCommandCount>& codes,
                 std::array<std::string, kCommandCount>& names,
                 const std::vector<std::pair<Code, uint8_t>>& fixedCodes,
                 const std::function<Code(const std::string&)>& codeOf, Code none,
                 const NoteSink& note) {
  const auto clash = firstClash(codes, fixedCodes, none);
  if (!clash) return;
  const auto [first, second] = *clash;
  const std::string other = second < kCommandCount
                                ? choiceText(kind, second, names[second])
                                : std::string(fixed[second - kCommandCount].name) + " (" +
                                      fixed[second - kCommandCount].what + ")";
  note(choiceText(kind, first, names[first]) + " clashes with " + other + "; the default " +
       (kind.prefix == kKeyPrefix ? "keys" : "pad buttons") + " are kept");
  const std::array<std::optional<std::string>, kCommandCount> none_chosen{};
  resolveNames<Code>(kind, none_chosen, codeOf, none, codes, names, note);
}

// "dpleft" is "d-pad left", "leftshoulder" "left shoulder", "y" "Y", "back" "Back".
std::string padLabel(const std::string& name) {
  if (name.size() == 1) return std::string(1, static_cast<char>(std::toupper(name[0])));
  if (name.rfind("dp", 0) == 0) return "d-pad " + name.substr(2);
  for (const char* side : {"left", "right"}) {
    const std::string prefix = side;
    if (name.size() > prefix.size() && name.rfind(prefix, 0) == 0) {
      return prefix + " " + name.substr(prefix.size());
    }
  }
  std::string label = name;
  if (!label.empty()) label[0] = static_cast<char>(std::toupper(label[0]));
  return label;
}

world::KeyLabels labelsOf(const std::array<std::string, kCommandCount>& keyNames,
                          const std::array<std::string, kCommandCount>& padNames) {
  world::KeyLabels labels;
  labels.keys = keyNames;
  for (std::size_t i = 0; i < kCommandCount; ++i) labels.pads[i] = padLabel(padNames[i]);
  return labels;
}

}  // namespace

const std::array<CommandKeys, kCommandCount>& commandTable() {
  static const std::array<CommandKeys, kCommandCount> table{{
      {"up", "UP (MENU)", DIK_UP, "Up", "dpup"},
      {"drop", "DOWN (MENU) / DROP", DIK_DOWN, "Down", "dpdown"},
      {"left", "LEFT", DIK_LEFT, "Left", "dpleft"},
      {"right", "RIGHT", DIK_RIGHT, "Right", "dpright"},
      {"confirm", "START / CONFIRM", DIK_SPACE, "Space", "a"},
      {"restart", "RESTART LEVEL", DIK_R, "R", "y"},
      {"music", "MUSIC ON / OFF", DIK_F2, "F2", "back"},
      {"quit", "QUIT (AT THE PROMPT)", DIK_Q, "Q", ""},
      {"keys", "THIS PAGE (ON THE TITLE)", DIK_K, "K", ""},
      {"peek", "PEEK AT THE FIELD (HOLD)", DIK_TAB, "Tab", "x"},
      {"howto", "HOW TO PLAY", DIK_F1, "F1", "leftshoulder"},
      {"hint", "HINT: WHERE THE PIECE GOES", DIK_H, "H", "rightshoulder"},
  }};
  return table;
}

const std::vector<FixedKey>& fixedKeys() {
  static const std::vector<FixedKey> keys{{"Return", "confirm", DIK_RETURN},
                                          {"Keypad Enter", "confirm", DIK_NUMPADENTER}};
  return keys;
}

const std::vector<FixedKey>& fixedPadButtons() {
  static const std::vector<FixedKey> buttons{{"start", "confirm", DIK_SPACE}, {"b", "Escape", 0}};
  return buttons;
}

bool setKeyChoice(KeyChoices& choices, const std::string& key, const std::string& value) {
  if (value.empty()) return false;
  for (const Kind* kind : {&kKeyKind, &kPadKind}) {
    const std::string prefix = kind->prefix;
    if (key.compare(0, prefix.size(), prefix) != 0) continue;
    const std::optional<std::size_t> command = commandNamed(key.substr(prefix.size()));
    if (!command) return false;
    (kind == &kKeyKind ? choices.keys : choices.pads)[*command] = value;
    return true;
  }
  return false;
}

std::string keyChoiceLines(const KeyChoices& choices) {
  std::string lines;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (choices.keys[i]) lines += choiceText(kKeyKind, i, *choices.keys[i]) + "\n";
  }
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (choices.pads[i]) lines += choiceText(kPadKind, i, *choices.pads[i]) + "\n";
  }
  return lines;
}

KeyChoices defaultKeyChoices() {
  KeyChoices choices;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    choices.keys[i] = commandTable()[i].defaultKey;
    if (commandTable()[i].defaultPad[0] != '\0') choices.pads[i] = commandTable()[i].defaultPad;
  }
  return choices;
}

BoundKeys resolveKeys(const KeyChoices& choices, const KeyNaming& naming, const NoteSink& note) {
  BoundKeys bound;
  const std::function<uint8_t(const std::string&)> keyCode = naming.keyCode;
  const std::function<int(const std::string&)> padButton = [&naming](const std::string& name) {
    const int button = naming.padButton(name);
    return button >= 0 && button < kPadButtonSlots ? button : kNoPadButton;
  };
  bound.fixedKeyCodes = fixedCodes<uint8_t>(fixedKeys(), keyCode);
  bound.fixedPadCodes = fixedCodes<int>(fixedPadButtons(), padButton);
  resolveNames<uint8_t>(kKeyKind, choices.keys, keyCode, 0, bound.keyCodes, bound.keyNames, note);
  refuseClash<uint8_t>(kKeyKind, fixedKeys(), bound.keyCodes, bound.keyNames, bound.fixedKeyCodes,
                       keyCode, 0, note);
  resolveNames<int>(kPadKind, choices.pads, padButton, kNoPadButton, bound.padButtons,
                    bound.padNames, note);
  refuseClash<int>(kPadKind, fixedPadButtons(), bound.padButtons, bound.padNames,
                   bound.fixedPadCodes, padButton, kNoPadButton, note);
  return bound;
}

std::string rebindKey(BoundKeys& keys, std::size_t command, uint8_t keyCode,
                      const std::string& name) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (i != command && keys.keyCodes[i] == keyCode) {
      return name + " is taken by " + commandTable()[i].label;
    }
  }
  for (std::size_t i = 0; i < keys.fixedKeyCodes.size(); ++i) {
    if (keys.fixedKeyCodes[i].first == keyCode) {
      return name + " is kept for " + fixedKeys()[i].what;
    }
  }
  keys.keyCodes[command] = keyCode;
  keys.keyNames[command] = name;
  return "";
}

KeyChoices choicesOf(const BoundKeys& keys) {
  KeyChoices choices;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (keys.keyNames[i] != commandTable()[i].defaultKey) choices.keys[i] = keys.keyNames[i];
    if (keys.padNames[i] != commandTable()[i].defaultPad) choices.pads[i] = keys.padNames[i];
  }
  return choices;
}

bool BoundKeySource::read(KeyState& state) {
  state.fill(0);
  if (!keyboard_.read(raw_)) {
    raw_.fill(0);
    return false;
  }
  auto hold = [this, &state](uint8_t key, uint8_t gameKey) {
    if (key != 0 && (raw_[key] & kKeyDown) != 0) state[gameKey] = kKeyDown;
  };
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    hold(keys_.keyCodes[i], commandTable()[i].gameKey);
  }
  for (const auto& [key, gameKey] : keys_.fixedKeyCodes) hold(key, gameKey);
  return true;
}

world::KeyLabels keyLabelsOf(const BoundKeys& keys) {
  return labelsOf(keys.keyNames, keys.padNames);
}

world::KeyLabels defaultKeyLabels() {
  std::array<std::string, kCommandCount> keyNames, padNames;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    keyNames[i] = commandTable()[i].defaultKey;
    padNames[i] = commandTable()[i].defaultPad;
  }
  return labelsOf(keyNames, padNames);
}

}  // namespace mdx::app
