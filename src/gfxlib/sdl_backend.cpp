#include "gfxlib/sdl_backend.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cmath>

namespace mdx::gfx {
namespace {

// Enough rendered lines for every text the game shows; the cache is emptied when full.
constexpr std::size_t kTextCacheLimit = 64;

SDL_Color vertexColour(uint32_t argb) {
  return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                   static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') {
      lines.emplace_back();
    } else if (c != '\r') {
      lines.back().push_back(c);
    }
  }
  return lines;
}

}  // namespace

std::vector<std::string> defaultFontPaths() {
  return {"media/fonts/DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
}

std::vector<Corner> spriteCorners(float width, float height, const SpriteDraw& d) {
  const float c = std::cos(d.rotation), s = std::sin(d.rotation);
  const float xs[4] = {0, width, width, 0};
  const float ys[4] = {0, 0, height, height};
  std::vector<Corner> corners(4);
  for (int i = 0; i < 4; ++i) {
    const float px = xs[i] * d.scaleX - d.centreX;
    const float py = ys[i] * d.scaleY - d.centreY;
    // Screen y grows downwards, so this turn is counter-clockwise on screen for a > 0.
    corners[i].x = px * c + py * s + d.centreX + d.x;
    corners[i].y = -px * s + py * c + d.centreY + d.y;
  }
  return corners;
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
    lastError_ = fileName + ": " + decoded.error;
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
  textures_.push_back({texture, picture.width, picture.height});
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
  const std::vector<Corner> corners =
      spriteCorners(static_cast<float>(t.width), static_cast<float>(t.height), draw);
  const SDL_Color colour = vertexColour(draw.colour);
  const float us[4] = {0, 1, 1, 0};
  const float vs[4] = {0, 0, 1, 1};
  SDL_Vertex vertices[4];
  for (int i = 0; i < 4; ++i) {
    vertices[i].position = SDL_FPoint{corners[i].x, corners[i].y};
    vertices[i].color = colour;
    vertices[i].tex_coord = SDL_FPoint{us[i], vs[i]};
  }
  static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
  SDL_RenderGeometry(renderer_, t.texture, vertices, 4, kIndices, 6);
}

FontId SdlBackend::createFont() {
  if (TTF_WasInit() == 0) {
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
    Texture entry{texture, surface->w, surface->h};
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
  const std::vector<std::string> lines = splitLines(text);
  int top = y;
  for (const std::string& line : lines) {
    int w = 0, h = 0;
    SDL_Texture* texture = line.empty() ? nullptr : renderLine(font, line, w, h);
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

void SdlBackend::beginScene() {
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
