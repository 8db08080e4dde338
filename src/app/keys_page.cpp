// The keys page's commands. Like every command they act when their key is released: Up and
// Down choose a row, confirm waits for a new key, and the first key released after that is
// the row's new key. Escape (a window event) stops the wait, or closes the page.
#include "app/game.h"

namespace mdx::app {

namespace {

bool released(const KeyState& before, const KeyState& now, uint8_t key) {
  return (before[key] & kKeyDown) != 0 && (now[key] & kKeyDown) == 0;
}

uint8_t commandKey(std::size_t command) {
  return commandTable()[command].gameKey;
}

}  // namespace

void Game::linkKeysPage(KeysPageLink link) {
  keysLink_ = std::move(link);
  world::KeysPage& page = state.keysPage;
  page = world::KeysPage{};
  if (keysLink_.keys != nullptr) showKeys();
}

// The page's rows, the title's hint and the keys every text names, from the keys in use.
void Game::showKeys() {
  world::KeysPage& page = state.keysPage;
  page.rows.clear();
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const std::string& pad = keysLink_.keys->padNames[i];
    page.rows.push_back(
        {commandTable()[i].label, keysLink_.keys->keyNames[i], pad.empty() ? "-" : pad});
  }
  page.titleHint = keysLink_.keys->keyNames[kCommandKeys] + ": KEYS";
  state.keyLabels = keyLabelsOf(*keysLink_.keys);
}

// On the title, the keys command's release opens the page.
void Game::openKeysKey(const KeyState& keys) {
  const bool down = (keys[commandKey(kCommandKeys)] & kKeyDown) != 0;
  const bool wasDown = keysKeyHeld_;
  keysKeyHeld_ = down;
  if (down || !wasDown || keysLink_.keys == nullptr) return;
  if (state.progress.gameState != world::StateTitle || state.keys.quitPrompt != 0) return;
  world::KeysPage& page = state.keysPage;
  page.open = true;
  page.listening = false;
  page.row = 0;
  page.message.clear();
  pageKeysBefore_ = keys;
  rawKeysBefore_ = keysLink_.keyboard->rawKeys();
  state.playSample(world::Sample::Button);
}

void Game::keysPageKeys(const KeyState& keys) {
  world::KeysPage& page = state.keysPage;
  const KeyState& raw = keysLink_.keyboard->rawKeys();
  const KeyState& before = pageKeysBefore_;
  if (page.listening) {
    takeNewKey(raw);
  } else if (released(before, keys, commandKey(kCommandUp))) {
    page.row = (page.row + kCommandCount - 1) % kCommandCount;
  } else if (released(before, keys, commandKey(kCommandDrop))) {
    page.row = (page.row + 1) % kCommandCount;
  } else if (released(before, keys, commandKey(kCommandConfirm)) ||
             released(before, keys, DIK_RETURN) || released(before, keys, DIK_NUMPADENTER)) {
    page.listening = true;
    page.message.clear();
  }
  pageKeysBefore_ = keys;
  rawKeysBefore_ = raw;
  keysKeyHeld_ = (keys[commandKey(kCommandKeys)] & kKeyDown) != 0;
}

// The first key released while the page waits becomes the chosen row's key, unless another
// command or a fixed key has it.
void Game::takeNewKey(const KeyState& raw) {
  world::KeysPage& page = state.keysPage;
  for (int code = 1; code < static_cast<int>(raw.size()); ++code) {
    const auto key = static_cast<uint8_t>(code);
    if (!released(rawKeysBefore_, raw, key)) continue;
    page.listening = false;
    const std::string name = keysLink_.naming.keyName(key);
    const std::string refused =
        name.empty() ? "That key cannot be used" : rebindKey(*keysLink_.keys, page.row, key, name);
    page.message =
        refused.empty() ? std::string(commandTable()[page.row].label) + ": " + name : refused;
    if (refused.empty() && keysLink_.save) keysLink_.save(*keysLink_.keys);
    showKeys();
    state.playSample(world::Sample::Button);
    return;
  }
}

// Escape on the page: stops the wait for a key, or closes the page.
bool Game::keysPageEscape() {
  world::KeysPage& page = state.keysPage;
  if (!page.open) return false;
  if (page.listening) {
    page.listening = false;
  } else {
    page.open = false;
    state.keys.keyLatch.fill(0);  // keys held on the page act on nothing behind it
  }
  return true;
}

}  // namespace mdx::app
