#include "app/pad_keys.h"

namespace mdx::app {

void addPadKeys(const PadState& pad, KeyState& state) {
  auto hold = [&state](bool held, uint8_t key) {
    if (held) state[key] = kKeyDown;
  };
  hold(pad.left || pad.stickX < -kStickHalf, DIK_LEFT);
  hold(pad.right || pad.stickX > kStickHalf, DIK_RIGHT);
  hold(pad.up || pad.stickY < -kStickHalf, DIK_UP);
  hold(pad.down || pad.stickY > kStickHalf, DIK_DOWN);
  hold(pad.a || pad.start, DIK_SPACE);
  hold(pad.y, DIK_R);
  hold(pad.back, DIK_F2);
}

}  // namespace mdx::app
