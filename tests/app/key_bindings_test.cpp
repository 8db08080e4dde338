// The player's keys: settings lines naming keys and pad buttons, names the machine does not
// know, clashes refused whole, rebinding on the keys page, and the game played with a remapped
// key while the old one no longer acts.
#include "app/key_bindings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/pad_keys.h"
#include "game_harness.h"

namespace mdx::app {
namespace {

// A few keys and buttons by name, as a platform would name them.
KeyNaming testNaming() {
  static const std::map<std::string, uint8_t> keys{{"Up", DIK_UP},
                                                   {"Down", DIK_DOWN},
                                                   {"Left", DIK_LEFT},
                                                   {"Right", DIK_RIGHT},
                                                   {"Space", DIK_SPACE},
                                                   {"R", DIK_R},
                                                   {"F1", DIK_F1},
                                                   {"F2", DIK_F2},
                                                   {"Q", DIK_Q},
                                                   {"A", 0x1E},
                                                   {"D", 0x20},
                                                   {"K", DIK_K},
                                                   {"H", DIK_H},
                                                   {"Tab", DIK_TAB},
                                                   {"Return", DIK_RETURN},
                                                   {"Keypad Enter", DIK_NUMPADENTER}};
  static const std::map<std::string, int> pads{{"a", 0},
                                               {"b", 1},
                                               {"x", 2},
                                               {"y", 3},
                                               {"back", 4},
                                               {"start", 6},
                                               {"leftshoulder", 9},
                                               {"rightstick", 8},
                                               {"rightshoulder", 10},
                                               {"dpup", 11},
                                               {"dpdown", 12},
                                               {"dpleft", 13},
                                               {"dpright", 14}};
  KeyNaming naming;
  naming.keyCode = [](const std::string& name) {
    const auto found = keys.find(name);
    return found == keys.end() ? uint8_t{0} : found->second;
  };
  naming.keyName = [](uint8_t code) {
    for (const auto& [name, key] : keys) {
      if (key == code) return name;
    }
    return std::string();
  };
  naming.padButton = [](const std::string& name) {
    const auto found = pads.find(name);
    return found == pads.end() ? kNoPadButton : found->second;
  };
  return naming;
}

struct Resolved {
  BoundKeys keys;
  std::vector<std::string> notes;
};

Resolved resolve(const KeyChoices& choices) {
  Resolved r;
  r.keys = resolveKeys(choices, testNaming(), [&r](const std::string& n) { r.notes.push_back(n); });
  return r;
}

bool held(const KeyState& state, uint8_t key) {
  return (state[key] & kKeyDown) != 0;
}

TEST(KeyChoices, SettingsLinesNameCommandsAndReadBackWhatTheyWrite) {
  KeyChoices choices;
  EXPECT_TRUE(setKeyChoice(choices, "key.left", "A"));
  EXPECT_TRUE(setKeyChoice(choices, "pad.drop", "x"));
  EXPECT_FALSE(setKeyChoice(choices, "key.jump", "A"));  // no such command
  EXPECT_FALSE(setKeyChoice(choices, "key.left", ""));
  EXPECT_FALSE(setKeyChoice(choices, "keys.left", "A"));
  EXPECT_EQ(keyChoiceLines(choices), "key.left=A\npad.drop=x\n");

  KeyChoices again;
  for (const char* line : {"key.left=A", "pad.drop=x"}) {
    const std::string text = line;
    const std::size_t equals = text.find('=');
    setKeyChoice(again, text.substr(0, equals), text.substr(equals + 1));
  }
  EXPECT_EQ(keyChoiceLines(again), keyChoiceLines(choices));
}

TEST(ResolveKeys, TheDefaultsAndAChosenKeyAndButtonAreUsed) {
  const Resolved defaults = resolve(defaultKeyChoices());
  EXPECT_TRUE(defaults.notes.empty());
  EXPECT_EQ(defaults.keys.keyCodes[kCommandLeft], DIK_LEFT);
  EXPECT_EQ(defaults.keys.padButtons[kCommandQuit], kNoPadButton);
  EXPECT_TRUE(keyChoiceLines(choicesOf(defaults.keys)).empty());

  KeyChoices choices;
  choices.keys[kCommandLeft] = "A";
  choices.keys[kCommandRight] = "D";
  choices.pads[kCommandDrop] = "rightstick";
  const Resolved r = resolve(choices);
  EXPECT_TRUE(r.notes.empty());
  EXPECT_EQ(r.keys.keyCodes[kCommandLeft], 0x1E);
  EXPECT_EQ(r.keys.keyCodes[kCommandRight], 0x20);
  EXPECT_EQ(r.keys.padButtons[kCommandDrop], 8);
  EXPECT_EQ(keyChoiceLines(choicesOf(r.keys)), "key.left=A\nkey.right=D\npad.drop=rightstick\n");
}

TEST(ResolveKeys, AnUnknownNameKeepsTheDefaultWithItsTextEscaped) {
  KeyChoices choices;
  choices.keys[kCommandLeft] = "Lf\x01t\x9F";
  choices.pads[kCommandQuit] = "paddle9";
  choices.keys[kCommandRight] = "D";
  const Resolved r = resolve(choices);
  ASSERT_EQ(r.notes.size(), 2u);
  EXPECT_EQ(r.notes[0], "key.left: \"Lf\\x01t\\x9F\" names nothing the game can use; Left is kept");
  EXPECT_EQ(r.notes[1], "pad.quit: \"paddle9\" names nothing the game can use; none is kept");
  EXPECT_EQ(r.keys.keyCodes[kCommandLeft], DIK_LEFT);
  EXPECT_EQ(r.keys.keyCodes[kCommandRight], 0x20);  // the good choice beside it holds
  EXPECT_EQ(r.keys.padButtons[kCommandQuit], kNoPadButton);
}

TEST(ResolveKeys, AClashKeepsEveryDefaultOfItsKindAndNamesBoth) {
  KeyChoices swapped;  // a swap is no clash
  swapped.keys[kCommandLeft] = "Right";
  swapped.keys[kCommandRight] = "Left";
  EXPECT_TRUE(resolve(swapped).notes.empty());

  KeyChoices choices;
  choices.keys[kCommandRight] = "D";
  choices.keys[kCommandLeft] = "Space";
  choices.pads[kCommandDrop] = "rightstick";
  Resolved r = resolve(choices);
  ASSERT_EQ(r.notes.size(), 1u);
  EXPECT_EQ(r.notes[0], "key.left=Space clashes with key.confirm=Space; the default keys are kept");
  EXPECT_EQ(r.keys.keyCodes[kCommandLeft], DIK_LEFT);
  EXPECT_EQ(r.keys.keyCodes[kCommandRight], DIK_RIGHT);
  EXPECT_EQ(r.keys.padButtons[kCommandDrop], 8);  // the pad's choices are another matter

  KeyChoices fixed;
  fixed.keys[kCommandMusic] = "Return";
  fixed.pads[kCommandRestart] = "start";
  r = resolve(fixed);
  ASSERT_EQ(r.notes.size(), 2u);
  EXPECT_EQ(r.notes[0],
            "key.music=Return clashes with Return (confirm); the default keys are kept");
  EXPECT_EQ(r.notes[1],
            "pad.restart=start clashes with start (confirm); the default pad buttons are kept");
  EXPECT_EQ(r.keys.padButtons[kCommandRestart], 3);
}

TEST(ResolveKeys, RebindingRefusesATakenKeyAndKeepsTheOldOne) {
  BoundKeys keys = resolve(defaultKeyChoices()).keys;
  EXPECT_EQ(rebindKey(keys, kCommandLeft, DIK_SPACE, "Space"),
            "Space is taken by " + std::string(commandTable()[kCommandConfirm].label));
  EXPECT_EQ(rebindKey(keys, kCommandLeft, DIK_NUMPADENTER, "Keypad Enter"),
            "Keypad Enter is kept for confirm");
  EXPECT_EQ(keys.keyCodes[kCommandLeft], DIK_LEFT);
  EXPECT_EQ(rebindKey(keys, kCommandLeft, DIK_LEFT, "Left"), "");  // its own key again
  EXPECT_EQ(rebindKey(keys, kCommandLeft, 0x1E, "A"), "");
  EXPECT_EQ(keys.keyCodes[kCommandLeft], 0x1E);
  EXPECT_EQ(keyChoiceLines(choicesOf(keys)), "key.left=A\n");
}

TEST(BoundKeys, ABoundKeyOrButtonHoldsItsCommandsKeyAndTheOldOneNothing) {
  KeyChoices choices;
  choices.keys[kCommandLeft] = "A";
  choices.keys[kCommandConfirm] = "Left";
  choices.pads[kCommandRestart] = "rightstick";
  const BoundKeys keys = resolve(choices).keys;
  ScriptedKeySource keyboard;
  BoundKeySource source(keyboard, keys);
  keyboard.press(0x1E);
  keyboard.press(DIK_RETURN);
  KeyState state{};
  ASSERT_TRUE(source.read(state));
  EXPECT_TRUE(held(state, DIK_LEFT));
  EXPECT_TRUE(held(state, DIK_RETURN));  // Enter always confirms
  EXPECT_FALSE(held(state, 0x1E));
  EXPECT_TRUE(held(source.rawKeys(), 0x1E));
  keyboard.releaseAll();
  keyboard.press(DIK_LEFT);
  ASSERT_TRUE(source.read(state));
  EXPECT_TRUE(held(state, DIK_SPACE));
  EXPECT_FALSE(held(state, DIK_LEFT));

  PadState pad;
  pad.buttons[3] = true;  // Y: restart no longer
  pad.buttons[8] = true;  // the right stick: restart now
  pad.buttons[6] = true;  // Start always confirms
  pad.stickX = -kStickHalf - 1;
  KeyState padKeys{};
  addPadKeys(pad, keys, padKeys);
  KeyState expected{};
  for (uint8_t key : {DIK_R, DIK_SPACE, DIK_LEFT}) expected[key] = kKeyDown;
  EXPECT_EQ(padKeys, expected);
}

class RemappedGame : public ::testing::Test {
 protected:
  RemappedGame() {
    KeyChoices choices;
    choices.keys[kCommandLeft] = "A";
    keys = resolve(choices).keys;
    folder.writeLevel(1, testing::pillarLevel());
  }
  void tap(uint8_t key) {
    keyboard.press(key);
    h.frame();
    keyboard.release(key);
    h.frame();
  }

