// The editor's canvas: the level drawn into a texture with the game's own pictures and
// play-field drawing (landscape, strips, blocks, devices, robot), and the palette's pictures.
#pragma once

#include <memory>
#include <string>

#include "edit/edit_model.h"
#include "render/assets.h"
#include "world/game_state.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace mdx::gfx {
class SdlBackend;
}

namespace mdx::edit {

// What the canvas shows of the level.
struct CanvasView {
  bool blocks = true;
  bool devices = true;
  bool scenery = true;  // landscape and the two strips
};

// One palette picture's place in the palette texture, in texture pixels.
struct PaletteTile {
  float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

class Canvas {
 public:
  Canvas();
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Loads the game's pictures (the shared ones and pack's landscapes) and makes the
  // two textures. Returns how many pictures loaded; 0 also when the textures cannot be made.
  int init(SDL_Renderer* renderer, const world::PackLayout& pack);

  // Draws state as the running game shows it (no falling piece, no piece bar) into the
  // 640 x 480 level texture, with the hidden layers left out, and returns the texture.
  SDL_Texture* draw(const world::GameState& state, const CanvasView& view);

  // The texture holding every palette picture, and where brush's picture lies in it (u and v
  // from 0 to 1); false for a brush without a picture.
  SDL_Texture* paletteTexture() const { return paletteTexture_; }
  bool paletteTile(const Brush& brush, PaletteTile& tile) const;

 private:
  void drawPalette();

  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<gfx::SdlBackend> backend_;
  render::Assets assets_;
  SDL_Texture* levelTexture_ = nullptr;
  SDL_Texture* paletteTexture_ = nullptr;
};

}  // namespace mdx::edit
