// One frame of a shipped level on SDL's software renderer (640 x 480, no window), drawn by the
// game's scene drawing, against a baseline: a minimal program making the very same sprite
// draws with plain SDL calls (one SDL_RenderCopyExF per sprite, colour and alpha modulation).
// The difference is what the game's drawing adds on top of SDL.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "gfxlib/tga_decoder.h"
#include "render/assets.h"
#include "render/scene.h"
#include "world/actions.h"
#include "world/game_state.h"

namespace {

using namespace mdx;

// Passes everything to the SDL back end and, while capturing, notes each sprite draw.
class CapturingBackend : public gfx::DrawBackend {
 public:
  explicit CapturingBackend(gfx::SdlBackend& inner) : inner_(inner) {}
  gfx::TextureId loadTexture(const std::string& fileName) override {
    const gfx::TextureId id = inner_.loadTexture(fileName);
    if (id != 0) files[id] = fileName;
    return id;
  }
  void drawSprite(gfx::TextureId texture, const gfx::SpriteDraw& draw) override {
    if (capturing) draws.push_back({texture, draw});
    inner_.drawSprite(texture, draw);
  }
  gfx::FontId createFont() override { return inner_.createFont(); }
  int32_t drawText(gfx::FontId font, const std::string& text, int32_t x, int32_t y,
                   uint32_t colour) override {
    return inner_.drawText(font, text, x, y, colour);
  }
  int32_t textWidth(gfx::FontId font, const std::string& text) override {
    return inner_.textWidth(font, text);
  }
  void beginScene() override { inner_.beginScene(); }
  void endScene() override { inner_.endScene(); }

  bool capturing = false;
  std::map<gfx::TextureId, std::string> files;
  std::vector<std::pair<gfx::TextureId, gfx::SpriteDraw>> draws;

 private:
  gfx::SdlBackend& inner_;
};

// Level 9 of mappack1 while its first piece falls: landscape, strips, both layers, the piece,
// the robot and the piece bar.
world::GameState shippedLevelState() {
  world::GameState state;
  state.options.packName = "mappack1";
  state.pack = world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  state.progress.levelNumber = 9;
  state.startLevel(9);
  state.progress.gameState = world::StateDropping;
  for (int i = 0; i < 3; ++i) world::performAction(state, 'd');
  return state;
}

struct Fixture {
  std::unique_ptr<gfx::Display> display;
  std::unique_ptr<gfx::SdlBackend> sdl;
  std::unique_ptr<CapturingBackend> backend;
  render::Assets assets;
  world::GameState state;
};

bool setUp(benchmark::State& bench, Fixture& f) {
  const world::PackLayout pack = world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  if (!std::filesystem::exists(pack.levelPath(9))) {
    bench.SkipWithError("build the game folder first");
    return false;
  }
  f.display = gfx::Display::openHeadless();
  if (f.display == nullptr) {
    bench.SkipWithError("no software renderer");
    return false;
  }
  f.sdl =
      std::make_unique<gfx::SdlBackend>(f.display->renderer(), gfx::defaultFontPaths(MDX_GAME_DIR));
  f.backend = std::make_unique<CapturingBackend>(*f.sdl);
  render::loadAssets(f.assets, *f.backend, pack, nullptr);
  f.state = shippedLevelState();
  return true;
}

void gameFrame(benchmark::State& bench) {
  Fixture f;
  if (!setUp(bench, f)) return;
  f.backend->capturing = true;
  render::drawScene(f.state, f.assets, *f.backend);
  const size_t sprites = f.backend->draws.size();
  f.backend->capturing = false;
  for (auto _ : bench) render::drawScene(f.state, f.assets, *f.backend);
  bench.counters["sprite_draws"] = static_cast<double>(sprites);
}
BENCHMARK(gameFrame)->Unit(benchmark::kMicrosecond);

// The same draws as gameFrame, made directly with SDL on textures of the same pictures.
void plainSdlFrame(benchmark::State& bench) {
  Fixture f;
  if (!setUp(bench, f)) return;
  f.backend->capturing = true;
  render::drawScene(f.state, f.assets, *f.backend);
  SDL_Renderer* renderer = f.display->renderer();
  struct Plain {
    SDL_Texture* texture = nullptr;
    float width = 0, height = 0;
  };
  std::map<gfx::TextureId, Plain> textures;
  for (const auto& [id, file] : f.backend->files) {
    const gfx::DecodeResult picture = gfx::loadTgaFile(file);
    if (!picture.ok) continue;
    const gfx::Picture& p = picture.picture;
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STATIC, p.width, p.height);
    SDL_UpdateTexture(texture, nullptr, p.pixels.data(), p.width * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    textures[id] = {texture, static_cast<float>(p.width), static_cast<float>(p.height)};
  }
  for (auto _ : bench) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    for (const auto& [id, d] : f.backend->draws) {
      const Plain& t = textures[id];
      if (t.texture == nullptr) continue;
      SDL_SetTextureColorMod(t.texture, (d.colour >> 16) & 0xFF, (d.colour >> 8) & 0xFF,
                             d.colour & 0xFF);
      SDL_SetTextureAlphaMod(t.texture, d.colour >> 24);
      const SDL_FRect target{d.x, d.y, t.width * d.scaleX, t.height * d.scaleY};
      const SDL_FPoint centre{d.centreX, d.centreY};
      SDL_RenderCopyExF(renderer, t.texture, nullptr, &target, -d.rotation * 180.0 / 3.141592654,
                        &centre, SDL_FLIP_NONE);
    }
    SDL_RenderPresent(renderer);
  }
  bench.counters["sprite_draws"] = static_cast<double>(f.backend->draws.size());
  for (auto& [id, t] : textures) SDL_DestroyTexture(t.texture);
}
BENCHMARK(plainSdlFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
