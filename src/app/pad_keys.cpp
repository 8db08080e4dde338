#include "app/pad_keys.h"

namespace mdx::app {

void addPadKeys(const PadState& pad, const BoundKeys& keys, KeyState& state) {
  auto hold = [&state](bool held, uint8_t key) {
    if (held && key != 0) state[key] = kKeyDown;
  };
  auto button = [&pad](int index) {
    return index >= 0 && index < kPadButtonSlots && pad.buttons[static_cast<std::size_t>(index)];
  };
  const auto& table = commandTable();
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    hold(button(keys.padButtons[i]), table[i].gameKey);
  }
  for (const auto& [index, gameKey] : keys.fixedPadCodes) hold(button(index), gameKey);
  hold(pad.stickX < -kStickHalf, table[kCommandLeft].gameKey);
  hold(pad.stickX > kStickHalf, table[kCommandRight].gameKey);
  hold(pad.stickY < -kStickHalf, table[kCommandUp].gameKey);
  hold(pad.stickY > kStickHalf, table[kCommandDrop].gameKey);
}

}  // namespace mdx::app
