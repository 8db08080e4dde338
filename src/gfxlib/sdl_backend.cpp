#include "gfxlib/sdl_backend.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text.h"
#include "gfxlib/turned_copy.h"

namespace mdx::gfx {
namespace {

// Largest side, in screen pixels, of one piece of a turned picture.
constexpr float kMaxPieceSide = 256.0f;

// Enough rendered lines for every text the game shows; the cache is emptied when full.
constexpr std::size_t kTextCacheLimit = 64;

SDL_Color vertexColour(uint32_t argb) {
  return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                   static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
}

}  // namespace

std::vector<std::string> defaultFontPaths(const std::string& dataFolder) {
  const std::string shipped = "media/fonts/DejaVuSans.ttf";
  return {dataFolder.empty() ? shipped : dataFolder + "/" + shipped,
          "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
}

Corner transformPoint(float px, float py, const SpriteDraw& d) {
  const float c = std::cos(d.rotation), s = std::sin(d.rotation);
  const float x = px * d.scaleX - d.centreX;
  const float y = py * d.scaleY - d.centreY;
  // Screen y grows downwards, so this turn is counter-clockwise on screen for a > 0.
  return {x * c + y * s + d.centreX + d.x, -x * s + y * c + d.centreY + d.y};
}

std::vector<Corner> spriteCorners(float width, float height, const SpriteDraw& d) {
  return {transformPoint(0, 0, d), transformPoint(width, 0, d), transformPoint(width, height, d),
          transformPoint(0, height, d)};
}

SdlBackend::SdlBackend(SDL_Renderer* renderer, std::vector<std::string> fontPaths)
    : renderer_(renderer), fontPaths_(std::move(fontPaths)) {
  if (renderer_ != nullptr) SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
}

SdlBackend::~SdlBackend() {
  for (auto& entry : textCache_) SDL_DestroyTexture(entry.second.texture);
  for (Texture& t : textures_) SDL_DestroyTexture(t.texture);
  for (TTF_Font* font : fonts_) TTF_CloseFont(font);
  if (startedTtf_) TTF_Quit();
}

TextureId SdlBackend::loadTexture(const std::string& fileName) {
  const DecodeResult decoded = loadTgaFile(fileName);
  if (!decoded.ok) {
    // The message box names only the file; the reason goes to stderr for whoever made it.
    lastError_ = fileName + ": " + decoded.error;
    std::fprintf(stderr, "picture not loaded: %s\n", lastError_.c_str());
    return 0;
  }
  return createTexture(decoded.picture);
}

TextureId SdlBackend::createTexture(const Picture& picture) {
  if (renderer_ == nullptr || picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
    lastError_ = "no renderer or an empty picture";
    return 0;
  }
  SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STATIC, picture.width, picture.height);
  if (texture == nullptr) {
    lastError_ = SDL_GetError();
    return 0;
  }
  SDL_UpdateTexture(texture, nullptr, picture.pixels.data(), picture.width * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
  const bool opaque = std::all_of(picture.pixels.begin(), picture.pixels.end(),
                                  [](uint32_t pixel) { return (pixel >> 24) == 0xFFu; });
  textures_.push_back({texture, picture.width, picture.height, opaque,
                       opaque ? picture.pixels : std::vector<uint32_t>{}});
  return static_cast<TextureId>(textures_.size());
}

std::pair<int, int> SdlBackend::textureSize(TextureId texture) const {
  if (texture <= 0 || static_cast<std::size_t>(texture) > textures_.size()) return {0, 0};
  const Texture& t = textures_[static_cast<std::size_t>(texture - 1)];
  return {t.width, t.height};
}

void SdlBackend::drawSprite(TextureId texture, const SpriteDraw& draw) {
  if (texture <= 0 || static_cast<std::size_t>(texture) > textures_.size()) return;
  if ((draw.colour >> 24) == 0) return;  // fully transparent: nothing would show
  const Texture& t = textures_[static_cast<std::size_t>(texture - 1)];
  // A turned picture is drawn as pieces of at most kMaxPieceSide screen pixels a side: SDL's
  // software triangle filler overflows (drawing garbage or crashing) on large textured
  // triangles. Each piece's corners lie on whole texels, so the pieces join exactly.
  int stepX = t.width, stepY = t.height;
  if (draw.rotation != 0.0f) {
    stepX = std::max(1, static_cast<int>(kMaxPieceSide / std::max(std::fabs(draw.scaleX), 1e-3f)));
    stepY = std::max(1, static_cast<int>(kMaxPieceSide / std::max(std::fabs(draw.scaleY), 1e-3f)));
  }
  // The vertex buffers are kept between draws, so a frame allocates nothing once they have grown.
  vertices_.clear();
  indices_.clear();
  // Only pieces that reach into the visible picture are drawn: most of the turned 830 x 830
  // landscape lies outside the 640 x 480 frame.
  SDL_Rect view{};
  SDL_RenderGetViewport(renderer_, &view);
  const SDL_Color colour = vertexColour(draw.colour);
  for (int top = 0; top < t.height; top += stepY) {
    for (int left = 0; left < t.width; left += stepX) {
      addPiece(t, draw, colour, left, top, std::min(left + stepX, t.width),
               std::min(top + stepY, t.height), view.w, view.h);
    }
  }
  if (indices_.empty()) return;
  // An opaque picture in an opaque colour covers what is below it whole: replacing instead of
  // blending gives the same pixels and lets the rasteriser skip reading the frame.
  const bool cover = t.opaque && (draw.colour >> 24) == 0xFFu;
  if (cover && copyIntoPicture(t, draw)) return;
  SDL_SetTextureBlendMode(t.texture, cover ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  SDL_RenderGeometry(renderer_, t.texture, vertices_.data(), static_cast<int>(vertices_.size()),
                     indices_.data(), static_cast<int>(indices_.size()));
}

bool SdlBackend::copyIntoPicture(const Texture& t, const SpriteDraw& draw) {
  // The software renderer copies texels plainly only when the colour leaves them unchanged, and
  // draws a piece whose corners line up with the screen's axes as a rectangle of its own.
  if (pictureInMemory_.pixels == nullptr || draw.colour != 0xFFFFFFFFu || draw.rotation == 0.0f ||
      t.pixels.empty()) {
    return false;
  }
  for (std::size_t piece = 0; piece < vertices_.size(); piece += 4) {
    for (std::size_t i = piece; i < piece + 4; ++i) {
      for (std::size_t j = i + 1; j < piece + 4; ++j) {
        if (vertices_[i].position.x == vertices_[j].position.x ||
            vertices_[i].position.y == vertices_[j].position.y) {
          return false;
        }
      }
    }
  }
  SDL_RenderFlush(renderer_);  // what was drawn before lies underneath
  const PixelRows texture{const_cast<uint32_t*>(t.pixels.data()), t.width, t.height, t.width};
  const auto corner = [this](int index) {
    const SDL_Vertex& v = vertices_[static_cast<std::size_t>(index)];
    return TexturedCorner{v.position.x, v.position.y, v.tex_coord.x, v.tex_coord.y};
  };
  for (std::size_t i = 0; i + 2 < indices_.size(); i += 3) {
    copyTexturedTriangle(texture, corner(indices_[i]), corner(indices_[i + 1]),
                         corner(indices_[i + 2]), pictureInMemory_);
  }
  return true;
}

void SdlBackend::addPiece(const Texture& t, const SpriteDraw& draw, SDL_Color colour, int left,
                          int top, int right, int bottom, int width, int height) {
  const int texelX[4] = {left, right, right, left};
  const int texelY[4] = {top, top, bottom, bottom};
  Corner corners[4];
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (int i = 0; i < 4; ++i) {
    corners[i] = transformPoint(static_cast<float>(texelX[i]), static_cast<float>(texelY[i]), draw);
    minX = i == 0 ? corners[i].x : std::min(minX, corners[i].x);
    maxX = i == 0 ? corners[i].x : std::max(maxX, corners[i].x);
    minY = i == 0 ? corners[i].y : std::min(minY, corners[i].y);
    maxY = i == 0 ? corners[i].y : std::max(maxY, corners[i].y);
  }
  // A renderer that reports no viewport draws everything.
  if (width > 0 && height > 0 && (maxX <= 0 || maxY <= 0 || minX >= width || minY >= height)) {
    return;
  }
  const int base = static_cast<int>(vertices_.size());
  for (int i = 0; i < 4; ++i) {
    SDL_Vertex vertex;
    vertex.position = SDL_FPoint{corners[i].x, corners[i].y};
    vertex.color = colour;
    vertex.tex_coord = SDL_FPoint{static_cast<float>(texelX[i]) / static_cast<float>(t.width),
                                  static_cast<float>(texelY[i]) / static_cast<float>(t.height)};
    vertices_.push_back(vertex);
  }
  for (int k : {0, 1, 2, 0, 2, 3}) indices_.push_back(base + k);
}

FontId SdlBackend::createFont() {
  // The font library counts its users: each back end starts it once and quits it when gone,
  // so one back end ending never closes the library under another's fonts.
  if (!startedTtf_) {
    if (TTF_Init() != 0) {
      lastError_ = std::string("cannot start the font library: ") + TTF_GetError();
      return 0;
    }
    startedTtf_ = true;
  }
  for (const std::string& path : fontPaths_) {
    TTF_Font* font = TTF_OpenFont(path.c_str(), kFontPointSize);
    if (font == nullptr) continue;
    TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    fonts_.push_back(font);
    return static_cast<FontId>(fonts_.size());
  }
  lastError_ = "no font found (looked for media/fonts/DejaVuSans.ttf and the system copy)";
  return 0;
}

SDL_Texture* SdlBackend::renderLine(FontId font, const std::string& line, int& w, int& h) {
  const auto key = std::make_pair(font, line);
  auto found = textCache_.find(key);
  if (found == textCache_.end()) {
    if (textCache_.size() >= kTextCacheLimit) {
      for (auto& entry : textCache_) SDL_DestroyTexture(entry.second.texture);
      textCache_.clear();
    }
    // Rendered in white; the writer's colour is applied as a colour and alpha modulation.
    SDL_Surface* surface = TTF_RenderUTF8_Blended(fonts_[static_cast<std::size_t>(font - 1)],
                                                  line.c_str(), SDL_Color{255, 255, 255, 255});
    if (surface == nullptr) return nullptr;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface);
    Texture entry{texture, surface->w, surface->h, false, {}};
    SDL_FreeSurface(surface);
    if (texture == nullptr) return nullptr;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    found = textCache_.emplace(key, entry).first;
  }
  w = found->second.width;
  h = found->second.height;
  return found->second.texture;
}

int32_t SdlBackend::drawText(FontId font, const std::string& text, int32_t x, int32_t y,
                             uint32_t colour) {
  if (font <= 0 || static_cast<std::size_t>(font) > fonts_.size()) return 0;
  TTF_Font* ttf = fonts_[static_cast<std::size_t>(font - 1)];
  const int lineHeight = TTF_FontLineSkip(ttf);
  std::vector<base::Line> lines = base::splitLines(text);
  // A text that ends with a line feed (or is empty) ends with an empty line, which takes room.
  if (text.empty() || text.back() == '\n') lines.emplace_back();
  int top = y;
  for (const base::Line& line : lines) {
    int w = 0, h = 0;
    SDL_Texture* texture = line.text.empty() ? nullptr : renderLine(font, line.text, w, h);
    if (texture != nullptr) {
      SDL_SetTextureColorMod(texture, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
      SDL_SetTextureAlphaMod(texture, colour >> 24);
      const SDL_Rect target{x, top, w, h};
      SDL_RenderCopy(renderer_, texture, nullptr, &target);
    }
    top += lineHeight;
  }
  return static_cast<int32_t>(lines.size()) * lineHeight;
}

int32_t SdlBackend::textWidth(FontId font, const std::string& text) {
  if (font <= 0 || static_cast<std::size_t>(font) > fonts_.size()) return 0;
  TTF_Font* ttf = fonts_[static_cast<std::size_t>(font - 1)];
  int widest = 0;
  for (const base::Line& line : base::splitLines(text)) {
    int w = 0, h = 0;
    if (TTF_SizeUTF8(ttf, line.text.c_str(), &w, &h) == 0) widest = std::max(widest, w);
  }
  return widest;
}

void SdlBackend::beginScene() {
  if (sceneStarter_) sceneStarter_();
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
}

void SdlBackend::endScene() {
  if (presenter_) {
    presenter_();
  } else {
    SDL_RenderPresent(renderer_);
  }
}

}  // namespace mdx::gfx
