// DrawBackend on an SDL renderer: textures at the picture's own size, sprites drawn as two
// triangles with the full scale-turn-move transform, text through SDL2_ttf.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gfxlib/draw_backend.h"
#include "gfxlib/frame_enlarger.h"
#include "gfxlib/tga_decoder.h"

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Color;
struct SDL_Vertex;
typedef struct _TTF_Font TTF_Font;

namespace mdx::gfx {

// Where the game's font is looked for, in order: the copy in the game's data folder ("": the
// working directory), then Debian's.
std::vector<std::string> defaultFontPaths(const std::string& dataFolder = "");

// Size of the stand-in for the Windows system font: DejaVu Sans at 13 (about 16 pixels per
// line), drawn bold.
constexpr int kFontPointSize = 13;

// The four screen corners of a w x h picture drawn with d: top-left, top-right, bottom-right,
// bottom-left. Scale about the top-left corner, turn about the centre (positive angle turns
// counter-clockwise on screen), then move to (d.x, d.y).
struct Corner {
  float x, y;
};
std::vector<Corner> spriteCorners(float width, float height, const SpriteDraw& d);
// Where the picture's point (px, py), in its own pixels, lands on screen under d.
Corner transformPoint(float px, float py, const SpriteDraw& d);

class SdlBackend : public DrawBackend {
 public:
  // The renderer stays owned by the caller and must outlive the backend.
  explicit SdlBackend(SDL_Renderer* renderer,
                      std::vector<std::string> fontPaths = defaultFontPaths());
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  // Reads a Targa file (see decodeTga) into a texture. 0 on failure; lastError() says why,
  // and the same reason is written to stderr.
  TextureId loadTexture(const std::string& fileName) override;
  // A texture from pixels already in memory (generated pictures, tests). 0 on failure.
  TextureId createTexture(const Picture& picture);
  void drawSprite(TextureId texture, const SpriteDraw& draw) override;

  FontId createFont() override;
  int32_t drawText(FontId font, const std::string& text, int32_t x, int32_t y,
                   uint32_t colour) override;
  int32_t textWidth(FontId font, const std::string& text) override;

  // Calls the scene starter, then clears the picture to black; the frame draws over it.
  void beginScene() override;
  // What beginScene calls first; Display::beginFrame for the game's window, which picks the
  // frame's target.
  void setSceneStarter(std::function<void()> starter) { sceneStarter_ = std::move(starter); }
  // Shows the frame through the presenter (by default the renderer's own present).
  void endScene() override;
  // What endScene calls to show the frame; Display::present for the game's window.
  void setPresenter(std::function<void()> presenter) { presenter_ = std::move(presenter); }

  // The picture in memory the renderer draws into, when it is SDL's software renderer on a
  // 0xAARRGGBB surface of the caller's (headless frames, frames drawn in memory for a window).
  // A turned opaque picture drawn untinted is then copied straight into it with the renderer's
  // own pixels (see turned_copy.h), several times faster than the renderer fills it.
  void setPictureInMemory(const PixelRows& picture) { pictureInMemory_ = picture; }

  // Size of a texture in pixels; (0, 0) for an unknown id.
  std::pair<int, int> textureSize(TextureId texture) const;
  const std::string& lastError() const { return lastError_; }

 private:
  struct Texture {
    SDL_Texture* texture;
    int width, height;
    bool opaque;  // every pixel fully opaque: drawn without blending when the colour is too
    std::vector<uint32_t> pixels;  // an opaque picture's pixels, for copies into the picture
  };
  // Adds the piece of t between texels (left, top) and (right, bottom) as two triangles,
  // unless it lies wholly outside the visible width x height.
  void addPiece(const Texture& t, const SpriteDraw& draw, SDL_Color colour, int left, int top,
                int right, int bottom, int width, int height);
  SDL_Texture* renderLine(FontId font, const std::string& line, int& w, int& h);
  // Copies the queued pieces of t (vertices_, indices_) into the picture in memory, when the
  // renderer would fill them as plain texel copies; false when it would not.
  bool copyIntoPicture(const Texture& t, const SpriteDraw& draw);

  SDL_Renderer* renderer_;
  std::vector<std::string> fontPaths_;
  std::vector<Texture> textures_;
  std::vector<SDL_Vertex> vertices_;  // reused by every sprite draw
  std::vector<int> indices_;
  std::vector<TTF_Font*> fonts_;
  // Rendered lines of text by (font, text), so the same title lines are not re-rendered.
  std::map<std::pair<FontId, std::string>, Texture> textCache_;
  PixelRows pictureInMemory_{nullptr, 0, 0, 0};
  std::function<void()> presenter_;
  std::function<void()> sceneStarter_;
  bool startedTtf_ = false;
  std::string lastError_;
};

}  // namespace mdx::gfx
