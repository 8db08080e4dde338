// The keys page over the title screen: every command with its key and pad button; choosing a
// command and pressing a key gives it that key. What it needs from the shell comes in a
// KeysPageLink; without one (replays, tests of other things) the page stays closed.
#pragma once

#include <functional>

#include "app/key_bindings.h"

namespace mdx::app {

struct KeysPageLink {
  const BoundKeySource* keyboard = nullptr;  // the keys as read, for the new key
  BoundKeys* keys = nullptr;                 // the keys in use, changed by the page
  KeyNaming naming;
  // Keeps the keys in use for the next start; called after every change.
  std::function<void(const BoundKeys&)> save;
};

}  // namespace mdx::app
