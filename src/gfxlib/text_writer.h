// A font with a fixed colour that draws one line of text at a point.
#pragma once

#include <cstdint>
#include <string>

#include "gfxlib/draw_backend.h"

namespace mdx::gfx {

class TextWriter {
 public:
  // Makes (or remakes) the font and sets the colour. Always returns kOk; a writer whose font
  // could not be made is ready but draws nothing.
  int32_t create(DrawBackend& backend, uint32_t colour);

  // Draws text with its top-left corner at (x, y); returns its height, or kFail before create.
  int32_t draw(const std::string& text, int32_t x, int32_t y);

  // How wide draw would make text, in pixels; 0 before create or without a font.
  int32_t width(const std::string& text) const;

  void release();

  uint32_t colour = 0;
  int32_t ready = 0;

 private:
  DrawBackend* backend_ = nullptr;
  FontId font_ = 0;
};

}  // namespace mdx::gfx
