// One picture held as a texture, drawn with position, colour, rotation and scale.
#pragma once

#include <cstdint>
#include <string>

#include "gfxlib/draw_backend.h"
#include "world/services.h"

namespace mdx::gfx {

class SpriteImage {
 public:
  SpriteImage() = default;
  SpriteImage(const SpriteImage&) = delete;
  SpriteImage& operator=(const SpriteImage&) = delete;

  // Loads a Targa picture through the back end. On failure shows a message box whose text is
  // the file name (caption "Critical error") and returns kFail; the image stays unloaded. The
  // picture is taken at its own size, without filtering or rescaling.
  int32_t load(DrawBackend& backend, const std::string& fileName, world::MessageBoxes* messages);

  // Draws the picture: scale about the top-left corner, turn about (centreX, centreY),
  // move to (x, y); colour multiplied in. Unloaded: draws nothing, returns kFail.
  int32_t draw(float x, float y, uint32_t colour, float rotation, float centreX, float centreY,
               float scaleX, float scaleY);

  void release();

  int32_t loaded = 0;

  const std::string& fileName() const { return fileName_; }

 private:
  DrawBackend* backend_ = nullptr;
  TextureId texture_ = 0;
  std::string fileName_;
};

}  // namespace mdx::gfx