  testing::GameFolder folder{5};
  ScriptedKeySource keyboard;
  BoundKeys keys;
  BoundKeySource source{keyboard, keys};
  testing::Harness h{&folder, nullptr, true, &source};
};

TEST_F(RemappedGame, TheNewKeySteersThePieceAndTheOldKeyNoLonger) {
  tap(DIK_SPACE);
  tap(DIK_SPACE);
  ASSERT_EQ(h.gameState(), world::StateDropping);
  const int32_t column = h.game.state.pieces.pieceColumn;
  tap(DIK_LEFT);
  EXPECT_EQ(h.game.state.pieces.pieceColumn, column);
  tap(0x1E);
  EXPECT_EQ(h.game.state.pieces.pieceColumn, column - 1);
  tap(DIK_RIGHT);  // the other keys are as they were
  EXPECT_EQ(h.game.state.pieces.pieceColumn, column);
}

// The keys page driven like a player: K on the title, Down to the drop row, Enter, a new key.
class KeysPageInGame : public RemappedGame {
 protected:
  void SetUp() override {
    h.game.linkKeysPage({&source, &keys, testNaming(), [this](const BoundKeys& saved) {
                           savedLines.push_back(keyChoiceLines(choicesOf(saved)));
                         }});
    tap(DIK_K);
    ASSERT_TRUE(page().open);
  }
  const world::KeysPage& page() const { return h.game.state.keysPage; }
  std::vector<std::string> savedLines;
};

TEST_F(KeysPageInGame, APressedKeyBecomesTheChosenCommandsKeyAndIsSaved) {
  EXPECT_EQ(page().titleHint, "K: KEYS");
  EXPECT_EQ(page().rows[kCommandLeft][1], "A");  // the keys in use, not the defaults
  tap(DIK_DOWN);
  tap(DIK_RETURN);
  EXPECT_TRUE(page().listening);
  tap(0x20);  // D
  EXPECT_FALSE(page().listening);
  EXPECT_EQ(page().rows[kCommandDrop][1], "D");
  // Every text on the screen that names a key names the new one from now on.
  EXPECT_EQ(h.game.state.keyLabels.keys[kCommandDrop], "D");
  EXPECT_EQ(h.game.state.keyLabels.keys[kCommandLeft], "A");
  EXPECT_EQ(h.game.state.keyLabels.pads[kCommandDrop], "d-pad down");
  EXPECT_EQ(savedLines, std::vector<std::string>{"key.drop=D\nkey.left=A\n"});
  EXPECT_EQ(h.gameState(), world::StateTitle);  // nothing acted behind the page

  h.game.escapeReleased();
  EXPECT_FALSE(page().open);
  EXPECT_EQ(h.window.destroyed, 0);  // Escape closed the page, it did not quit
  tap(DIK_DOWN);
  EXPECT_EQ(h.game.state.keys.titleChoice, 1);  // Down is no longer the menu's
  tap(0x20);
  EXPECT_EQ(h.game.state.keys.titleChoice, 0);
}

TEST_F(KeysPageInGame, ATakenKeyIsRefusedWithAMessageAndEscapeKeepsTheOldKey) {
  tap(DIK_SPACE);  // the first row, Up: wait for its key
  tap(DIK_LEFT);   // Left is free now that A steers left
  EXPECT_EQ(page().rows[kCommandUp][1], "Left");
  tap(DIK_SPACE);
  tap(0x1E);  // A: taken by the left command
  EXPECT_EQ(page().message, "A is taken by " + std::string(commandTable()[kCommandLeft].label));
  EXPECT_EQ(page().rows[kCommandUp][1], "Left");
  tap(DIK_SPACE);
  tap(DIK_RETURN);
  EXPECT_EQ(page().message, "Return is kept for confirm");
  tap(DIK_SPACE);
  h.game.escapeReleased();  // stops the wait only
  EXPECT_TRUE(page().open);
  EXPECT_FALSE(page().listening);
  EXPECT_EQ(savedLines.size(), 1u);
}

// The README's list of the default keys is the table's, line for line.
TEST(KeyChoices, TheReadmeListsTheDefaultsOfTheTable) {
  std::ifstream in(std::string(MDX_SOURCE_DIR) + "/README.md");
  std::stringstream readme;
  readme << in.rdbuf();
  const std::string block = "```ini\n" + keyChoiceLines(defaultKeyChoices()) + "```\n";
  EXPECT_NE(readme.str().find(block), std::string::npos) << "README.md lacks\n" << block;
}

}  // namespace
}  // namespace mdx::app
