// The one message-box implementation of the game: a line on stderr, and an SDL message box
// when a display is there to show it.
#pragma once

#include <iosfwd>
#include <string_view>

#include "world/services.h"

struct SDL_Window;

namespace mdx::gfx {

class SdlMessageBoxes : public world::MessageBoxes {
 public:
  // Messages are also written as "caption: text" lines to log (stderr by default).
  explicit SdlMessageBoxes(std::ostream* log = nullptr);

  // The window the boxes belong to; null for boxes with no owner.
  void setOwner(SDL_Window* owner) { owner_ = owner; }

  // Writes the line, then shows a modal box unless boxes are switched off (the environment
  // variable MDX_NO_MESSAGE_BOXES set to anything but "0") or there is no display to show it.
  void showMessage(std::string_view text, std::string_view caption,
                   world::MessageIcon icon) override;

  // True when message boxes would be shown on screen now.
  static bool boxesEnabled();

 private:
  std::ostream* log_;
  SDL_Window* owner_ = nullptr;
};

}  // namespace mdx::gfx
