// The drawing back end behind SpriteImage and TextWriter: textures, sprites and text.
// The game uses the SDL renderer; tests use a recorder that notes every call.
#pragma once

#include <cstdint>
#include <string>

namespace mdx::gfx {

constexpr int32_t kOk = 0;
constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);  // E_FAIL

using TextureId = int32_t;  // 0 = no texture
using FontId = int32_t;     // 0 = no font

// One sprite draw with every parameter of SpriteImage::draw.
struct SpriteDraw {
  float x = 0, y = 0;
  uint32_t colour = 0xFFFFFFFFu;  // ARGB
  float rotation = 0;             // radians, positive turns counter-clockwise on screen
  float centreX = 0, centreY = 0;
  float scaleX = 1, scaleY = 1;
};

class DrawBackend {
 public:
  virtual ~DrawBackend() = default;

  // Loads a picture file into a texture at its own size, opaque magenta made transparent.
  // Returns 0 on failure (missing, unreadable or undecodable file).
  virtual TextureId loadTexture(const std::string& fileName) = 0;
  // Draws the whole texture with the sprite transform; a 0 texture draws nothing.
  virtual void drawSprite(TextureId texture, const SpriteDraw& draw) = 0;

  // The stand-in for the system font. Returns 0 when no font can be made.
  virtual FontId createFont() = 0;
  // Draws one line of text with its top-left corner at (x, y); returns the text's height.
  virtual int32_t drawText(FontId font, const std::string& text, int32_t x, int32_t y,
                           uint32_t colour) = 0;
  // How wide drawText would draw text (its widest line), in pixels; 0 without a font.
  virtual int32_t textWidth(FontId font, const std::string& text) = 0;

  // Scene bracket around one frame.
  virtual void beginScene() = 0;
  virtual void endScene() = 0;  // ends the scene and presents it
};

}  // namespace mdx::gfx
