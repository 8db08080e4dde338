// Draws Dear ImGui's draw lists with an SDL renderer (SDL_RenderGeometryRaw), for the startup
// dialog. Owns the font atlas texture.
#pragma once

struct SDL_Renderer;
struct SDL_Texture;
struct ImDrawData;

namespace mdx::app {

class DialogRenderer {
 public:
  ~DialogRenderer();
  // Uploads ImGui's font atlas (build the fonts first). False when the texture cannot be made.
  bool init(SDL_Renderer* renderer);
  // Draws one frame's draw data onto the renderer; the caller clears and presents.
  void render(ImDrawData* data);

 private:
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* fontTexture_ = nullptr;
};

}  // namespace mdx::app
