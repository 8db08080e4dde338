#include "gfxlib/sprite_image.h"

namespace mdx::gfx {

int32_t SpriteImage::load(DrawBackend& backend, const std::string& fileName,
                          world::MessageBoxes* messages) {
  fileName_ = fileName;
  const TextureId texture = backend.loadTexture(fileName);
  if (texture == 0) {
    if (messages != nullptr) {
      messages->showMessage(fileName, "Critical error", world::MessageIcon::Information);
    }
    return kFail;
  }
  backend_ = &backend;
  texture_ = texture;
  loaded = 1;
  return kOk;
}

int32_t SpriteImage::draw(float x, float y, uint32_t colour, float rotation, float centreX,
                          float centreY, float scaleX, float scaleY) {
  if (loaded == 0 || backend_ == nullptr) return kFail;
  backend_->drawSprite(texture_,
                       SpriteDraw{x, y, colour, rotation, centreX, centreY, scaleX, scaleY});
  return kOk;
}

void SpriteImage::release() {
  // Textures belong to the back end and go with it; the image just forgets its own.
  backend_ = nullptr;
  texture_ = 0;
}

}  // namespace mdx::gfx
